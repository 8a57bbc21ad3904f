#include "ui/hub/chart_panel.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QLabel>
#include <QListWidget>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <utility>

#include "core/hub/score_lists.h"
#include "core/installation/level_catalogue.h"
#include "core/installation/table_sizes.h"
#include "ui/common/form_widget.h"

namespace numora {

namespace {

constexpr unsigned kPanelOrange = 0x0080FF;
constexpr unsigned kSurfaceCyan = 0xFFFF80;
constexpr unsigned kWhite = 0xFFFFFF;
constexpr double kScreenPixelsPerPoint = 96.0 / 72.0;
constexpr int kDefaultLevels = 3;  // "グラフ" charts the first three levels

QFont ChartFont(bool cells, double pixels) {
  QFont font;
  if (cells) {
    font.setFamilies({QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("MS Gothic"),
                      QStringLiteral("monospace")});
  } else {
    font.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("MS UI Gothic")});
  }
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  return font;
}

}  // namespace

QPointF ChartPagePoint(const ChartBand& band, double x, double y, bool fromPageTop,
                       const QRectF& area) {
  const double f = area.width() / 2;
  const double c = area.height() / 3;
  const double top = fromPageTop ? 0 : band.top * area.height();
  return {area.left() + x * f, area.top() + top + y * c};
}

void PaintChartPage(QPainter& painter, const Chart& chart, int page, const QRectF& area,
                    double pixelsPerPoint) {
  // Widths are given in screen pixels (0.75 point each).
  const double screenPixel = pixelsPerPoint * 72.0 / 96.0;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setClipRect(area);
  for (const ChartBand& band : chart.bands) {
    if (band.page != page) {
      continue;
    }
    for (const ChartLine& l : band.lines) {
      QPen pen(VbColour(l.colour));
      pen.setWidthF(std::max(1.0, l.width * screenPixel));
      pen.setCapStyle(Qt::RoundCap);
      painter.setPen(pen);
      painter.drawLine(ChartPagePoint(band, l.x1, l.y1, false, area),
                       ChartPagePoint(band, l.x2, l.y2, false, area));
    }
    painter.setPen(Qt::NoPen);
    const double radius = kChartPointWidth * screenPixel / 2;
    for (const ChartPoint& p : band.points) {
      painter.setBrush(VbColour(p.colour));
      painter.drawEllipse(ChartPagePoint(band, p.x, p.y, false, area), radius, radius);
    }
    painter.setBrush(Qt::NoBrush);
    for (const ChartText& t : band.texts) {
      const QFont font = ChartFont(t.cells, t.fontSize * pixelsPerPoint);
      painter.setFont(font);
      painter.setPen(VbColour(t.colour));
      const QFontMetricsF metrics(font, painter.device());
      const QPointF topLeft = ChartPagePoint(band, t.x, t.y, t.fromPageTop, area);
      const QPointF baseline(topLeft.x(), topLeft.y() + metrics.ascent());
      if (t.cells) {
        DrawOnCells(painter, metrics, baseline, ToQt(t.text));
      } else {
        painter.drawText(baseline, ToQt(t.text));
      }
    }
  }
  painter.restore();
}

bool ChooseChartPrinter(QWidget* parent, QPrinter& printer) {
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Landscape);
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    // No printer on this machine: the charts go to a PDF file the user names.
    QString file = QFileDialog::getSaveFileName(
        parent, QStringLiteral("グラフを保存するPDFファイル"),
        QDir::home().filePath(QStringLiteral("グラフ.pdf")), QStringLiteral("PDF (*.pdf)"));
    if (file.isEmpty()) {
      return false;
    }
    if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
      file += QStringLiteral(".pdf");
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
  }
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("グラフの印刷"));
  return dialog.exec() == QDialog::Accepted;
}

// ---- Drawing surface ----

ChartSurface::ChartSurface(FormWidget& form, const LevelCatalogue& catalogue, QWidget* parent)
    : QWidget(parent), form_(form), catalogue_(catalogue) {
  setObjectName(QStringLiteral("Picture12"));
  setAccessibleName(QStringLiteral("グラフ"));
  SetBackColour(this, kSurfaceCyan);
}

void ChartSurface::showChart(const Chart& chart) {
  chart_ = chart;
  // What a screen reader reads of the picture: the pupil and each level's statistics block.
  QStringList description{ToQt(chart_.pupilName)};
  for (const ChartBand& band : chart_.bands) {
    if (band.page != shownPage()) {
      continue;
    }
    description << ToQt(catalogue_.title + " " +
                        catalogue_.levelNames[static_cast<size_t>(band.level)]);
    for (const std::string& line : band.statistics) {
      description << ToQt(line);
    }
  }
  setAccessibleDescription(description.join(QLatin1Char('\n')));
  update();
}

void ChartSurface::clearChart() {
  chart_ = Chart();
  update();
}

void ChartSurface::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  PaintChartPage(painter, chart_, shownPage(), QRectF(rect()),
                 kScreenPixelsPerPoint * form_.scale());
}

// ---- Panel ----

ChartPanel::ChartPanel(FormWidget& form, AppContext& ctx)
    : QFrame(&form), form_(form), ctx_(ctx), state_(ctx.state), services_(ctx.services) {
  setObjectName(QStringLiteral("Picture11"));
  SetBackColour(this, kPanelOrange);
  form_.place(this, 120, 1740, 15120, 9660);

  surface_ = new ChartSurface(form_, state_.catalogue, this);
  form_.place(surface_, 60, 60, 12000, 9540);
  levelHead_ = new QLabel(QStringLiteral("ﾚﾍﾞﾙ"), surface_);
  levelHead_->setObjectName(QStringLiteral("Label27"));
  levelHead_->setAlignment(Qt::AlignRight | Qt::AlignTop);
  form_.place(levelHead_, 10800, 60, 1140, 360);
  form_.setFontPoints(levelHead_, 11, true);

  auto button = [this](const char* name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QLatin1String(name));
    return b;
  };
  levelList_ = new QListWidget(this);
  levelList_->setObjectName(QStringLiteral("List3"));
  levelList_->setSelectionMode(QAbstractItemView::MultiSelection);
  form_.place(levelList_, 12180, 60, 2880, 1400);
  form_.setFontPoints(levelList_, 11);
  SetBackColour(levelList_, kWhite);
  showButton_ = button("Command24(0)", QStringLiteral("表示"));
  form_.place(showButton_, 12180, 1540, 1400, 560);
  form_.setFontPoints(showButton_, 11, true);
  printButton_ = button("Command24(1)", QStringLiteral("印刷"));
  form_.place(printButton_, 13660, 1540, 1400, 560);
  form_.setFontPoints(printButton_, 11, true);
  printButton_->setVisible(false);
  otherPupilsButton_ = button("Command25", QStringLiteral("他の人のデータを見る"));
  form_.place(otherPupilsButton_, 12180, 2200, 2880, 560);
  form_.setFontPoints(otherPupilsButton_, 9);
  rosterList_ = new QListWidget(this);
  rosterList_->setObjectName(QStringLiteral("List2"));
  rosterList_->setSelectionMode(QAbstractItemView::MultiSelection);
  form_.place(rosterList_, 12180, 2200, 2880, 6560);
  form_.setFontPoints(rosterList_, 10);
  SetBackColour(rosterList_, kWhite);
  rosterList_->setVisible(false);
  backButton_ = button("Command18", QStringLiteral("戻る"));
  form_.place(backButton_, 12180, 8900, 2880, 700);
  form_.setFontPoints(backButton_, 14, true);

  connect(levelList_, &QListWidget::itemSelectionChanged, this, [this] {
    if (isVisible()) {
      chartSelected(false);
    }
  });
  connect(rosterList_, &QListWidget::itemSelectionChanged, this, [this] { chartSelected(false); });
  connect(otherPupilsButton_, &QPushButton::clicked, this, [this] { showOtherPupils(); });
  connect(showButton_, &QPushButton::clicked, this, [this] { chartSelected(false); });
  connect(printButton_, &QPushButton::clicked, this, [this] { chartSelected(true); });
  connect(backButton_, &QPushButton::clicked, this, [this] { back(); });
  setVisible(false);
}

void ChartPanel::setListOptions(const std::string& filterText, int rankingKind) {
  filterText_ = filterText;
  rankingKind_ = rankingKind == kTodayRanking ? kTodayRanking : kCumulativeRanking;
}

void ChartPanel::setTeacher(bool teacher) {
  teacher_ = teacher;
  printButton_->setVisible(teacher);
}

void ChartPanel::setPrinterChooser(std::function<bool(QPrinter&)> chooser) {
  chooser_ = std::move(chooser);
}

const Chart& ChartPanel::shownChart() const {
  return surface_->chart();
}

void ChartPanel::prepare() {
  std::string notice;
  const std::vector<std::string> lines =
      ChartRosterLines(state_.installation, state_.roster, services_.clock.Today(), notice);
  // Entries left out of the roster were told at the selection screen; a roster that cannot be
  // read at all is told here, since the list of other pupils stays empty.
  if (lines.empty() && !notice.empty()) {
    services_.host.ShowMessage("注意", notice);
  }
  {
    const QSignalBlocker blockRoster(rosterList_);
    const QSignalBlocker blockLevels(levelList_);
    rosterList_->clear();
    for (const std::string& line : lines) {
      rosterList_->addItem(ToQt(line));
    }
    levelList_->clear();
    for (int level = 1; level <= std::clamp<int>(state_.catalogue.levelCount, 0, kLevelSlots - 1);
         ++level) {
      levelList_->addItem(QString::number(level));
    }
  }
  chartPupil_ = state_.session.currentPupil;
}

void ChartPanel::openForCurrentPupil() {
  chartPupil_ = state_.session.currentPupil;
  rosterList_->setVisible(false);
  otherPupilsButton_->setVisible(true);
  {
    const QSignalBlocker blockRoster(rosterList_);
    const QSignalBlocker blockLevels(levelList_);
    rosterList_->clearSelection();
    for (int i = 0; i < levelList_->count(); ++i) {
      levelList_->item(i)->setSelected(i < kDefaultLevels);
    }
  }
  drawOnScreen();
}

void ChartPanel::showOtherPupils() {
  otherPupilsButton_->setVisible(false);
  rosterList_->setVisible(true);
}

void ChartPanel::back() {
  setVisible(false);
}

std::vector<int> ChartPanel::SelectedLevels() const {
  std::vector<int> levels;
  for (int i = 0; i < levelList_->count(); ++i) {
    if (levelList_->item(i)->isSelected()) {
      levels.push_back(i + 1);
    }
  }
  return levels;
}

std::vector<int> ChartPanel::SelectedPupils() const {
  std::vector<int> pupils;
  for (int i = 0; i < rosterList_->count(); ++i) {
    if (rosterList_->item(i)->isSelected()) {
      const int pupil = ChartRosterLinePupil(rosterList_->item(i)->text().toStdString());
      if (pupil > 0) {
        pupils.push_back(pupil);
      }
    }
  }
  return pupils;
}

Chart ChartPanel::BuildFor(int pupil, ChartTarget target) {
  ChartRequest request;
  request.pupil = pupil;
  request.currentPupil = state_.session.currentPupil;
  request.levels = SelectedLevels();
  request.filterText = filterText_;
  request.rankingKind = rankingKind_;
  request.now = services_.clock.Now();
  request.target = target;
  return BuildChart(state_.catalogue, state_.roster, state_.stats, records_, request);
}

void ChartPanel::chartSelected(bool toPrinter) {
  std::vector<int> pupils = SelectedPupils();
  if (pupils.empty()) {
    pupils.push_back(chartPupil_);
  }
  if (toPrinter) {
    printCharts(pupils);
    return;
  }
  for (int pupil : pupils) {
    chartPupil_ = pupil;
    drawOnScreen();
  }
}

void ChartPanel::drawOnScreen() {
  form_.move(this, 120, 1740);
  ReadChartRecords(state_.installation, state_.stats, services_, records_);
  surface_->showChart(BuildFor(chartPupil_, ChartTarget::kScreen));
  raise();
  setVisible(true);
}

void ChartPanel::printCharts(const std::vector<int>& pupils) {
  if (!teacher_) {
    return;
  }
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(QStringLiteral("ヌモラ グラフ"));
  const bool chosen = chooser_ ? chooser_(printer) : ChooseChartPrinter(this, printer);
  if (!chosen) {
    return;
  }
  ReadChartRecords(state_.installation, state_.stats, services_, records_);
  printed_.clear();
  for (int pupil : pupils) {
    chartPupil_ = pupil;
    printed_.push_back(BuildFor(pupil, ChartTarget::kPaper));
  }
  QPainter painter;
  if (!painter.begin(&printer)) {
    services_.host.ShowMessage(
        "注意",
        "印刷を始められませんでした。プリンターの設定か、保存先のフォルダを確かめてください。\n" +
            printer.outputFileName().toStdString());
    return;
  }
  const QRectF area(QPointF(0, 0),
                    printer.pageLayout().paintRectPixels(printer.resolution()).size());
  const double pixelsPerPoint = printer.resolution() / 72.0;
  bool first = true;
  // Each pupil starts on a new page; a fourth level starts another.
  for (const Chart& chart : printed_) {
    for (int page = 0; page < chart.pages; ++page) {
      if (!first) {
        printer.newPage();
      }
      first = false;
      PaintChartPage(painter, chart, page, area, pixelsPerPoint);
    }
  }
  painter.end();
}

}  // namespace numora
