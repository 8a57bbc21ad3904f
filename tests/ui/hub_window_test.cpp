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
#include "ui/common/form_widget.h"
#include "ui/drill/drill_window.h"
#include "ui/drill/evaluation_window.h"

using numora::DrillWindow;
using numora::EvaluationWindow;
using numora::HubList;
using numora::HubWindow;
using numora::testing::AnswerRightByMouse;
using numora::testing::DrillEnv;
using numora::testing::Press;

namespace {

constexpr int kSchoolYear = 2026;

// Listed pupils 1..5 (the pupil at the hub is DrillEnv::kPupil = 3), grades 1..5.
void AddRoster(DrillEnv& env) {
  const char* const names[] = {"青木　一郎", "伊藤　二葉", "山田　花子", "江口　四郎",
                               "大野　五月"};
  env.state.schoolYear = kSchoolYear;
  env.state.rosterCount = 5;
  for (int p = 1; p <= 5; ++p) {
    env.state.rosterNames[static_cast<size_t>(p)] = numora::RosterText(names[p - 1]);
    env.state.rosterBirthYears[static_cast<size_t>(p)] = static_cast<int16_t>(kSchoolYear - 6 - p);
    env.state.rosterOrder[static_cast<size_t>(p)] = static_cast<int16_t>(p);
  }
}

// Runs stored at the given moments of 2026-12-..
void Runs(DrillEnv& env, int pupil, int level, int day, const QList<int>& seconds) {
  env.clock.Set(2026, 12, day, 8, 0, 0);
  for (int s : seconds) {
    env.clock.Advance(60.0);
    QVERIFY(numora::AppendRunRecord(env.state, env.services, static_cast<int16_t>(pupil),
                                    static_cast<int16_t>(level), s));
  }
}

HubWindow* Show(DrillEnv& env) {
  numora::ShowHub(env.ctx);
  return qobject_cast<HubWindow*>(env.ctx.hub.data());
}

// A typed character goes to the widget with the focus, or to the form.
void Type(HubWindow* hub, char c) {
  QWidget* focus = QApplication::focusWidget();
  QTest::keyClick(focus != nullptr && focus->window() == hub ? focus : hub, c);
}

QStringList Shown(const QListWidget* list) {
  QStringList lines;
  for (int k = 0; k < list->count(); ++k) lines << list->item(k)->text();
  return lines;
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

void Snap(QWidget* w, const QString& name) {
  const QString dir = qEnvironmentVariable("NUMORA_SCREENSHOT_DIR");
  if (dir.isEmpty() || w == nullptr) return;
  QDir().mkpath(dir);
  w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace

class HubWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env_ = std::make_unique<DrillEnv>();
    AddRoster(*env_);
  }
  void cleanup() {
    env_.reset();
    DrillEnv::FlushDeletes();
  }

  void blockedLevelsCannotStart() {
    DrillEnv& env = *env_;
    // Level 2 allows two runs a day; the last level is never blocked by the rule.
    for (int level : {2, 4}) {
      env.state.levelStandards[static_cast<size_t>(level)].overPracticeCount = 2;
      env.state.levelStandards[static_cast<size_t>(level)].overPracticePeriodDays = 1;
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

    QVERIFY(!hub->Command4[2]->isEnabled());
    QVERIFY(!hub->Text1[2]->isHidden());
    QCOMPARE(hub->Text1[2]->text(), QStringLiteral("やりすぎ禁止"));
    for (int level : {1, 3, 4}) {
      QVERIFY(hub->Command4[static_cast<size_t>(level)]->isEnabled());
      QVERIFY(hub->Text1[static_cast<size_t>(level)]->isHidden());
    }
    QCOMPARE(hub->Command4[1]->text(), QStringLiteral("ｽﾀｰﾄ(&1)"));
    QCOMPARE(hub->Label14[2]->text(), QStringLiteral("2回/8点"));
    QCOMPARE(hub->Label15[3]->text(), QStringLiteral("------"));
    QCOMPARE(hub->Label14[3]->text(), QStringLiteral("-----"));

    Press(hub->Command4[2]);
    Press(hub->Label3[2]);
    Type(hub, '2');
    QVERIFY(env.ctx.drill.isNull());
    QCOMPARE(env.ctx.hub.data(), hub);
    QCOMPARE(hub->hubReady(), 1);

    // An open level starts by its key; the drill unloads the hub.
    Type(hub, '3');
    QVERIFY(!env.ctx.drill.isNull());
    QCOMPARE(env.state.currentLevel, int16_t{3});
    QVERIFY(env.ctx.hub.isNull());
    QPointer<HubWindow> gone = hub;
    DrillEnv::FlushDeletes();
    QVERIFY(gone.isNull());
  }

  void levelNameStartsTheDrillAndUnloadsTheHub() {
    DrillEnv& env = *env_;
    QPointer<HubWindow> hub = Show(env);
    Press(hub->Label3[4]);
    QVERIFY(!env.ctx.drill.isNull());
    QCOMPARE(env.state.currentLevel, int16_t{4});
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
    env_->state.pupilName = name.toStdString();
    HubWindow* hub = Show(*env_);
    QCOMPARE(!hub->Command8->isHidden(), teacher);
    QCOMPARE(hub->Command8->text(), QStringLiteral("データ処理"));
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
    QVERIFY(hub->Option2[1]->isChecked());
    QVERIFY(hub->Option1[1]->isChecked());
    QCOMPARE(hub->Option1[1]->text(), QStringLiteral("累計順"));
    QCOMPARE(hub->Label5->text(), QStringLiteral("獲得ポイント（今まで順位）"));
    QCOMPARE(hub->Label9[1]->text(), QStringLiteral("今日"));
    QCOMPARE(hub->Label10[1]->text(), QStringLiteral("今まで"));
    // The time-out is no run in the counts.
    QCOMPARE(hub->Label18->text(), QStringLiteral("本日総回数＝1回"));
    QVERIFY(hub->Picture2->isHidden());
    QVERIFY(hub->Picture6->isHidden());

    numora::ListOptions options;
    options.currentPupil = DrillEnv::kPupil;
    options.filterText = "全学年";
    auto check = [&](HubList list, int period, const char* what) {
      const auto want = numora::BuildHubLists(env.state, env.services, list, period, options);
      for (int level = 1; level <= 4; ++level) {
        QVERIFY2(Shown(hub->List5[static_cast<size_t>(level)]) == Core(want, level), what);
        QVERIFY(!hub->List5[static_cast<size_t>(level)]->isHidden());
        if (want[static_cast<size_t>(level)].colour.has_value()) {
          QCOMPARE(Background(hub->List5[static_cast<size_t>(level)]),
                   numora::VbColour(*want[static_cast<size_t>(level)].colour));
        }
      }
      QVERIFY(hub->Picture6->isHidden());
      QVERIFY(hub->Command1->isEnabled());
      QVERIFY(hub->Command4[1]->isEnabled());
    };
    check(HubList::kPointsTotal, 3, "points total");
    QVERIFY(!Shown(hub->List5[1]).isEmpty());
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
        {hub->Option2[0], HubList::kBest, 3, "best", QStringLiteral("ベスト成績")},
        {hub->Option1[2], HubList::kToday, 3, "today", QStringLiteral("本日の成績")},
        {hub->Option1[3], HubList::kAll, 3, "all", QString()},
        {hub->Option2[1], HubList::kPointsAll, 3, "points all", QString()},
        {hub->Option1[2], HubList::kPointsToday, 3, "points today",
         QStringLiteral("獲得ポイント（今日の順位）")},
        {hub->Option1[1], HubList::kPointsTotal, 3, "points total again",
         QStringLiteral("獲得ポイント（今まで順位）")},
        {hub->Option2[0], HubList::kBest, 3, "best again", QStringLiteral("ベスト成績")},
    };
    int builds = hub->listBuilds();
    for (const Step& step : steps) {
      Press(step.button);
      QVERIFY2(step.button->isChecked(), step.what);
      builds += 4;
      QCOMPARE(hub->listBuilds(), builds);
      check(step.list, step.period, step.what);
      QCOMPARE(hub->Label5->text(), step.title);
      if (step.list == HubList::kToday) Snap(hub, QStringLiteral("hub_time_today"));
    }
    QCOMPARE(hub->Option1[1]->text(), QStringLiteral("BEST表示"));
    QCOMPARE(hub->statisticsRebuilds(), 1);

    // The period box of the all-runs list and the grade filter rebuild the lists once each.
    Press(hub->Option1[3]);
    QVERIFY(!hub->Combo2->isHidden());
    builds = hub->listBuilds();
    hub->Combo2->setCurrentIndex(4);
    emit hub->Combo2->activated(4);
    QCOMPARE(hub->listBuilds(), builds + 4);
    check(HubList::kAll, 5, "all, every period");
    hub->Combo1->setCurrentIndex(hub->Combo1->findText(QStringLiteral("小１")));
    emit hub->Combo1->activated(hub->Combo1->currentIndex());
    QCOMPARE(hub->listBuilds(), builds + 8);
    options.filterText = "小１";
    check(HubList::kAll, 5, "all, first grade");
    QVERIFY(Shown(hub->List5[1]).join(QString()).indexOf(QStringLiteral("伊藤")) < 0);

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
    QCOMPARE(hub->Command1->text(), QStringLiteral("戻る(0)"));
    if (byKey) {
      Type(hub, '0');
    } else {
      Press(hub->Command1);
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
    env.state.pupilStartTime = 10 * 3600;
    QPointer<HubWindow> hub = Show(env);
    QCOMPARE(hub->Label14[1]->text(), QStringLiteral("-----"));
    QCOMPARE(hub->Label17->text(), QStringLiteral("起動後15分"));

    Press(hub->Command4[1]);
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
    QCOMPARE(env.state.recordedTime, 30);
    auto* eval = qobject_cast<EvaluationWindow*>(env.ctx.evaluation.data());
    QVERIFY(eval != nullptr);
    eval->timer1Tick();
    Press(eval->Command4);

    HubWindow* fresh = qobject_cast<HubWindow*>(env.ctx.hub.data());
    QVERIFY(fresh != nullptr);
    DrillEnv::FlushDeletes();
    QVERIFY(env.ctx.evaluation.isNull());
    QCOMPARE(fresh->statisticsRebuilds(), 1);
    // 30 s against a target of 40: Int((10 / 40)³ × 50 + 5) = 5 points.
    QCOMPARE(fresh->Label14[1]->text(), QStringLiteral("1回/5点"));
    QCOMPARE(fresh->Label15[1]->text(), QStringLiteral("1回/5点"));
    QCOMPARE(fresh->Label18->text(), QStringLiteral("本日総回数＝1回"));
    QCOMPARE(Shown(fresh->List5[1]), QStringList({QStringLiteral(" 1●山田　花子  5/    5"),
                                                  QStringLiteral(" 2①青木　一郎  4/    4"),
                                                  QStringLiteral(" 3②伊藤　二葉  0/    0"),
                                                  QStringLiteral(" 3④江口　四郎  0/    0"),
                                                  QStringLiteral(" 3⑤大野　五月  0/    0")}));
    Press(fresh->Option2[0]);
    Press(fresh->Option1[2]);
    QCOMPARE(Shown(fresh->List5[1]), QStringList({QStringLiteral("  30秒 10:15●山田　花子●5"),
                                                  QStringLiteral("  45秒 08:01①青木　一郎①4")}));
    QCOMPARE(fresh->hubReady(), 1);
    QVERIFY(fresh->Command4[1]->isEnabled());
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
    numora::ReadRoster(s, env_->clock.Today());
    s.currentPupil = 3;
    s.pupilName = s.rosterNames[3];
    s.pupilGrade = numora::GradeLabel(numora::GradeNumber(s.schoolYear, s.rosterBirthYears[3]));
    s.pupilStartTime = static_cast<int32_t>(env_->clock.Timer()) - 600;
    numora::SetUpCatalogue(s);
    numora::SetSeasonColour(s, env_->clock.Today());
    HubWindow* hub = Show(*env_);
    hub->resize(1024, 768);
    Snap(hub, QStringLiteral("demo_hub_points"));
    Press(hub->Option2[0]);
    Snap(hub, QStringLiteral("demo_hub_time_best"));
    Press(hub->Option1[2]);
    Snap(hub, QStringLiteral("demo_hub_time_today"));
    Press(hub->Option1[3]);
    Snap(hub, QStringLiteral("demo_hub_time_all"));
  }

 private:
  std::unique_ptr<DrillEnv> env_;
};

QTEST_MAIN(HubWindowTest)
#include "hub_window_test.moc"
