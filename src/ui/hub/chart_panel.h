#pragma once

// The hub's chart panel: the orange panel with the light cyan drawing surface on which the core's
// time chart is painted, the level list, the roster list for looking at other pupils, "表示",
// "印刷" (teachers only) and "戻る". The same display list is painted on a printer page.

#include <QFrame>
#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "core/hub/chart_model.h"
#include "core/installation/app_state.h"
#include "ui/common/app_context.h"
#include "ui/common/form_widget.h"

class QLabel;
class QListWidget;
class QPainter;
class QPrinter;
class QPushButton;

namespace numora {

// Paints one page of a chart into area (device pixels) of the painter's device. pixelsPerPoint
// turns the chart's point sizes into device pixels (96 / 72 on a screen at scale 1, the
// resolution / 72 on a printer).
void PaintChartPage(QPainter& painter, const Chart& chart, int page, const QRectF& area,
                    double pixelsPerPoint);

// Where a chart page's item lands in area: the same mapping the painter uses, for tests.
QPointF ChartPagePoint(const ChartBand& band, double x, double y, bool fromPageTop,
                       const QRectF& area);

// Sets up the printer for the charts (landscape A4) and lets the user choose where to print: the
// print dialog, or a PDF file when the machine has no printer. False when the user cancelled.
bool ChooseChartPrinter(QWidget* parent, QPrinter& printer);

// The drawing surface (Picture12): paints the last page of the chart it is given.
class ChartSurface : public QWidget {
  Q_OBJECT

 public:
  ChartSurface(FormWidget& form, const LevelCatalogue& catalogue, QWidget* parent);
  void showChart(const Chart& chart);
  void clearChart();
  const Chart& chart() const { return chart_; }
  // The page the surface shows (a fourth level clears the picture and starts again at the top).
  int shownPage() const { return chart_.pages > 0 ? chart_.pages - 1 : 0; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  FormWidget& form_;
  const LevelCatalogue& catalogue_;  // the title and level names of the description
  Chart chart_;
};

class ChartPanel : public QFrame {
  Q_OBJECT

 public:
  ChartPanel(FormWidget& form, AppContext& ctx);

  // The personal time view was chosen: fills the roster list and the level list and makes the
  // hub's pupil the chart's pupil.
  void prepare();
  // "グラフ": the hub's pupil on the first three levels.
  void openForCurrentPupil();
  // "他の人のデータを見る": shows the roster list.
  void showOtherPupils();
  // "表示" (toPrinter false) or "印刷" (toPrinter true): the pupils selected in the roster list, or
  // the last charted pupil when none is selected, on the levels selected in the level list.
  void chartSelected(bool toPrinter);
  // "戻る".
  void back();

  // What the charts are built with besides the state groups: the hub's grade filter and the
  // points ranking last chosen.
  void setListOptions(const std::string& filterText, int rankingKind);
  // "印刷" is shown to teachers only.
  void setTeacher(bool teacher);
  // Replaces the printer choice (tests print to a PDF file without a dialog).
  void setPrinterChooser(std::function<bool(QPrinter&)> chooser);

  int chartPupil() const { return chartPupil_; }
  const Chart& shownChart() const;
  // The charts sent to the printer by the last "印刷", one per pupil.
  const std::vector<Chart>& printedCharts() const { return printed_; }

 private:
  void drawOnScreen();
  void printCharts(const std::vector<int>& pupils);
  Chart BuildFor(int pupil, ChartTarget target);
  std::vector<int> SelectedLevels() const;
  std::vector<int> SelectedPupils() const;

  FormWidget& form_;
  AppContext& ctx_;
  AppState& state_;
  Services& services_;
  ChartSurface* surface_ = nullptr;
  QLabel* levelHead_ = nullptr;
  QListWidget* levelList_ = nullptr;
  QListWidget* rosterList_ = nullptr;
  QPushButton* otherPupilsButton_ = nullptr;
  QPushButton* showButton_ = nullptr;
  QPushButton* printButton_ = nullptr;
  QPushButton* backButton_ = nullptr;
  std::function<bool(QPrinter&)> chooser_;
  std::vector<ResultEntry> records_;  // kept between drawings
  std::vector<Chart> printed_;
  std::string filterText_;
  int rankingKind_ = 1;
  int chartPupil_ = 0;
  bool teacher_ = false;
};

}  // namespace numora
