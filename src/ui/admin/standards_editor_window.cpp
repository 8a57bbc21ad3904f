#include "ui/admin/standards_editor_window.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>

#include "core/admin/standards_distribution.h"
#include "core/admin/standards_file.h"
#include "core/records/level_standards.h"
#include "core/records/results_file.h"

namespace numora {

namespace {

constexpr unsigned kPanelColour = 0xF0E8E0;  // pale blue-grey
constexpr unsigned kFixedCellColour = 0xC8D0D4;
constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kChangedCellColour = 0x00FFFF;  // yellow
constexpr unsigned kCoverColour = 0xE0E0E0;

// Layout in twips on the 15360 × 11520 canvas.
constexpr int kGridLeft = 300;
constexpr int kGridTop = 700;
constexpr int kGridWidth = 10900;
constexpr int kGridRows = 33;  // the head row and 32 level rows are visible
constexpr int kRowTwips = 255;
constexpr int kListsLeft = 11400;
constexpr int kListsWidth = 3760;

}  // namespace

StandardsEditorWindow::StandardsEditorWindow(AppContext& ctx)
    : ctx_(ctx),
      installation_(ctx.state.installation),
      catalogue_(ctx.state.catalogue),
      services_(ctx.services) {
  setObjectName(QStringLiteral("FrmTimeData"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("合格タイムデータ変更"));
  setBackColour(kPanelColour);
  createControls();
}

StandardsEditorWindow::~StandardsEditorWindow() = default;

void StandardsEditorWindow::createControls() {
  auto label = [this](QWidget* parent, const char* name, const QString& text, int left, int top,
                      int width, int height, double points, bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    place(l, left, top, width, height);
    setFontPoints(l, points, bold);
    return l;
  };
  auto button = [this](const char* name, const QString& text, int left) {
    auto* b = new QPushButton(text, panel_);
    b->setObjectName(QLatin1String(name));
    place(b, left, 9800, 1180, 800);
    setFontPoints(b, 12, true);
    return b;
  };

  // Seen only until the panel shows.
  outsideLabel_ =
      label(this, "Label2",
            QStringLiteral("成績の基準となるデータを変更できます。\nプログラムを選んでくだ"
                           "さい。"),
            2000, 4000, 11000, 1500, 16, true);

  panel_ = new QFrame(this);
  panel_->setObjectName(QStringLiteral("Picture1"));
  SetBackColour(panel_, kPanelColour);
  place(panel_, 0, 0, kCanvasTwipsWidth, kCanvasTwipsHeight);
  panel_->setVisible(false);

  title_ = label(panel_, "Label5", QStringLiteral("成績の基準となるデータを変更できます"),
                 kGridLeft, 120, 9000, 480, 14, true);

  table_ = new QTableWidget(panel_);
  table_->setObjectName(QStringLiteral("MSFlexGrid1"));
  table_->setColumnCount(kStandardsGridColumns);
  table_->verticalHeader()->setVisible(false);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->horizontalHeader()->setSectionsClickable(false);
  table_->horizontalHeader()->setHighlightSections(false);
  // The heads use the whole width of their columns (column 1 is narrower than the others).
  table_->horizontalHeader()->setStyleSheet(
      QStringLiteral("QHeaderView::section { padding: 0px; }"));
  table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setFocusPolicy(Qt::NoFocus);  // keys go to the overlay only
  table_->setWordWrap(false);
  QStringList heads;
  for (const std::string& h : StandardsGridHeads()) {
    heads << ToQt(h);
  }
  table_->setHorizontalHeaderLabels(heads);
  place(table_, kGridLeft, kGridTop, kGridWidth, kGridRows * kRowTwips + 30);
  setFontPoints(table_, 8);
  setFontPoints(table_->horizontalHeader(), 8);
  table_->viewport()->installEventFilter(this);
  connect(table_, &QTableWidget::cellClicked, this,
          [this](int row, int column) { clickCell(row, column); });
  connect(table_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeOverlay(); });

  overlay_ = new QLineEdit(table_->viewport());
  overlay_->setObjectName(QStringLiteral("Gridinputtext"));
  overlay_->setFrame(false);
  overlay_->setAccessibleName(QStringLiteral("選んだセルの値"));
  // A thin frame drawn inside the cell's own rectangle shows where typing goes.
  overlay_->setStyleSheet(
      QStringLiteral("QLineEdit { background: white; border: 1px solid #000080; padding: 0px; }"));
  overlay_->installEventFilter(this);
  overlay_->setVisible(false);
  connect(overlay_, &QLineEdit::textEdited, this, [this](const QString& text) {
    // Typed through an input method or pasted: the new text goes into the cell.
    grid_.SetOverlayText(text.toStdString(), overlay_->cursorPosition());
    showCells();
  });

  const int below = kGridTop + kGridRows * kRowTwips + 130;
  explanationHead_ =
      label(panel_, "Label6", QStringLiteral("列の説明"), kGridLeft, below, 3000, 300, 10, true);
  explanation_ =
      label(panel_, "Label3", QString(), kGridLeft + 200, below + 320, kGridWidth - 200, 1000, 10);
  explanation_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  keyHelp_ =
      label(panel_, "Label1", QStringLiteral("スペース：セルクリア　　Shift + ↓：セルコピー"),
            kGridLeft, below + 1400, kGridWidth, 330, 11, true);

  distributionHead_ = label(panel_, "Label7", QStringLiteral("現在までの成績度数分布"), kListsLeft,
                            150, kListsWidth, 420, 12, true);
  allRunsHead_ = label(panel_, "Label9", QStringLiteral("全成績"), kListsLeft, 700, kListsWidth,
                       300, 10, true);
  allRunsList_ = new QListWidget(panel_);
  allRunsList_->setObjectName(QStringLiteral("List3"));
  place(allRunsList_, kListsLeft, 1000, kListsWidth, 4050);
  setFontPoints(allRunsList_, 8);
  ShowLinesOnCells(allRunsList_);
  bestTimesHead_ = label(panel_, "Label10", QStringLiteral("最高タイム"), kListsLeft, 5200,
                         kListsWidth, 300, 10, true);
  bestTimesList_ = new QListWidget(panel_);
  bestTimesList_->setObjectName(QStringLiteral("List4"));
  place(bestTimesList_, kListsLeft, 5500, kListsWidth, 4050);
  setFontPoints(bestTimesList_, 8);
  ShowLinesOnCells(bestTimesList_);
  for (QListWidget* list : {allRunsList_, bestTimesList_}) {
    list->setFocusPolicy(Qt::NoFocus);
  }

  restoreButton_ = button("Command2", QStringLiteral("元に戻す"), kListsLeft);
  saveButton_ = button("Command3", QStringLiteral("更新記録"), kListsLeft + 1290);
  backButton_ = button("Command4", QStringLiteral("戻る"), kListsLeft + 2580);
  connect(restoreButton_, &QPushButton::clicked, this, [this] { restoreFromFile(); });
  connect(saveButton_, &QPushButton::clicked, this, [this] { saveToFile(); });
  connect(backButton_, &QPushButton::clicked, this, [this] { goBack(); });

  cover_ = new QFrame(this);
  cover_->setObjectName(QStringLiteral("Picture6"));
  SetBackColour(cover_, kCoverColour);
  place(cover_, 0, 0, kCanvasTwipsWidth, kCanvasTwipsHeight);
  coverText_ = label(cover_, "Label8", QStringLiteral("Just a moment,please."), 0, 5000,
                     kCanvasTwipsWidth, 900, 28, true);
  coverText_->setAlignment(Qt::AlignCenter);
  cover_->setVisible(false);
}

void StandardsEditorWindow::activate() {
  const Busy busy(this);
  if (activated_) {
    return;
  }
  activated_ = true;
  panel_->setVisible(true);
  panel_->raise();
  loadGrid(true);
  overlay_->setVisible(grid_.levelRowCount() > 0);
  placeOverlay();
  showOverlayText();
  refreshDistribution();
}

void StandardsEditorWindow::loadGrid(bool atOpening) {
  const std::string path = LevelStandardsPath(installation_);
  const StandardsGridReading reading = ReadStandardsGrid(path);
  if (!reading.ok) {
    services_.host.ShowMessage(kNoticeTitle, reading.error);
    if (!atOpening) {
      return;  // the grid keeps what it shows, edits included
    }
    fileWasRead_ = false;
    grid_.Load({});
  } else {
    fileWasRead_ = true;
    grid_.Load(reading.rows);
    if (!reading.notice.empty()) {
      services_.host.ShowMessage(kNoticeTitle, reading.notice);
    }
  }
  {
    const QSignalBlocker block(table_);
    table_->setRowCount(grid_.levelRowCount());
    for (int r = 0; r < grid_.levelRowCount(); ++r) {
      for (int c = 0; c < kStandardsGridColumns; ++c) {
        auto* item = new QTableWidgetItem();
        item->setFlags(Qt::ItemIsEnabled);
        table_->setItem(r, c, item);
      }
    }
  }
  sizeColumns();
  showCells();
  overlay_->setVisible(grid_.levelRowCount() > 0);
}

void StandardsEditorWindow::showCells() {
  for (int r = 1; r <= grid_.levelRowCount(); ++r) {
    for (int c = 0; c < kStandardsGridColumns; ++c) {
      QTableWidgetItem* item = table_->item(r - 1, c);
      if (item == nullptr) {
        continue;
      }
      const QString text = ToQt(grid_.CellText(r, c));
      if (item->text() != text) {
        item->setText(text);
      }
      const unsigned colour =
          c == 0 ? kFixedCellColour : (grid_.IsMarked(r, c) ? kChangedCellColour : kWhite);
      item->setBackground(VbColour(colour));
    }
  }
}

void StandardsEditorWindow::sizeColumns() {
  // Every column a thirteenth of the grid's width, then column 1 0.8 times as wide as column 2;
  // rows share the grid's height so that the head row and 32 level rows are visible.
  const int width = table_->contentsRect().width();
  const int column = width / kStandardsGridColumns;
  for (int c = 0; c < kStandardsGridColumns; ++c) {
    table_->setColumnWidth(c, column);
  }
  table_->setColumnWidth(1, static_cast<int>(0.8 * column));
  // A head wider than its column (column 1 is the narrow one) is drawn in a font just small
  // enough to fit, so that no head is cut off.
  const QFont headFont = table_->horizontalHeader()->font();
  for (int c = 0; c < kStandardsGridColumns; ++c) {
    QTableWidgetItem* head = table_->horizontalHeaderItem(c);
    if (head == nullptr) {
      continue;
    }
    QFont font = headFont;
    const int room = table_->columnWidth(c) - 2;
    while (QFontMetrics(font).horizontalAdvance(head->text()) > room) {
      if (font.pixelSize() > 6) {
        font.setPixelSize(font.pixelSize() - 1);
      } else if (font.pixelSize() <= 0 && font.pointSizeF() > 5) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
      } else {
        break;
      }
    }
    head->setFont(font);
  }
  const int row = std::max(1, table_->contentsRect().height() / kGridRows);
  table_->horizontalHeader()->setFixedHeight(row);
  table_->verticalHeader()->setDefaultSectionSize(row);
  table_->verticalHeader()->setMinimumSectionSize(1);
  for (int r = 0; r < table_->rowCount(); ++r) {
    table_->setRowHeight(r, row);
  }
}

void StandardsEditorWindow::placeOverlay() {
  if (grid_.row() < 1) {
    overlay_->setVisible(false);
    explanation_->setText(ToQt(StandardsColumnExplanation(grid_.column())));
    return;
  }
  QTableWidgetItem* item = table_->item(grid_.row() - 1, grid_.column());
  if (item == nullptr) {
    return;
  }
  const QRect cell = table_->visualItemRect(item);
  if (!table_->viewport()->rect().contains(cell)) {
    const QSignalBlocker block(table_->verticalScrollBar());
    table_->scrollToItem(item);
  }
  // Exactly over the cell.
  overlay_->setGeometry(table_->visualItemRect(item));
  overlay_->setFont(table_->font());
  overlay_->setVisible(true);
  overlay_->raise();
  overlay_->setFocus();
  explanation_->setText(ToQt(StandardsColumnExplanation(grid_.column())));
}

void StandardsEditorWindow::showOverlayText() {
  const QSignalBlocker block(overlay_);
  overlay_->setText(ToQt(grid_.overlayText()));
  overlay_->setCursorPosition(grid_.caret());
}

void StandardsEditorWindow::refreshDistribution() {
  ++refreshes_;
  const int level = grid_.row();
  const DistributionReading reading =
      ReadLevelDistribution(ResultsFilePath(installation_), services_, level);
  allRunsList_->clear();
  bestTimesList_->clear();
  std::string problem;
  if (!reading.ok) {
    problem = reading.error;
  } else if (reading.fileMissing) {
    problem =
        "成績ファイル「成績累積データ.dat」はまだありません（記録された成績はありません）。\n" +
        ResultsFilePath(installation_);
  }
  if (!problem.empty() && problem != shownReadError_) {
    shownReadError_ = problem;
    services_.host.ShowMessage(kNoticeTitle, problem);
  }
  if (!reading.ok) {
    allRunsList_->addItem(QStringLiteral("成績ファイルを読めません"));
    return;
  }
  for (const std::string& line : AllRunsLines(reading.distribution)) {
    allRunsList_->addItem(ToQt(line));
  }
  for (const std::string& line : BestTimeLines(reading.distribution)) {
    bestTimesList_->addItem(ToQt(line));
  }
}

bool StandardsEditorWindow::handleOverlayKey(QKeyEvent* key) {
  const Qt::KeyboardModifiers held =
      key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  EditorKey editorKey = EditorKey::Other;
  switch (key->key()) {
    case Qt::Key_Escape:
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      editorKey = EditorKey::Enter;
      break;
    case Qt::Key_Up:
      editorKey = EditorKey::Up;
      break;
    case Qt::Key_Down:
      editorKey = held != Qt::NoModifier ? EditorKey::CopyDown : EditorKey::Down;
      break;
    case Qt::Key_Left:
      editorKey = EditorKey::Left;
      break;
    case Qt::Key_Right:
      editorKey = EditorKey::Right;
      break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return false;  // focus moves on, as from any text box
    default:
      break;
  }
  const Busy busy(this);
  const int row = grid_.row();
  const int column = grid_.column();
  if (grid_.PressKey(editorKey)) {
    refreshDistribution();
  }
  if (grid_.row() != row || grid_.column() != column) {
    placeOverlay();
  }
  if (editorKey != EditorKey::Other) {
    showCells();
    showOverlayText();
    return true;
  }
  // Any other key acts on the cell's text, the caret after its tenth character.
  const bool command =
      (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) !=
      Qt::NoModifier;
  bool handled = true;
  if (key->key() == Qt::Key_Backspace) {
    grid_.Backspace();
  } else if (key->key() == Qt::Key_Delete) {
    grid_.DeleteForward();
  } else if (!command && !key->text().isEmpty() && key->text().at(0).isPrint()) {
    grid_.TypeText(key->text().toStdString());
  } else {
    handled = false;  // the text box's own handling (a paste, Home, End) follows
  }
  showCells();
  showOverlayText();
  return handled;
}

void StandardsEditorWindow::clickCell(int tableRow, int column) {
  const Busy busy(this);
  if (!grid_.Click(tableRow + 1, column)) {
    return;
  }
  placeOverlay();
  refreshDistribution();
  showCells();
  showOverlayText();
}

bool StandardsEditorWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == overlay_ && event->type() == QEvent::KeyPress) {
    if (handleOverlayKey(static_cast<QKeyEvent*>(event))) {
      return true;
    }
  }
  if (watched == table_->viewport() && event->type() == QEvent::Resize) {
    sizeColumns();
    if (grid_.row() >= 1) {
      placeOverlay();
    }
  }
  return FormWidget::eventFilter(watched, event);
}

void StandardsEditorWindow::restoreFromFile() {
  const Busy busy(this);
  loadGrid(false);
  placeOverlay();
  showOverlayText();
  refreshDistribution();
}

void StandardsEditorWindow::showCover(bool shown) {
  cover_->setVisible(shown);
  if (shown) {
    cover_->raise();
    services_.host.ProcessEvents();
  }
}

bool StandardsEditorWindow::saveToFile() {
  const Busy busy(this);
  const std::string path = LevelStandardsPath(installation_);
  if (!fileWasRead_) {
    services_.host.ShowMessage(
        kNoticeTitle,
        "基準データファイル「タイム回数データ.txt」を読めなかったので、上書きしません。"
        "ファイルを直してから「元に戻す」を押してください。\n" +
            path);
    return false;
  }
  showCover(true);
  std::string error;
  const bool saved = SaveStandardsFile(path, grid_.FileRows(), error);
  if (saved) {
    grid_.MarkSaved();
  }
  showCover(false);
  if (!saved) {
    services_.host.ShowMessage(kNoticeTitle, error);
    return false;
  }
  // The running program uses the new standards at once.
  const StandardsLoadResult loaded = LoadLevelStandards(catalogue_, path);
  if (!loaded.ok) {
    services_.host.ShowMessage(kNoticeTitle, loaded.error);
  }
  if (grid_.row() >= 1) {
    overlay_->setFocus();
  }
  return true;
}

void StandardsEditorWindow::goBack() {
  const Busy busy(this);
  if (grid_.dataChanged() && services_.host.AskYesNo(kNoticeTitle, kSaveChangesQuestion)) {
    if (!saveToFile()) {
      return;  // what the teacher wanted kept could not be written: stay with the edits
    }
  }
  showCover(true);
  ShowHub(ctx_);
  UnloadWhenIdle();
}

void StandardsEditorWindow::closeEvent(QCloseEvent* event) {
  if (handlerRunning()) {
    event->ignore();
    UnloadWhenIdle();
    return;
  }
  FormWidget::closeEvent(event);
}

void ShowStandardsEditor(AppContext& ctx) {
  auto* editor = new StandardsEditorWindow(ctx);
  ctx.standardsEditor = editor;
  editor->showOnWholeScreen();
  editor->activateWindow();
  editor->activate();
}

}  // namespace numora
