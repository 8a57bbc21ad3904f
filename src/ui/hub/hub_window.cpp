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

#include "core/hub/hub_figures.h"
#include "core/hub/list_records.h"
#include "core/records/statistics.h"

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
constexpr unsigned kPanelGreen = 0x00C000;
constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kRed = 0x0000FF;

const char* const kGradeFilters[] = {"全学年", "中学生全体", "小学生全体", "中３", "中２", "中１",
                                     "小６",   "小５",       "小４",       "小３", "小２", "小１"};

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

QString Indexed(const char* name, int i) {
  return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

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
  setWindowTitle(Q(state_.programTitle));
  // The level names are pressable for assistive tools too (installed once per program).
  static const bool clickLabelsAccessible = [] {
    QAccessible::installFactory(ClickLabelAccessibleFactory);
    return true;
  }();
  Q_UNUSED(clickLabelsAccessible);
  CreateControls();
  Form_Load();
  // The form sees typed characters before its controls do.
  qApp->installEventFilter(this);
}

HubWindow::~HubWindow() = default;

int HubWindow::Levels() const {
  return std::clamp<int>(state_.levelCount, 0, kLevelSlots - 1);
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
  Label11 = label(this, "Label11");
  place(Label11, 300, 100, 3600, 720);
  Label12 = label(this, "Label12");
  place(Label12, 4000, 100, 4300, 480);
  setFontPoints(Label12, 16, true);
  Label13 = label(this, "Label13");
  place(Label13, 4000, 620, 4300, 360);
  setFontPoints(Label13, 10);
  Picture3 = panel("Picture3", kWhite);
  Picture3->setFrameShape(QFrame::Box);
  place(Picture3, 8500, 130, 2300, 450);
  Label17 = label(Picture3, "Label17");
  place(Label17, 60, 30, 2180, 390);
  setFontPoints(Label17, 11);
  Picture4 = panel("Picture4", kWhite);
  Picture4->setFrameShape(QFrame::Box);
  place(Picture4, 8500, 640, 2300, 450);
  Label18 = label(Picture4, "Label18");
  place(Label18, 60, 30, 2180, 390);
  setFontPoints(Label18, 11);
  Command8 = button(this, "Command8", QStringLiteral("データ処理"));
  place(Command8, 11100, 130, 1700, 560);
  setFontPoints(Command8, 10);
  Command8->setVisible(false);
  // The data-change gate's panel; start buttons and level names do nothing while it is shown.
  Picture7 = panel("Picture7", kPanelGreen);
  place(Picture7, 4000, 2500, 7000, 3500);
  Picture7->setVisible(false);
  Command1 = button(this, "Command1", QStringLiteral("戻る(0)"));
  place(Command1, 13100, 130, 1900, 900);
  setFontPoints(Command1, 14, true);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

  // View selectors, grade filter and period.
  Picture5 = panel("Picture5", 0xE0E0E0);
  place(Picture5, 300, 1150, 4800, 520);
  const char* const kind[] = {"ﾀｲﾑ表示", "ﾎﾟｲﾝﾄ表示", "個人ﾀｲﾑ"};
  for (int i = 0; i <= 2; ++i) {
    auto* o = new QRadioButton(QString::fromUtf8(kind[i]), Picture5);
    o->setObjectName(Indexed("Option2", i));
    place(o, 100 + i * 1560, 60, 1500, 400);
    setFontPoints(o, 10);
    Option2.push_back(o);
    connect(o, &QRadioButton::clicked, this, [this, i] { Option2_Click(i); });
  }
  // The personal time view arrives with the chart panel.
  Option2[2]->setEnabled(false);
  Picture1 = panel("Picture1", 0xC0FFC0);
  place(Picture1, 5300, 1150, 4800, 520);
  Option1.push_back(nullptr);
  const char* const list[] = {"BEST表示", "本日のみ", "オール表示"};
  for (int i = 1; i <= 3; ++i) {
    auto* o = new QRadioButton(QString::fromUtf8(list[i - 1]), Picture1);
    o->setObjectName(Indexed("Option1", i));
    place(o, 100 + (i - 1) * 1560, 60, 1500, 400);
    setFontPoints(o, 10);
    Option1.push_back(o);
    connect(o, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
  }
  Combo1 = new QComboBox(this);
  Combo1->setObjectName(QStringLiteral("Combo1"));
  Combo1->setToolTip(QStringLiteral("表示する学年を選びます"));
  place(Combo1, 10300, 1180, 1900, 460);
  setFontPoints(Combo1, 10);
  connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
  Combo2 = new QComboBox(this);
  Combo2->setObjectName(QStringLiteral("Combo2"));
  place(Combo2, 12400, 1180, 2700, 460);
  setFontPoints(Combo2, 10);
  Combo2->setVisible(false);
  connect(Combo2, &QComboBox::activated, this, [this] { Combo2_Click(); });

  Label5 = label(this, "Label5");
  place(Label5, 300, kLabel5Top, 8000, kLabel5Height);
  setFontPoints(Label5, 12, true);

  // Hidden buttons whose handlers the form calls, and the two colour samples of the lists.
  Command5 = button(this, "Command5", QStringLiteral("本日成績表示"));
  Command6 = button(this, "Command6", QStringLiteral("過去最高表示"));
  Command7 = button(this, "Command7", QStringLiteral("全成績"));
  Command9 = button(this, "Command9", QString());
  for (QPushButton* b : {Command5, Command6, Command7, Command9}) {
    b->setVisible(false);
  }
  connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
  connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
  connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
  connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
  Text4 = new QLineEdit(this);
  Text4->setObjectName(QStringLiteral("Text4"));
  SetBackColour(Text4, kListGreen);
  Text5 = new QLineEdit(this);
  Text5->setObjectName(QStringLiteral("Text5"));
  SetBackColour(Text5, kListLightGreen);
  Text4->setVisible(false);
  Text5->setVisible(false);

  // Level-column templates (element 0), hidden.
  CreateColumn(0);

  // Covers: Picture6 over the columns while lists are rebuilt, Picture2 over everything.
  Picture6 = panel("Picture6", kTeal);
  ProgressBar2 = new QProgressBar(Picture6);
  ProgressBar2->setObjectName(QStringLiteral("ProgressBar2"));
  ProgressBar2->setTextVisible(false);
  Label21 = label(Picture6, "Label21", QStringLiteral("Just a momento, please."));
  Label21->setAlignment(Qt::AlignCenter);
  Picture6->setVisible(false);
  Picture2 = panel("Picture2", kTeal);
  ProgressBar1 = new QProgressBar(Picture2);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setTextVisible(false);
  Label19 = label(Picture2, "Label19", QStringLiteral("Just a moment, please."));
  Label19->setAlignment(Qt::AlignCenter);
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
  Label1.push_back(l1);
  auto* l3 = make(new ClickLabel(this), "Label3");
  l3->setCursor(Qt::PointingHandCursor);
  setFontPoints(l3, 14, true);
  Label3.push_back(l3);
  auto* start = make(new QPushButton(this), "Command4");
  start->setToolTip(QStringLiteral("クリックしてスタートします。番号を押してもよろしい"));
  setFontPoints(start, 14, true);
  Command4.push_back(start);
  auto* notice = make(new QLineEdit(this), "Text1");
  notice->setReadOnly(true);
  notice->setAlignment(Qt::AlignCenter);
  notice->setFocusPolicy(Qt::NoFocus);
  SetBackColour(notice, kWhite);
  SetForeColour(notice, kRed);
  setFontPoints(notice, 14, true);
  notice->setVisible(false);
  Text1.push_back(notice);
  for (auto* v : {&Label9, &Label10, &Label14, &Label15}) {
    const char* name = v == &Label9    ? "Label9"
                       : v == &Label10 ? "Label10"
                       : v == &Label14 ? "Label14"
                                       : "Label15";
    auto* l = make(new QLabel(this), name);
    l->setAlignment(Qt::AlignCenter);
    setFontPoints(l, 10);
    v->push_back(l);
  }
  auto* recent = make(new QLabel(this), "Label8");
  recent->setAlignment(Qt::AlignCenter);
  setFontPoints(recent, 9);
  Label8.push_back(recent);
  auto* list = make(new QListWidget(this), "List5");
  list->setSortingEnabled(false);
  list->setFocusPolicy(Qt::NoFocus);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ShowLinesOnCells(list);
  setFontPoints(list, 10);
  SetBackColour(list, kListTemplateColour);
  List5.push_back(list);
  auto* target = make(new QLabel(this), "Label7");
  target->setAlignment(Qt::AlignCenter);
  setFontPoints(target, 9);
  Label7.push_back(target);
  auto* ranking = make(new QPushButton(QStringLiteral("成績表示"), this), "Command3");
  ranking->setVisible(false);
  Command3.push_back(ranking);

  if (i == 0) {
    return;
  }
  connect(start, &QPushButton::clicked, this, [this, i] { Command4_Click(i); });
  connect(l3, &ClickLabel::clicked, this, [this, i] { Label3_Click(i); });
  connect(ranking, &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
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
  for (size_t i = 0; i < List5.size(); ++i) {
    const double left = leftMargin_ + (i == 0 ? 0 : static_cast<double>(i) - 1) * w;
    const int l = Round(left);
    const int full = Round(left + w) - l;
    const int half = Round(w / 2);
    place(Label1[i], l, rowName, Round(0.2 * w), kNameHeight);
    place(Label3[i], Round(left + 0.2 * w), rowName, Round(0.8 * w), kNameHeight);
    place(Command4[i], l, rowStart, full, kStartHeight);
    place(Text1[i], l, rowStart, full, kStartHeight);
    place(Label9[i], l, rowHead, half, kHeadHeight);
    place(Label10[i], l + half, rowHead, full - half, kHeadHeight);
    place(Label14[i], l, rowFigures, half, kFiguresHeight);
    place(Label15[i], l + half, rowFigures, full - half, kFiguresHeight);
    place(Label8[i], l, rowRecent, full, kRecentHeight);
    place(List5[i], l, rowList, full, kListHeight);
    place(Label7[i], l, rowTarget, full, kTargetHeight);
  }
}

void HubWindow::Form_Load() {
  const auto season = static_cast<unsigned>(state_.seasonColour.Number());
  setBackColour(season);
  SetBackColour(Picture2, season);
  state_.allResultsPeriod = 3;

  const int n = Levels();
  columnWidth_ = n > 0 ? kColumnsWidth / n : kColumnsWidth;
  leftMargin_ = 0.02 * kFormWidth;

  for (const char* f : kGradeFilters) {
    Combo1->addItem(QString::fromUtf8(f));
  }
  int filter = Combo1->findText(Q(state_.gradeFilterText));
  // A filter text that is not one of the box's texts shows every grade.
  Combo1->setCurrentIndex(filter >= 0 ? filter : 0);
  Combo2->addItems({QStringLiteral("　　　今週の全成績"), QStringLiteral("　　先週からの全成績"),
                    QStringLiteral("　　１ヶ月間の全成績"), QStringLiteral("　　１年間の全成績"),
                    QStringLiteral("　　今までの全成績\"")});
  Combo2->setCurrentIndex(2);

  for (int i = 1; i <= n; ++i) {
    CreateColumn(i);
    const QString name = Q(state_.levelNames[static_cast<size_t>(i)]);
    Label1[i]->setText(QString::number(i));
    Label3[i]->setText(name);
    Label3[i]->setToolTip(name);
    Command4[i]->setText(QStringLiteral("ｽﾀｰﾄ(&%1)").arg(i));
    Label9[i]->setText(QString::number(i));
    Label10[i]->setText(QString::number(i));
    Label14[i]->clear();
    Label15[i]->clear();
    Label8[i]->setText(Q(RecentPeriodLine(state_, i)));
    Label7[i]->setText(Q(TargetLine(state_, i)));
  }
  PlaceColumns();

  place(Picture2, 0, 0, kFormWidth, kFormHeight);
  place(ProgressBar1, 4680, 6200, 6000, 360);
  place(Label19, 2680, 5000, 10000, 900);
  setFontPoints(Label19, 28, true);
  Picture2->raise();
  Picture2->setVisible(true);
  place(Picture6, 0, kLabel5Top, kFormWidth, kColumnsBottom - kLabel5Top);
  place(ProgressBar2, 4680, 4600, 6000, 360);
  place(Label21, 2680, 3400, 10000, 900);
  setFontPoints(Label21, 28, true);
}

void HubWindow::LetScreenRepaint() {
  services_.host.ProcessEvents();
}

void HubWindow::Form_Activate() {
  const Busy busy(this);
  hubReady_ = 0;
  Command8->setVisible(IsTeacher(state_.pupilName));
  Label17->setText(Q(MinutesSinceStartLine(state_.pupilStartTime, services_.clock.Timer())));
  resizeTwips(Picture2, kFormWidth, kFormHeight);
  Picture2->raise();
  Picture2->setVisible(true);
  ProgressBar1->setVisible(true);
  LetScreenRepaint();
  Option1[1]->setText(QStringLiteral("累計順"));
  Option1[2]->setText(QStringLiteral("本日順"));

  UnloadNameSelection(ctx_);
  RebuildStatistics(state_, services_);
  ++statisticsRebuilds_;

  state_.todayTotalRuns = static_cast<int16_t>(TodayTotalRuns(state_));
  Label18->setText(Q(TodayTotalRunsLine(state_.todayTotalRuns)));

  ProgressBar1->setRange(0, std::max(1, Levels()));
  ProgressBar1->setValue(0);
  viewMode_ = kHubPointsView;
  suppressViewEvents_ = 1;
  {
    // Selecting the buttons from here must not run their handlers a second time.
    const QSignalBlocker block1(Option1[1]);
    Option1[1]->setChecked(true);
  }
  Option1_Click(1);
  {
    const QSignalBlocker block2(Option2[1]);
    Option2[1]->setChecked(true);
  }
  Option2_Click(1);
  Command1->setEnabled(true);
  suppressViewEvents_ = 0;

  SetListsVisible(true);
  Picture6->setVisible(false);
  Label12->setText(Q(PupilLine(state_)));
  Label13->setText(Q(SchoolLine(state_)));
  Label11->setText(Q(state_.programTitle));
  setFontPoints(Label11, TitleFontSize(state_.programTitle), true);

  PlaceColumns();
  for (int i = 1; i <= Levels(); ++i) {
    SetBackColour(Label7[i], kLightGrey);
    SetBackColour(Label8[i], kLightGrey);
    Label15[i]->setText(Q(AllTimeFigures(state_, i)));
    Label14[i]->setText(Q(TodayFigures(state_, i)));
  }

  SetStartButtonsEnabled(false);
  Command9_Click();
  Picture2->setVisible(false);
  ProgressBar1->setVisible(false);
  hubReady_ = 1;
}

void HubWindow::SetStartButtonsEnabled(bool enabled) {
  for (int i = 1; i <= Levels(); ++i) {
    Command4[i]->setEnabled(enabled);
  }
}

void HubWindow::SetListsVisible(bool visible) {
  for (int i = 1; i <= Levels(); ++i) {
    List5[i]->setVisible(visible);
  }
}

void HubWindow::ShowCover6() {
  Picture6->raise();
  Picture6->setVisible(true);
}

void HubWindow::Command9_Click() {
  const LevelAvailability a = ComputeLevelAvailability(state_);
  for (int i = 1; i <= Levels(); ++i) {
    Command4[i]->setEnabled(a.enabled[static_cast<size_t>(i)]);
    if (a.overPractised[static_cast<size_t>(i)]) {
      Text1[i]->setText(QStringLiteral("やりすぎ禁止"));
      Text1[i]->raise();
      Text1[i]->setVisible(true);
    } else {
      Text1[i]->setVisible(false);
    }
  }
  Picture6->raise();
}

void HubWindow::回数など表示() {
  for (int i = 1; i <= Levels(); ++i) {
    Label9[i]->setText(QStringLiteral("今日"));
    Label10[i]->setText(QStringLiteral("今まで"));
    List5[i]->clear();
  }
}

void HubWindow::Command4_Click(int index) {
  const Busy busy(this);
  if (index < 1 || index > Levels()) {
    return;
  }
  if (Picture7->isVisible()) {
    return;
  }
  if (!Command4[index]->isEnabled()) {
    return;
  }
  Picture2->raise();
  Picture2->setVisible(true);
  state_.currentLevel = static_cast<int16_t>(index);
  LetScreenRepaint();
  hubReady_ = 0;
  StartDrill(ctx_);
}

void HubWindow::Label3_Click(int index) {
  const Busy busy(this);
  if (index < 1 || index > Levels()) {
    return;
  }
  if (Picture7->isVisible() || !Command4[index]->isEnabled()) {
    return;
  }
  state_.currentLevel = static_cast<int16_t>(index);
  hubReady_ = 0;
  StartDrill(ctx_);
  UnloadHub(ctx_);
}

void HubWindow::Command1_Click() {
  const Busy busy(this);
  Picture2->raise();
  Picture2->setVisible(true);
  LetScreenRepaint();
  ShowNameSelection(ctx_);
  // The selection screen unloads the hub when it activates; unloading here as well makes sure
  // the hub never stays behind it.
  UnloadHub(ctx_);
}

bool HubWindow::Form_KeyPress(const QString& typed) {
  const Busy busy(this);
  if (hubReady_ == 0) {
    return false;
  }
  const int level = ShortcutLevel(typed.toStdString(), Levels());
  if (level == -1) {
    if (!Command1->isEnabled()) {
      return false;
    }
    Command1_Click();
    return true;
  }
  if (level == 0) {
    return false;
  }
  Command4_Click(level);
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
      if (Form_KeyPress(key->text())) {
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
  o.currentPupil = state_.currentPupil;
  o.filterText = Combo1->currentText().toStdString();
  o.viewMode = viewMode_ == kHubPointsView ? kHubPointsView : kHubTimeView;
  o.rankingKind = rankingKind_ == kTodayRanking ? kTodayRanking : kCumulativeRanking;
  return o;
}

int HubWindow::SelectedOption1() const {
  for (int k = 1; k <= 3; ++k) {
    if (Option1[k]->isChecked()) {
      return k;
    }
  }
  return 0;
}

void HubWindow::ShowList(int level, const ScoreList& list) {
  QListWidget* box = List5[level];
  box->clear();
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(list.lines.size()));
  for (const std::string& line : list.lines) {
    lines.append(Q(line));
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

void HubWindow::Option2_Click(int index) {
  const Busy busy(this);
  Command1->setEnabled(false);
  SetStartButtonsEnabled(false);
  SetListsVisible(false);
  ShowCover6();
  LetScreenRepaint();
  if (suppressViewEvents_ == 1) {
    return;
  }
  if (index == 0) {
    Option1[1]->setText(QStringLiteral("BEST表示"));
    Option1[2]->setText(QStringLiteral("本日のみ"));
    Option1[3]->setEnabled(true);
    viewMode_ = kHubTimeView;
    const int k = SelectedOption1();
    if (k != 0) {
      Option1_Click(k);
    }
  } else if (index == 1) {
    Combo2->setVisible(false);
    Option1[1]->setText(QStringLiteral("合計累計"));
    Option1[2]->setText(QStringLiteral("合計本日"));
    Option1[3]->setText(QStringLiteral("すべて"));
    Option1[3]->setEnabled(true);
    viewMode_ = kHubPointsView;
    LetScreenRepaint();
    if (Option1[1]->isChecked()) {
      rankingKind_ = kCumulativeRanking;
      Option1_Click(1);
    }
    if (Option1[3]->isChecked()) {
      Option1_Click(3);
    }
    if (Option1[2]->isChecked()) {
      rankingKind_ = kTodayRanking;
      Option1_Click(2);
    }
  }
}

void HubWindow::Option1_Click(int index) {
  const Busy busy(this);
  Command1->setEnabled(false);
  SetStartButtonsEnabled(false);
  SetListsVisible(false);
  ShowCover6();
  Combo2->setVisible(false);
  Picture1->setEnabled(false);
  LetScreenRepaint();
  if (viewMode_ == 0) {
    viewMode_ = kHubTimeView;
  }
  if (viewMode_ == kHubTimeView) {
    if (index == 1) {
      Command6_Click();
    }
    if (index == 2) {
      Command5_Click();
    }
    if (index == 3) {
      Command7_Click();
    }
  } else {
    if (rankingKind_ == 0) {
      rankingKind_ = kCumulativeRanking;
    }
    const int n = Levels();
    if (index == 1) {
      rankingKind_ = kCumulativeRanking;
      Label5->setText(QStringLiteral("獲得ポイント（今まで順位）"));
      ProgressBar2->setRange(0, std::max(1, n));
      for (int level = 1; level <= n; ++level) {
        ProgressBar1->setValue(std::min(level, ProgressBar1->maximum()));
        ProgressBar2->setValue(level);
        Command3_Click(level);
      }
    } else if (index == 2) {
      Label5->setText(QStringLiteral("獲得ポイント（今日の順位）"));
      rankingKind_ = kTodayRanking;
      ProgressBar2->setRange(0, std::max(1, n));
      for (int level = 1; level <= n; ++level) {
        ProgressBar2->setValue(level);
        Command3_Click(level);
      }
    } else if (index == 3) {
      Command7_Click();
    }
    Picture1->setEnabled(true);
  }
  Command1->setEnabled(true);
  Command9_Click();
  SetListsVisible(true);
  Picture6->setVisible(false);
}

void HubWindow::Command3_Click(int level) {
  const Busy busy(this);
  if (level < 1 || level > Levels()) {
    return;
  }
  Label9[level]->setText(QStringLiteral("今日"));
  Label10[level]->setText(QStringLiteral("今まで"));
  List5[level]->clear();
  LetScreenRepaint();
  ShowList(level, BuildRankingList(state_, level, CurrentListOptions()));
  ++listBuilds_;
}

void HubWindow::Command6_Click() {
  Label5->setText(QStringLiteral("ベスト成績"));
  回数など表示();
  const int n = Levels();
  ProgressBar2->setRange(0, std::max(1, n));
  for (int level = 1; level <= n; ++level) {
    ProgressBar2->setValue(level);
    Command3_Click(level);
  }
  Picture1->setEnabled(true);
}

void HubWindow::Command5_Click() {
  Label5->setText(QStringLiteral("本日の成績"));
  回数など表示();
  const std::vector<ResultEntry> records = ReadListRecords(state_, services_);
  ShowRunLists(BuildTodayRunLists(state_, records, services_.clock.Now(), CurrentListOptions()));
  Picture1->setEnabled(true);
}

void HubWindow::Command7_Click() {
  回数など表示();
  Label5->clear();
  const std::vector<ResultEntry> records = ReadListRecords(state_, services_);
  ShowRunLists(BuildAllRunLists(state_, records, services_.clock.Now(), state_.allResultsPeriod,
                                CurrentListOptions()));
  Picture1->setEnabled(true);
  Combo2->setVisible(true);
}

void HubWindow::Combo1_Click() {
  const Busy busy(this);
  if (Option2[0]->isChecked()) {
    Option2_Click(0);
  } else {
    Option2_Click(1);
  }
  if (Levels() >= 1) {
    Command4[1]->setFocus();
  }
}

void HubWindow::Combo2_Click() {
  const Busy busy(this);
  if (!Option1[3]->isChecked()) {
    return;
  }
  state_.allResultsPeriod = static_cast<int16_t>(Combo2->currentIndex() + 1);
  Option1_Click(3);
}

// ---- Window functions ----

void ShowHub(AppContext& ctx) {
  auto* hub = qobject_cast<HubWindow*>(ctx.hub.data());
  if (hub == nullptr) {
    hub = new HubWindow(ctx);
    ctx.hub = hub;
  }
  hub->showFullScreen();
  hub->activateWindow();
  hub->Form_Activate();
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
