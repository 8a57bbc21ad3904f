#include "ui/hub/hub_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

#include "core/hub/chart_model.h"
#include "core/hub/hub_figures.h"
#include "core/hub/list_records.h"
#include "core/records/statistics.h"
#include "core/roster/roster.h"
#include "ui/hub/chart_panel.h"
#include "ui/hub/data_gate_panel.h"

namespace numora {

namespace {

// Layout in twips on the 15360 × 11520 canvas.
constexpr int kFormWidth = FormWidget::kCanvasTwipsWidth;
constexpr int kFormHeight = FormWidget::kCanvasTwipsHeight;
constexpr double kColumnsWidth = 14592;  // shared by the level columns
constexpr int kLabel5Top = 1800;
constexpr int kLabel5Height = 400;
constexpr int kNameHeight = 420;
constexpr int kStartHeight = 560;
constexpr int kHeadHeight = 330;
constexpr int kFiguresHeight = 330;
constexpr int kRecentHeight = 330;
constexpr int kListHeight = 6560;
constexpr int kTargetHeight = 330;
// Top of the area below the columns; the column cover ends here.
constexpr int kColumnsBottom = 11100;

constexpr unsigned kTeal = 0xC0C000;
constexpr unsigned kLightGrey = 0xE0E0E0;
constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kRed = 0x0000FF;

int Round(double twips) {
  return static_cast<int>(std::lround(twips));
}

// What assistive tools see of a level name: a label showing its text that can be pressed like
// a click on it, since it starts a drill too.
class ClickLabelAccessible : public QAccessibleWidget {
 public:
  explicit ClickLabelAccessible(ClickLabel* label)
      : QAccessibleWidget(label, QAccessible::StaticText) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
      return static_cast<const ClickLabel*>(widget())->text();
    }
    return QAccessibleWidget::text(t);
  }
  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (widget()->isEnabled()) {
      names.prepend(pressAction());
    }
    return names;
  }
  void doAction(const QString& actionName) override {
    if (actionName == pressAction() && widget()->isEnabled()) {
      emit static_cast<ClickLabel*>(widget())->clicked();
      return;
    }
    QAccessibleWidget::doAction(actionName);
  }
};

QAccessibleInterface* ClickLabelAccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String(ClickLabel::staticMetaObject.className())) {
    if (auto* label = qobject_cast<ClickLabel*>(object)) {
      return new ClickLabelAccessible(label);
    }
  }
  return nullptr;
}

}  // namespace

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
}

HubWindow::HubWindow(AppContext& ctx) : ctx_(ctx), state_(ctx.state), services_(ctx.services) {
  setObjectName(QStringLiteral("seisekitime1"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(ToQt(state_.catalogue.title));
  // The level names are pressable for assistive tools too (installed once per program).
  static const bool clickLabelsAccessible = [] {
    QAccessible::installFactory(ClickLabelAccessibleFactory);
    return true;
  }();
  Q_UNUSED(clickLabelsAccessible);
  CreateControls();
  buildColumns();
  // The form sees typed characters before its controls do.
  qApp->installEventFilter(this);
}

HubWindow::~HubWindow() = default;

int HubWindow::Levels() const {
  return std::clamp<int>(state_.catalogue.levelCount, 0, kLevelSlots - 1);
}

void HubWindow::CreateControls() {
  auto label = [](QWidget* parent, const char* name, const QString& text = QString()) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
  };
  auto button = [](QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
  };
  auto panel = [this](const char* name, unsigned colour) {
    auto* f = new QFrame(this);
    f->setObjectName(QLatin1String(name));
    SetBackColour(f, colour);
    return f;
  };

  // Header.
  titleLabel_ = label(this, "Label11");
  place(titleLabel_, 300, 100, 3600, 720);
  pupilLabel_ = label(this, "Label12");
  place(pupilLabel_, 4000, 100, 4300, 480);
  setFontPoints(pupilLabel_, 16, true);
  schoolLabel_ = label(this, "Label13");
  place(schoolLabel_, 4000, 620, 4300, 360);
  setFontPoints(schoolLabel_, 10);
  // Two framed boxes, one above the other: minutes since the start and today's runs.
  auto figureBox = [&](const char* boxName, const char* labelName, int top, QFrame*& box,
                       QLabel*& text) {
    box = panel(boxName, kWhite);
    box->setFrameShape(QFrame::Box);
    place(box, 8500, top, 2300, 450);
    text = label(box, labelName);
    place(text, 60, 30, 2180, 390);
    setFontPoints(text, 11);
  };
  figureBox("Picture3", "Label17", 130, minutesPanel_, minutesLabel_);
  figureBox("Picture4", "Label18", 640, todayRunsPanel_, todayRunsLabel_);
  dataButton_ = button(this, "Command8", QStringLiteral("データ処理"));
  place(dataButton_, 11100, 130, 1700, 560);
  setFontPoints(dataButton_, 10);
  dataButton_->setVisible(false);
  // The data-change gate's panel; start buttons, level names and typed shortcuts do nothing
  // while it is shown. The window chosen there takes the hub's place.
  gatePanel_ = new DataGatePanel(*this, ctx_);
  place(gatePanel_, 4000, 2500, 7000, 3500);
  connect(dataButton_, &QPushButton::clicked, gatePanel_, &DataGatePanel::open);
  connect(gatePanel_, &DataGatePanel::windowOpened, this, [this] { UnloadHub(ctx_); });
  backButton_ = button(this, "Command1", QStringLiteral("戻る(0)"));
  place(backButton_, 13100, 130, 1900, 900);
  setFontPoints(backButton_, 14, true);
  connect(backButton_, &QPushButton::clicked, this, [this] { backToNameSelection(); });

  // View selectors, grade filter and period.
  viewKindPanel_ = panel("Picture5", 0xE0E0E0);
  place(viewKindPanel_, 300, 1150, 4800, 520);
  const char* const kind[] = {"ﾀｲﾑ表示", "ﾎﾟｲﾝﾄ表示", "個人ﾀｲﾑ"};
  for (int i = 0; i <= 2; ++i) {
    auto* o = new QRadioButton(QString::fromUtf8(kind[i]), viewKindPanel_);
    o->setObjectName(Indexed("Option2", i));
    place(o, 100 + i * 1560, 60, 1500, 400);
    setFontPoints(o, 10);
    viewKinds_.push_back(o);
    // Whatever checks the button (a click, a key, an assistive tool's toggle), once per change.
    connect(o, &QRadioButton::toggled, this, [this, i](bool checked) {
      if (checked) {
        chooseView(i);
      }
    });
  }
  listChoicePanel_ = panel("Picture1", 0xC0FFC0);
  place(listChoicePanel_, 5300, 1150, 4800, 520);
  listChoices_.push_back(nullptr);
  const char* const list[] = {"BEST表示", "本日のみ", "オール表示"};
  for (int i = 1; i <= 3; ++i) {
    auto* o = new QRadioButton(QString::fromUtf8(list[i - 1]), listChoicePanel_);
    o->setObjectName(Indexed("Option1", i));
    place(o, 100 + (i - 1) * 1560, 60, 1500, 400);
    setFontPoints(o, 10);
    listChoices_.push_back(o);
    connect(o, &QRadioButton::toggled, this, [this, i](bool checked) {
      if (checked) {
        chooseList(i);
      }
    });
  }
  gradeFilterBox_ = new QComboBox(this);
  gradeFilterBox_->setObjectName(QStringLiteral("Combo1"));
  gradeFilterBox_->setToolTip(QStringLiteral("表示する学年を選びます"));
  place(gradeFilterBox_, 10300, 1180, 1900, 460);
  setFontPoints(gradeFilterBox_, 10);
  connect(gradeFilterBox_, &QComboBox::activated, this, [this] { applyGradeFilter(); });
  periodBox_ = new QComboBox(this);
  periodBox_->setObjectName(QStringLiteral("Combo2"));
  place(periodBox_, 12400, 1180, 2700, 460);
  setFontPoints(periodBox_, 10);
  periodBox_->setVisible(false);
  connect(periodBox_, &QComboBox::activated, this, [this] { applyPeriod(); });

  listTitleLabel_ = label(this, "Label5");
  place(listTitleLabel_, 300, kLabel5Top, 8000, kLabel5Height);
  setFontPoints(listTitleLabel_, 12, true);
  // "グラフ", shown in the personal time view only, and the chart panel it opens.
  chartButton_ = button(this, "Command17", QStringLiteral("グラフ"));
  place(chartButton_, 8500, kLabel5Top - 60, 1700, kLabel5Height + 80);
  setFontPoints(chartButton_, 11, true);
  chartButton_->setVisible(false);
  connect(chartButton_, &QPushButton::clicked, this, [this] { openChart(); });

  // Level-column templates (element 0), hidden.
  CreateColumn(0);

  // The chart panel, hidden until a chart is drawn; the covers lie above it.
  chartPanel_ = new ChartPanel(*this, ctx_);

  // Covers: listCover_ over the columns while lists are rebuilt, cover_ over everything.
  listCover_ = panel("Picture6", kTeal);
  listCoverProgress_ = new QProgressBar(listCover_);
  listCoverProgress_->setObjectName(QStringLiteral("ProgressBar2"));
  listCoverProgress_->setTextVisible(false);
  listCoverLabel_ = label(listCover_, "Label21", QStringLiteral("Just a momento, please."));
  listCoverLabel_->setAlignment(Qt::AlignCenter);
  listCover_->setVisible(false);
  cover_ = panel("Picture2", kTeal);
  coverProgress_ = new QProgressBar(cover_);
  coverProgress_->setObjectName(QStringLiteral("ProgressBar1"));
  coverProgress_->setTextVisible(false);
  coverLabel_ = label(cover_, "Label19", QStringLiteral("Just a moment, please."));
  coverLabel_->setAlignment(Qt::AlignCenter);
}

void HubWindow::CreateColumn(int i) {
  auto make = [this, i](auto* w, const char* name) {
    w->setObjectName(Indexed(name, i));
    w->setVisible(i != 0);
    return w;
  };
  auto* l1 = make(new QLabel(this), "Label1");
  l1->setAlignment(Qt::AlignCenter);
  setFontPoints(l1, 14, true);
  levelNumberLabels_.push_back(l1);
  auto* l3 = make(new ClickLabel(this), "Label3");
  l3->setCursor(Qt::PointingHandCursor);
  setFontPoints(l3, 14, true);
  levelNameLabels_.push_back(l3);
  auto* start = make(new QPushButton(this), "Command4");
  start->setToolTip(QStringLiteral("クリックしてスタートします。番号を押してもよろしい"));
  setFontPoints(start, 14, true);
  startButtons_.push_back(start);
  auto* notice = make(new QLineEdit(this), "Text1");
  notice->setReadOnly(true);
  notice->setAlignment(Qt::AlignCenter);
  notice->setFocusPolicy(Qt::NoFocus);
  SetBackColour(notice, kWhite);
  SetForeColour(notice, kRed);
  setFontPoints(notice, 14, true);
  notice->setVisible(false);
  overPracticeNotices_.push_back(notice);
  for (auto* v : {&todayHeads_, &allTimeHeads_, &todayFigures_, &allTimeFigures_}) {
    const char* name = v == &todayHeads_     ? "Label9"
                       : v == &allTimeHeads_ ? "Label10"
                       : v == &todayFigures_ ? "Label14"
                                             : "Label15";
    auto* l = make(new QLabel(this), name);
    l->setAlignment(Qt::AlignCenter);
    setFontPoints(l, 10);
    v->push_back(l);
  }
  auto* recent = make(new QLabel(this), "Label8");
  recent->setAlignment(Qt::AlignCenter);
  setFontPoints(recent, 9);
  recentPeriodLabels_.push_back(recent);
  auto* list = make(new QListWidget(this), "List5");
  list->setSortingEnabled(false);
  list->setFocusPolicy(Qt::NoFocus);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ShowLinesOnCells(list);
  setFontPoints(list, 10);
  SetBackColour(list, kListTemplateColour);
  scoreLists_.push_back(list);
  auto* target = make(new QLabel(this), "Label7");
  target->setAlignment(Qt::AlignCenter);
  setFontPoints(target, 9);
  targetLabels_.push_back(target);

  if (i == 0) {
    return;
  }
  connect(start, &QPushButton::clicked, this, [this, i] { startLevel(i); });
  connect(l3, &ClickLabel::clicked, this, [this, i] { startLevelByName(i); });
}

void HubWindow::PlaceColumns() {
  const double w = columnWidth_;
  int top = Round(kLabel5Top + 1.05 * kLabel5Height);
  const int rowName = top;
  const int rowStart = rowName + kNameHeight;
  const int rowHead = rowStart + kStartHeight;
  const int rowFigures = rowHead + kHeadHeight;
  const int rowRecent = rowFigures + kFiguresHeight;
  const int rowList = rowRecent + kRecentHeight;
  const int rowTarget = rowList + kListHeight;
  for (size_t i = 0; i < scoreLists_.size(); ++i) {
    const double left = leftMargin_ + (i == 0 ? 0 : static_cast<double>(i) - 1) * w;
    const int l = Round(left);
    const int full = Round(left + w) - l;
    const int half = Round(w / 2);
    place(levelNumberLabels_[i], l, rowName, Round(0.2 * w), kNameHeight);
    place(levelNameLabels_[i], Round(left + 0.2 * w), rowName, Round(0.8 * w), kNameHeight);
    place(startButtons_[i], l, rowStart, full, kStartHeight);
    place(overPracticeNotices_[i], l, rowStart, full, kStartHeight);
    place(todayHeads_[i], l, rowHead, half, kHeadHeight);
    place(allTimeHeads_[i], l + half, rowHead, full - half, kHeadHeight);
    place(todayFigures_[i], l, rowFigures, half, kFiguresHeight);
    place(allTimeFigures_[i], l + half, rowFigures, full - half, kFiguresHeight);
    place(recentPeriodLabels_[i], l, rowRecent, full, kRecentHeight);
    place(scoreLists_[i], l, rowList, full, kListHeight);
    place(targetLabels_[i], l, rowTarget, full, kTargetHeight);
  }
}

void HubWindow::buildColumns() {
  const auto season = state_.installation.seasonColour;
  setBackColour(season);
  SetBackColour(cover_, season);
  state_.session.allResultsPeriod = 3;

  const int n = Levels();
  columnWidth_ = n > 0 ? kColumnsWidth / n : kColumnsWidth;
  leftMargin_ = 0.02 * kFormWidth;

  for (const char* f : kGradeFilterTexts) {
    gradeFilterBox_->addItem(QString::fromUtf8(f));
  }
  int filter = gradeFilterBox_->findText(ToQt(state_.roster.gradeFilterText));
  // A filter text that is not one of the box's texts shows every grade.
  gradeFilterBox_->setCurrentIndex(filter >= 0 ? filter : 0);
  periodBox_->addItems(
      {QStringLiteral("　　　今週の全成績"), QStringLiteral("　　先週からの全成績"),
       QStringLiteral("　　１ヶ月間の全成績"), QStringLiteral("　　１年間の全成績"),
       QStringLiteral("　　今までの全成績\"")});
  periodBox_->setCurrentIndex(2);

  for (int i = 1; i <= n; ++i) {
    CreateColumn(i);
    const QString name = ToQt(state_.catalogue.levelNames[static_cast<size_t>(i)]);
    levelNumberLabels_[i]->setText(QString::number(i));
    levelNameLabels_[i]->setText(name);
    levelNameLabels_[i]->setToolTip(name);
    startButtons_[i]->setText(QStringLiteral("ｽﾀｰﾄ(&%1)").arg(i));
    todayHeads_[i]->setText(QString::number(i));
    allTimeHeads_[i]->setText(QString::number(i));
    todayFigures_[i]->clear();
    allTimeFigures_[i]->clear();
    recentPeriodLabels_[i]->setText(
        ToQt(RecentPeriodLine(state_.catalogue, state_.session, state_.stats, i)));
    targetLabels_[i]->setText(ToQt(TargetLine(state_.catalogue, i)));
  }
  PlaceColumns();

  place(cover_, 0, 0, kFormWidth, kFormHeight);
  place(coverProgress_, 4680, 6200, 6000, 360);
  place(coverLabel_, 2680, 5000, 10000, 900);
  setFontPoints(coverLabel_, 28, true);
  cover_->raise();
  cover_->setVisible(true);
  place(listCover_, 0, kLabel5Top, kFormWidth, kColumnsBottom - kLabel5Top);
  place(listCoverProgress_, 4680, 4600, 6000, 360);
  place(listCoverLabel_, 2680, 3400, 10000, 900);
  setFontPoints(listCoverLabel_, 28, true);
}

void HubWindow::LetScreenRepaint() {
  services_.host.ProcessEvents();
}

void HubWindow::refresh() {
  const Busy busy(this);
  hubReady_ = 0;
  startRequested_ = false;
  dataButton_->setVisible(IsTeacher(state_.session.pupilName));
  chartPanel_->setTeacher(IsTeacher(state_.session.pupilName));
  minutesLabel_->setText(
      ToQt(MinutesSinceStartLine(state_.session.pupilStartTime, services_.clock.Timer())));
  resizeTwips(cover_, kFormWidth, kFormHeight);
  cover_->raise();
  cover_->setVisible(true);
  coverProgress_->setVisible(true);
  LetScreenRepaint();
  listChoices_[1]->setText(QStringLiteral("累計順"));
  listChoices_[2]->setText(QStringLiteral("本日順"));

  UnloadNameSelection(ctx_);
  RebuildStatistics(state_, services_);
  ++statisticsRebuilds_;

  state_.stats.todayTotalRuns = TodayTotalRuns(state_.session, state_.stats);
  todayRunsLabel_->setText(ToQt(TodayTotalRunsLine(state_.stats.todayTotalRuns)));

  coverProgress_->setRange(0, std::max(1, Levels()));
  coverProgress_->setValue(0);
  viewMode_ = kHubPointsView;
  suppressViewEvents_ = 1;
  {
    // Selecting the buttons from here must not run their handlers a second time.
    const QSignalBlocker block1(listChoices_[1]);
    listChoices_[1]->setChecked(true);
  }
  chooseList(1);
  {
    const QSignalBlocker block2(viewKinds_[1]);
    viewKinds_[1]->setChecked(true);
  }
  chooseView(1);
  backButton_->setEnabled(true);
  suppressViewEvents_ = 0;

  SetListsVisible(true);
  listCover_->setVisible(false);
  pupilLabel_->setText(ToQt(PupilLine(state_.session)));
  schoolLabel_->setText(ToQt(SchoolLine(state_.installation, state_.session)));
  titleLabel_->setText(ToQt(state_.catalogue.title));
  setFontPoints(titleLabel_, TitleFontSize(state_.catalogue.title), true);

  PlaceColumns();
  for (int i = 1; i <= Levels(); ++i) {
    SetBackColour(targetLabels_[i], kLightGrey);
    SetBackColour(recentPeriodLabels_[i], kLightGrey);
    allTimeFigures_[i]->setText(ToQt(AllTimeFigures(state_.session, state_.stats, i)));
    todayFigures_[i]->setText(ToQt(TodayFigures(state_.session, state_.stats, i)));
  }

  SetStartButtonsEnabled(false);
  showLevelAvailability();
  cover_->setVisible(false);
  coverProgress_->setVisible(false);
  hubReady_ = 1;
}

void HubWindow::SetStartButtonsEnabled(bool enabled) {
  for (int i = 1; i <= Levels(); ++i) {
    startButtons_[i]->setEnabled(enabled);
  }
}

void HubWindow::SetListsVisible(bool visible) {
  for (int i = 1; i <= Levels(); ++i) {
    scoreLists_[i]->setVisible(visible);
  }
}

void HubWindow::ShowListCover() {
  listCover_->raise();
  listCover_->setVisible(true);
}

void HubWindow::showLevelAvailability() {
  const LevelAvailability a =
      ComputeLevelAvailability(state_.catalogue, state_.session, state_.stats);
  for (int i = 1; i <= Levels(); ++i) {
    startButtons_[i]->setEnabled(a.enabled[static_cast<size_t>(i)]);
    if (a.overPractised[static_cast<size_t>(i)]) {
      overPracticeNotices_[i]->setText(QStringLiteral("やりすぎ禁止"));
      overPracticeNotices_[i]->raise();
      overPracticeNotices_[i]->setVisible(true);
    } else {
      overPracticeNotices_[i]->setVisible(false);
    }
  }
  listCover_->raise();
}

void HubWindow::resetColumnHeads() {
  for (int i = 1; i <= Levels(); ++i) {
    todayHeads_[i]->setText(QStringLiteral("今日"));
    allTimeHeads_[i]->setText(QStringLiteral("今まで"));
    scoreLists_[i]->clear();
  }
}

void HubWindow::startLevel(int index) {
  const Busy busy(this);
  if (index < 1 || index > Levels() || startRequested_) {
    return;
  }
  if (gatePanel_->isVisible()) {
    return;
  }
  if (!startButtons_[index]->isEnabled()) {
    return;
  }
  // No further start request from now on: a key or click queued behind this one arrives while
  // the screen repaints and must not start a second drill.
  startRequested_ = true;
  hubReady_ = 0;
  cover_->raise();
  cover_->setVisible(true);
  state_.session.currentLevel = index;
  LetScreenRepaint();
  StartDrill(ctx_);
}

void HubWindow::startLevelByName(int index) {
  const Busy busy(this);
  if (index < 1 || index > Levels() || startRequested_) {
    return;
  }
  if (gatePanel_->isVisible() || !startButtons_[index]->isEnabled()) {
    return;
  }
  startRequested_ = true;
  hubReady_ = 0;
  state_.session.currentLevel = index;
  if (StartDrill(ctx_)) {
    UnloadHub(ctx_);
  }
}

void HubWindow::backToNameSelection() {
  const Busy busy(this);
  cover_->raise();
  cover_->setVisible(true);
  LetScreenRepaint();
  ShowNameSelection(ctx_);
  // The selection screen unloads the hub when it activates; unloading here as well makes sure
  // the hub never stays behind it.
  UnloadHub(ctx_);
}

bool HubWindow::handleTypedKey(const QString& typed) {
  const Busy busy(this);
  if (hubReady_ == 0 || gatePanel_->isVisible()) {
    return false;
  }
  const int level = ShortcutLevel(typed.toStdString(), Levels());
  if (level == -1) {
    if (!backButton_->isEnabled()) {
      return false;
    }
    backToNameSelection();
    return true;
  }
  if (level == 0) {
    return false;
  }
  startLevel(level);
  return true;
}

bool HubWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
    auto* w = static_cast<QWidget*>(watched);
    // Each key press once: at the widget with the focus, or at the form when nothing has it.
    QWidget* focus = QApplication::focusWidget();
    const bool first = focus != nullptr ? w == focus : w == this;
    auto* key = static_cast<QKeyEvent*>(event);
    const auto modifiers =
        key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier);
    if (first && w->window() == this && modifiers == Qt::NoModifier && !key->text().isEmpty()) {
      if (handleTypedKey(key->text())) {
        return true;
      }
    }
  }
  return FormWidget::eventFilter(watched, event);
}

void HubWindow::Unload() {
  hubReady_ = 0;
  UnloadWhenIdle();
}

void HubWindow::closeEvent(QCloseEvent* event) {
  hubReady_ = 0;
  if (handlerRunning()) {
    // Closed while a handler lets messages be processed: delete it once the handler returns.
    event->ignore();
    Unload();
    return;
  }
  FormWidget::closeEvent(event);
}

// ---- Score lists ----

ListOptions HubWindow::CurrentListOptions() const {
  ListOptions o;
  o.currentPupil = state_.session.currentPupil;
  o.filterText = gradeFilterBox_->currentText().toStdString();
  return o;  // the view and the ranking kind come from the chosen list
}

int HubWindow::SelectedListChoice() const {
  for (int k = 1; k <= 3; ++k) {
    if (listChoices_[k]->isChecked()) {
      return k;
    }
  }
  return 0;
}

void HubWindow::ShowList(int level, const ScoreList& list) {
  QListWidget* box = scoreLists_[level];
  box->clear();
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(list.lines.size()));
  for (const std::string& line : list.lines) {
    lines.append(ToQt(line));
  }
  box->addItems(lines);
  if (list.colour.has_value()) {
    SetBackColour(box, *list.colour);
  }
  if (list.scrollTo >= 0 && list.scrollTo < box->count()) {
    box->scrollToItem(box->item(list.scrollTo), QAbstractItemView::PositionAtTop);
  }
  box->clearSelection();
  box->setCurrentRow(-1);
}

void HubWindow::ShowRunLists(const std::vector<ScoreList>& lists) {
  for (int i = 1; i <= Levels() && i < static_cast<int>(lists.size()); ++i) {
    ShowList(i, lists[static_cast<size_t>(i)]);
    ++listBuilds_;
  }
}

void HubWindow::chooseView(int index) {
  const Busy busy(this);
  chartButton_->setVisible(false);
  chartPanel_->setVisible(false);
  backButton_->setEnabled(false);
  SetStartButtonsEnabled(false);
  SetListsVisible(false);
  ShowListCover();
  LetScreenRepaint();
  if (suppressViewEvents_ == 1) {
    return;
  }
  if (index == 0) {
    listChoices_[1]->setText(QStringLiteral("BEST表示"));
    listChoices_[2]->setText(QStringLiteral("本日のみ"));
    listChoices_[3]->setEnabled(true);
    viewMode_ = kHubTimeView;
    const int k = SelectedListChoice();
    if (k != 0) {
      chooseList(k);
    }
  } else if (index == 1) {
    periodBox_->setVisible(false);
    listChoices_[1]->setText(QStringLiteral("合計累計"));
    listChoices_[2]->setText(QStringLiteral("合計本日"));
    listChoices_[3]->setText(QStringLiteral("すべて"));
    listChoices_[3]->setEnabled(true);
    viewMode_ = kHubPointsView;
    LetScreenRepaint();
    if (listChoices_[1]->isChecked()) {
      chooseList(1);
    }
    if (listChoices_[3]->isChecked()) {
      chooseList(3);
    }
    if (listChoices_[2]->isChecked()) {
      chooseList(2);
    }
  } else if (index == 2) {
    chartButton_->setVisible(true);
    periodBox_->setVisible(false);
    showPersonalRuns();
  }
}

void HubWindow::showPersonalRuns() {
  const Busy busy(this);
  chartPanel_->prepare();
  listTitleLabel_->setText(QStringLiteral("個人別ﾀｲﾑ"));
  resetColumnHeads();
  const std::string filter = gradeFilterBox_->currentText().toStdString();
  const std::vector<std::vector<std::string>> lists =
      BuildPersonalRunLists(state_.catalogue, state_.roster,
                            ReadChartRecords(state_.installation, state_.stats, services_),
                            services_.clock.Now(), state_.session.currentPupil, filter);
  for (int i = 1; i <= Levels() && i < static_cast<int>(lists.size()); ++i) {
    ScoreList list;
    list.lines = lists[static_cast<size_t>(i)];
    ShowList(i, list);
    ++listBuilds_;
  }
  listCover_->setVisible(false);
  showLevelAvailability();
  SetListsVisible(true);
  backButton_->setEnabled(true);
}

void HubWindow::openChart() {
  const Busy busy(this);
  chartPanel_->setListOptions(gradeFilterBox_->currentText().toStdString(), rankingKind_);
  chartPanel_->openForCurrentPupil();
}

void HubWindow::chooseList(int index) {
  const Busy busy(this);
  backButton_->setEnabled(false);
  SetStartButtonsEnabled(false);
  SetListsVisible(false);
  ShowListCover();
  periodBox_->setVisible(false);
  listChoicePanel_->setEnabled(false);
  LetScreenRepaint();
  const std::optional<HubListChoice> choice = ChooseHubList({viewMode_, index, rankingKind_});
  if (choice.has_value()) {
    viewMode_ = choice->viewMode;
    rankingKind_ = choice->rankingKind;
    listTitleLabel_->setText(ToQt(choice->title));
    resetColumnHeads();
    const int n = Levels();
    listCoverProgress_->setRange(0, std::max(1, n));
    // The rankings are built level by level; the covers' bars show how far.
    auto progress = [this](int level) {
      coverProgress_->setValue(std::min(level, coverProgress_->maximum()));
      listCoverProgress_->setValue(level);
      LetScreenRepaint();
    };
    ShowRunLists(BuildHubLists(state_.installation, state_.catalogue, state_.roster, state_.stats,
                               services_, choice->list, state_.session.allResultsPeriod,
                               CurrentListOptions(), progress));
    listChoicePanel_->setEnabled(true);
    periodBox_->setVisible(choice->periodShown);
  }
  backButton_->setEnabled(true);
  showLevelAvailability();
  SetListsVisible(true);
  listCover_->setVisible(false);
}

void HubWindow::applyGradeFilter() {
  const Busy busy(this);
  if (viewKinds_[0]->isChecked()) {
    chooseView(0);
  } else {
    chooseView(1);
  }
  if (Levels() >= 1) {
    startButtons_[1]->setFocus();
  }
}

void HubWindow::applyPeriod() {
  const Busy busy(this);
  if (!listChoices_[3]->isChecked()) {
    return;
  }
  state_.session.allResultsPeriod = periodBox_->currentIndex() + 1;
  chooseList(3);
}

// ---- Window functions ----

void ShowHub(AppContext& ctx) {
  auto* hub = qobject_cast<HubWindow*>(ctx.hub.data());
  if (hub == nullptr) {
    hub = new HubWindow(ctx);
    ctx.hub = hub;
  }
  hub->showOnWholeScreen();
  hub->activateWindow();
  hub->refresh();
}

void UnloadHub(AppContext& ctx) {
  QWidget* hub = ctx.hub.data();
  if (hub == nullptr) {
    return;
  }
  ctx.hub = nullptr;
  if (auto* form = qobject_cast<HubWindow*>(hub)) {
    form->Unload();
  } else {
    hub->close();
  }
}

}  // namespace numora
