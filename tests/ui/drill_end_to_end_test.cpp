// A run played by mouse from the drill start to the evaluation screen, through the real results
// file of a temporary installation, then once more with "もう一度" and back with "メニューへ".
// With NUMORA_SCREENSHOT_DIR set, the windows are saved there as pictures along the way.

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <cmath>

#include "core/platform/dates.h"
#include "drill_test_env.h"
#include "ui/drill/drill_window.h"
#include "ui/drill/evaluation_window.h"
#include "window_controls.h"

using numora::DrillWindow;
using numora::EvaluationWindow;
using numora::testing::AnswerRightByMouse;
using numora::testing::DrillEnv;
using numora::testing::Press;

namespace {

void Snap(QWidget* w, const char* name) {
  const QString dir = qEnvironmentVariable("NUMORA_SCREENSHOT_DIR");
  if (dir.isEmpty() || w == nullptr) return;
  w->resize(1024, 768);
  QDir().mkpath(dir);
  w->grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

}  // namespace

class DrillEndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void runIsRecordedAndEvaluated() {
    DrillEnv env;
    env.state.catalogue.standards[2].targetTime = 120;
    env.state.catalogue.standards[2].minimumTime = 150;
    env.state.catalogue.standards[2].pointMultiplier = 1.5f;
    env.state.session.currentLevel = 2;
    env.clock.Set(2026, 12, 10, 10, 15, 0);
    env.state.session.pupilStartTime = 10 * 3600;

    numora::StartDrill(env.ctx);
    QPointer<DrillWindow> w = qobject_cast<DrillWindow*>(env.ctx.drill.data());
    QVERIFY(w != nullptr);
    Snap(w, "drill_start");

    // The first problem: one wrong tile, then right.
    env.clock.Advance(4.0);
    w->runClockTick();
    int wrong = 2;
    while (w->targetNumber() % wrong == 0) ++wrong;
    Press(Label1(w, 2));
    Press(Label1(w, static_cast<std::size_t>(wrong)));
    QCOMPARE(env.Played("/snd/ng.wav"), 1);
    QVERIFY(!Picture1(w)->isHidden());
    env.clock.Advance(1.0);
    w->runClockTick();
    QCOMPARE(sLabel10(w)->text(), QStringLiteral("15"));
    Snap(w, "drill_wrong_answer");

    // The cover is caught while the hand-off lets the screen repaint.
    env.host.hook = [&] {
      if (!env.state.run.runEnding) return false;
      Snap(w, "drill_cover");
      return true;
    };
    for (int problem = 1; problem <= 10; ++problem) {
      env.clock.Advance(6.0);
      w->runClockTick();
      AnswerRightByMouse(w);
    }
    const int32_t expected = 15 + 60;
    QCOMPARE(env.state.run.recordedTime, expected);
    QVERIFY(!w->isVisible());

    std::vector<numora::ResultRecord> records = env.Records();
    QCOMPARE(records.size(), std::size_t{1});
    const numora::ResultRecord& r = records[0];
    QCOMPARE(r.pupilNumber, int16_t{DrillEnv::kPupil});
    QCOMPARE(r.level, int16_t{2});
    QCOMPARE(r.seconds, expected);
    QCOMPARE(numora::TextFieldToUtf8(r.schoolCode), std::string("12345"));
    QCOMPARE(r.runDate, numora::MakeDate(2026, 12, 10));
    QCOMPARE(env.state.stats.bestTime(2, DrillEnv::kPupil), expected);
    QCOMPARE(env.state.stats.bestTimeAll[2], expected);

    auto* eval = qobject_cast<EvaluationWindow*>(env.ctx.evaluation.data());
    QVERIFY(eval != nullptr);
    DrillEnv::FlushDeletes();
    QVERIFY(w.isNull());
    // 75 s against 120: Int((45 / 120)³ × 50 + 5) = 7, × 1.5 → 10.
    QCOMPARE(Label19(eval)->text(), QStringLiteral("獲得ポイント：7点×1.5→10点"));
    QCOMPARE(Label18(eval)->text(), QStringLiteral("今の成績：75秒"));
    QCOMPARE(Label20(eval)->text(), QStringLiteral("！！！最高新記録！！！"));
    QCOMPARE(Label13(eval)->text(), QStringLiteral(" (このレベル　1回目)"));
    QCOMPARE(Label14(eval)->text(), QStringLiteral("（1回目)"));
    QCOMPARE(env.Played("/snd/最高1.wav"), 1);
    eval->offerButtons();
    Snap(eval, "evaluation");

    // Once more on the same level, then a time-out, then back to the menu.
    Press(Command5(eval));
    QPointer<DrillWindow> again = qobject_cast<DrillWindow*>(env.ctx.drill.data());
    QVERIFY(again != nullptr);
    QCOMPARE(sLabel11(again)->text(), QStringLiteral("2"));
    env.host.hook = [&] {
      if (!env.state.run.runEnding) return false;
      Snap(again, "drill_cover_timeout");
      return true;
    };
    for (int s = 1; s <= 750; ++s) {
      env.clock.Advance(1.0);
      again->runClockTick();
    }
    QCOMPARE(env.state.run.timedOut, true);
    records = env.Records();
    QCOMPARE(records.size(), std::size_t{2});
    QCOMPARE(records[1].seconds, 99999);
    auto* eval2 = qobject_cast<EvaluationWindow*>(env.ctx.evaluation.data());
    QVERIFY(eval2 != nullptr && eval2 != eval);
    QCOMPARE(Label18(eval2)->text(), QStringLiteral("記録なし"));
    Snap(eval2, "evaluation_timeout");
    eval2->offerButtons();
    Press(Command4(eval2));
    QVERIFY(!env.ctx.hub.isNull());
  }
};

QTEST_MAIN(DrillEndToEndTest)
#include "drill_end_to_end_test.moc"
