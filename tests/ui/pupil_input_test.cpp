// What a new pupil does that the program must take calmly: a double-click on a tile, Enter or
// Space on the focused button of every screen, two digit keys queued on the hub, the hub's view
// and list buttons checked by an assistive tool; and what the pupil must get to see: the drill's
// end cover around the small wait window, the goal panel while "合格.wav" plays.

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QtTest>
#include <functional>
#include <memory>

#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"
#include "drill_test_env.h"
#include "ui/drill/drill_window.h"
#include "ui/drill/evaluation_window.h"
#include "ui/hub/hub_window.h"
#include "ui/roster/namesel_window.h"
#include "ui/roster/version_window.h"
#include "ui/startup/wait_window.h"
#include "window_controls.h"

using numora::DrillWindow;
using numora::EvaluationWindow;
using numora::HubWindow;
using numora::NameSelWindow;
using numora::testing::AnswerRightByMouse;
using numora::testing::DrillEnv;
using numora::testing::Press;

namespace {

DrillWindow* StartDrill(DrillEnv& env) {
  numora::StartDrill(env.ctx);
  return qobject_cast<DrillWindow*>(env.ctx.drill.data());
}

HubWindow* ShowHub(DrillEnv& env) {
  numora::ShowHub(env.ctx);
  return qobject_cast<HubWindow*>(env.ctx.hub.data());
}

// The drill windows that are open (an unloaded one is hidden until it is deleted).
int OpenDrills() {
  int n = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (qobject_cast<DrillWindow*>(w) != nullptr && w->isVisible()) {
      ++n;
    }
  }
  return n;
}

// A tile of the drill's current target that is no divisor of it.
int WrongTile(const DrillWindow* w) {
  for (int n = 2; n <= 100; ++n) {
    if (w->targetNumber() % n != 0) {
      return n;
    }
  }
  return 0;
}

// A key typed as the keyboard gives it: to the widget with the focus.
void Type(QWidget* window, Qt::Key key) {
  QWidget* focus = QApplication::focusWidget();
  QTest::keyClick(focus != nullptr && focus->window() == window ? focus : window, key);
}

void Toggle(QWidget* button) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(button);
  QVERIFY(iface != nullptr && iface->actionInterface() != nullptr);
  QVERIFY(
      iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
  iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
}

// A sound output that runs a check when a given file starts to play.
class WatchingSound : public numora::RecordingSound {
 public:
  bool PlayWait(const std::string& path, std::string& errorText) override {
    if (onPlay) onPlay(path);
    return RecordingSound::PlayWait(path, errorText);
  }
  std::function<void(const std::string&)> onPlay;
};

}  // namespace

class PupilInputTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { env_ = std::make_unique<DrillEnv>(); }
  void cleanup() {
    env_.reset();
    DrillEnv::FlushDeletes();
  }

  // The second press of a double-click on a wrong tile does nothing: one wrong answer (ten
  // seconds, one hint pair, one cue). The events come as the windowing system delivers a
  // double-click to a widget: press, release, double-click, release.
  void doubleClickOnAWrongTileIsOneWrongAnswer() {
    DrillEnv& env = *env_;
    DrillWindow* w = StartDrill(env);
    QVERIFY(w != nullptr);
    const float start = env.state.run.runStart;
    numora::BoardTile* tile = Label1(w, static_cast<std::size_t>(WrongTile(w)));
    const QPointF at(tile->rect().center());
    const QPointF global = tile->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent releaseAgain(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                             Qt::NoModifier);
    QApplication::sendEvent(tile, &press);
    QApplication::sendEvent(tile, &release);
    QApplication::sendEvent(tile, &twice);
    QApplication::sendEvent(tile, &releaseAgain);
    QCOMPARE(w->hintPairsShown(), 1);
    QCOMPARE(env.state.run.runStart, start - 10.0f);
    QCOMPARE(env.Played("/snd/ng.wav"), 1);
    // A later single click on a wrong tile is a wrong answer again.
    Press(tile);
    QCOMPARE(w->hintPairsShown(), 2);
    QCOMPARE(env.Played("/snd/ng.wav"), 2);
  }

  // In the drill the focus moves to 判定 after a tile press: Enter judges, and so does Space.
  void enterAndSpaceJudgeInTheDrill() {
    DrillEnv& env = *env_;
    DrillWindow* w = StartDrill(env);
    QVERIFY(QTest::qWaitForWindowActive(w));
    const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space};
    int solved = 0;
    for (Qt::Key key : keys) {
      const int target = w->targetNumber();
      for (int n = 1; n <= 100; ++n) {
        if (target % n == 0) Press(Label1(w, static_cast<std::size_t>(n)));
      }
      QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Command1(w)));
      Type(w, key);
      ++solved;
      QCOMPARE(env.state.run.correctCount, solved);
    }
    // Enter on 判定 before every divisor is pressed is a wrong answer, as a click is.
    Press(Label1(w, 1));
    Type(w, Qt::Key_Return);
    QCOMPARE(w->hintPairsShown(), 1);
  }

  // The evaluation gives メニューへ the focus; Enter (or Space) takes the pupil to the hub.
  void enterAndSpacePressTheEvaluationsFocusedButton_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Space") << int(Qt::Key_Space);
  }
  void enterAndSpacePressTheEvaluationsFocusedButton() {
    QFETCH(int, key);
    DrillEnv& env = *env_;
    env.state.run.recordedTime = 50;
    numora::ShowEvaluation(env.ctx);
    auto* w = qobject_cast<EvaluationWindow*>(env.ctx.evaluation.data());
    QVERIFY(w != nullptr);
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->offerButtons();
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Command4(w)));
    Type(w, static_cast<Qt::Key>(key));
    QVERIFY(!env.ctx.hub.isNull());
  }

  // On the hub a focused start button starts its level with Enter or Space (and the hub's own
  // shortcut keys still work beside them).
  void enterAndSpacePressTheHubsFocusedButton_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Space") << int(Qt::Key_Space);
  }
  void enterAndSpacePressTheHubsFocusedButton() {
    QFETCH(int, key);
    DrillEnv& env = *env_;
    HubWindow* hub = ShowHub(env);
    QVERIFY(QTest::qWaitForWindowActive(hub));
    Command4(hub, 3)->setFocus();
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Command4(hub, 3)));
    Type(hub, static_cast<Qt::Key>(key));
    QVERIFY(!env.ctx.drill.isNull());
    QCOMPARE(env.state.session.currentLevel, int16_t{3});
  }

  // On the name selection screen Enter on the focused O.K. confirms the chosen name; in the
  // version box Enter on O.K. closes it.
  void enterPressesTheFocusedButtonOnTheSelectionScreenAndVersionBox() {
    DrillEnv& env = *env_;
    env.state.installation.dataRootFolder = env.state.installation.dataFolder;
    env.state.installation.schoolYearStartMonth = 4;
    QVERIFY(numora::WriteWholeFile(env.state.installation.dataRootFolder + "新名簿.txt",
                                   numora::Utf8ToCp932("3,2019,0,0,山田　花子,0,,\r\n")));
    env.clock.Set(2026, 12, 10, 10, 0, 0);
    numora::ShowNameSelection(env.ctx);
    auto* w = qobject_cast<NameSelWindow*>(env.ctx.namesel.data());
    QVERIFY(w != nullptr);
    QVERIFY(QTest::qWaitForWindowActive(w));

    bool boxClosed = false;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<numora::VersionWindow*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      Command1(box)->setFocus();
      QTest::keyClick(Command1(box), Qt::Key_Return);
      boxClosed = !box->isVisible();
      if (!boxClosed) box->reject();
    });
    QTest::mouseClick(Label4(w), Qt::LeftButton, {}, Label4(w)->rect().center());
    QVERIFY(boxClosed);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));

    QListWidget* names = List1(w);
    int row = -1;
    for (int k = 0; k < names->count(); ++k) {
      if (names->item(k)->text().contains(QStringLiteral("山田"))) row = k;
    }
    QVERIFY(row >= 0);
    names->setCurrentRow(row);
    QTest::mouseClick(names->viewport(), Qt::LeftButton, {},
                      names->visualItemRect(names->item(row)).center());
    Command14(w)->setFocus();
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Command14(w)));
    Type(w, Qt::Key_Return);
    QTRY_VERIFY(!env.ctx.hub.isNull());
    QCOMPARE(env.state.session.currentPupil, int16_t{3});
  }

  // Two digit keys queued on the hub (typed faster than it repaints) start one drill; a drill
  // start while a drill is open is refused and leaves the run alone.
  void twoQueuedDigitKeysStartOneDrill() {
    DrillEnv& env = *env_;
    env.host.realEvents = true;  // the hub's repaint lets the queued key in, as in the program
    HubWindow* hub = ShowHub(env);
    QVERIFY(QTest::qWaitForWindowActive(hub));
    QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : hub;
    for (const char* digit : {"1", "2"}) {
      QCoreApplication::postEvent(
          target, new QKeyEvent(QEvent::KeyPress, Qt::Key_1 + (digit[0] - '1'), Qt::NoModifier,
                                QString::fromLatin1(digit)));
    }
    QCoreApplication::processEvents();
    QCOMPARE(OpenDrills(), 1);
    QCOMPARE(env.state.session.currentLevel, int16_t{1});
    auto* drill = qobject_cast<DrillWindow*>(env.ctx.drill.data());
    QVERIFY(drill != nullptr);

    AnswerRightByMouse(drill);
    QCOMPARE(env.state.run.correctCount, 1);
    QVERIFY(!numora::StartDrill(env.ctx));
    QCOMPARE(env.state.run.correctCount, 1);
    QVERIFY(env.ctx.drill == drill);
    QCOMPARE(OpenDrills(), 1);
  }

  // The view and list buttons rebuild the lists whatever checks them: a click, the program, or an
  // assistive tool's toggle action; each change rebuilds once.
  void hubViewAndListButtonsReactToBecomingChecked() {
    DrillEnv& env = *env_;
    HubWindow* hub = ShowHub(env);
    const int levels = 4;
    QCOMPARE(hub->viewMode(), numora::kHubPointsView);

    int builds = hub->listBuilds();
    Toggle(Option1(hub, 2));  // today's points ranking
    QVERIFY(Option1(hub, 2)->isChecked());
    QCOMPARE(hub->listBuilds(), builds + levels);
    QCOMPARE(hub->rankingKind(), numora::kTodayRanking);
    QCOMPARE(Label5(hub)->text(), QStringLiteral("獲得ポイント（今日の順位）"));

    Toggle(Option2(hub, 0));  // time view: the best-time rankings of the chosen list
    QVERIFY(Option2(hub, 0)->isChecked());
    QCOMPARE(hub->viewMode(), numora::kHubTimeView);
    QCOMPARE(Label5(hub)->text(), QStringLiteral("本日の成績"));

    builds = hub->listBuilds();
    Press(Option1(hub, 1));  // a click: once, not once per signal
    QCOMPARE(hub->listBuilds(), builds + levels);
    QCOMPARE(Label5(hub)->text(), QStringLiteral("ベスト成績"));

    builds = hub->listBuilds();
    Press(Option1(hub, 1));  // already checked: no change, no rebuild
    QCOMPARE(hub->listBuilds(), builds);

    Option2(hub, 1)->setChecked(true);  // the program checks it
    QCOMPARE(hub->viewMode(), numora::kHubPointsView);
    QCOMPARE(Label5(hub)->text(), QStringLiteral("獲得ポイント（今まで順位）"));
    for (int level = 1; level <= levels; ++level) {
      QVERIFY(List5(hub, static_cast<std::size_t>(level))->isVisible());
    }
  }

  // During the wait at the end of a run the wait window is small and in the middle of the
  // screen, so the drill's cover with "成績記録中" around it stays in view.
  void endCoverStaysVisibleAroundTheWaitWindow() {
    DrillEnv& env = *env_;
    DrillWindow* drill = StartDrill(env);
    QVERIFY(drill != nullptr);
    const QRect screen = drill->screen()->geometry();
    QCOMPARE(drill->geometry(), screen);
    bool seen = false;
    QRect wait;
    QRect caption;
    bool captionShown = false;
    env.host.hook = [&] {
      QWidget* w = env.ctx.basefrm.data();
      if (w == nullptr || !w->isVisible()) return false;
      seen = true;
      wait = w->frameGeometry();
      QLabel* recording = lblsss1(drill);
      captionShown = sPicture2(drill)->isVisible() && recording->isVisible();
      caption = QRect(recording->mapToGlobal(QPoint(0, 0)), recording->size());
      return true;
    };
    for (int k = 1; k <= 10; ++k) AnswerRightByMouse(drill);
    QVERIFY(seen);
    QVERIFY(captionShown);
    QVERIFY2(wait.width() < screen.width() / 2 && wait.height() < screen.height() / 4,
             qPrintable(QStringLiteral("wait window %1×%2").arg(wait.width()).arg(wait.height())));
    QVERIFY(qAbs(wait.center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(wait.center().y() - screen.center().y()) <= 1);
    QVERIFY(!wait.intersects(caption));
  }

  // When the goal is cleared for the first time with a new best, "合格.wav" plays while the goal
  // panel is still shown and before the buttons' half-second timer runs; the timer starts after.
  void goalPanelShownUntilTheFanfareAndTheTimerStartsAfterIt() {
    DrillEnv& env = *env_;
    WatchingSound sound;
    numora::Services services{env.clock, env.random, sound, env.host};
    numora::AppContext ctx{env.state, services};
    env.state.session.currentLevel = 4;
    for (int k = 0; k < 2; ++k) {
      QVERIFY(numora::AppendRunRecord(env.state.installation, services, DrillEnv::kPupil, 4, 20));
    }
    env.state.run.recordedTime = 20;
    env.state.run.newPersonalBest = true;
    env.state.run.clearedBefore = false;
    QVERIFY(numora::AppendRunRecord(env.state.installation, services, DrillEnv::kPupil, 4, 20));

    bool timerIdle = false;
    bool panelShown = false;
    bool buttonsHidden = false;
    bool fanfare = false;
    sound.onPlay = [&](const std::string& path) {
      if (path != "/snd/合格.wav") return;
      fanfare = true;
      auto* w = qobject_cast<EvaluationWindow*>(ctx.evaluation.data());
      timerIdle = !Timer1(w)->isActive();
      panelShown = Picture1(w)->isVisible();
      buttonsHidden = !Command4(w)->isVisible();
    };
    numora::ShowEvaluation(ctx);
    auto* w = qobject_cast<EvaluationWindow*>(ctx.evaluation.data());
    QVERIFY(w != nullptr);
    QVERIFY(fanfare);
    QVERIFY(timerIdle);
    QVERIFY(panelShown);
    QVERIFY(buttonsHidden);
    QVERIFY(Timer1(w)->isActive());
    QCOMPARE(Timer1(w)->interval(), 500);
    delete w;
  }

 private:
  std::unique_ptr<DrillEnv> env_;
};

QTEST_MAIN(PupilInputTest)
#include "pupil_input_test.moc"
