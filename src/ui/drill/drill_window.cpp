#include "ui/drill/drill_window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "core/installation/app_state.h"
#include "core/installation/sound_cues.h"
#include "core/platform/value.h"
#include "core/records/statistics.h"
#include "core/roster/roster.h"

namespace numora {

namespace {

// Layout in twips on the 15360 × 11520 canvas.
constexpr int kFormWidth = FormWidget::kCanvasTwipsWidth;
constexpr int kFormHeight = FormWidget::kCanvasTwipsHeight;
constexpr int kStatusHeight = 1620;
constexpr int kBarLeft = 120;
constexpr int kBarTop = 1140;
constexpr int kBarWidth = 6000;
constexpr int kBarHeight = 300;
constexpr int kSquaresLeft = 6600;
constexpr int kSquareSize = 180;
constexpr int kSquareStep = 200;
constexpr int kSquareCaptionWidth = 820;
constexpr int kSquareGroupWidth = 2900;
// The board: tile n lies at template left + c × template width, template top + (r − 1) × height.
constexpr int kTemplateLeft = 1485;
constexpr int kTemplateTop = 1575;
constexpr int kTileWidth = 1005;
constexpr int kCoverCaptionTop = 2700;
constexpr int kTileHeight = 825;
constexpr int kBoardRight = kTemplateLeft + 11 * kTileWidth;
// The hint panel above the board: slot k at 1350 + (k − 1) × 1050, 600 wide.
constexpr int kHintLeft = 1100;
constexpr int kHintTop = 880;
constexpr int kHintHeight = 620;
constexpr int kSlotFirstLeft = 1350;
constexpr int kSlotStep = 1050;
constexpr int kSlotWidth = 600;

constexpr unsigned kStatusColour = 0xFFF0E0;  // light blue
constexpr unsigned kDrillColour = 0xF8ECDC;   // pale blue
constexpr unsigned kLightYellow = 0xC0FFFF;
constexpr unsigned kHintYellow = 0x80FFFF;
constexpr unsigned kPink = 0xC0C0FF;
constexpr unsigned kGreen = 0x00FF00;
constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kLightGreen = 0x80FF80;
constexpr unsigned kBlue = 0xFF0000;
constexpr unsigned kRed = 0x0000FF;
constexpr unsigned kSquareGreen = 0x008000;
constexpr unsigned kSquareOlive = 0x00C0C0;
constexpr unsigned kSquareRed = 0x0000C0;
constexpr unsigned kCoverColour = 0xF0F0F0;

QString Number(double n) {
  return ToQt(FormatNumber(n));
}

}  // namespace

void BoardTile::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  const QRect r = rect();
  p.fillRect(r, palette().color(QPalette::Button));
  p.setPen(QColor(64, 64, 64));
  p.drawRect(r.adjusted(0, 0, -1, -1));
  p.setPen(isEnabled() ? QColor(0, 0, 0) : QColor(150, 150, 150));
  p.setFont(font());
  p.drawText(r, Qt::AlignCenter, text());
}

void BoardTile::mouseDoubleClickEvent(QMouseEvent* event) {
  // A button would take the second press as another click: after a wrong tile that is a second
  // wrong answer (ten more seconds, another hint pair and cue) for one double-click.
  event->accept();
}

DrillWindow::DrillWindow(AppContext& ctx)
    : ctx_(ctx),
      state_(ctx.state),
      services_(ctx.services),
      run_(ctx.state.catalogue, ctx.state.stats, ctx.state.session, ctx.state.run,
           ctx.services.random) {
  setObjectName(QStringLiteral("MainFrm"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(ToQt(state_.catalogue.title));
  setBackColour(kDrillColour);
  CreateControls();
  placePanels();
}

DrillWindow::~DrillWindow() = default;

bool DrillWindow::runClockActive() const {
  return runClock_->isActive();
}

void DrillWindow::CreateControls() {
  CreateStatusPanel();
  CreateDrillArea();
  CreateCover();
  runClock_ = new QTimer(this);
  runClock_->setObjectName(QStringLiteral("sTimer1"));
  runClock_->setInterval(1000);
  connect(runClock_, &QTimer::timeout, this, [this] { runClockTick(); });
  statusRefresh_ = new QTimer(this);
  statusRefresh_->setObjectName(QStringLiteral("sTimer2"));
  statusRefresh_->setInterval(10000);
  connect(statusRefresh_, &QTimer::timeout, this, [this] { statusRefreshTick(); });
}

void DrillWindow::CreateStatusPanel() {
  statusPanel_ = new QFrame(this);
  statusPanel_->setObjectName(QStringLiteral("sPicture1"));
  SetBackColour(statusPanel_, kStatusColour);
  place(statusPanel_, 0, 0, kFormWidth, kStatusHeight);

  auto label = [this](const QString& name, const QString& text, int left, int top, int width,
                      int height, double points, bool bold = false,
                      Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = new QLabel(text, statusPanel_);
    l->setObjectName(name);
    l->setAlignment(align);
    place(l, left, top, width, height);
    setFontPoints(l, points, bold);
    return l;
  };
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
  const Qt::Alignment centre = Qt::AlignCenter;

  // First line: title, pupil, school, level and the problems remaining.
  titleLabel_ = label(QStringLiteral("sLabel2"), QString(), 120, 60, 3300, 520, 16.8, true);
  pupilNameLabel_ = label(QStringLiteral("sLabel7"), QString(), 3550, 80, 3000, 480, 14, true);
  schoolNameLabel_ = label(QStringLiteral("sLabel14"), QString(), 6650, 100, 3000, 440, 11);
  levelNameLabel_ = label(QStringLiteral("sLabel8"), QString(), 9750, 80, 1800, 480, 14, true);
  remainingCaption_ =
      label(QStringLiteral("sLabel4"), QStringLiteral("残り"), 11800, 100, 900, 440, 14);
  remainingLabel_ =
      label(QStringLiteral("sLabel9"), QString(), 12700, 40, 1000, 560, 20, true, centre);
  SetForeColour(remainingLabel_, kRed);
  problemsCaption_ =
      label(QStringLiteral("sLabel6"), QStringLiteral("問"), 13750, 100, 600, 440, 14);

  // Second line: elapsed time, minutes since the start and today's run numbers.
  timeCaption_ =
      label(QStringLiteral("sLabel5"), QStringLiteral("タイム"), 120, 640, 1050, 420, 12);
  elapsedLabel_ =
      label(QStringLiteral("sLabel10"), QString(), 1170, 600, 1000, 480, 16, true, right);
  SetForeColour(elapsedLabel_, kBlue);
  const char* const words[] = {"起動後", "分", "本日", "回目", "このレベル", "回目"};
  const int wordLeft[] = {2600, 4150, 4800, 5950, 6850, 8950};
  const int wordWidth[] = {1000, 450, 700, 700, 1500, 700};
  for (int i = 0; i <= 5; ++i) {
    statusCaptions_.push_back(label(Indexed("sLabel16", i), QString::fromUtf8(words[i]),
                                    wordLeft[i], 640, wordWidth[i], 420, 12));
  }
  minutesLabel_ =
      label(QStringLiteral("sLabel13"), QString(), 3600, 620, 550, 460, 13, true, right);
  todayRunNumberLabel_ =
      label(QStringLiteral("sLabel12"), QString(), 5500, 620, 450, 460, 13, true, right);
  levelRunNumberLabel_ =
      label(QStringLiteral("sLabel11"), QString(), 8350, 620, 600, 460, 13, true, right);

  // Third line: the time bar, back to front, and the static red marks.
  auto shape = [this](const char* name, unsigned colour, int left, int top, int width, int height) {
    auto* s = new QFrame(statusPanel_);
    s->setObjectName(QLatin1String(name));
    SetBackColour(s, colour);
    place(s, left, top, width, height);
    return s;
  };
  timeBar_ = shape("sShape5", kWhite, kBarLeft, kBarTop, kBarWidth, kBarHeight);
  timeBar_->setFrameShape(QFrame::Box);
  minimumBar_ = shape("sShape4", kLightGreen, kBarLeft, kBarTop, 0, kBarHeight);
  targetBar_ = shape("sShape3", kGreen, kBarLeft, kBarTop, 0, kBarHeight);
  elapsedBar_ = shape("sShape2", kBlue, kBarLeft, kBarTop, 0, kBarHeight);
  redBar_ = shape("sShape7", kRed, kBarLeft, kBarTop, 0, kBarHeight);
  limitMark_ = shape("sShape8", kRed, kBarLeft + kBarWidth, kBarTop - 60, 60, kBarHeight + 120);

  // Countdown squares 10..39 after their captions "Best", "YourBest" and "Pass".
  squareFrames_.assign(CountdownSquares::kLast + 1, nullptr);
  squareCaptions_.assign(3, nullptr);
  const int captionIndex[] = {1, 0, 2};
  const char* const captions[] = {"Best", "YourBest", "Pass"};
  const unsigned colours[] = {kSquareGreen, kSquareOlive, kSquareRed};
  for (int g = 0; g < 3; ++g) {
    const int groupLeft = kSquaresLeft + g * kSquareGroupWidth;
    const int ci = captionIndex[g];
    squareCaptions_[static_cast<std::size_t>(ci)] =
        label(Indexed("sLabel17", ci), QLatin1String(captions[g]), groupLeft, kBarTop - 60,
              kSquareCaptionWidth, 420, 9, false, right);
    for (int k = 0; k < 10; ++k) {
      const int index = 10 + g * 10 + k;
      auto* sq = new QFrame(statusPanel_);
      sq->setObjectName(Indexed("sPicture3", index));
      SetBackColour(sq, colours[g]);
      place(sq, groupLeft + kSquareCaptionWidth + 60 + k * kSquareStep,
            kBarTop + (kBarHeight - kSquareSize) / 2, kSquareSize, kSquareSize);
      squareFrames_[static_cast<std::size_t>(index)] = sq;
    }
  }
}

void DrillWindow::CreateDrillArea() {
  drillArea_ = new QFrame(this);
  drillArea_->setObjectName(QStringLiteral("Picture2"));
  SetBackColour(drillArea_, kDrillColour);
  drillArea_->installEventFilter(this);

  // The template tile; the board's tiles are created from it at the first activation.
  auto* tile0 = new BoardTile(QStringLiteral("23"), drillArea_);
  tile0->setObjectName(Indexed("Label1", 0));
  SetBackColour(tile0, kLightYellow);
  tile0->setFocusPolicy(Qt::NoFocus);
  place(tile0, kTemplateLeft, kTemplateTop, kTileWidth, kTileHeight);
  setFontPoints(tile0, 20, true);
  tile0->setVisible(false);
  tiles_.push_back(tile0);

  targetNumberLabel_ = new QLabel(drillArea_);
  targetNumberLabel_->setObjectName(QStringLiteral("Label2"));
  targetNumberLabel_->setAlignment(Qt::AlignCenter);
  SetBackColour(targetNumberLabel_, kLightYellow);
  targetNumberLabel_->setFrameShape(QFrame::Box);
  place(targetNumberLabel_, kTemplateLeft + kTileWidth, 100, 1800, 720);
  setFontPoints(targetNumberLabel_, 28, true);
  instructionLabel_ = new QLabel(QStringLiteral("の約数を押しなさい"), drillArea_);
  instructionLabel_->setObjectName(QStringLiteral("Label3"));
  instructionLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  place(instructionLabel_, kTemplateLeft + kTileWidth + 1900, 100, 6800, 720);
  setFontPoints(instructionLabel_, 24, true);

  hintPanel_ = new QFrame(drillArea_);
  hintPanel_->setObjectName(QStringLiteral("Picture1"));
  SetBackColour(hintPanel_, kHintYellow);
  hintPanel_->setFrameShape(QFrame::Box);
  place(hintPanel_, kHintLeft, kHintTop, kSlotFirstLeft + 9 * kSlotStep + kSlotWidth + 150,
        kHintHeight);
  hintCaption_ = new QLabel(QStringLiteral("ヒント"), hintPanel_);
  hintCaption_->setObjectName(QStringLiteral("Label4"));
  hintCaption_->setAlignment(Qt::AlignCenter);
  SetBackColour(hintCaption_, kPink);
  place(hintCaption_, 60, 85, 1150, 450);
  setFontPoints(hintCaption_, 14, true);
  hintLabels_.assign(HintSlots::kMaxSlots + 1, nullptr);
  for (int k = 1; k <= HintSlots::kMaxSlots; ++k) {
    auto* slot = new QLabel(hintPanel_);
    slot->setObjectName(Indexed("Label5", k));
    slot->setAlignment(Qt::AlignCenter);
    place(slot, kSlotFirstLeft + (k - 1) * kSlotStep, 60, kSlotWidth, 500);
    setFontPoints(slot, 18, true);
    slot->setVisible(false);
    hintLabels_[static_cast<std::size_t>(k)] = slot;
  }
  hintPanel_->setVisible(false);

  judgeButton_ = new QPushButton(QStringLiteral("判定"), drillArea_);
  judgeButton_->setObjectName(QStringLiteral("Command1"));
  place(judgeButton_, kBoardRight + 250, kTemplateTop, 2000, 10 * kTileHeight);
  setFontPoints(judgeButton_, 28, true);
  connect(judgeButton_, &QPushButton::clicked, this, [this] { judgeAnswer(); });
}

void DrillWindow::CreateCover() {
  // The captions sit above the middle of the screen, where the small wait window appears during
  // the wait at the end of the run.
  recordingCover_ = new QFrame(this);
  recordingCover_->setObjectName(QStringLiteral("sPicture2"));
  SetBackColour(recordingCover_, kCoverColour);
  recordingLabel_ = new QLabel(QStringLiteral("成績記録中"), recordingCover_);
  recordingLabel_->setObjectName(QStringLiteral("lblsss1"));
  recordingLabel_->setAlignment(Qt::AlignCenter);
  place(recordingLabel_, 1500, kCoverCaptionTop, 12360, 1600);
  setFontPoints(recordingLabel_, 54, true);
  timeOutLabel_ = new QLabel(QStringLiteral("時間切れ"), recordingCover_);
  timeOutLabel_->setObjectName(QStringLiteral("lblsss2"));
  timeOutLabel_->setAlignment(Qt::AlignCenter);
  SetForeColour(timeOutLabel_, kRed);
  place(timeOutLabel_, 1500, kCoverCaptionTop, 12360, 1600);
  setFontPoints(timeOutLabel_, 54, true);
  recordingCover_->setVisible(false);
}

// ---- Load and activation ----

void DrillWindow::placePanels() {
  services_.random.Seed(services_.clock.Timer());
  place(statusPanel_, 0, 0, kFormWidth, kStatusHeight);
  place(recordingCover_, 0, 0, kFormWidth, kFormHeight);
  place(drillArea_, 0, kStatusHeight, kFormWidth, kFormHeight - kStatusHeight);
  drillArea_->setVisible(true);
  statusRefresh_->start();
}

void DrillWindow::startRun() {
  const Busy busy(this);
  if (activated_) {
    return;
  }
  activated_ = true;
  CreateBoard();
  prepareRun();
  startClock();
  showNextProblem();
}

void DrillWindow::CreateBoard() {
  const BoardTile* tile0 = tiles_[0];
  const QRect t = twipRect(tiles_[0]);
  for (int n = 1; n <= 100; ++n) {
    const int c = ((n - 1) % 10) + 1;
    const int r = ((n - 1) / 10) + 1;
    auto* tile = new BoardTile(QString::number(n), drillArea_);
    tile->setObjectName(Indexed("Label1", n));
    tile->setAccessibleName(QString::number(n));
    tile->setFocusPolicy(tile0->focusPolicy());
    SetBackColour(tile, kGreen);
    place(tile, t.left() + c * t.width(), t.top() + (r - 1) * t.height(), t.width(), t.height());
    setFontPoints(tile, 20, true);
    connect(tile, &QPushButton::clicked, this, [this, n] { pressTile(n); });
    tile->setVisible(true);
    tiles_.push_back(tile);
  }
}

void DrillWindow::prepareRun() {
  const int level = state_.session.currentLevel;
  const int pupil = state_.session.currentPupil;
  UnloadHub(ctx_);
  UnloadWaitWindow(ctx_);
  run_.Prepare(twipRect(timeBar_).width());
  if (run_.TimedLevel()) {
    const LevelStandard& standard = state_.catalogue.standards[static_cast<std::size_t>(level)];
    const double scale = state_.run.timeBarScale;
    elapsedLabel_->setText(QStringLiteral("0"));
    SetBarWidth(elapsedBar_, 0);
    SetBarWidth(redBar_, 0);
    SetBarWidth(targetBar_, std::max(0, standard.targetTime) * scale);
    SetBarWidth(minimumBar_, std::max(0, standard.minimumTime) * scale);
  }
  setFontPoints(titleLabel_, TitlePointSize(state_.catalogue.title), true);
  titleLabel_->setText(ToQt(state_.catalogue.title));
  pupilNameLabel_->setText(ToQt(TrimSpaces(state_.session.pupilName)));
  if (level >= 0 && level < kLevelSlots) {
    levelNameLabel_->setText(ToQt(state_.catalogue.levelNames[static_cast<std::size_t>(level)]));
  }
  state_.stats.todayTotalRuns = TodayTotalRuns(state_.stats, pupil, 15);
  schoolNameLabel_->setText(ToQt(state_.installation.schoolName));
  minutesLabel_->setText(
      QString::number(MinutesSince(services_.clock.Timer(), state_.session.pupilStartTime)));
  todayRunNumberLabel_->setText(Number(state_.stats.todayTotalRuns + 1));
  if (level >= 0 && level < kLevelSlots && pupil >= 0 && pupil < kPupilSlots) {
    levelRunNumberLabel_->setText(
        Number(static_cast<double>(state_.stats.todayRuns(level, pupil)) + 1));
  }
}

void DrillWindow::startClock() {
  run_.Start(services_.clock.Timer());
  remainingLabel_->setText(QStringLiteral("10"));
  runClock_->start();
}

// ---- Problems ----

void DrillWindow::OpenAllTiles() {
  for (int n = 1; n < static_cast<int>(tiles_.size()); ++n) {
    tiles_[static_cast<std::size_t>(n)]->setEnabled(true);
    SetBackColour(tiles_[static_cast<std::size_t>(n)], kGreen);
  }
}

void DrillWindow::showNextProblem() {
  const Busy busy(this);
  const NextProblem next = run_.ShowNextProblem();
  if (next == NextProblem::kIgnored) {
    return;
  }
  OpenAllTiles();
  if (next == NextProblem::kNoTarget) {
    return;
  }
  targetNumberLabel_->setText(QString::number(run_.targetNumber()));
  const HintSlots& hints = run_.hints();
  for (int k = 1; k <= HintSlots::kMaxSlots; ++k) {
    QLabel* slot = hintLabels_[static_cast<std::size_t>(k)];
    const int value = k <= hints.slotCount ? hints.value[static_cast<std::size_t>(k)] : 0;
    slot->setText(value != 0 ? QString::number(value) : QString());
    slot->setVisible(false);
  }
  // The panel is as wide as the target's slots need (twelve for targets with six pairs).
  resizeTwips(hintPanel_, kSlotFirstLeft + (hints.slotCount - 1) * kSlotStep + kSlotWidth + 150,
              -1);
  hintPanel_->setVisible(false);
}

// ---- Answering ----

void DrillWindow::pressTile(int n) {
  const Busy busy(this);
  hintPanel_->setVisible(false);
  const TilePress press = run_.PressTile(n);
  if (press == TilePress::kIgnored) {
    return;
  }
  if (judgeButton_->isVisible()) {
    judgeButton_->setFocus();
  }
  if (press == TilePress::kPressed) {
    BoardTile* tile = tiles_[static_cast<std::size_t>(n)];
    tile->setEnabled(false);
    SetBackColour(tile, kWhite);
    services_.host.ProcessEvents();
  } else if (press == TilePress::kWrong) {
    applyJudgement();
  }
}

void DrillWindow::judgeAnswer() {
  const Busy busy(this);
  if (!run_.Accepting()) {
    return;
  }
  if (run_.Judge() == JudgeResult::kCorrect) {
    PlayCueWatched(state_.installation, state_.sound, services_, kCueCorrect);
  }
  applyJudgement();
}

void DrillWindow::focusJudgeButton() {
  if (judgeButton_->isVisible()) {
    judgeButton_->setFocus();
  }
}

void DrillWindow::ShowRemaining() {
  remainingLabel_->setText(QString::number(run_.RemainingProblems()));
}

void DrillWindow::applyJudgement() {
  const Busy busy(this);
  if (!run_.Accepting()) {
    return;
  }
  if (state_.run.judgeResult == JudgeResult::kCorrect) {
    PlayCueWatched(state_.installation, state_.sound, services_, kCueCorrect);
    const bool complete = run_.CountCorrectAnswer();
    ShowRemaining();
    if (!complete) {
      showNextProblem();
    } else {
      runClock_->stop();
      endRun();
    }
    return;
  }
  hintPanel_->setVisible(true);
  const RevealedSlots shown = run_.Penalise();
  if (shown.left != 0) {
    hintLabels_[static_cast<std::size_t>(shown.left)]->setVisible(true);
    hintLabels_[static_cast<std::size_t>(shown.right)]->setVisible(true);
  }
  services_.host.ProcessEvents();
  PlayCueWatched(state_.installation, state_.sound, services_, kCueWrong);
  run_.ClearBoard();
  OpenAllTiles();
  ShowRemaining();
}

// ---- Run clock ----

void DrillWindow::SetBarWidth(QFrame* shape, double width) {
  resizeTwips(shape, static_cast<int>(std::lround(std::max(0.0, width))), -1);
}

void DrillWindow::runClockTick() {
  const Busy busy(this);
  const ClockTick tick = run_.Tick(services_.clock.Timer());
  for (int i = CountdownSquares::kFirst; i <= CountdownSquares::kLast; ++i) {
    if (run_.squares().hidden[static_cast<std::size_t>(i)]) {
      squareFrames_[static_cast<std::size_t>(i)]->setVisible(false);
    }
  }
  const double scale = state_.run.timeBarScale;
  if (run_.TimedLevel()) {
    elapsedLabel_->setText(QString::number(tick.elapsed));
    if (tick.limited && !tick.limitReached) {
      SetBarWidth(elapsedBar_, tick.elapsed * scale);
    }
  }
  services_.host.ProcessEvents();
  if (!tick.limitReached) {
    SetBarWidth(elapsedBar_, tick.elapsed * scale);
    return;
  }
  SetBarWidth(elapsedBar_, twipRect(timeBar_).width());
  if (run_.TimeOut()) {
    runClock_->stop();
    endRun();
  }
  services_.host.ProcessEvents();
}

void DrillWindow::statusRefreshTick() {
  const Busy busy(this);
  minutesLabel_->setText(
      QString::number(MinutesSince(services_.clock.Timer(), state_.session.pupilStartTime)));
}

// ---- End of the run ----

void DrillWindow::endRun() {
  const Busy busy(this);
  services_.host.ProcessEvents();
  if (!run_.BeginHandOff()) {
    return;
  }
  recordingCover_->setVisible(true);
  recordingCover_->raise();
  recordingLabel_->setVisible(!state_.run.timedOut);
  timeOutLabel_->setVisible(state_.run.timedOut);
  services_.host.ProcessEvents();
  if (!run_.TimedLevel()) {
    // Nothing is recorded for an untimed level: back to the menu after the same pause.
    WaitOnTickCount(services_, 1.0);
    Unload();
    ShowHub(ctx_);
    return;
  }
  runClock_->stop();
  run_.SetRecordedTime();
  RecordRun(state_, services_, state_.session.currentLevel);
  ShowWaitWindow(ctx_);
  services_.host.ProcessEvents();
  waitThenShowEvaluation(1.0);
}

void DrillWindow::waitThenShowEvaluation(double seconds) {
  const Busy busy(this);
  WaitOnTickCount(services_, seconds);
  Unload();
  ShowEvaluation(ctx_);
}

void DrillWindow::Unload() {
  runClock_->stop();
  statusRefresh_->stop();
  // The run is over: the next drill may start even before this window is deleted.
  if (ctx_.drill == this) {
    ctx_.drill = nullptr;
  }
  UnloadWhenIdle();
}

void DrillWindow::closeEvent(QCloseEvent* event) {
  if (handlerRunning()) {
    // Closed while a handler runs (it lets messages be processed): delete it afterwards.
    event->ignore();
    Unload();
    return;
  }
  runClock_->stop();
  statusRefresh_->stop();
  FormWidget::closeEvent(event);
}

bool DrillWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == drillArea_ && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      focusJudgeButton();
    }
  }
  return FormWidget::eventFilter(watched, event);
}

// ---- Window function ----

bool StartDrill(AppContext& ctx) {
  // One drill at a time: the run flags belong to the drill that is open.
  if (ctx.drill || ctx.drillStarting) {
    return false;
  }
  AppState& state = ctx.state;
  DrillRun::ResetForStart(state.run);
  ctx.drillStarting = true;
  ctx.services.host.ProcessEvents();
  ctx.drillStarting = false;
  const int level = state.session.currentLevel;
  if (TargetList(level).empty()) {
    std::string name = level >= 0 && level < kLevelSlots
                           ? state.catalogue.levelNames[static_cast<std::size_t>(level)]
                           : std::string();
    if (name.empty()) {
      name = "レベル" + std::to_string(level);
    }
    ctx.services.host.ShowMessage(
        "注意", "「" + name + "」には問題が用意されていません。\nメニューに戻ります。");
    UnloadWaitWindow(ctx);
    ShowHub(ctx);
    return false;
  }
  auto* drill = new DrillWindow(ctx);
  ctx.drill = drill;
  drill->showOnWholeScreen();
  drill->startRun();
  return true;
}

}  // namespace numora
