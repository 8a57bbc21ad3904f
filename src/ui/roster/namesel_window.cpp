#include "ui/roster/namesel_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <cmath>
#include <string>

#include "core/installation/installation.h"
#include "core/installation/sound_cues.h"
#include "core/platform/value.h"
#include "core/roster/name_list.h"
#include "core/roster/roster.h"
#include "ui/roster/version_window.h"

namespace numora {

namespace {

constexpr int kFormWidth = FormWidget::kCanvasTwipsWidth;
constexpr int kFormHeight = FormWidget::kCanvasTwipsHeight;
constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kPanelBlue = 0xFFF0E0;  // light blue
constexpr unsigned kRed = 0x0000FF;
constexpr unsigned kNavy = 0x800000;
constexpr const char* kTitleOfNotices = "注意";

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

QString Indexed(const char* name, int i) {
  return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

// The picture of the title area: a few number tiles with the divisors of 6 lit, as on the board.
QPixmap TitlePicture() {
  constexpr int kSide = 240;
  constexpr int kTiles = 3;
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(Qt::white);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QFont f;
  f.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("MS UI Gothic")});
  f.setPixelSize(44);
  f.setBold(true);
  p.setFont(f);
  const int cell = kSide / kTiles;
  for (int n = 1; n <= kTiles * kTiles; ++n) {
    const int row = (n - 1) / kTiles;
    const int col = (n - 1) % kTiles;
    const QRect tile(col * cell + 6, row * cell + 6, cell - 12, cell - 12);
    const bool divisor = 6 % n == 0;
    p.setPen(QPen(QColor(40, 60, 120), 3));
    p.setBrush(divisor ? QColor(255, 200, 80) : QColor(225, 235, 250));
    p.drawRoundedRect(tile, 10, 10);
    p.setPen(QColor(30, 30, 60));
    p.drawText(tile, Qt::AlignCenter, QString::number(n));
  }
  return pixmap;
}

}  // namespace

NameSelWindow::NameSelWindow(AppContext& ctx)
    : ctx_(ctx), state_(ctx.state), services_(ctx.services) {
  setObjectName(QStringLiteral("namesel"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(Q(state_.programTitle));
  CreateControls();
  // The window sees typed characters before its controls do.
  qApp->installEventFilter(this);
}

NameSelWindow::~NameSelWindow() = default;

void NameSelWindow::CreateControls() {
  auto label = [this](QWidget* parent, const char* name, const QString& text, int left, int top,
                      int width, int height, double points, bool bold) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    place(l, left, top, width, height);
    setFontPoints(l, points, bold);
    return l;
  };
  auto panel = [this](const char* name, unsigned colour) {
    auto* f = new QFrame(this);
    f->setObjectName(QLatin1String(name));
    SetBackColour(f, colour);
    return f;
  };

  // Title area: picture, title and the school's name.
  Picture4 = panel("Picture4", kWhite);
  Picture4->setFrameShape(QFrame::Box);
  place(Picture4, 360, 240, 11400, 1800);
  Picture3 = new QFrame(Picture4);
  Picture3->setObjectName(QStringLiteral("Picture3"));
  Picture3->setFrameShape(QFrame::Box);
  place(Picture3, 120, 120, 1560, 1560);
  Image1 = new QLabel(Picture3);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setPixmap(TitlePicture());
  Image1->setScaledContents(true);
  Image1->setAccessibleName(QStringLiteral("数のタイルの絵"));
  place(Image1, 45, 45, 1470, 1470);
  Label4 = label(Picture4, "Label4", QString(), 1920, 60, 9300, 1200, 48, true);
  Label4->setCursor(Qt::PointingHandCursor);
  SetForeColour(Label4, kNavy);
  Label6 = label(Picture4, "Label6", Q(state_.schoolName), 1920, 1260, 9300, 480, 12, false);

  // Development layout panel.
  Picture8 = panel("Picture8", kWhite);
  Picture8->setFrameShape(QFrame::Box);
  place(Picture8, 12120, 420, 2880, 1200);
  Label8 = label(Picture8, "Label8", QStringLiteral("開発中"), 60, 60, 2760, 1080, 24, true);
  Label8->setAlignment(Qt::AlignCenter);
  SetForeColour(Label8, kRed);
  Picture8->setVisible(false);

  // The name list.
  List1 = new QListWidget(this);
  List1->setObjectName(QStringLiteral("List1"));
  List1->setSortingEnabled(false);
  List1->setSelectionMode(QAbstractItemView::SingleSelection);
  List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  List1->setUniformItemSizes(true);
  ShowLinesOnCells(List1);
  SetBackColour(List1, kWhite);
  place(List1, 360, 2280, 7800, 8880);
  setFontPoints(List1, 18);
  connect(List1, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
  connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
  connect(List1, &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });
  // A line selected without the mouse or keys (a screen reader or switch access selecting a
  // list item) becomes the current line, so it is chosen just as a click would choose it.
  connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    if (!selected.isEmpty() && selected.first() != List1->currentItem()) {
      List1->setCurrentItem(selected.first());
    }
  });

  // The chosen name and the hidden pupil number.
  Label1 = label(this, "Label1", QString::fromUtf8(kChooseName), 8640, 2280, 6360, 840, 20, true);
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setFrameShape(QFrame::Box);
  SetBackColour(Label1, kWhite);
  Label2 = new QLabel(this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setVisible(false);

  // Grade filter; its shown text is the first filter text until another one is chosen.
  Combo1 = new QComboBox(this);
  Combo1->setObjectName(QStringLiteral("Combo1"));
  Combo1->setToolTip(QStringLiteral("表示する学年を選びなさい"));
  for (const char* text : kGradeFilterTexts) {
    Combo1->addItem(QString::fromUtf8(text));
  }
  Combo1->setCurrentIndex(0);
  place(Combo1, 8640, 3360, 3000, 600);
  setFontPoints(Combo1, 14);
  connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });

  // View options and the confirm button.
  Picture7 = panel("Picture7", kPanelBlue);
  Picture7->setFrameShape(QFrame::Box);
  place(Picture7, 8640, 4200, 6360, 4440);
  for (int i = 0; i < static_cast<int>(kViewCaptions.size()); ++i) {
    auto* o = new QRadioButton(QString::fromUtf8(kViewCaptions[static_cast<size_t>(i)]), Picture7);
    o->setObjectName(Indexed("Option1", i));
    place(o, 300, 180 + i * 660, 5760, 600);
    setFontPoints(o, 14);
    Option1.push_back(o);
    connect(o, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
  }
  Command14 = new QPushButton(QStringLiteral("O.K."), Picture7);
  Command14->setObjectName(QStringLiteral("Command14"));
  place(Command14, 300, 3000, 5760, 1200);
  setFontPoints(Command14, 24, true);
  connect(Command14, &QPushButton::clicked, this, [this] { Command14_Click(); });

  Command7 = new QPushButton(QStringLiteral("ﾌﾟﾟﾛｸﾞﾗﾑメニューへ(0)"), this);
  Command7->setObjectName(QStringLiteral("Command7"));
  place(Command7, 8640, 9600, 6360, 1080);
  setFontPoints(Command7, 16, true);
  connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });

  // Busy cover over the whole window.
  Picture5 = panel("Picture5", kWhite);
  place(Picture5, 0, 0, kFormWidth, kFormHeight);
  Label19 = label(Picture5, "Label19", QStringLiteral("Just a moment, please."), 2680, 5000, 10000,
                  900, 28, true);
  Label19->setAlignment(Qt::AlignCenter);
  Picture5->raise();
}

void NameSelWindow::Form_Load() {
  const Busy busy(this);
  // 1. Season colour behind the window and the cover; the cover over the whole window.
  const auto season = static_cast<unsigned>(state_.seasonColour.Number());
  setBackColour(season);
  SetBackColour(Picture5, season);
  place(Picture5, 0, 0, kFormWidth, kFormHeight);
  Picture5->raise();
  Picture5->setVisible(true);
  // 2. Random generator.
  services_.random.Seed(services_.clock.Timer());
  // 3. Show the window.
  nameListView_ = kRunsView;
  {
    const QSignalBlocker block(Option1[kRunsView]);
    Option1[kRunsView]->setChecked(true);
  }
  showFullScreen();
  // 4. The name list.
  名簿表示();
  // 5. Title.
  setFontPoints(Label4, 48, true);
  Label4->setText(Q(state_.programTitle));
  // 6. The dash line.
  {
    const QSignalBlocker block(List1);
    List1->setCurrentRow(0);
  }
  List1_Click();
  // 7. Let the window paint, then take the cover away.
  services_.host.ProcessEvents();
  Picture5->setVisible(false);
}

void NameSelWindow::Form_Activate() {
  const Busy busy(this);
  // 1. Development layout panel.
  Picture8->setVisible(state_.developmentLayout == 1);
  // 2. Points view; the list is rebuilt only when that changes the chosen option.
  nameListView_ = kPointsView;
  if (!Option1[kPointsView]->isChecked()) {
    {
      const QSignalBlocker block(Option1[kPointsView]);
      Option1[kPointsView]->setChecked(true);
    }
    Option1_Click(kPointsView);
  }
  // 3. The filter texts, each once; the box keeps the text it shows.
  const QString shown = Combo1->currentText();
  {
    const QSignalBlocker block(Combo1);
    Combo1->clear();
    for (const char* text : kGradeFilterTexts) {
      Combo1->addItem(QString::fromUtf8(text));
    }
    const int keep = Combo1->findText(shown);
    Combo1->setCurrentIndex(keep >= 0 ? keep : 0);
  }
  // 4. The filter the hub starts with.
  state_.gradeFilterText = kAllGrades;
  // 5. The hub goes.
  UnloadHub(ctx_);
  // 6. No name chosen.
  Label1->setText(QString::fromUtf8(kChooseName));
  Label1->setVisible(true);
  // 7. Cover away.
  Picture5->setVisible(false);
}

void NameSelWindow::名簿表示() {
  const Busy busy(this);
  ++listBuilds_;
  // The roster's problems are told once per program run, at its first reading.
  const bool firstReading = RosterNotReadYet(state_);
  RosterReading reading;
  const NameList lines = BuildNameList(state_, services_, nameListView_,
                                       Combo1->currentText().toStdString(), &reading);
  {
    // Filling the list must not count as choosing lines.
    const QSignalBlocker block(List1);
    List1->clear();
    List2.clear();
    List3.clear();
    for (const std::string& line : lines.list1) {
      List1->addItem(Q(line));
    }
    for (const std::string& line : lines.list2) {
      List2.append(Q(line));
    }
    for (const std::string& line : lines.list3) {
      List3.append(Q(line));
    }
    List1->setCurrentRow(0);
  }
  List1_Click();
  if (firstReading) {
    const std::string notice = RosterNotice(reading);
    if (!notice.empty()) {
      services_.host.ShowMessage(kTitleOfNotices, notice);
    }
  }
}

void NameSelWindow::Option1_Click(int index) {
  const Busy busy(this);
  if (index < 0 || index >= static_cast<int>(Option1.size())) {
    return;
  }
  nameListView_ = index;
  名簿表示();
}

void NameSelWindow::Combo1_Click() {
  const Busy busy(this);
  state_.gradeFilterText = Combo1->currentText().toStdString();
  名簿表示();
  List1->setFocus();
}

void NameSelWindow::ChooseLine(bool doubleClick) {
  const int i = List1->currentRow();
  if (i < 0) {
    return;
  }
  if (i == 0 || i - 1 >= List3.size()) {
    Label1->setText(QString::fromUtf8(kChooseName));
    return;
  }
  Label2->setText(Q(ParallelLinePupil(List3[i - 1].toStdString())));
  const std::string line = List1->item(i)->text().toStdString();
  Label1->setText(Q(doubleClick ? DoubleClickedLineName(line) : ClickedLineName(line)));
}

void NameSelWindow::List1_Click() {
  const Busy busy(this);
  ChooseLine(false);
}

void NameSelWindow::List1_DblClick() {
  const Busy busy(this);
  ChooseLine(true);
  Command14_Click();
}

void NameSelWindow::Command14_Click() {
  const Busy busy(this);
  // A confirmation under way has hidden the button; a second one waits for nothing.
  if (Command14->isHidden()) {
    return;
  }
  const QString chosen = Label1->text();
  const auto pupil = static_cast<int64_t>(std::llround(NumericValue(Label2->text().toStdString())));
  if (chosen.isEmpty() || chosen == QString::fromUtf8(kChooseName) || pupil < 1 ||
      pupil >= kPupilSlots) {
    PlayCueWatched(state_, services_, kCueWrong);
    return;
  }
  state_.pupilStartTime = static_cast<int32_t>(std::nearbyint(services_.clock.Timer()));
  state_.currentPupil = static_cast<int16_t>(pupil);
  state_.pupilName = state_.rosterNames[static_cast<size_t>(pupil)];
  state_.pupilGrade = state_.rosterGrades[static_cast<size_t>(pupil)];
  Command14->setVisible(false);
  Picture5->raise();
  Picture5->setVisible(true);
  services_.host.ProcessEvents();
  SetUpCatalogue(state_);
  ShowHub(ctx_);
}

void NameSelWindow::Command7_Click() {
  const Busy busy(this);
  const LauncherCommand launcher = LauncherCommandFor(state_);
  if (!services_.host.StartDetached(launcher.program, launcher.args, launcher.folder)) {
    // The program ends all the same; the user learns why no menu appears.
    services_.host.ShowMessage(kTitleOfNotices,
                               "プログラムメニューを起動できませんでした。\n" + launcher.program);
  }
  services_.host.EndProgram(0);
}

void NameSelWindow::Label4_Click() {
  const Busy busy(this);
  ShowVersionBox(ctx_, this, scale());
  // Closing the box makes this window the active one again.
  Form_Activate();
}

bool NameSelWindow::Form_KeyPress(const QString& typed) {
  const Busy busy(this);
  if (typed == QLatin1String("1") && !Command14->isHidden()) {
    Command14_Click();
    return true;
  }
  if (typed == QLatin1String("0") && !Command7->isHidden()) {
    Command7_Click();
    return true;
  }
  return false;
}

bool NameSelWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Label4 && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && Label4->rect().contains(mouse->position().toPoint())) {
      Label4_Click();
      return true;
    }
  }
  if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
    auto* w = static_cast<QWidget*>(watched);
    // A key this window acts on is consumed at the first of its widgets that sees it; any other
    // key goes on to the control as usual.
    auto* key = static_cast<QKeyEvent*>(event);
    const auto modifiers =
        key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier);
    if (w->window() == this && modifiers == Qt::NoModifier) {
      if (!key->text().isEmpty() && Form_KeyPress(key->text())) {
        return true;
      }
      // Enter and space in the list confirm the chosen line.
      if (w == List1 && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                         key->key() == Qt::Key_Space)) {
        Command14_Click();
        return true;
      }
    }
  }
  return FormWidget::eventFilter(watched, event);
}

void NameSelWindow::Unload() {
  UnloadWhenIdle();
}

void NameSelWindow::closeEvent(QCloseEvent* event) {
  if (handlerRunning()) {
    // Closed while a handler lets messages be processed: delete it once the handler returns.
    event->ignore();
    Unload();
    return;
  }
  FormWidget::closeEvent(event);
}

// ---- Window functions ----

void ShowNameSelection(AppContext& ctx) {
  if (ctx.namesel != nullptr) {
    UnloadNameSelection(ctx);
  }
  auto* w = new NameSelWindow(ctx);
  ctx.namesel = w;
  w->Form_Load();
  w->activateWindow();
  w->Form_Activate();
}

void UnloadNameSelection(AppContext& ctx) {
  QWidget* w = ctx.namesel.data();
  if (w == nullptr) {
    return;
  }
  ctx.namesel = nullptr;
  if (auto* form = qobject_cast<NameSelWindow*>(w)) {
    form->Unload();
  } else {
    w->close();
  }
}

}  // namespace numora
