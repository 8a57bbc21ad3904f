// The drill window through whole runs: the status panel and board at the start, right and wrong
// answers with their penalty and hints, the run clock with its time bar and countdown squares,
// the time-out, and exactly one hand-off when the last answer and the time limit meet.

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <memory>

#include "drill_test_env.h"
#include "ui/drill/drill_window.h"
#include "ui/drill/evaluation_window.h"
#include "window_controls.h"

using numora::DrillWindow;
using numora::EvaluationWindow;
using numora::testing::DrillEnv;

namespace {

const std::string kOk = "/snd/ok.wav";
const std::string kNg = "/snd/ng.wav";

DrillWindow* Start(DrillEnv& env) {
  numora::StartDrill(env.ctx);
  return qobject_cast<DrillWindow*>(env.ctx.drill.data());
}

void Tick(DrillEnv& env, DrillWindow* w, double seconds) {
  env.clock.Advance(seconds);
  w->runClockTick();
}

// Presses every divisor of the current target, then "判定".
void AnswerRight(DrillWindow* w) {
  const int target = w->targetNumber();
  for (int n = 1; n <= 100; ++n) {
    if (target % n == 0) Label1(w, static_cast<std::size_t>(n))->click();
  }
  Command1(w)->click();
}

bool AllTilesOpen(DrillWindow* w) {
  for (int n = 1; n <= 100; ++n) {
    auto* t = Label1(w, static_cast<std::size_t>(n));
    if (!t->isEnabled() || t->palette().color(QPalette::Button) != numora::VbColour(0x00FF00)) {
      return false;
    }
  }
  return true;
}

// Tiles drawn as pressed on the current problem.
int PressedTiles(DrillWindow* w) {
  int pressed = 0;
  for (int n = 1; n <= 100; ++n) {
    if (!Label1(w, static_cast<std::size_t>(n))->isEnabled()) ++pressed;
  }
  return pressed;
}

std::vector<int> VisibleSlots(DrillWindow* w) {
  std::vector<int> v;
  for (int k = 1; k <= numora::HintSlots::kMaxSlots; ++k) {
    if (!Label5(w, static_cast<std::size_t>(k))->isHidden()) v.push_back(k);
  }
  return v;
}

int Width(DrillWindow* w, QWidget* shape) {
  return w->twipRect(shape).width();
}

}  // namespace

class DrillRunTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { env_ = std::make_unique<DrillEnv>(); }
  void cleanup() { env_.reset(); }

  void startShowsStatusPanelAndACleanBoard() {
    DrillEnv& env = *env_;
    env.state.stats.todayRuns(1, DrillEnv::kPupil) = 2;
    env.state.stats.todayRuns(3, DrillEnv::kPupil) = 1;
    DrillWindow* w = Start(env);
    QVERIFY(w != nullptr);
    QCOMPARE(w->objectName(), QStringLiteral("MainFrm"));
    QCOMPARE(env.random.seeds.size(), std::size_t{1});
    QVERIFY(std::abs(env.random.seeds[0] - 32400.0) < 0.01);

    QCOMPARE(sLabel2(w)->text(), QStringLiteral("ヌモラ"));
    QCOMPARE(sLabel7(w)->text(), QStringLiteral("山田　花子"));
    QCOMPARE(sLabel14(w)->text(), QStringLiteral("ヌモラ市立第一小学校"));
    QCOMPARE(sLabel8(w)->text(), QStringLiteral("ﾚﾍﾞﾙ1"));
    QCOMPARE(sLabel9(w)->text(), QStringLiteral("10"));
    QCOMPARE(sLabel10(w)->text(), QStringLiteral("0"));
    QCOMPARE(sLabel13(w)->text(), QStringLiteral("5"));
    QCOMPARE(sLabel12(w)->text(), QStringLiteral("4"));  // three runs today, this is the fourth
    QCOMPARE(sLabel11(w)->text(), QStringLiteral("3"));
    QCOMPARE(env.state.stats.todayTotalRuns, int16_t{3});
    QCOMPARE(sLabel16(w, 4)->text(), QStringLiteral("このレベル"));
    QCOMPARE(sLabel17(w, 0)->text(), QStringLiteral("YourBest"));
    QCOMPARE(sLabel17(w, 1)->text(), QStringLiteral("Best"));
    QCOMPARE(sLabel17(w, 2)->text(), QStringLiteral("Pass"));
    QCOMPARE(Label3(w)->text(), QStringLiteral("の約数を押しなさい"));
    QCOMPARE(Label4(w)->text(), QStringLiteral("ヒント"));
    QCOMPARE(Command1(w)->text(), QStringLiteral("判定"));
    QVERIFY(sPicture2(w)->isHidden());
    QVERIFY(Picture1(w)->isHidden());

    // Time limit 300 s: the bar shows the minimum time (60) and the target time (40) to scale.
    QCOMPARE(env.state.run.timeLimit, 300);
    QCOMPARE(env.state.run.problemsPerRun, 10);
    QCOMPARE(Width(w, sShape4(w)), Width(w, sShape5(w)) / 5);
    QCOMPARE(Width(w, sShape3(w)),
             static_cast<int>(std::lround(Width(w, sShape5(w)) * 40.0 / 300)));
    QCOMPARE(Width(w, sShape2(w)), 0);
    QVERIFY(w->runClockActive());
    QCOMPARE(sTimer1(w)->interval(), 1000);
    QVERIFY(sTimer2(w)->isActive());
    QCOMPARE(sTimer2(w)->interval(), 10000);
    for (int i = 10; i <= 39; ++i) QVERIFY(!sPicture3(w, static_cast<std::size_t>(i))->isHidden());

    // The board: tiles 1..100 row by row in a gapless 10 × 10 grid right of the template.
    QVERIFY(Label1(w, 0)->isHidden());
    QCOMPARE(w->findChildren<numora::BoardTile*>().size(), qsizetype{101});
    for (int n = 1; n <= 100; ++n) {
      auto* tile = Label1(w, static_cast<std::size_t>(n));
      const int c = (n - 1) % 10 + 1;
      const int r = (n - 1) / 10 + 1;
      QCOMPARE(tile->text(), QString::number(n));
      QCOMPARE(tile->accessibleName(), QString::number(n));
      QCOMPARE(tile->objectName(), QStringLiteral("Label1(%1)").arg(n));
      QCOMPARE(w->twipRect(tile), QRect(1485 + c * 1005, 1575 + (r - 1) * 825, 1005, 825));
      QCOMPARE(tile->parentWidget(), Picture2(w));
    }
    QVERIFY(AllTilesOpen(w));
    const std::vector<int> level1 = numora::TargetList(1);
    QVERIFY(std::find(level1.begin(), level1.end(), w->targetNumber()) != level1.end());
    QCOMPARE(Label2(w)->text(), QString::number(w->targetNumber()));
    QCOMPARE(w->divisorCount(), numora::DivisorCount(w->targetNumber()));

    // The minutes since the start follow the ten-second refresh.
    env.clock.Advance(60);
    w->statusRefreshTick();
    QCOMPARE(sLabel13(w)->text(), QStringLiteral("6"));
  }

  void wholeRunOfTenRightAnswers() {
    DrillEnv& env = *env_;
    QPointer<DrillWindow> w = Start(env);
    int previous = 0;
    for (int problem = 1; problem <= 10; ++problem) {
      Tick(env, w, 9.0);
      QVERIFY(w->targetNumber() != previous);
      previous = w->targetNumber();
      QCOMPARE(sLabel9(w)->text(), QString::number(11 - problem));
      AnswerRight(w);
      QCOMPARE(env.Played(kOk), 2 * problem);  // the correct cue sounds twice per answer
    }
    QCOMPARE(env.Played(kNg), 0);
    QCOMPARE(env.state.run.correctCount, 10);
    QCOMPARE(env.state.run.allAnswered, true);
    QCOMPARE(env.state.run.runEnding, true);
    QCOMPARE(env.state.run.timedOut, false);
    QCOMPARE(env.state.run.recordedTime, 90);
    QCOMPARE(sLabel9(w)->text(), QStringLiteral("0"));
    QVERIFY(!w->runClockActive());
    // The cover says the run is being recorded; the drill window is closed.
    QVERIFY(!sPicture2(w)->isHidden());
    QVERIFY(!lblsss1(w)->isHidden());
    QVERIFY(lblsss2(w)->isHidden());
    QCOMPARE(lblsss1(w)->text(), QStringLiteral("成績記録中"));
    QVERIFY(!w->isVisible());

    const std::vector<numora::ResultRecord> records = env.Records();
    QCOMPARE(records.size(), std::size_t{1});
    QCOMPARE(records[0].seconds, 90);
    QCOMPARE(records[0].level, int16_t{1});
    QCOMPARE(records[0].pupilNumber, int16_t{DrillEnv::kPupil});
    // One second of tick count passed before the evaluation window opened.
    auto* eval = qobject_cast<EvaluationWindow*>(env.ctx.evaluation.data());
    QVERIFY(eval != nullptr);
    QCOMPARE(Label18(eval)->text(), QStringLiteral("今の成績：90秒"));
    DrillEnv::FlushDeletes();
    QVERIFY(w.isNull());
  }

  void wrongTileAndEarlyJudgeCostTenSecondsEach() {
    DrillEnv& env = *env_;
    env.random.script = {5.5 / 11};  // level 1, entry 5: target 12
    DrillWindow* w = Start(env);
    QCOMPARE(w->targetNumber(), 12);
    Tick(env, w, 3.0);
    QCOMPARE(sLabel10(w)->text(), QStringLiteral("3"));
    const float start = env.state.run.runStart;

    // Tile 5 does not divide 12: a wrong answer at once.
    Label1(w, 2)->click();
    QVERIFY(!Label1(w, 2)->isEnabled());
    QCOMPARE(Label1(w, 2)->palette().color(QPalette::Button), numora::VbColour(0xFFFFFF));
    Label1(w, 5)->click();
    QCOMPARE(env.state.run.judgeResult, numora::JudgeResult::kWrong);
    QCOMPARE(env.state.run.runStart, start - 10.0f);
    QCOMPARE(env.Played(kNg), 1);
    QVERIFY(AllTilesOpen(w));
    QCOMPARE(PressedTiles(w), 0);
    QVERIFY(!Picture1(w)->isHidden());
    QCOMPARE(VisibleSlots(w), (std::vector<int>{1, 10}));
    QCOMPARE(Label5(w, 1)->text(), QStringLiteral("1"));
    QCOMPARE(Label5(w, 10)->text(), QStringLiteral("12"));
    QCOMPARE(sLabel9(w)->text(), QStringLiteral("10"));
    QCOMPARE(w->targetNumber(), 12);

    // The penalty shows at the next tick: 4 s of clock plus 10.
    Tick(env, w, 1.0);
    QCOMPARE(sLabel10(w)->text(), QStringLiteral("14"));
    QCOMPARE(Width(w, sShape2(w)), static_cast<int>(std::lround(14 * env.state.run.timeBarScale)));

    // The next tile press hides the hints; "判定" before every divisor is pressed is wrong too.
    for (int n : {1, 2, 3, 4, 6}) Label1(w, static_cast<std::size_t>(n))->click();
    QVERIFY(Picture1(w)->isHidden());
    QCOMPARE(PressedTiles(w), 5);
    Command1(w)->click();
    QCOMPARE(env.Played(kNg), 2);
    QCOMPARE(env.Played(kOk), 0);
    QVERIFY(AllTilesOpen(w));
    QCOMPARE(VisibleSlots(w), (std::vector<int>{1, 2, 9, 10}));
    Tick(env, w, 1.0);
    QCOMPARE(sLabel10(w)->text(), QStringLiteral("25"));

    // Right at last: a new problem, and the hints of the old one are gone.
    AnswerRight(w);
    QCOMPARE(env.state.run.correctCount, 1);
    QCOMPARE(sLabel9(w)->text(), QStringLiteral("9"));
    QVERIFY(w->targetNumber() != 12);
    QVERIFY(Picture1(w)->isHidden());
    QVERIFY(VisibleSlots(w).empty());
    QCOMPARE(w->hintPairsShown(), 0);
  }

  void sixWrongAnswersOnOneProblem() {
    DrillEnv& env = *env_;
    env.state.session.currentLevel = 3;
    env.random.script = {0.5 / 26};  // level 3, entry 0: target 12
    DrillWindow* w = Start(env);
    QCOMPARE(w->targetNumber(), 12);
    const float start = env.state.run.runStart;
    for (int i = 1; i <= 6; ++i) Command1(w)->click();
    QCOMPARE(env.state.run.runStart, start - 60.0f);
    QCOMPARE(env.Played(kNg), 6);
    QCOMPARE(w->hintPairsShown(), 6);
    // Five pairs of slots at most; the empty ones show nothing.
    QCOMPARE(VisibleSlots(w), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    QCOMPARE(Label5(w, 4)->text(), QString());
    Tick(env, w, 1.0);
    QCOMPARE(sLabel10(w)->text(), QStringLiteral("61"));
  }

  void sixPairTargetRevealsEveryPair() {
    DrillEnv& env = *env_;
    env.state.session.currentLevel = 3;
    env.random.script = {25.5 / 26};  // level 3, last entry: target 60
    DrillWindow* w = Start(env);
    QCOMPARE(w->targetNumber(), 60);
    QCOMPARE(w->twipRect(Picture1(w)).width(), 1350 + 11 * 1050 + 600 + 150);
    const QRect panel = w->twipRect(Picture1(w));
    QVERIFY(panel.right() < 15360);
    QVERIFY(panel.bottom() < 1575);  // above the board
    const int expected[13] = {0, 1, 2, 3, 4, 5, 6, 10, 12, 15, 20, 30, 60};
    for (int i = 1; i <= 6; ++i) {
      Command1(w)->click();
      QVERIFY(!Label5(w, static_cast<std::size_t>(i))->isHidden());
      QVERIFY(!Label5(w, static_cast<std::size_t>(13 - i))->isHidden());
      QCOMPARE(VisibleSlots(w).size(), static_cast<std::size_t>(2 * i));
    }
    for (int k = 1; k <= 12; ++k) {
      QCOMPARE(Label5(w, static_cast<std::size_t>(k))->text(), QString::number(expected[k]));
      QVERIFY(w->twipRect(Label5(w, static_cast<std::size_t>(k))).right() < panel.width());
    }
    Command1(w)->click();  // a seventh wrong answer reveals nothing more
    QCOMPARE(VisibleSlots(w).size(), std::size_t{12});

    // The next problem has ten slots again and a panel of ordinary width.
    AnswerRight(w);
    QCOMPARE(w->hints().slotCount, 10);
    QCOMPARE(w->twipRect(Picture1(w)).width(), 1350 + 9 * 1050 + 600 + 150);
  }

  void timeOutAtFiveTimesTheMinimumTime() {
    DrillEnv& env = *env_;
    QPointer<DrillWindow> w = Start(env);
    const int target = w->targetNumber();
    for (int s = 1; s < 300; ++s) Tick(env, w, 1.0);
    QCOMPARE(env.state.run.timedOut, false);
    QVERIFY(sPicture2(w)->isHidden());
    QVERIFY(Width(w, sShape2(w)) < Width(w, sShape5(w)));
    Tick(env, w, 1.0);
    QCOMPARE(env.state.run.elapsedSeconds, 300);
    QCOMPARE(env.state.run.timedOut, true);
    QCOMPARE(env.state.run.recordedTime, 99999);
    QVERIFY(!w->runClockActive());
    QCOMPARE(Width(w, sShape2(w)), Width(w, sShape5(w)));
    QVERIFY(!sPicture2(w)->isHidden());
    QVERIFY(lblsss1(w)->isHidden());
    QVERIFY(!lblsss2(w)->isHidden());
    QCOMPARE(lblsss2(w)->text(), QStringLiteral("時間切れ"));
    QCOMPARE(lblsss2(w)->palette().color(QPalette::WindowText), numora::VbColour(0x0000FF));
    const std::vector<numora::ResultRecord> records = env.Records();
    QCOMPARE(records.size(), std::size_t{1});
    QCOMPARE(records[0].seconds, 99999);

    // Presses after the time-out change nothing, and the clock does not end the run twice.
    Label1(w, 1)->click();
    Command1(w)->click();
    w->showNextProblem();
    Tick(env, w, 1.0);
    QCOMPARE(w->targetNumber(), target);
    QCOMPARE(PressedTiles(w), 0);
    QCOMPARE(env.Played(kOk) + env.Played(kNg), 0);
    QCOMPARE(env.Records().size(), std::size_t{1});
    auto* eval = qobject_cast<EvaluationWindow*>(env.ctx.evaluation.data());
    QVERIFY(eval != nullptr);
    QCOMPARE(Label20(eval)->text(), QStringLiteral("時間切れ"));
  }

  // The time limit is reached first; the final "判定" arrives while the hand-off lets messages be
  // processed. It is ignored: one time-out record.
  void timeLimitFirstThenLastAnswerInTheSameSecond() {
    DrillEnv& env = *env_;
    QPointer<DrillWindow> w = Start(env);
    for (int i = 1; i <= 9; ++i) AnswerRight(w);
    for (int s = 1; s < 300; ++s) Tick(env, w, 1.0);
    const int target = w->targetNumber();
    for (int n = 1; n <= 100; ++n) {
      if (target % n == 0) Label1(w, static_cast<std::size_t>(n))->click();
    }
    int ticksInside = 0;
    env.host.hook = [&] {
      if (!env.state.run.runEnding) return false;
      w->judgeAnswer();
      w->runClockTick();  // a queued tick as well
      ++ticksInside;
      return true;
    };
    Tick(env, w, 1.0);
    QCOMPARE(ticksInside, 1);
    QCOMPARE(env.state.run.correctCount, 9);
    QCOMPARE(env.state.run.timedOut, true);
    QCOMPARE(env.state.run.allAnswered, false);
    QCOMPARE(env.Played(kOk), 18);
    const std::vector<numora::ResultRecord> records = env.Records();
    QCOMPARE(records.size(), std::size_t{1});
    QCOMPARE(records[0].seconds, 99999);
  }

  // The final "判定" is handled inside the tick that reaches the limit (while the tick lets
  // messages be processed): the answer ends the run and the tick does not end it again.
  void lastAnswerInsideTheLimitTick() {
    DrillEnv& env = *env_;
    QPointer<DrillWindow> w = Start(env);
    for (int i = 1; i <= 9; ++i) AnswerRight(w);
    for (int s = 1; s < 300; ++s) Tick(env, w, 1.0);
    const int target = w->targetNumber();
    for (int n = 1; n <= 100; ++n) {
      if (target % n == 0) Label1(w, static_cast<std::size_t>(n))->click();
    }
    env.host.hook = [&] {
      w->judgeAnswer();
      return true;
    };
    Tick(env, w, 1.0);
    QCOMPARE(env.state.run.correctCount, 10);
    QCOMPARE(env.state.run.allAnswered, true);
    QCOMPARE(env.state.run.timedOut, false);
    QCOMPARE(env.state.run.recordedTime, 300);
    QVERIFY(!lblsss1(w)->isHidden());
    QVERIFY(lblsss2(w)->isHidden());
    const std::vector<numora::ResultRecord> records = env.Records();
    QCOMPARE(records.size(), std::size_t{1});
    QCOMPARE(records[0].seconds, 300);
  }

  // With pending events really processed inside an event loop (deferred deletions included, as
  // in the program), a run that ends inside a tick, or inside a click delivered while the tick
  // lets messages be processed, leaves the window alive until the handlers have returned.
  void windowOutlivesTheHandlersThatEndTheRun() {
    DrillEnv& env = *env_;
    env.host.realEvents = true;
    QPointer<DrillWindow> w = Start(env);
    QPointer<EvaluationWindow> eval;
    QPointer<DrillWindow> again;
    bool aliveAfterTimeOut = false;
    bool evaluationAliveAfterClick = false;
    bool aliveAfterLastTick = false;
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
      for (int s = 1; s <= 300; ++s) Tick(env, w, 1.0);
      aliveAfterTimeOut = !w.isNull();
      eval = qobject_cast<EvaluationWindow*>(env.ctx.evaluation.data());
      eval->offerButtons();
      Command5(eval)->click();  // "もう一度"
      evaluationAliveAfterClick = !eval.isNull();
      again = qobject_cast<DrillWindow*>(env.ctx.drill.data());
      for (int i = 1; i <= 9; ++i) AnswerRight(again);
      for (int s = 1; s < 300; ++s) Tick(env, again, 1.0);
      const int target = again->targetNumber();
      for (int n = 1; n <= 100; ++n) {
        if (target % n == 0) Label1(again, static_cast<std::size_t>(n))->click();
      }
      // The last "判定" arrives as an event while the limit tick processes messages.
      QMetaObject::invokeMethod(Command1(again), &QPushButton::click, Qt::QueuedConnection);
      Tick(env, again, 1.0);
      aliveAfterLastTick = !again.isNull();
      loop.quit();
    });
    loop.exec();
    QVERIFY(aliveAfterTimeOut);
    QVERIFY(evaluationAliveAfterClick);
    QVERIFY(aliveAfterLastTick);
    QCOMPARE(env.state.run.allAnswered, true);
    QCOMPARE(env.state.run.timedOut, false);
    DrillEnv::FlushDeletes();
    QVERIFY(w.isNull());
    QVERIFY(eval.isNull());
    QVERIFY(again.isNull());
    const std::vector<numora::ResultRecord> records = env.Records();
    QCOMPARE(records.size(), std::size_t{2});
    QCOMPARE(records[0].seconds, 99999);
    QCOMPARE(records[1].seconds, 300);
  }

  void countdownSquaresAtTheirThresholds() {
    DrillEnv& env = *env_;
    env.state.stats.bestTimeAll[1] = 50;
    env.state.stats.bestTime(1, DrillEnv::kPupil) = 70;
    DrillWindow* w = Start(env);
    auto hidden = [&] {
      std::vector<int> v;
      for (int i = 10; i <= 39; ++i) {
        if (sPicture3(w, static_cast<std::size_t>(i))->isHidden()) v.push_back(i);
      }
      return v;
    };
    for (int s = 1; s <= 30; ++s) Tick(env, w, 1.0);
    QVERIFY(hidden().empty());
    Tick(env, w, 1.0);  // 31: the target time 40 is nine seconds ahead
    QCOMPARE(hidden(), std::vector<int>{30});
    for (int s = 32; s <= 40; ++s) Tick(env, w, 1.0);
    QCOMPARE(hidden().size(), std::size_t{10});
    Tick(env, w, 1.0);  // 41: the school's best, 50
    QCOMPARE(hidden().size(), std::size_t{11});
    QVERIFY(sPicture3(w, 10)->isHidden());
    for (int s = 42; s <= 61; ++s) Tick(env, w, 1.0);  // 61: the pupil's best, 70
    QCOMPARE(hidden().size(), std::size_t{21});
    QVERIFY(sPicture3(w, 20)->isHidden());
    QVERIFY(!sPicture3(w, 21)->isHidden());
    for (int s = 62; s <= 100; ++s) Tick(env, w, 1.0);
    QCOMPARE(hidden().size(), std::size_t{30});
  }

  void noBestTimesLeaveGreenAndOliveSquaresVisible() {
    DrillEnv& env = *env_;
    DrillWindow* w = Start(env);
    QCOMPARE(env.state.stats.bestTimeAll[1], 99999);
    for (int s = 1; s <= 120; ++s) Tick(env, w, 1.0);
    for (int i = 10; i <= 29; ++i) QVERIFY(!sPicture3(w, static_cast<std::size_t>(i))->isHidden());
    for (int i = 30; i <= 39; ++i) QVERIFY(sPicture3(w, static_cast<std::size_t>(i))->isHidden());
  }

  void levelWithoutTargetsReturnsToTheMenu() {
    DrillEnv& env = *env_;
    env.state.session.currentLevel = 5;
    env.state.catalogue.levelNames[5] = "ﾚﾍﾞﾙ5";
    env.state.catalogue.levelIsTimed[5] = true;
    numora::StartDrill(env.ctx);
    QVERIFY(env.ctx.drill.isNull());
    QCOMPARE(env.host.messages.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(env.host.messages[0]),
             QStringLiteral("注意|「ﾚﾍﾞﾙ5」には問題が用意されていません。\nメニューに戻ります。"));
    QVERIFY(!env.ctx.hub.isNull());
  }

  void levelWithoutMinimumTimeRunsWithoutALimit() {
    DrillEnv& env = *env_;
    env.state.catalogue.standards[1].minimumTime = 0;
    DrillWindow* w = Start(env);
    QCOMPARE(env.state.run.timeLimit, 0);
    QCOMPARE(Width(w, sShape4(w)), 0);
    QCOMPARE(Width(w, sShape3(w)), 0);
    Tick(env, w, 2000.0);
    QCOMPARE(sLabel10(w)->text(), QStringLiteral("2000"));
    QCOMPARE(Width(w, sShape2(w)), 0);
    QCOMPARE(env.state.run.timedOut, false);
    QVERIFY(sPicture2(w)->isHidden());
    for (int i = 1; i <= 10; ++i) AnswerRight(w);
    QCOMPARE(env.state.run.recordedTime, 2000);
    QCOMPARE(env.Records().size(), std::size_t{1});
  }

  void drillAreaClickFocusesTheJudgeButton() {
    DrillEnv& env = *env_;
    DrillWindow* w = Start(env);
    QVERIFY(w->focusWidget() != Command1(w));
    QTest::mouseClick(Picture2(w), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(w->focusWidget(), static_cast<QWidget*>(Command1(w)));
  }

 private:
  std::unique_ptr<DrillEnv> env_;
};

QTEST_MAIN(DrillRunTest)
#include "drill_run_test.moc"
