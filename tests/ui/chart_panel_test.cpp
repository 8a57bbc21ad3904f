// The hub's personal time view and its chart panel: the level columns list the pupil's own runs,
// "グラフ" paints the core's chart on the drawing surface (checked pixel by pixel against the
// model), a fourth level clears the picture, other pupils are charted from the roster list, and a
// teacher's "印刷" prints the same display list (to a PDF file here).
// With NUMORA_SCREENSHOT_DIR set the personal view, the chart and the printed PDF are saved there.

#include "ui/hub/chart_panel.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>
#include <fstream>
#include <memory>

#include "core/hub/chart_model.h"
#include "core/platform/cp932.h"
#include "core/roster/roster.h"
#include "drill_test_env.h"
#include "support/hub_env.h"
#include "ui/common/form_widget.h"
#include "ui/hub/hub_window.h"
#include "window_controls.h"

using numora::Chart;
using numora::ChartBand;
using numora::ChartPanel;
using numora::ChartSurface;
using numora::HubWindow;
using numora::testing::Control;
using numora::testing::DrillEnv;
using numora::testing::RosterFile;
using numora::testing::Shown;
using numora::testing::Snap;

namespace {

QStringList Selected(const QListWidget* list) {
  QStringList lines;
  for (int k = 0; k < list->count(); ++k) {
    if (list->item(k)->isSelected()) {
      lines << list->item(k)->text();
    }
  }
  return lines;
}

bool Near(QColor a, QColor b) {
  return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
         std::abs(a.blue() - b.blue()) < 40;
}

// The darkest pixel at or next to a point: a one-pixel line may fall between two pixel rows, and
// is then drawn half into each.
QColor DarkestAround(const QImage& image, QPoint at) {
  QColor darkest = image.pixelColor(at);
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const QColor c = image.pixelColor(at + QPoint(dx, dy));
      if (c.lightness() < darkest.lightness()) {
        darkest = c;
      }
    }
  }
  return darkest;
}

// Every point of the chart's shown page has its colour on the surface, at the place the model
// gives; the bests' joining lines are red half-way between them.
void CheckPainted(ChartSurface* surface) {
  const QImage image = surface->grab().toImage();
  const QRectF area(QPointF(0, 0), QSizeF(surface->size()));
  const Chart& chart = surface->chart();
  int checked = 0;
  for (const ChartBand& band : chart.bands) {
    if (band.page != surface->shownPage()) {
      continue;
    }
    for (const auto& p : band.points) {
      const QPoint at = numora::ChartPagePoint(band, p.x, p.y, false, area).toPoint();
      const QColor want = p.newBest ? QColor(255, 0, 0) : QColor(0, 0, 255);
      QVERIFY2(Near(image.pixelColor(at), want),
               qPrintable(QStringLiteral("level %1 run %2 at %3,%4 is %5")
                              .arg(band.level)
                              .arg(p.run)
                              .arg(at.x())
                              .arg(at.y())
                              .arg(image.pixelColor(at).name())));
      ++checked;
    }
    for (const auto& l : band.lines) {
      if (l.role != numora::ChartLineRole::kBestStep) {
        continue;
      }
      const QPoint mid =
          numora::ChartPagePoint(band, (l.x1 + l.x2) / 2, (l.y1 + l.y2) / 2, false, area).toPoint();
      QVERIFY(Near(image.pixelColor(mid), QColor(255, 0, 0)));
    }
    // The axes' corner is drawn in black.
    const QPoint corner = numora::ChartPagePoint(band, 0.2, 0.8, false, area).toPoint();
    QVERIFY2(Near(DarkestAround(image, corner), QColor(0, 0, 0)),
             qPrintable(QStringLiteral("level %1 axes corner at %2,%3 is %4")
                            .arg(band.level)
                            .arg(corner.x())
                            .arg(corner.y())
                            .arg(image.pixelColor(corner).name())));
  }
  QVERIFY(checked > 0);
}

}  // namespace

class ChartPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env_ = std::make_unique<DrillEnv>();
    AddRoster(*env_, RosterFile::kWritten);
    DrillEnv& env = *env_;
    // The pupil: 40, 35, 38 s and a time-out on level 1; runs on levels 2 to 4. Others too.
    Runs(env, DrillEnv::kPupil, 1, 7, {40, 35});
    Runs(env, DrillEnv::kPupil, 1, 8, {99999, 38});
    Runs(env, DrillEnv::kPupil, 2, 8, {70, 66, 72, 60});
    Runs(env, DrillEnv::kPupil, 3, 9, {95, 90});
    Runs(env, DrillEnv::kPupil, 4, 9, {120, 110});
    Runs(env, 1, 1, 9, {30, 33});
    Runs(env, 2, 2, 9, {55});
    Runs(env, 4, 4, 9, {100});
    env.clock.Set(2026, 12, 10, 10, 0, 0);
    env.state.installation.seasonColour = 0xC0FFC0;  // a season colour of the form
  }
  void cleanup() {
    env_.reset();
    DrillEnv::FlushDeletes();
  }

  void personalViewAndChartPaintTheModel() {
    DrillEnv& env = *env_;
    HubWindow* hub = Show(env);
    QVERIFY(hub != nullptr);
    auto* chartButton = Control<QPushButton>(hub, "Command17");
    auto* panel = Control<ChartPanel>(hub, "Picture11");
    QVERIFY(!chartButton->isVisible());
    QVERIFY(!panel->isVisible());

    // The personal time view: each column lists the pupil's own runs in date order.
    auto* personal = numora::Option2(hub, 2);
    QVERIFY(personal->isEnabled());
    personal->click();
    QCOMPARE(numora::Label5(hub)->text(), QStringLiteral("個人別ﾀｲﾑ"));
    QVERIFY(chartButton->isVisible());
    const auto lists = numora::BuildPersonalRunLists(
        env.state.catalogue, env.state.roster,
        numora::ReadChartRecords(env.state.installation, env.state.stats, env.services),
        env.clock.Now(), DrillEnv::kPupil, numora::kAllGrades);
    for (int level = 1; level <= 4; ++level) {
      QStringList want;
      for (const auto& line : lists[static_cast<size_t>(level)]) {
        want << QString::fromStdString(line);
      }
      QCOMPARE(Shown(numora::List5(hub, static_cast<size_t>(level))), want);
      QVERIFY(numora::List5(hub, static_cast<size_t>(level))->isVisible());
    }
    QCOMPARE(Shown(numora::List5(hub, 1)),
             (QStringList{"2026/12/07 08:01:00  40秒", "2026/12/07 08:02:00  35秒",
                          "2026/12/08 08:01:00", "2026/12/08 08:02:00  38秒"}));
    QVERIFY(numora::Command4(hub, 1)->isEnabled());
    Snap(hub, QStringLiteral("personal_view"));

    // "グラフ": the first three levels of the hub's pupil, as the core builds them.
    chartButton->click();
    QVERIFY(panel->isVisible());
    auto* levels = Control<QListWidget>(panel, "List3");
    QCOMPARE(Shown(levels), (QStringList{"1", "2", "3", "4"}));
    QCOMPARE(Selected(levels), (QStringList{"1", "2", "3"}));
    QVERIFY(!Control<QListWidget>(panel, "List2")->isVisible());
    QVERIFY(Control<QPushButton>(panel, "Command25")->isVisible());
    QVERIFY(!Control<QPushButton>(panel, "Command24(1)")->isVisible());  // not a teacher
    QCOMPARE(Control<QLabel>(panel, "Label27")->text(), QStringLiteral("ﾚﾍﾞﾙ"));

    numora::ChartRequest request;
    request.pupil = DrillEnv::kPupil;
    request.currentPupil = DrillEnv::kPupil;
    request.levels = {1, 2, 3};
    request.filterText = numora::kAllGrades;
    request.rankingKind = numora::kCumulativeRanking;
    request.now = env.clock.Now();
    const Chart want = numora::BuildChart(
        env.state.catalogue, env.state.roster, env.state.stats,
        numora::ReadChartRecords(env.state.installation, env.state.stats, env.services), request);
    const Chart& shown = panel->shownChart();
    QCOMPARE(shown.bands.size(), size_t{3});
    for (size_t i = 0; i < 3; ++i) {
      QCOMPARE(shown.bands[i].statistics, want.bands[i].statistics);
      QCOMPARE(shown.bands[i].points.size(), want.bands[i].points.size());
    }
    // Level 1: 40 and 35 are red and joined, 38 is blue; the time-out is not drawn.
    const ChartBand& first = shown.bands[0];
    QCOMPARE(first.points.size(), size_t{3});
    QVERIFY(first.points[0].newBest && first.points[1].newBest && !first.points[2].newBest);
    QCOMPARE(first.scale, 50);
    QCOMPARE(QString::fromStdString(first.statistics[2]),
             QStringLiteral("　　順位　　　　   2●位"));
    auto* surface = Control<ChartSurface>(panel, "Picture12");
    CheckPainted(surface);
    // A screen reader reads the statistics of the picture.
    QVERIFY(surface->accessibleDescription().contains(QStringLiteral("回数　　　　　　　  3回")));
    Snap(hub, QStringLiteral("chart_three_levels"));

    // A fourth level clears the picture: only its band is left, at the top.
    levels->item(3)->setSelected(true);
    QCOMPARE(panel->shownChart().pages, 2);
    QCOMPARE(surface->shownPage(), 1);
    CheckPainted(surface);
    const QImage image = surface->grab().toImage();
    const QRectF area(QPointF(0, 0), QSizeF(surface->size()));
    const auto& gone = panel->shownChart().bands[0].points[0];
    QVERIFY(!Near(image.pixelColor(numora::ChartPagePoint(panel->shownChart().bands[0], gone.x,
                                                          gone.y, false, area)
                                       .toPoint()),
                  QColor(255, 0, 0)));

    // "戻る" hides the panel; a view button hides it and the "グラフ" button.
    Control<QPushButton>(panel, "Command18")->click();
    QVERIFY(!panel->isVisible());
    chartButton->click();
    QVERIFY(panel->isVisible());
    numora::Option2(hub, 0)->click();
    QVERIFY(!panel->isVisible());
    QVERIFY(!chartButton->isVisible());
  }

  void otherPupilsAndPrintingForTeachers() {
    DrillEnv& env = *env_;
    env.state.session.pupilName = "山田先生";
    HubWindow* hub = Show(env);
    numora::Option2(hub, 2)->click();
    Control<QPushButton>(hub, "Command17")->click();
    auto* panel = Control<ChartPanel>(hub, "Picture11");
    auto* print = Control<QPushButton>(panel, "Command24(1)");
    QVERIFY(print->isVisible());

    // The roster list: grade, name and number of every listed pupil.
    Control<QPushButton>(panel, "Command25")->click();
    auto* roster = Control<QListWidget>(panel, "List2");
    QVERIFY(roster->isVisible());
    QVERIFY(!Control<QPushButton>(panel, "Command25")->isVisible());
    QCOMPARE(roster->count(), 5);
    QVERIFY(Shown(roster).contains(QStringLiteral("小１ /  青木　一郎/1")));
    // Choosing pupil 1 charts that pupil; the rank marks keep the hub's pupil as "●".
    for (int k = 0; k < roster->count(); ++k) {
      if (roster->item(k)->text().endsWith(QStringLiteral("/1"))) {
        roster->item(k)->setSelected(true);
      }
    }
    QCOMPARE(panel->chartPupil(), 1);
    QCOMPARE(panel->shownChart().pupilName, std::string("青木　一郎"));
    QCOMPARE(QString::fromStdString(panel->shownChart().bands[0].statistics[2]),
             QStringLiteral("　　順位　　　　   1①位"));
    CheckPainted(Control<ChartSurface>(panel, "Picture12"));

    // "印刷" on four levels: the same display list on paper, the fourth level on a second page.
    Control<QListWidget>(panel, "List3")->item(3)->setSelected(true);
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("chart.pdf"));
    int asked = 0;
    panel->setPrinterChooser([&](QPrinter& printer) {
      ++asked;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      return true;
    });
    print->click();
    QCOMPARE(asked, 1);
    QCOMPARE(panel->printedCharts().size(), size_t{1});
    const Chart& printed = panel->printedCharts()[0];
    QCOMPARE(printed.pupil, 1);
    QCOMPARE(printed.pages, 2);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QCOMPARE(bytes.count(QByteArrayLiteral("/Type /Page\n")) +
                 bytes.count(QByteArrayLiteral("/Type /Page ")) +
                 bytes.count(QByteArrayLiteral("/Type /Page\r")),
             2);
    const QString dir = qEnvironmentVariable("NUMORA_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
      QDir().mkpath(dir);
      QFile::remove(dir + QStringLiteral("/chart_printed.pdf"));
      QFile::copy(pdf, dir + QStringLiteral("/chart_printed.pdf"));
    }

    // A cancelled choice prints nothing.
    panel->setPrinterChooser([](QPrinter&) { return false; });
    print->click();
    QCOMPARE(panel->printedCharts().size(), size_t{1});
  }

  void pupilsDoNotPrint() {
    DrillEnv& env = *env_;
    HubWindow* hub = Show(env);
    numora::Option2(hub, 2)->click();
    Control<QPushButton>(hub, "Command17")->click();
    auto* panel = Control<ChartPanel>(hub, "Picture11");
    int asked = 0;
    panel->setPrinterChooser([&](QPrinter&) {
      ++asked;
      return false;
    });
    panel->chartSelected(true);
    QCOMPARE(asked, 0);
  }

 private:
  std::unique_ptr<DrillEnv> env_;
};

QTEST_MAIN(ChartPanelTest)
#include "chart_panel_test.moc"
