#include "ui/drill/evaluation_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QPushButton>
#include <QTimer>

#include "core/installation/sound_cues.h"
#include "core/records/statistics.h"
#include "core/roster/roster.h"

namespace numora {

namespace {

constexpr unsigned kBackground = 0xE8F8FF;  // cream
constexpr unsigned kTimeBlue = 0x800000;
constexpr unsigned kMessageRed = 0x0000E0;
constexpr unsigned kClearGreen = 0x008000;
constexpr unsigned kGoalPink = 0xC0C0FF;

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

EvaluationWindow::EvaluationWindow(AppContext& ctx)
    : ctx_(ctx), state_(ctx.state), services_(ctx.services) {
  setObjectName(QStringLiteral("FrmSyuuryou"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("終了"));
  setBackColour(kBackground);
  CreateControls();
  Form_Load();
}

EvaluationWindow::~EvaluationWindow() = default;

void EvaluationWindow::CreateControls() {
  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  SetBackColour(Image1, kBackground);

  auto label = [this](QWidget* parent, const char* name, const QString& text, int left, int top,
                      int width, int height, double points, bool bold,
                      Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(align);
    place(l, left, top, width, height);
    setFontPoints(l, points, bold);
    return l;
  };
  const Qt::Alignment centre = Qt::AlignCenter;
  Label15 = label(this, "Label15", QString(), 1000, 450, 13360, 900, 28, true, centre);
  Label14 = label(this, "Label14", QString(), 10500, 1400, 3860, 600, 16, false,
                  Qt::AlignRight | Qt::AlignVCenter);
  Label16 = label(this, "Label16", QString(), 1500, 2150, 3300, 800, 24, true);
  Label13 = label(this, "Label13", QString(), 4800, 2150, 7000, 800, 20, false);
  Label17 = label(this, "Label17", QString(), 1500, 3150, 12360, 800, 24, true);
  Label18 = label(this, "Label18", QString(), 1500, 4150, 12360, 1050, 36, true);
  SetForeColour(Label18, kTimeBlue);
  Label19 = label(this, "Label19", QString(), 1500, 5350, 12360, 800, 24, false);
  Label20 = label(this, "Label20", QString(), 1500, 6350, 12360, 1050, 36, true, centre);
  SetForeColour(Label20, kMessageRed);
  Label20->setVisible(false);
  Label2 = label(this, "Label2", QString::fromUtf8(kClearedText), 1500, 7500, 12360, 850, 28, true,
                 centre);
  SetForeColour(Label2, kClearGreen);
  Label2->setVisible(false);

  Picture1 = new QFrame(this);
  Picture1->setObjectName(QStringLiteral("Picture1"));
  SetBackColour(Picture1, kGoalPink);
  Picture1->setFrameShape(QFrame::Box);
  place(Picture1, 2000, 8450, 11360, 1050);
  Label1 = label(Picture1, "Label1", QString::fromUtf8(kGoalText), 100, 100, 11160, 850, 28, true,
                 centre);
  Picture1->setVisible(false);

  Command4 = new QPushButton(QStringLiteral("メニューへ"), this);
  Command4->setObjectName(QStringLiteral("Command4"));
  place(Command4, 2500, 9750, 4500, 1300);
  setFontPoints(Command4, 24, true);
  Command4->setVisible(false);
  connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
  Command5 = new QPushButton(QStringLiteral("もう一度"), this);
  Command5->setObjectName(QStringLiteral("Command5"));
  place(Command5, 8360, 9750, 4500, 1300);
  setFontPoints(Command5, 24, true);
  Command5->setVisible(false);
  connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(500);
  connect(Timer1, &QTimer::timeout, this, [this] { timer1Tick(); });
}

void EvaluationWindow::Form_Load() {
  place(Image1, 0, 0, kCanvasTwipsWidth, kCanvasTwipsHeight);
  Image1->lower();
}

void EvaluationWindow::Form_Activate() {
  const Busy busy(this);
  if (activated_) {
    return;
  }
  activated_ = true;
  const int level = state_.currentLevel;
  const int pupil = state_.currentPupil;
  const bool valid = level >= 0 && level < kLevelSlots && pupil >= 0 && pupil < kPupilSlots;
  if (valid) {
    Label13->setText(Q(FormatSingle(state_.todayRuns(level, pupil) + 1.0f)));
  }
  RebuildStatistics(state_, services_);
  result_ = Evaluate(state_, level, pupil);
  if (result_.cleared) {
    Label2->setVisible(true);
    if (result_.showGoalPanel) {
      Picture1->setVisible(true);
    }
  }
  services_.host.ProcessEvents();
  Timer1->start();
  Label19->setText(Q(result_.pointsLine));
  Label18->setText(Q(result_.timeLine));
  Label17->setText(Q(TrimSpaces(state_.pupilName)));
  Label15->setText(Q(state_.programTitle));
  if (valid) {
    Label16->setText(Q(state_.levelNames[static_cast<std::size_t>(level)]));
  }
  Label13->setText(Q(result_.levelRunsLine));
  state_.todayTotalRuns = result_.todayTotalRuns;
  Label14->setText(Q(result_.totalRunsLine));
  services_.host.ProcessEvents();

  if (!result_.message.empty()) {
    Label20->setText(Q(result_.message));
    Label20->setVisible(true);
  }
  switch (result_.sound) {
    case EvaluationSound::kLevelBest:
      services_.host.ProcessEvents();
      PlayFixedSound(state_, services_, "最高1.wav");
      services_.host.ProcessEvents();
      break;
    case EvaluationSound::kPersonalBest:
      services_.host.ProcessEvents();
      PlayCuePlain(state_, services_, kCuePersonalBest);
      services_.host.ProcessEvents();
      break;
    case EvaluationSound::kNotPassed:
      PlayCuePlain(state_, services_, kCueNotPassed);
      break;
    case EvaluationSound::kNone:
      break;
  }
  if (result_.cleared && IsFinalLevel(state_, level)) {
    if (result_.playGoalSound) {
      PlayFixedSound(state_, services_, "合格.wav");
    }
  } else {
    Picture1->setVisible(false);
  }
  state_.newPersonalBest = 0;
  state_.newLevelBest = 0;
  services_.host.ProcessEvents();
  UnloadWaitWindow(ctx_);
}

void EvaluationWindow::timer1Tick() {
  const Busy busy(this);
  Picture1->setVisible(false);
  Command4->setVisible(true);
  services_.host.ProcessEvents();
  Command4->setFocus();
  Timer1->stop();
  const EvaluationButtons buttons =
      ButtonsAfterDelay(state_, state_.currentLevel, state_.currentPupil);
  if (buttons.hideLabel2) {
    Label2->setText(QString());
    Label2->setVisible(false);
  }
  if (!buttons.label2Text.empty()) {
    Label2->setText(Q(buttons.label2Text));
  }
  Command5->setVisible(buttons.showRetry);
}

void EvaluationWindow::Command4_Click() {
  const Busy busy(this);
  Command4->setEnabled(false);
  ShowHub(ctx_);
  Unload();
  services_.host.ProcessEvents();
}

void EvaluationWindow::Command5_Click() {
  const Busy busy(this);
  Command4->setEnabled(false);
  Command5->setEnabled(false);
  ShowWaitWindow(ctx_);
  Unload();
  services_.host.ProcessEvents();
  StartDrill(ctx_);
}

void EvaluationWindow::Unload() {
  Timer1->stop();
  UnloadWhenIdle();
}

void EvaluationWindow::closeEvent(QCloseEvent* event) {
  if (handlerRunning()) {
    event->ignore();
    Unload();
    return;
  }
  Timer1->stop();
  FormWidget::closeEvent(event);
}

void ShowEvaluation(AppContext& ctx) {
  auto* w = new EvaluationWindow(ctx);
  ctx.evaluation = w;
  w->showFullScreen();
  w->Form_Activate();
}

}  // namespace numora
