#include "ui/admin/results_browser_window.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTextEdit>
#include <utility>

#include "ui/common/form_widget.h"

namespace numora {

namespace {

constexpr unsigned kFormColour = 0xFFF8F0;  // very light blue
constexpr unsigned kEditColour = 0xC0FFFF;  // light yellow
constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kTeal = 0xC0C000;
constexpr unsigned kNavy = 0x800000;

// The real dialogs: the printer dialog, or a PDF file chosen like any saved file when the computer
// has no printer; the save-file dialog for the CSV.
class SystemDialogs : public ResultsBrowserWindow::Dialogs {
 public:
  bool ChoosePrinter(QPrinter& printer, bool hasSelection, QWidget* parent) override {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
      const QString file = QFileDialog::getSaveFileName(
          parent, QStringLiteral("印刷（PDFファイルに保存）"),
          QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
              .filePath(QStringLiteral("成績一覧.pdf")),
          QStringLiteral("PDF (*.pdf)"));
      if (file.isEmpty()) {
        return false;
      }
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(file);
      return true;
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    // No page numbers to choose; the selection when there is one, otherwise everything.
    QAbstractPrintDialog::PrintDialogOptions options = dialog.options();
    options.setFlag(QAbstractPrintDialog::PrintPageRange, false);
    options.setFlag(QAbstractPrintDialog::PrintSelection, hasSelection);
    dialog.setOptions(options);
    printer.setPrintRange(hasSelection ? QPrinter::Selection : QPrinter::AllPages);
    return dialog.exec() == QDialog::Accepted;
  }

  QString ChooseCsvFile(const QString& suggested, QWidget* parent) override {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("ファイル化"), suggested,
                                        QStringLiteral("CSV (*.csv)"));
  }
};

}  // namespace

// The lines of the list, handed to the view on demand: a list of 100000 runs costs no widget
// items and shows at once.
class BrowserListModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  void Reset(const LineTexts* lines) {
    beginResetModel();
    lines_ = lines;
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() || lines_ == nullptr ? 0 : static_cast<int>(lines_->size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (lines_ == nullptr || !index.isValid() || index.row() >= static_cast<int>(lines_->size())) {
      return {};
    }
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
      const std::string_view line = (*lines_)[static_cast<size_t>(index.row())];
      return QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    }
    return {};
  }

 private:
  const LineTexts* lines_ = nullptr;
};

ResultsBrowserWindow::ResultsBrowserWindow(AppContext& ctx, std::unique_ptr<Dialogs> dialogs)
    : ctx_(ctx),
      installation_(ctx.state.installation),
      roster_(ctx.state.roster),
      services_(ctx.services),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<SystemDialogs>()) {
  setObjectName(QStringLiteral("FrmData"));
  setWindowTitle(QStringLiteral("成績データの変更"));
  setBackColour(kFormColour);
  CreateControls();
}

ResultsBrowserWindow::~ResultsBrowserWindow() = default;

void ResultsBrowserWindow::CreateControls() {
  auto label = [this](QWidget* parent, const QString& name, const QString& text, int left, int top,
                      int width, int height, double points, bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    place(l, left, top, width, height);
    setFontPoints(l, points, bold);
    return l;
  };
  auto button = [this](QWidget* parent, const char* name, const QString& text, int left, int top,
                       int width, int height, double points) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    place(b, left, top, width, height);
    setFontPoints(b, points, true);
    return b;
  };
  auto panel = [this](QWidget* parent, const char* name, unsigned colour) {
    auto* f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    SetBackColour(f, colour);
    return f;
  };

  // The list panel at the top left corner.
  listPanel_ = panel(this, "Picture2", kFormColour);
  place(listPanel_, 0, 0, 11640, 11520);
  instruction_ = label(listPanel_, QStringLiteral("Label5"),
                       QStringLiteral("ダブルクリックすると変更、消去できます"), 240, 120, 9000,
                       480, 13, true);
  SetForeColour(instruction_, kNavy);
  listView_ = new QListView(listPanel_);
  listView_->setObjectName(QStringLiteral("List1"));
  listView_->setAccessibleName(QStringLiteral("成績の一覧"));
  listView_->setSelectionMode(QAbstractItemView::SingleSelection);
  listView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  listView_->setUniformItemSizes(true);
  listView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  ShowLinesOnCells(listView_);
  SetBackColour(listView_, kWhite);
  place(listView_, 240, 660, 11160, 10080);
  setFontPoints(listView_, 12);
  model_ = new BrowserListModel(this);
  listView_->setModel(model_);
  listView_->viewport()->installEventFilter(this);
  listView_->installEventFilter(this);

  printButton_ = button(listPanel_, "Command17", QStringLiteral("印刷"), 240, 10860, 1800, 540, 12);
  connect(printButton_, &QPushButton::clicked, this, [this] { PrintList(); });
  exportButton_ =
      button(listPanel_, "Command18", QStringLiteral("ファイル化"), 2160, 10860, 2040, 540, 12);
  exportButton_->setToolTip(QStringLiteral("後で加工して印刷できます"));
  connect(exportButton_, &QPushButton::clicked, this, [this] { SaveListAsCsv(); });
  listBackButton_ =
      button(listPanel_, "Command5", QStringLiteral("戻る"), 9600, 10860, 1800, 540, 12);
  connect(listBackButton_, &QPushButton::clicked, this, [this] { Leave(); });

  // The text that "印刷" prints: the list's lines, filled when printing.
  printText_ = new QTextEdit(this);
  printText_->setObjectName(QStringLiteral("RichTextBox1"));
  printText_->setReadOnly(true);
  printText_->setVisible(false);

  // The edit panel, hidden until a line is double-clicked.
  editPanel_ = panel(this, "Picture3", kEditColour);
  editPanel_->setFrameShape(QFrame::Box);
  place(editPanel_, 11760, 660, 3360, 8400);
  label(editPanel_, QStringLiteral("recordCaption"), QStringLiteral("記録番号"), 120, 180, 1380,
        420, 11);
  recordLabel_ =
      label(editPanel_, QStringLiteral("Label1"), QString(), 1500, 60, 1740, 600, 18, true);
  levelLabel_ =
      label(editPanel_, QStringLiteral("Label2(1)"), QString(), 120, 780, 1380, 420, 12, true);
  dateLabel_ =
      label(editPanel_, QStringLiteral("Label2(2)"), QString(), 1500, 780, 1740, 420, 12, true);
  pupilChooser_ = new QComboBox(editPanel_);
  pupilChooser_->setObjectName(QStringLiteral("Combo1"));
  pupilChooser_->setEditable(true);
  pupilChooser_->setInsertPolicy(QComboBox::NoInsert);
  pupilChooser_->setMaxVisibleItems(20);
  pupilChooser_->setAccessibleName(QStringLiteral("番号 /  名前"));
  place(pupilChooser_, 120, 1380, 3120, 480);
  setFontPoints(pupilChooser_, 12);
  connect(pupilChooser_, &QComboBox::currentTextChanged, this, [this] { PupilChosen(); });
  gradeLabel_ =
      label(editPanel_, QStringLiteral("Label2(4)"), QString(), 120, 1980, 3120, 420, 12, true);
  timeBox_ = new QLineEdit(editPanel_);
  timeBox_->setObjectName(QStringLiteral("Text1(1)"));
  timeBox_->setAccessibleName(QStringLiteral("時間（秒）"));
  timeBox_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  place(timeBox_, 120, 2640, 1500, 600);
  setFontPoints(timeBox_, 16, true);
  unitLabel_ = label(editPanel_, QStringLiteral("Label2(0)"), QStringLiteral("秒"), 1680, 2700, 600,
                     480, 14, true);
  timeBar_ = new QScrollBar(Qt::Vertical, editPanel_);
  timeBar_->setObjectName(QStringLiteral("VScroll1"));
  timeBar_->setAccessibleName(QStringLiteral("時間（秒）を変える"));
  timeBar_->setRange(kBrowserScrollMin, kBrowserScrollMax);
  timeBar_->setSingleStep(1);
  timeBar_->setPageStep(10);
  place(timeBar_, 2760, 2520, 360, 3480);
  connect(timeBar_, &QScrollBar::valueChanged, this, [this](int v) { ScrollBarMoved(v); });
  changeButton_ =
      button(editPanel_, "Command2", QStringLiteral("変更して記録"), 120, 6300, 3120, 600, 12);
  changeButton_->setEnabled(false);
  connect(changeButton_, &QPushButton::clicked, this, [this] { RecordChange(); });
  deleteButton_ = button(editPanel_, "Command3", QStringLiteral("消去"), 120, 7080, 1500, 600, 12);
  deleteButton_->setEnabled(false);
  connect(deleteButton_, &QPushButton::clicked, this, [this] { DeleteRecord(); });
  cancelButton_ =
      button(editPanel_, "Command6", QStringLiteral("キャンセル"), 1740, 7080, 1500, 600, 12);
  connect(cancelButton_, &QPushButton::clicked, this, [this] { ClosePanel(); });
  editPanel_->setVisible(false);

  backButton_ = button(this, "Command4", QStringLiteral("戻る"), 11760, 10860, 3360, 540, 12);
  connect(backButton_, &QPushButton::clicked, this, [this] { Leave(); });

  // The full-screen cover shown while leaving.
  cover_ = panel(this, "Picture1", kTeal);
  place(cover_, 0, 0, kCanvasTwipsWidth, kCanvasTwipsHeight);
  auto* wait = label(cover_, QStringLiteral("Label3"), QStringLiteral("Just a moment, please."), 0,
                     5160, kCanvasTwipsWidth, 1200, 28, true);
  wait->setAlignment(Qt::AlignCenter);
  cover_->setVisible(false);
}

void ResultsBrowserWindow::Load() {
  const Busy busy(this);
  cover_->setVisible(false);
  listPanel_->setVisible(true);
  listView_->setVisible(true);
  BuildList();
}

void ResultsBrowserWindow::Unload() {
  UnloadWhenIdle();
}

void ResultsBrowserWindow::BuildList() {
  // The view lets go of the old lines before they are replaced. A rebuild after a change or a
  // deletion keeps the list where the teacher had scrolled it, so the changed line stays in place.
  const int scrolled = listView_->verticalScrollBar()->value();
  model_->Reset(nullptr);
  list_ = BuildBrowserList(installation_, roster_, services_);
  model_->Reset(&list_.lines);
  listView_->verticalScrollBar()->setValue(scrolled);
  const QString typed = pupilChooser_->currentText();
  {
    const QSignalBlocker block(pupilChooser_);
    pupilChooser_->clear();
    QStringList items;
    items.reserve(static_cast<qsizetype>(list_.chooserItems.size()));
    for (const std::string& item : list_.chooserItems) {
      items << ToQt(item);
    }
    pupilChooser_->addItems(items);
    pupilChooser_->setEditText(typed);
  }
  if (!list_.notice.empty()) {
    services_.host.ShowMessage("注意", list_.notice);
  }
}

void ResultsBrowserWindow::SelectLine(size_t line) {
  ClosePanel();
  if (line >= list_.size()) {
    listView_->clearSelection();
    return;
  }
  const QModelIndex index = model_->index(static_cast<int>(line), 0);
  listView_->setCurrentIndex(index);
  listView_->scrollTo(index, QAbstractItemView::EnsureVisible);
}

bool ResultsBrowserWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == listView_->viewport()) {
    if (event->type() == QEvent::MouseButtonDblClick) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const QModelIndex index = listView_->indexAt(mouse->position().toPoint());
      if (index.isValid()) {
        listView_->setCurrentIndex(index);
      }
      OpenSelectedRecord();
      return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
      ClosePanel();
    }
  } else if (watched == listView_ && event->type() == QEvent::KeyPress) {
    // Enter opens the selected line, as a double-click does.
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      OpenSelectedRecord();
      return true;
    }
  }
  return FormWidget::eventFilter(watched, event);
}

void ResultsBrowserWindow::OpenSelectedRecord() {
  const Busy busy(this);
  const QModelIndexList selected = listView_->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) {
    return;
  }
  const auto line = static_cast<size_t>(selected.front().row());
  uint32_t n = 0;
  ResultRecord record;
  const BrowserResult opened = OpenBrowserRecord(installation_, services_, list_, line, n, record);
  if (opened.outcome != BrowserOutcome::kDone) {
    Report(opened);
    return;
  }
  selectedRecord_ = n;
  recordBuffer_ = record;
  changeButton_->setEnabled(true);
  deleteButton_->setEnabled(true);
  const EditPanelFigures f = DescribeForEdit(roster_, n, record);
  recordLabel_->setText(ToQt(f.recordNumber));
  levelLabel_->setText(ToQt(f.levelText));
  dateLabel_->setText(ToQt(f.dateText));
  {
    const QSignalBlocker block(pupilChooser_);
    pupilChooser_->setEditText(ToQt(f.chooserText));
  }
  gradeLabel_->setText(ToQt(f.gradeText));
  settingTime_ = true;
  timeBox_->setText(ToQt(f.timeText));
  timeBar_->setValue(f.scrollValue);
  settingTime_ = false;
  editPanel_->raise();
  editPanel_->setVisible(true);
}

void ResultsBrowserWindow::ClosePanel() {
  editPanel_->setVisible(false);
}

void ResultsBrowserWindow::ScrollBarMoved(int value) {
  // Only the teacher's moves write the time: a stored time beyond the bar's range (99999) stays in
  // the box when the panel opens.
  if (!settingTime_) {
    timeBox_->setText(QString::number(value));
  }
}

void ResultsBrowserWindow::PupilChosen() {
  gradeLabel_->setText(
      ToQt(GradeOfChooserText(roster_, pupilChooser_->currentText().toStdString())));
}

void ResultsBrowserWindow::RecordChange() {
  const Busy busy(this);
  if (selectedRecord_ == 0) {
    return;
  }
  int16_t pupil = 0;
  int32_t seconds = 0;
  std::string message;
  if (!ParseCorrection(pupilChooser_->currentText().toStdString(), timeBox_->text().toStdString(),
                       pupil, seconds, message)) {
    services_.host.ShowMessage("注意", message);
    return;
  }
  const BrowserResult result =
      ChangeBrowserRecord(installation_, services_, selectedRecord_, recordBuffer_, pupil, seconds);
  if (result.outcome != BrowserOutcome::kDone) {
    Report(result);
    return;
  }
  recordBuffer_.pupilNumber = pupil;
  recordBuffer_.seconds = seconds;
  BuildList();
  SelectLine(list_.LineOfRecord(selectedRecord_));
  if (!result.message.empty()) {
    services_.host.ShowMessage("注意", result.message);
  }
}

void ResultsBrowserWindow::DeleteRecord() {
  const Busy busy(this);
  if (selectedRecord_ == 0) {
    return;
  }
  if (!services_.host.AskOkCancel("注意", "本当に消去しますか")) {
    return;
  }
  const BrowserResult result =
      DeleteBrowserRecord(installation_, services_, selectedRecord_, recordBuffer_);
  if (result.outcome != BrowserOutcome::kDone) {
    Report(result);
    return;
  }
  BuildList();
  SelectLine(list_.LineAfterDeletion(selectedRecord_));
  if (!result.message.empty()) {
    services_.host.ShowMessage("注意", result.message);
  }
}

void ResultsBrowserWindow::Report(const BrowserResult& result) {
  if (result.outcome == BrowserOutcome::kStale) {
    services_.host.ShowMessage(
        "注意", result.message + "\n一覧を作り直しました。確かめてから、もう一度選んでください。");
    BuildList();
    SelectLine(std::string::npos);
    return;
  }
  if (!result.message.empty()) {
    services_.host.ShowMessage("注意", result.message);
  }
}

void ResultsBrowserWindow::PrintList() {
  const Busy busy(this);
  const bool hasSelection = printText_->textCursor().hasSelection();
  if (!hasSelection) {
    QFont font = printText_->font();
    font.setFamilies({QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("MS Gothic"),
                      QStringLiteral("monospace")});
    font.setPointSizeF(9);
    printText_->document()->setDefaultFont(font);
    printText_->setPlainText(ToQt(BrowserPrintText(list_)));
  }
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setDocName(QStringLiteral("成績一覧"));
  if (!dialogs_->ChoosePrinter(printer, hasSelection, this)) {
    return;
  }
  printText_->print(&printer);
  if (printer.printerState() == QPrinter::Error) {
    services_.host.ShowMessage("注意",
                               "印刷できませんでした。プリンターを確かめてください。" +
                                   (printer.outputFileName().isEmpty()
                                        ? std::string()
                                        : "\n（" + printer.outputFileName().toStdString() + "）"));
  }
}

void ResultsBrowserWindow::SaveListAsCsv() {
  const Busy busy(this);
  const QString suggested =
      QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
          .filePath(QStringLiteral("成績一覧.csv"));
  const QString file = dialogs_->ChooseCsvFile(suggested, this);
  if (file.isEmpty()) {
    return;
  }
  const std::string path = QDir::toNativeSeparators(file).toStdString();
  std::string error;
  if (!SaveBrowserCsv(path, BrowserCsv(installation_, roster_, list_), error)) {
    services_.host.ShowMessage("注意", error);
    return;
  }
  services_.host.ShowMessage(
      "ファイル化", std::to_string(list_.size()) + " 件の成績を書き出しました。\n（" + path + "）");
}

void ResultsBrowserWindow::Leave() {
  const Busy busy(this);
  cover_->raise();
  cover_->setVisible(true);
  services_.host.ProcessEvents();
  // A fresh hub: one left behind (there is none when the gate opened this window) goes first.
  UnloadHub(ctx_);
  ShowHub(ctx_);
  if (ctx_.resultsBrowser == this) {
    ctx_.resultsBrowser = nullptr;
  }
  Unload();
}

// ---- Window functions ----

void ShowResultsBrowser(AppContext& ctx) {
  UnloadResultsBrowser(ctx);
  auto* browser = new ResultsBrowserWindow(ctx);
  ctx.resultsBrowser = browser;
  browser->showFullScreen();
  browser->activateWindow();
  QCoreApplication::processEvents();
  browser->Load();
}

void UnloadResultsBrowser(AppContext& ctx) {
  QWidget* browser = ctx.resultsBrowser.data();
  if (browser == nullptr) {
    return;
  }
  ctx.resultsBrowser = nullptr;
  if (auto* form = qobject_cast<ResultsBrowserWindow*>(browser)) {
    form->Unload();
  } else {
    browser->close();
  }
}

}  // namespace numora
