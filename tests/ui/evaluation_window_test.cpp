// The evaluation window after a recorded run: its lines, the message and sound of the run, the
// clear line and goal panel, the buttons offered half a second later, and where they lead.

#include "ui/drill/evaluation_window.h"

#include <QDir>
#include <QFrame>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "drill_test_env.h"
#include "ui/drill/drill_window.h"
#include "window_controls.h"

using numora::EvaluationWindow;
using numora::testing::DrillEnv;

namespace {

// Appends runs of the pupil dated today and sets up the run that has just been recorded.
void Runs(DrillEnv& env, int level, const QList<int>& seconds) {
  for (int s : seconds) {
    QVERIFY(numora::AppendRunRecord(env.state.installation, env.services, DrillEnv::kPupil,
                                    static_cast<int16_t>(level), s));
  }
}

EvaluationWindow* Show(DrillEnv& env) {
  numora::ShowEvaluation(env.ctx);
  return qobject_cast<EvaluationWindow*>(env.ctx.evaluation.data());
}

// With NUMORA_SCREENSHOT_DIR set, saves the window there as a picture.
void Snap(QWidget* w, const QString& name) {
  const QString dir = qEnvironmentVariable("NUMORA_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  w->resize(1024, 768);
  QDir().mkpath(dir);
  w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

QStringList Played(const DrillEnv& env) {
  QStringList list;
  for (const auto& p : env.sound.played) list << QString::fromStdString(p);
  return list;
}

}  // namespace

class EvaluationWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { env_ = std::make_unique<DrillEnv>(); }
  void cleanup() { env_.reset(); }

  void messageSoundAndButtons_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QList<int>>("earlier");  // earlier runs today on the level
    QTest::addColumn<int>("t");
    QTest::addColumn<int>("flags");  // 1 timed out, 2 level best, 4 personal best, 8 cleared before
    QTest::addColumn<int>("overPracticeCount");
    QTest::addColumn<bool>("clearCount9999");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("message");  // empty: no message line
    QTest::addColumn<QStringList>("sounds");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<bool>("goalPanel");
    QTest::addColumn<QString>("label2After");  // empty: hidden after the delay
    QTest::addColumn<bool>("retry");

    const QString none;
    const QString clear = QStringLiteral("このレベルクリア");
    QTest::newRow("time-out") << 1 << QList<int>{} << 99999 << 1 << 0 << false
                              << "獲得ポイント：0点×1→0点"
                              << "記録なし"
                              << "時間切れ" << QStringList{} << false << false << none << true;
    QTest::newRow("level and personal best")
        << 1 << QList<int>{} << 20 << 6 << 0 << false << "獲得ポイント：11点×1→11点"
        << "今の成績：20秒"
        << "！！！最高新記録！！！" << QStringList{"/snd/最高1.wav"} << false << false << none
        << true;
    QTest::newRow("personal best")
        << 1 << QList<int>{} << 50 << 4 << 0 << false << "獲得ポイント：4点×1→4点"
        << "今の成績：50秒"
        << "新記録おめでとう" << QStringList{"/snd/self.wav"} << false << false << none << true;
    QTest::newRow("at the minimum time")
        << 1 << QList<int>{} << 60 << 0 << 0 << false << "獲得ポイント：4点×1→4点"
        << "今の成績：60秒" << none << QStringList{"/snd/fail.wav"} << false << false << none
        << true;
    QTest::newRow("over the minimum time")
        << 1 << QList<int>{} << 61 << 0 << 0 << false << "獲得ポイント：4点×1→4点"
        << "今の成績：61秒" << none << QStringList{} << false << false << none << true;
    QTest::newRow("goal cleared for the first time")
        << 4 << QList<int>{20, 20} << 20 << 0 << 0 << false << "獲得ポイント：11点×1→11点"
        << "今の成績：20秒" << none << QStringList{"/snd/fail.wav", "/snd/合格.wav"} << true << true
        << clear << true;
    QTest::newRow("goal cleared again")
        << 4 << QList<int>{20, 20} << 20 << 8 << 0 << false << "獲得ポイント：11点×1→11点"
        << "今の成績：20秒" << none << QStringList{"/snd/fail.wav"} << true << true << clear
        << true;
    QTest::newRow("goal panel suppressed by a 9999 clear count")
        << 4 << QList<int>{20, 20} << 20 << 0 << 0 << true << "獲得ポイント：11点×1→11点"
        << "今の成績：20秒" << none << QStringList{"/snd/fail.wav", "/snd/合格.wav"} << true
        << false << clear << true;
    QTest::newRow("cleared level 2 practised too much")
        << 2 << QList<int>{20, 20} << 20 << 8 << 3 << false << "獲得ポイント：11点×1→11点"
        << "今の成績：20秒" << none << QStringList{"/snd/fail.wav"} << true << false
        << "次のレベルへ進みましょう" << false;
    QTest::newRow("cleared goal practised too much")
        << 4 << QList<int>{20, 20} << 20 << 8 << 3 << false << "獲得ポイント：11点×1→11点"
        << "今の成績：20秒" << none << QStringList{"/snd/fail.wav"} << true << true << none << true;
  }

  void messageSoundAndButtons() {
    QFETCH(int, level);
    QFETCH(QList<int>, earlier);
    QFETCH(int, t);
    QFETCH(int, flags);
    QFETCH(int, overPracticeCount);
    QFETCH(bool, clearCount9999);
    QFETCH(QString, points);
    QFETCH(QString, time);
    QFETCH(QString, message);
    QFETCH(QStringList, sounds);
    QFETCH(bool, cleared);
    QFETCH(bool, goalPanel);
    QFETCH(QString, label2After);
    QFETCH(bool, retry);

    DrillEnv& env = *env_;
    env.state.session.currentLevel = static_cast<int16_t>(level);
    env.state.catalogue.standards[static_cast<std::size_t>(level)].overPracticeCount =
        overPracticeCount;
    if (clearCount9999) env.state.catalogue.standards[9].clearCount = 9999;
    Runs(env, level, earlier);
    Runs(env, level, {t});
    env.state.run.recordedTime = t;
    env.state.run.timedOut = (flags & 1) != 0;
    env.state.run.newLevelBest = (flags & 2) != 0;
    env.state.run.newPersonalBest = (flags & 4) != 0;
    env.state.run.clearedBefore = (flags & 8) != 0;

    EvaluationWindow* w = Show(env);
    QVERIFY(w != nullptr);
    QCOMPARE(w->windowTitle(), QStringLiteral("終了"));
    QCOMPARE(Label19(w)->text(), points);
    QCOMPARE(Label18(w)->text(), time);
    QCOMPARE(!Label20(w)->isHidden(), !message.isEmpty());
    if (!message.isEmpty()) QCOMPARE(Label20(w)->text(), message);
    QCOMPARE(Played(env), sounds);
    QCOMPARE(!Label2(w)->isHidden(), cleared);
    if (cleared) QCOMPARE(Label2(w)->text(), QStringLiteral("このレベルクリア"));
    QCOMPARE(!Picture1(w)->isHidden(), goalPanel);
    QCOMPARE(Label1(w)->text(), QStringLiteral("目標レベルクリア。おめでとう！"));
    QCOMPARE(env.state.run.newLevelBest, false);
    QCOMPARE(env.state.run.newPersonalBest, false);
    QVERIFY(Command4(w)->isHidden());
    QVERIFY(Command5(w)->isHidden());
    Snap(w, QStringLiteral("evaluation_%1").arg(QTest::currentDataTag()).replace(' ', '_'));
    QVERIFY(Timer1(w)->isActive());
    QCOMPARE(Timer1(w)->interval(), 500);

    w->offerButtons();
    QVERIFY(!Timer1(w)->isActive());
    QVERIFY(Picture1(w)->isHidden());
    QVERIFY(!Command4(w)->isHidden());
    QCOMPARE(Command4(w)->text(), QStringLiteral("メニューへ"));
    QCOMPARE(w->focusWidget(), static_cast<QWidget*>(Command4(w)));
    QCOMPARE(!Label2(w)->isHidden(), !label2After.isEmpty());
    if (!label2After.isEmpty()) QCOMPARE(Label2(w)->text(), label2After);
    QCOMPARE(!Command5(w)->isHidden(), retry);
    QCOMPARE(Command5(w)->text(), QStringLiteral("もう一度"));
    Snap(w, QStringLiteral("evaluation_%1_buttons").arg(QTest::currentDataTag()).replace(' ', '_'));
  }

  void linesAndTodaysCounts() {
    DrillEnv& env = *env_;
    env.state.catalogue.standards[1].pointMultiplier = 1.5f;
    Runs(env, 1, {47, 99999, 48});
    Runs(env, 2, {30});
    Runs(env, 1, {20});
    env.state.run.recordedTime = 20;
    env.state.stats.todayRuns(1, DrillEnv::kPupil) = 2;  // as last rebuilt, before this run
    EvaluationWindow* w = Show(env);
    QCOMPARE(Label15(w)->text(), QStringLiteral("ヌモラ"));
    QCOMPARE(Label16(w)->text(), QStringLiteral("ﾚﾍﾞﾙ1"));
    QCOMPARE(Label17(w)->text(), QStringLiteral("山田　花子"));
    QCOMPARE(Label19(w)->text(), QStringLiteral("獲得ポイント：11点×1.5→16点"));
    QCOMPARE(Label13(w)->text(), QStringLiteral(" (このレベル　3回目)"));
    QCOMPARE(Label14(w)->text(), QStringLiteral("（4回目)"));
    QCOMPARE(env.state.stats.todayTotalRuns, int16_t{4});
  }

  void menuButtonShowsTheHub() {
    DrillEnv& env = *env_;
    Runs(env, 1, {50});
    env.state.run.recordedTime = 50;
    QPointer<EvaluationWindow> w = Show(env);
    w->offerButtons();
    QTest::mouseClick(Command4(w), Qt::LeftButton);
    QVERIFY(!Command4(w)->isEnabled());
    QVERIFY(!env.ctx.hub.isNull());
    QVERIFY(!w->isVisible());
    DrillEnv::FlushDeletes();
    QVERIFY(w.isNull());
  }

  void againButtonStartsTheSameLevel() {
    DrillEnv& env = *env_;
    env.state.session.currentLevel = 2;
    Runs(env, 2, {50});
    env.state.run.recordedTime = 50;
    env.state.run.allAnswered = true;
    env.state.run.runEnding = true;
    env.state.run.correctCount = 10;
    QPointer<EvaluationWindow> w = Show(env);
    w->offerButtons();
    QTest::mouseClick(Command5(w), Qt::LeftButton);
    QVERIFY(!Command4(w)->isEnabled());
    QVERIFY(!w->isVisible());
    auto* drill = qobject_cast<numora::DrillWindow*>(env.ctx.drill.data());
    QVERIFY(drill != nullptr);
    QCOMPARE(sLabel8(drill)->text(), QStringLiteral("ﾚﾍﾞﾙ2"));
    QCOMPARE(env.state.run.allAnswered, false);
    QCOMPARE(env.state.run.runEnding, false);
    QCOMPARE(env.state.run.correctCount, 0);
    QVERIFY(drill->runClockActive());
    QVERIFY(env.ctx.basefrm.isNull());  // the new run's set-up unloads the wait window
  }

 private:
  std::unique_ptr<DrillEnv> env_;
};

QTEST_MAIN(EvaluationWindowTest)
#include "evaluation_window_test.moc"
