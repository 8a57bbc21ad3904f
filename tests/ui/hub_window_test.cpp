// The student hub: levels blocked by over-practice, the teachers' button, the score lists of both
// views as the core builds them, one rebuild of each figure per activation, the way back to the
// selection screen, and a whole loop hub → drill → evaluation → hub played by mouse.
// With NUMORA_SCREENSHOT_DIR set the hub is saved there as pictures; with NUMORA_DEMO_PROGRAM
// set as well (the program folder of a demo installation) the hub of a demo pupil is saved too.

#include "ui/hub/hub_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <cmath>
#include <memory>

#include "core/hub/list_records.h"
#include "core/installation/installation.h"
#include "core/installation/season.h"
#include "core/platform/dates.h"
#include "core/platform/system_clock.h"
#include "core/roster/roster.h"
#include "drill_test_env.h"
#include "support/hub_env.h"
#include "ui/common/form_widget.h"
#include "ui/drill/drill_window.h"
#include "ui/drill/evaluation_window.h"
#include "window_controls.h"

using numora::DrillWindow;
using numora::EvaluationWindow;
using numora::HubList;
using numora::HubWindow;
using numora::testing::AnswerRightByMouse;
using numora::testing::DrillEnv;
using numora::testing::Press;
using numora::testing::RosterFile;
using numora::testing::Shown;
using numora::testing::Snap;

namespace {

// A typed character goes to the widget with the focus, or to the form.
void Type(HubWindow* hub, char c) {
  QWidget* focus = QApplication::focusWidget();
  QTest::keyClick(focus != nullptr && focus->window() == hub ? focus : hub, c);
}

QStringList Core(const std::vector<numora::ScoreList>& lists, int level) {
  QStringList lines;
  for (const auto& line : lists[static_cast<size_t>(level)].lines) {
    lines << QString::fromStdString(line);
  }
  return lines;
}

QColor Background(const QWidget* w) {
  return w->palette().color(QPalette::Base);
}

}  // namespace

class HubWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env_ = std::make_unique<DrillEnv>();
    AddRoster(*env_, RosterFile::kNone);
  }
  void cleanup() {
    env_.reset();
    DrillEnv::FlushDeletes();
  }

  void blockedLevelsCannotStart() {
    DrillEnv& env = *env_;
    // Level 2 allows two runs a day; the last level is never blocked by the rule.
    for (int level : {2, 4}) {
      env.state.catalogue.standards[static_cast<size_t>(level)].overPracticeCount = 2;
      env.state.catalogue.standards[static_cast<size_t>(level)].overPracticePeriodDays = 1;
    }
    Runs(env, DrillEnv::kPupil, 2, 10, {50, 55});
    Runs(env, DrillEnv::kPupil, 4, 10, {50, 55, 58});
    env.clock.Set(2026, 12, 10, 10, 0, 0);

    // A digit typed while the refresh lets the screen repaint starts nothing.
    env.host.hook = [&] {
      auto* hub = qobject_cast<HubWindow*>(env.ctx.hub.data());
      if (hub == nullptr) return false;
      Type(hub, '1');
      return true;
    };
    HubWindow* hub = Show(env);
    QVERIFY(hub != nullptr);
    QVERIFY(env.ctx.drill.isNull());
    QCOMPARE(hub->hubReady(), 1);

    QVERIFY(!Command4(hub, 2)->isEnabled());
    QVERIFY(!Text1(hub, 2)->isHidden());
    QCOMPARE(Text1(hub, 2)->text(), QStringLiteral("やりすぎ禁止"));
    for (int level : {1, 3, 4}) {
      QVERIFY(Command4(hub, static_cast<size_t>(level))->isEnabled());
      QVERIFY(Text1(hub, static_cast<size_t>(level))->isHidden());
    }
    QCOMPARE(Command4(hub, 1)->text(), QStringLiteral("ｽﾀｰﾄ(&1)"));
    QCOMPARE(Label14(hub, 2)->text(), QStringLiteral("2回/8点"));
    QCOMPARE(Label15(hub, 3)->text(), QStringLiteral("------"));
    QCOMPARE(Label14(hub, 3)->text(), QStringLiteral("-----"));

    Press(Command4(hub, 2));
    Press(Label3(hub, 2));
    Type(hub, '2');
    QVERIFY(env.ctx.drill.isNull());
    QCOMPARE(env.ctx.hub.data(), hub);
    QCOMPARE(hub->hubReady(), 1);

    // An open level starts by its key; the drill unloads the hub.
    Type(hub, '3');
    QVERIFY(!env.ctx.drill.isNull());
    QCOMPARE(env.state.session.currentLevel, int16_t{3});
    QVERIFY(env.ctx.hub.isNull());
    QPointer<HubWindow> gone = hub;
    DrillEnv::FlushDeletes();
    QVERIFY(gone.isNull());
  }

  void levelNameStartsTheDrillAndUnloadsTheHub() {
    DrillEnv& env = *env_;
    QPointer<HubWindow> hub = Show(env);
    Press(Label3(hub, 4));
    QVERIFY(!env.ctx.drill.isNull());
    QCOMPARE(env.state.session.currentLevel, int16_t{4});
    QVERIFY(env.ctx.hub.isNull());
    DrillEnv::FlushDeletes();
    QVERIFY(hub.isNull());
  }

  void teachersSeeTheDataButton_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("teacher");
    QTest::newRow("pupil") << QStringLiteral("山田　花子") << false;
    QTest::newRow("先生") << QStringLiteral("山田先生") << true;
    QTest::newRow("★") << QStringLiteral("★小野　みどり") << true;
    QTest::newRow("先 alone") << QStringLiteral("先田　生子") << false;
  }
  void teachersSeeTheDataButton() {
    QFETCH(QString, name);
    QFETCH(bool, teacher);
    env_->state.session.pupilName = name.toStdString();
    HubWindow* hub = Show(*env_);
    QCOMPARE(!Command8(hub)->isHidden(), teacher);
    QCOMPARE(Command8(hub)->text(), QStringLiteral("データ処理"));
  }

  void viewsShowTheCoreLinesAndBuildEachListOnce() {
    DrillEnv& env = *env_;
    Runs(env, 1, 1, 10, {38, 45});
    Runs(env, 2, 1, 10, {61});
    Runs(env, DrillEnv::kPupil, 1, 10, {40, 99999});
    Runs(env, 4, 2, 9, {30});
    Runs(env, DrillEnv::kPupil, 2, 3, {70});
    env.clock.Set(2026, 12, 10, 12, 0, 0);
    HubWindow* hub = Show(env);
    QCOMPARE(hub->statisticsRebuilds(), 1);
    QCOMPARE(hub->listBuilds(), 4);
    QCOMPARE(hub->viewMode(), numora::kHubPointsView);
    QVERIFY(Option2(hub, 1)->isChecked());
    QVERIFY(Option1(hub, 1)->isChecked());
    QCOMPARE(Option1(hub, 1)->text(), QStringLiteral("累計順"));
    QCOMPARE(Label5(hub)->text(), QStringLiteral("獲得ポイント（今まで順位）"));
    QCOMPARE(Label9(hub, 1)->text(), QStringLiteral("今日"));
    QCOMPARE(Label10(hub, 1)->text(), QStringLiteral("今まで"));
    // The time-out is no run in the counts.
    QCOMPARE(Label18(hub)->text(), QStringLiteral("本日総回数＝1回"));
    QVERIFY(Picture2(hub)->isHidden());
    QVERIFY(Picture6(hub)->isHidden());

    numora::ListOptions options;
    options.currentPupil = DrillEnv::kPupil;
    options.filterText = "全学年";
    auto check = [&](HubList list, int period, const char* what) {
      const auto want =
          numora::BuildHubLists(env.state.installation, env.state.catalogue, env.state.roster,
                                env.state.stats, env.services, list, period, options);
      for (int level = 1; level <= 4; ++level) {
        QVERIFY2(Shown(List5(hub, static_cast<size_t>(level))) == Core(want, level), what);
        QVERIFY(!List5(hub, static_cast<size_t>(level))->isHidden());
        if (want[static_cast<size_t>(level)].colour.has_value()) {
          QCOMPARE(Background(List5(hub, static_cast<size_t>(level))),
                   numora::VbColour(*want[static_cast<size_t>(level)].colour));
        }
      }
      QVERIFY(Picture6(hub)->isHidden());
      QVERIFY(Command1(hub)->isEnabled());
      QVERIFY(Command4(hub, 1)->isEnabled());
    };
    check(HubList::kPointsTotal, 3, "points total");
    QVERIFY(!Shown(List5(hub, 1)).isEmpty());
    Snap(hub, QStringLiteral("hub_points"));

    // Each switch builds every level's list once and rebuilds no statistics.
    struct Step {
      QRadioButton* button;
      HubList list;
      int period;
      const char* what;
      QString title;
    };
    const Step steps[] = {
        {Option2(hub, 0), HubList::kBest, 3, "best", QStringLiteral("ベスト成績")},
        {Option1(hub, 2), HubList::kToday, 3, "today", QStringLiteral("本日の成績")},
        {Option1(hub, 3), HubList::kAll, 3, "all", QString()},
        {Option2(hub, 1), HubList::kPointsAll, 3, "points all", QString()},
        {Option1(hub, 2), HubList::kPointsToday, 3, "points today",
         QStringLiteral("獲得ポイント（今日の順位）")},
        {Option1(hub, 1), HubList::kPointsTotal, 3, "points total again",
         QStringLiteral("獲得ポイント（今まで順位）")},
        {Option2(hub, 0), HubList::kBest, 3, "best again", QStringLiteral("ベスト成績")},
    };
    int builds = hub->listBuilds();
    for (const Step& step : steps) {
      Press(step.button);
      QVERIFY2(step.button->isChecked(), step.what);
      builds += 4;
      QCOMPARE(hub->listBuilds(), builds);
      check(step.list, step.period, step.what);
      QCOMPARE(Label5(hub)->text(), step.title);
      if (step.list == HubList::kToday) Snap(hub, QStringLiteral("hub_time_today"));
    }
    QCOMPARE(Option1(hub, 1)->text(), QStringLiteral("BEST表示"));
    QCOMPARE(hub->statisticsRebuilds(), 1);

    // The period box of the all-runs list and the grade filter rebuild the lists once each.
    Press(Option1(hub, 3));
    QVERIFY(!Combo2(hub)->isHidden());
    builds = hub->listBuilds();
    Combo2(hub)->setCurrentIndex(4);
    emit Combo2(hub)->activated(4);
    QCOMPARE(hub->listBuilds(), builds + 4);
    check(HubList::kAll, 5, "all, every period");
    Combo1(hub)->setCurrentIndex(Combo1(hub)->findText(QStringLiteral("小１")));
    emit Combo1(hub)->activated(Combo1(hub)->currentIndex());
    QCOMPARE(hub->listBuilds(), builds + 8);
    options.filterText = "小１";
    check(HubList::kAll, 5, "all, first grade");
    QVERIFY(Shown(List5(hub, 1)).join(QString()).indexOf(QStringLiteral("伊藤")) < 0);

    // A fresh activation of the same hub: one more statistics rebuild and one points ranking.
    builds = hub->listBuilds();
    numora::ShowHub(env.ctx);
    QCOMPARE(hub->statisticsRebuilds(), 2);
    QCOMPARE(hub->listBuilds(), builds + 4);
    QCOMPARE(hub->viewMode(), numora::kHubPointsView);
  }

  void backButtonShowsTheSelectionScreenAndUnloadsTheHub_data() {
    QTest::addColumn<bool>("byKey");
    QTest::newRow("button") << false;
    QTest::newRow("key 0") << true;
  }
  void backButtonShowsTheSelectionScreenAndUnloadsTheHub() {
    QFETCH(bool, byKey);
    DrillEnv& env = *env_;
    QPointer<HubWindow> hub = Show(env);
    QCOMPARE(Command1(hub)->text(), QStringLiteral("戻る(0)"));
    if (byKey) {
      Type(hub, '0');
    } else {
      Press(Command1(hub));
    }
    QVERIFY(!env.ctx.namesel.isNull());
    QVERIFY(env.ctx.hub.isNull());
    DrillEnv::FlushDeletes();
    QVERIFY(hub.isNull());
    delete env.ctx.namesel.data();
  }

  void loopFromTheHubThroughADrillBackToAFreshHub() {
    DrillEnv& env = *env_;
    Runs(env, 1, 1, 10, {45});
    env.clock.Set(2026, 12, 10, 10, 15, 0);
    env.state.session.pupilStartTime = 10 * 3600;
    QPointer<HubWindow> hub = Show(env);
    QCOMPARE(Label14(hub, 1)->text(), QStringLiteral("-----"));
    QCOMPARE(Label17(hub)->text(), QStringLiteral("起動後15分"));

    Press(Command4(hub, 1));
    QPointer<DrillWindow> drill = qobject_cast<DrillWindow*>(env.ctx.drill.data());
    QVERIFY(drill != nullptr);
    QVERIFY(env.ctx.hub.isNull());
    DrillEnv::FlushDeletes();
    QVERIFY(hub.isNull());
    for (int problem = 1; problem <= 10; ++problem) {
      env.clock.Advance(3.0);
      drill->runClockTick();
      AnswerRightByMouse(drill);
    }
    QCOMPARE(env.state.run.recordedTime, 30);
    auto* eval = qobject_cast<EvaluationWindow*>(env.ctx.evaluation.data());
    QVERIFY(eval != nullptr);
    eval->offerButtons();
    Press(Command4(eval));

    HubWindow* fresh = qobject_cast<HubWindow*>(env.ctx.hub.data());
    QVERIFY(fresh != nullptr);
    DrillEnv::FlushDeletes();
    QVERIFY(env.ctx.evaluation.isNull());
    QCOMPARE(fresh->statisticsRebuilds(), 1);
    // 30 s against a target of 40: Int((10 / 40)³ × 50 + 5) = 5 points.
    QCOMPARE(Label14(fresh, 1)->text(), QStringLiteral("1回/5点"));
    QCOMPARE(Label15(fresh, 1)->text(), QStringLiteral("1回/5点"));
    QCOMPARE(Label18(fresh)->text(), QStringLiteral("本日総回数＝1回"));
    QCOMPARE(Shown(List5(fresh, 1)), QStringList({QStringLiteral(" 1●山田　花子  5/    5"),
                                                  QStringLiteral(" 2①青木　一郎  4/    4"),
                                                  QStringLiteral(" 3②伊藤　二葉  0/    0"),
                                                  QStringLiteral(" 3④江口　四郎  0/    0"),
                                                  QStringLiteral(" 3⑤大野　五月  0/    0")}));
    Press(Option2(fresh, 0));
    Press(Option1(fresh, 2));
    QCOMPARE(Shown(List5(fresh, 1)), QStringList({QStringLiteral("  30秒 10:15●山田　花子●5"),
                                                  QStringLiteral("  45秒 08:01①青木　一郎①4")}));
    QCOMPARE(fresh->hubReady(), 1);
    QVERIFY(Command4(fresh, 1)->isEnabled());
  }

  // Pictures of the hub of a demo pupil in both views (only when asked for).
  void demoPictures() {
    const QString folder = qEnvironmentVariable("NUMORA_DEMO_PROGRAM");
    if (folder.isEmpty() || qEnvironmentVariableIsEmpty("NUMORA_SCREENSHOT_DIR")) {
      QSKIP("NUMORA_DEMO_PROGRAM and NUMORA_SCREENSHOT_DIR not set");
    }
    numora::SystemClock clock;
    env_->clock.SetNow(clock.Now());
    auto& s = env_->state;
    std::string error;
    QVERIFY2(numora::SetUpPathsAndSettings(s, folder.toStdString(), error), error.c_str());
    numora::ReadRoster(s.installation, s.roster, env_->clock.Today());
    s.session.currentPupil = 3;
    s.session.pupilName = s.roster.names[3];
    s.session.pupilGrade =
        numora::GradeLabel(numora::GradeNumber(s.roster.schoolYear, s.roster.birthYears[3]));
    s.session.pupilStartTime = static_cast<int32_t>(env_->clock.Timer()) - 600;
    numora::SetUpCatalogue(s.catalogue);
    numora::SetSeasonColour(s.installation, env_->clock.Today());
    HubWindow* hub = Show(*env_);
    hub->resize(1024, 768);
    Snap(hub, QStringLiteral("demo_hub_points"));
    Press(Option2(hub, 0));
    Snap(hub, QStringLiteral("demo_hub_time_best"));
    Press(Option1(hub, 2));
    Snap(hub, QStringLiteral("demo_hub_time_today"));
    Press(Option1(hub, 3));
    Snap(hub, QStringLiteral("demo_hub_time_all"));
  }

 private:
  std::unique_ptr<DrillEnv> env_;
};

QTEST_MAIN(HubWindowTest)
#include "hub_window_test.moc"
