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

}  // namespace

EvaluationWindow::EvaluationWindow(AppContext& ctx)
    : ctx_(ctx), state_(ctx.state), services_(ctx.services) {
  setObjectName(QStringLiteral("FrmSyuuryou"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("終了"));
  setBackColour(kBackground);
  CreateControls();
  placeBackground();
}

EvaluationWindow::~EvaluationWindow() = default;

void EvaluationWindow::CreateControls() {
  background_ = new QLabel(this);
  background_->setObjectName(QStringLiteral("Image1"));
  SetBackColour(background_, kBackground);

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
  titleLabel_ = label(this, "Label15", QString(), 1000, 450, 13360, 900, 28, true, centre);
  todayRunsLabel_ = label(this, "Label14", QString(), 10500, 1400, 3860, 600, 16, false,
                          Qt::AlignRight | Qt::AlignVCenter);
  levelNameLabel_ = label(this, "Label16", QString(), 1500, 2150, 3300, 800, 24, true);
  levelRunsLabel_ = label(this, "Label13", QString(), 4800, 2150, 7000, 800, 20, false);
  pupilNameLabel_ = label(this, "Label17", QString(), 1500, 3150, 12360, 800, 24, true);
  timeLabel_ = label(this, "Label18", QString(), 1500, 4150, 12360, 1050, 36, true);
  SetForeColour(timeLabel_, kTimeBlue);
  pointsLabel_ = label(this, "Label19", QString(), 1500, 5350, 12360, 800, 24, false);
  messageLabel_ = label(this, "Label20", QString(), 1500, 6350, 12360, 1050, 36, true, centre);
  SetForeColour(messageLabel_, kMessageRed);
  messageLabel_->setVisible(false);
  levelClearLabel_ = label(this, "Label2", QString::fromUtf8(kClearedText), 1500, 7500, 12360, 850,
                           28, true, centre);
  SetForeColour(levelClearLabel_, kClearGreen);
  levelClearLabel_->setVisible(false);

  goalPanel_ = new QFrame(this);
  goalPanel_->setObjectName(QStringLiteral("Picture1"));
  SetBackColour(goalPanel_, kGoalPink);
  goalPanel_->setFrameShape(QFrame::Box);
  place(goalPanel_, 2000, 8450, 11360, 1050);
  goalLabel_ = label(goalPanel_, "Label1", QString::fromUtf8(kGoalText), 100, 100, 11160, 850, 28,
                     true, centre);
  goalPanel_->setVisible(false);

  menuButton_ = new QPushButton(QStringLiteral("メニューへ"), this);
  menuButton_->setObjectName(QStringLiteral("Command4"));
  place(menuButton_, 2500, 9750, 4500, 1300);
  setFontPoints(menuButton_, 24, true);
  menuButton_->setVisible(false);
  connect(menuButton_, &QPushButton::clicked, this, [this] { backToMenu(); });
  againButton_ = new QPushButton(QStringLiteral("もう一度"), this);
  againButton_->setObjectName(QStringLiteral("Command5"));
  place(againButton_, 8360, 9750, 4500, 1300);
  setFontPoints(againButton_, 24, true);
  againButton_->setVisible(false);
  connect(againButton_, &QPushButton::clicked, this, [this] { runAgain(); });

  buttonsTimer_ = new QTimer(this);
  buttonsTimer_->setObjectName(QStringLiteral("Timer1"));
  buttonsTimer_->setInterval(500);
  connect(buttonsTimer_, &QTimer::timeout, this, [this] { offerButtons(); });
}

void EvaluationWindow::placeBackground() {
  place(background_, 0, 0, kCanvasTwipsWidth, kCanvasTwipsHeight);
  background_->lower();
}

void EvaluationWindow::showResults() {
  const Busy busy(this);
  if (activated_) {
    return;
  }
  activated_ = true;
  const int level = state_.session.currentLevel;
  const int pupil = state_.session.currentPupil;
  const bool valid = level >= 0 && level < kLevelSlots && pupil >= 0 && pupil < kPupilSlots;
  if (valid) {
    levelRunsLabel_->setText(ToQt(FormatSingle(state_.stats.todayRuns(level, pupil) + 1.0f)));
  }
  RebuildStatistics(state_, services_);
  result_ = Evaluate(state_.catalogue, state_.stats, state_.run, level, pupil);
  if (result_.cleared) {
    levelClearLabel_->setVisible(true);
    if (result_.showGoalPanel) {
      goalPanel_->setVisible(true);
    }
  }
  services_.host.ProcessEvents();
  pointsLabel_->setText(ToQt(result_.pointsLine));
  timeLabel_->setText(ToQt(result_.timeLine));
  pupilNameLabel_->setText(ToQt(TrimSpaces(state_.session.pupilName)));
  titleLabel_->setText(ToQt(state_.catalogue.title));
  if (valid) {
    levelNameLabel_->setText(ToQt(state_.catalogue.levelNames[static_cast<std::size_t>(level)]));
  }
  levelRunsLabel_->setText(ToQt(result_.levelRunsLine));
  state_.stats.todayTotalRuns = result_.todayTotalRuns;
  todayRunsLabel_->setText(ToQt(result_.totalRunsLine));
  services_.host.ProcessEvents();

  if (!result_.message.empty()) {
    messageLabel_->setText(ToQt(result_.message));
    messageLabel_->setVisible(true);
  }
  switch (result_.sound) {
    case EvaluationSound::kLevelBest:
      services_.host.ProcessEvents();
      PlayFixedSound(state_.installation, services_, "最高1.wav");
      services_.host.ProcessEvents();
      break;
    case EvaluationSound::kPersonalBest:
      services_.host.ProcessEvents();
      PlayCuePlain(state_.installation, state_.sound, services_, kCuePersonalBest);
      services_.host.ProcessEvents();
      break;
    case EvaluationSound::kNotPassed:
      PlayCuePlain(state_.installation, state_.sound, services_, kCueNotPassed);
      break;
    case EvaluationSound::kNone:
      break;
  }
  if (result_.cleared && IsFinalLevel(state_.catalogue, level)) {
    if (result_.playGoalSound) {
      PlayFixedSound(state_.installation, services_, "合格.wav");
    }
  } else {
    goalPanel_->setVisible(false);
  }
  state_.run.newPersonalBest = false;
  state_.run.newLevelBest = false;
  services_.host.ProcessEvents();
  UnloadWaitWindow(ctx_);
  // The buttons come half a second after the last step: started earlier, the timer could fire
  // while a sound above still plays (its wait lets messages through) and hide the goal panel
  // before "合格.wav".
  buttonsTimer_->start();
}

void EvaluationWindow::offerButtons() {
  const Busy busy(this);
  goalPanel_->setVisible(false);
  menuButton_->setVisible(true);
  services_.host.ProcessEvents();
  menuButton_->setFocus();
  buttonsTimer_->stop();
  const EvaluationButtons buttons = ButtonsAfterDelay(
      state_.catalogue, state_.stats, state_.session.currentLevel, state_.session.currentPupil);
  if (buttons.hideLabel2) {
    levelClearLabel_->setText(QString());
    levelClearLabel_->setVisible(false);
  }
  if (!buttons.label2Text.empty()) {
    levelClearLabel_->setText(ToQt(buttons.label2Text));
  }
  againButton_->setVisible(buttons.showRetry);
}

void EvaluationWindow::backToMenu() {
  const Busy busy(this);
  menuButton_->setEnabled(false);
  ShowHub(ctx_);
  Unload();
  services_.host.ProcessEvents();
}

void EvaluationWindow::runAgain() {
  const Busy busy(this);
  menuButton_->setEnabled(false);
  againButton_->setEnabled(false);
  ShowWaitWindow(ctx_);
  Unload();
  services_.host.ProcessEvents();
  StartDrill(ctx_);
}

void EvaluationWindow::Unload() {
  buttonsTimer_->stop();
  UnloadWhenIdle();
}

void EvaluationWindow::closeEvent(QCloseEvent* event) {
  if (handlerRunning()) {
    event->ignore();
    Unload();
    return;
  }
  buttonsTimer_->stop();
  FormWidget::closeEvent(event);
}

void ShowEvaluation(AppContext& ctx) {
  auto* w = new EvaluationWindow(ctx);
  ctx.evaluation = w;
  w->showOnWholeScreen();
  w->showResults();
}

}  // namespace numora
