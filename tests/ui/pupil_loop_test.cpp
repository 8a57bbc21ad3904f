// A pupil's whole loop played by mouse: the selection screen, the hub, a drill run, the evaluation,
// the hub again with the new run, and back to a fresh selection screen that lists it too. Each
// window is created when shown and destroyed when left, so after several loops only the selection
// screen is left.

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"
#include "drill_test_env.h"
#include "ui/drill/drill_window.h"
#include "ui/drill/evaluation_window.h"
#include "ui/hub/hub_window.h"
#include "ui/roster/namesel_window.h"
#include "window_controls.h"

using numora::DrillWindow;
using numora::EvaluationWindow;
using numora::HubWindow;
using numora::NameSelWindow;
using numora::testing::AnswerRightByMouse;
using numora::testing::DrillEnv;
using numora::testing::Press;

namespace {

int RowOf(const QListWidget* list, const QString& part) {
  for (int k = 0; k < list->count(); ++k) {
    if (list->item(k)->text().contains(part)) return k;
  }
  return -1;
}

void ClickRow(QListWidget* list, int row) {
  list->scrollToItem(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(row)).center());
}

int OpenTopLevelWindows() {
  int n = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (qobject_cast<numora::FormWidget*>(w) != nullptr) ++n;
  }
  return n;
}

}  // namespace

class PupilLoopTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { DrillEnv::FlushDeletes(); }

  void selectionHubDrillEvaluationHubAndBack() {
    DrillEnv env;
    // Pupil 27 in the second line of the list: the pupil number, not the line, is confirmed.
    env.state.installation.dataRootFolder = env.state.installation.dataFolder;
    env.state.installation.schoolYearStartMonth = 4;
    env.state.roster.schoolYear = 0;
    env.state.session.currentPupil = 0;
    QVERIFY(numora::WriteWholeFile(env.state.installation.dataRootFolder + "新名簿.txt",
                                   numora::Utf8ToCp932("5,2017,0,0,青木　一郎,0,,\r\n"
                                                       "27,2016,0,0,山田　花子,0,,\r\n")));
    env.clock.Set(2026, 12, 10, 10, 0, 0);

    numora::ShowNameSelection(env.ctx);
    for (int loop = 1; loop <= 3; ++loop) {
      auto* namesel = qobject_cast<NameSelWindow*>(env.ctx.namesel.data());
      QVERIFY(namesel != nullptr);
      const int row = RowOf(List1(namesel), QStringLiteral("山田　花子"));
      QVERIFY(row > 0);
      // The points view shows today's points before "/": 5 points for each earlier loop's run
      // (30 s against a target of 40).
      if (loop > 1) {
        const QString line = List1(namesel)->item(row)->text();
        QVERIFY2(line.contains(QStringLiteral("%1/").arg(5 * (loop - 1))), qPrintable(line));
      }
      ClickRow(List1(namesel), row);
      Press(Command14(namesel));
      QCOMPARE(env.state.session.currentPupil, int16_t{27});

      QPointer<HubWindow> hub = qobject_cast<HubWindow*>(env.ctx.hub.data());
      QVERIFY(hub != nullptr);
      DrillEnv::FlushDeletes();
      QVERIFY(env.ctx.namesel.isNull());
      QCOMPARE(Label18(hub)->text(), QStringLiteral("本日総回数＝%1回").arg(loop - 1));

      Press(Command4(hub, 1));
      QPointer<DrillWindow> drill = qobject_cast<DrillWindow*>(env.ctx.drill.data());
      QVERIFY(drill != nullptr);
      for (int problem = 1; problem <= 10; ++problem) {
        env.clock.Advance(3.0);
        drill->runClockTick();
        AnswerRightByMouse(drill);
      }
      auto* eval = qobject_cast<EvaluationWindow*>(env.ctx.evaluation.data());
      QVERIFY(eval != nullptr);
      eval->offerButtons();
      Press(Command4(eval));  // メニューへ

      hub = qobject_cast<HubWindow*>(env.ctx.hub.data());
      QVERIFY(hub != nullptr);
      DrillEnv::FlushDeletes();
      QVERIFY(env.ctx.drill.isNull() && env.ctx.evaluation.isNull());
      QCOMPARE(Label18(hub)->text(), QStringLiteral("本日総回数＝%1回").arg(loop));
      QVERIFY(Label14(hub, 1)->text().startsWith(QStringLiteral("%1回/").arg(loop)));

      Press(Command1(hub));  // 戻る(0)
      DrillEnv::FlushDeletes();
      QVERIFY(env.ctx.hub.isNull());
      QVERIFY(!env.ctx.namesel.isNull());
      QCOMPARE(OpenTopLevelWindows(), 1);
    }
    QCOMPARE(env.Records().size(), size_t{3});
    for (const auto& r : env.Records()) QCOMPARE(r.pupilNumber, int16_t{27});
  }
};

QTEST_MAIN(PupilLoopTest)
#include "pupil_loop_test.moc"
