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
  setWindowTitle(ToQt(state_.catalogue.title));
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
  titlePanel_ = panel("Picture4", kWhite);
  titlePanel_->setFrameShape(QFrame::Box);
  place(titlePanel_, 360, 240, 11400, 1800);
  pictureFrame_ = new QFrame(titlePanel_);
  pictureFrame_->setObjectName(QStringLiteral("Picture3"));
  pictureFrame_->setFrameShape(QFrame::Box);
  place(pictureFrame_, 120, 120, 1560, 1560);
  picture_ = new QLabel(pictureFrame_);
  picture_->setObjectName(QStringLiteral("Image1"));
  picture_->setPixmap(TitlePicture());
  picture_->setScaledContents(true);
  picture_->setAccessibleName(QStringLiteral("数のタイルの絵"));
  place(picture_, 45, 45, 1470, 1470);
  titleLabel_ = label(titlePanel_, "Label4", QString(), 1920, 60, 9300, 1200, 48, true);
  titleLabel_->setCursor(Qt::PointingHandCursor);
  SetForeColour(titleLabel_, kNavy);
  schoolLabel_ = label(titlePanel_, "Label6", ToQt(state_.installation.schoolName), 1920, 1260,
                       9300, 480, 12, false);

  // Development layout panel.
  developmentPanel_ = panel("Picture8", kWhite);
  developmentPanel_->setFrameShape(QFrame::Box);
  place(developmentPanel_, 12120, 420, 2880, 1200);
  developmentLabel_ =
      label(developmentPanel_, "Label8", QStringLiteral("開発中"), 60, 60, 2760, 1080, 24, true);
  developmentLabel_->setAlignment(Qt::AlignCenter);
  SetForeColour(developmentLabel_, kRed);
  developmentPanel_->setVisible(false);

  // The name list.
  nameList_ = new QListWidget(this);
  nameList_->setObjectName(QStringLiteral("List1"));
  nameList_->setSortingEnabled(false);
  nameList_->setSelectionMode(QAbstractItemView::SingleSelection);
  nameList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  nameList_->setUniformItemSizes(true);
  ShowLinesOnCells(nameList_);
  SetBackColour(nameList_, kWhite);
  place(nameList_, 360, 2280, 7800, 8880);
  setFontPoints(nameList_, 18);
  connect(nameList_, &QListWidget::currentRowChanged, this, [this] { chooseLine(); });
  connect(nameList_, &QListWidget::itemClicked, this, [this] { chooseLine(); });
  connect(nameList_, &QListWidget::itemDoubleClicked, this, [this] { chooseAndConfirmLine(); });
  // A line selected without the mouse or keys (a screen reader or switch access selecting a
  // list item) becomes the current line, so it is chosen just as a click would choose it.
  connect(nameList_, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> selected = nameList_->selectedItems();
    if (!selected.isEmpty() && selected.first() != nameList_->currentItem()) {
      nameList_->setCurrentItem(selected.first());
    }
  });

  // The chosen name and the hidden pupil number.
  chosenNameLabel_ =
      label(this, "Label1", QString::fromUtf8(kChooseName), 8640, 2280, 6360, 840, 20, true);
  chosenNameLabel_->setAlignment(Qt::AlignCenter);
  chosenNameLabel_->setFrameShape(QFrame::Box);
  SetBackColour(chosenNameLabel_, kWhite);

  // Grade filter; its shown text is the first filter text until another one is chosen.
  gradeFilterBox_ = new QComboBox(this);
  gradeFilterBox_->setObjectName(QStringLiteral("Combo1"));
  gradeFilterBox_->setToolTip(QStringLiteral("表示する学年を選びなさい"));
  for (const char* text : kGradeFilterTexts) {
    gradeFilterBox_->addItem(QString::fromUtf8(text));
  }
  gradeFilterBox_->setCurrentIndex(0);
  place(gradeFilterBox_, 8640, 3360, 3000, 600);
  setFontPoints(gradeFilterBox_, 14);
  connect(gradeFilterBox_, &QComboBox::activated, this, [this] { applyGradeFilter(); });

  // View options and the confirm button.
  choicePanel_ = panel("Picture7", kPanelBlue);
  choicePanel_->setFrameShape(QFrame::Box);
  place(choicePanel_, 8640, 4200, 6360, 4440);
  for (int i = 0; i < static_cast<int>(kViewCaptions.size()); ++i) {
    auto* o =
        new QRadioButton(QString::fromUtf8(kViewCaptions[static_cast<size_t>(i)]), choicePanel_);
    o->setObjectName(Indexed("Option1", i));
    place(o, 300, 180 + i * 660, 5760, 600);
    setFontPoints(o, 14);
    viewChoices_.push_back(o);
    connect(o, &QRadioButton::clicked, this, [this, i] { chooseView(i); });
  }
  okButton_ = new QPushButton(QStringLiteral("O.K."), choicePanel_);
  okButton_->setObjectName(QStringLiteral("Command14"));
  place(okButton_, 300, 3000, 5760, 1200);
  setFontPoints(okButton_, 24, true);
  connect(okButton_, &QPushButton::clicked, this, [this] { confirmName(); });

  launcherButton_ = new QPushButton(QStringLiteral("ﾌﾟﾟﾛｸﾞﾗﾑメニューへ(0)"), this);
  launcherButton_->setObjectName(QStringLiteral("Command7"));
  place(launcherButton_, 8640, 9600, 6360, 1080);
  setFontPoints(launcherButton_, 16, true);
  connect(launcherButton_, &QPushButton::clicked, this, [this] { leaveToLauncher(); });

  // Busy cover over the whole window.
  cover_ = panel("Picture5", kWhite);
  place(cover_, 0, 0, kFormWidth, kFormHeight);
  coverLabel_ = label(cover_, "Label19", QStringLiteral("Just a moment, please."), 2680, 5000,
                      10000, 900, 28, true);
  coverLabel_->setAlignment(Qt::AlignCenter);
  cover_->raise();
}

void NameSelWindow::loadList() {
  const Busy busy(this);
  // The season colour behind the window and the cover, which hides the whole window while the
  // list is built.
  const auto season = state_.installation.seasonColour;
  setBackColour(season);
  SetBackColour(cover_, season);
  place(cover_, 0, 0, kFormWidth, kFormHeight);
  cover_->raise();
  cover_->setVisible(true);
  services_.random.Seed(services_.clock.Timer());
  // The window opens on the runs view.
  nameListView_ = kRunsView;
  {
    const QSignalBlocker block(viewChoices_[kRunsView]);
    viewChoices_[kRunsView]->setChecked(true);
  }
  showOnWholeScreen();
  showRoster();
  setFontPoints(titleLabel_, 48, true);
  titleLabel_->setText(ToQt(state_.catalogue.title));
  // The dash line is chosen first: no pupil yet.
  {
    const QSignalBlocker block(nameList_);
    nameList_->setCurrentRow(0);
  }
  chooseLine();
  // The window paints before the cover goes.
  services_.host.ProcessEvents();
  cover_->setVisible(false);
}

void NameSelWindow::resetChoice() {
  const Busy busy(this);
  developmentPanel_->setVisible(state_.installation.developmentLayout);
  // Back to the points view; the list is rebuilt only when that changes the chosen option.
  nameListView_ = kPointsView;
  if (!viewChoices_[kPointsView]->isChecked()) {
    {
      const QSignalBlocker block(viewChoices_[kPointsView]);
      viewChoices_[kPointsView]->setChecked(true);
    }
    chooseView(kPointsView);
  }
  // The filter texts, each once; the box keeps the text it shows.
  const QString shown = gradeFilterBox_->currentText();
  {
    const QSignalBlocker block(gradeFilterBox_);
    gradeFilterBox_->clear();
    for (const char* text : kGradeFilterTexts) {
      gradeFilterBox_->addItem(QString::fromUtf8(text));
    }
    const int keep = gradeFilterBox_->findText(shown);
    gradeFilterBox_->setCurrentIndex(keep >= 0 ? keep : 0);
  }
  // The hub starts with every grade again and is closed; no name is chosen yet.
  state_.roster.gradeFilterText = kAllGrades;
  UnloadHub(ctx_);
  chosenNameLabel_->setText(QString::fromUtf8(kChooseName));
  chosenNameLabel_->setVisible(true);
  cover_->setVisible(false);
}

void NameSelWindow::showRoster() {
  const Busy busy(this);
  ++listBuilds_;
  // The roster's problems are told once per program run, at its first reading.
  const bool firstReading = RosterNotReadYet(state_.roster);
  RosterReading reading;
  const NameList lines = BuildNameList(state_, services_, nameListView_,
                                       gradeFilterBox_->currentText().toStdString(), &reading);
  {
    // Filling the list must not count as choosing lines.
    const QSignalBlocker block(nameList_);
    nameList_->clear();
    listedLines_.clear();
    for (const std::string& line : lines.list1) {
      nameList_->addItem(ToQt(line));
    }
    for (const std::string& line : lines.list3) {
      listedLines_.append(ToQt(line));
    }
    nameList_->setCurrentRow(0);
  }
  chooseLine();
  if (firstReading) {
    const std::string notice = RosterNotice(reading);
    if (!notice.empty()) {
      services_.host.ShowMessage(kTitleOfNotices, notice);
    }
  }
}

void NameSelWindow::chooseView(int index) {
  const Busy busy(this);
  if (index < 0 || index >= static_cast<int>(viewChoices_.size())) {
    return;
  }
  nameListView_ = index;
  showRoster();
}

void NameSelWindow::applyGradeFilter() {
  const Busy busy(this);
  state_.roster.gradeFilterText = gradeFilterBox_->currentText().toStdString();
  showRoster();
  nameList_->setFocus();
}

void NameSelWindow::SelectLine(bool doubleClick) {
  const int i = nameList_->currentRow();
  if (i < 0) {
    return;
  }
  if (i == 0 || i - 1 >= listedLines_.size()) {
    chosenNameLabel_->setText(QString::fromUtf8(kChooseName));
    return;
  }
  chosenPupil_ = ParallelLinePupil(listedLines_[i - 1].toStdString());
  const std::string line = nameList_->item(i)->text().toStdString();
  chosenNameLabel_->setText(
      ToQt(doubleClick ? DoubleClickedLineName(line) : ClickedLineName(line)));
}

void NameSelWindow::chooseLine() {
  const Busy busy(this);
  SelectLine(false);
}

void NameSelWindow::chooseAndConfirmLine() {
  const Busy busy(this);
  SelectLine(true);
  confirmName();
}

void NameSelWindow::confirmName() {
  const Busy busy(this);
  // A confirmation under way has hidden the button; a second one waits for nothing.
  if (okButton_->isHidden()) {
    return;
  }
  const int pupil = ConfirmedPupil(chosenNameLabel_->text().toStdString(), chosenPupil_);
  if (pupil == 0) {
    PlayCueWatched(state_.installation, state_.sound, services_, kCueWrong);
    return;
  }
  state_.session.pupilStartTime = static_cast<int32_t>(std::nearbyint(services_.clock.Timer()));
  state_.session.currentPupil = pupil;
  state_.session.pupilName = state_.roster.names[static_cast<size_t>(pupil)];
  state_.session.pupilGrade = state_.roster.grades[static_cast<size_t>(pupil)];
  okButton_->setVisible(false);
  cover_->raise();
  cover_->setVisible(true);
  services_.host.ProcessEvents();
  SetUpCatalogue(state_.catalogue);
  ShowHub(ctx_);
}

void NameSelWindow::leaveToLauncher() {
  const Busy busy(this);
  const LauncherCommand launcher = LauncherCommandFor(state_.installation);
  if (!services_.host.StartDetached(launcher.program, launcher.args, launcher.folder)) {
    // The program ends all the same; the user learns why no menu appears.
    services_.host.ShowMessage(kTitleOfNotices,
                               "プログラムメニューを起動できませんでした。\n" + launcher.program);
  }
  services_.host.EndProgram(0);
}

void NameSelWindow::showVersionBox() {
  const Busy busy(this);
  ShowVersionBox(ctx_, this, scale());
  // Closing the box makes this window the active one again.
  resetChoice();
}

bool NameSelWindow::handleTypedKey(const QString& typed) {
  const Busy busy(this);
  if (typed == QLatin1String("1") && !okButton_->isHidden()) {
    confirmName();
    return true;
  }
  if (typed == QLatin1String("0") && !launcherButton_->isHidden()) {
    leaveToLauncher();
    return true;
  }
  return false;
}

bool NameSelWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == titleLabel_ && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton &&
        titleLabel_->rect().contains(mouse->position().toPoint())) {
      showVersionBox();
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
      if (!key->text().isEmpty() && handleTypedKey(key->text())) {
        return true;
      }
      // Enter and space in the list confirm the chosen line.
      if (w == nameList_ && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                             key->key() == Qt::Key_Space)) {
        confirmName();
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
  w->loadList();
  w->activateWindow();
  w->resetChoice();
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
