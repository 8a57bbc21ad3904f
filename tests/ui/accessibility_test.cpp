// What assistive tools (screen readers, switch access over AT-SPI) get from the pupil's windows:
// a line of the name list is chosen by selecting its list item, and O.K., the hub's start
// buttons and level names, the drill's tiles and 判定 carry their captions as names and a press
// action that does what a click does.

#include <QAccessible>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"
#include "drill_test_env.h"
#include "ui/drill/drill_window.h"
#include "ui/hub/hub_window.h"
#include "ui/roster/namesel_window.h"
#include "window_controls.h"

using numora::DrillWindow;
using numora::HubWindow;
using numora::NameSelWindow;
using numora::testing::DrillEnv;

namespace {

QAccessibleInterface* Accessible(QObject* object) {
  return QAccessible::queryAccessibleInterface(object);
}

QAccessibleInterface* ChildNamed(QAccessibleInterface* parent, const QString& part) {
  for (int i = 0; i < parent->childCount(); ++i) {
    QAccessibleInterface* child = parent->child(i);
    if (child != nullptr && child->text(QAccessible::Name).contains(part)) {
      return child;
    }
  }
  return nullptr;
}

bool Offers(QAccessibleInterface* iface, const QString& action) {
  return iface != nullptr && iface->actionInterface() != nullptr &&
         iface->actionInterface()->actionNames().contains(action);
}

// Pupils 40, 7, 123 and 3 in grades 3, 5, 3 and 1 of the school year 2026.
void WriteRoster(DrillEnv& env) {
  std::string roster;
  const std::pair<int, const char*> pupils[] = {
      {40, "青木　一郎"}, {7, "伊藤　二葉"}, {123, "江口　三月"}, {3, "山田　花子"}};
  const int grades[] = {3, 5, 3, 1};
  for (int k = 0; k < 4; ++k) {
    roster += std::to_string(pupils[k].first) + "," + std::to_string(2026 - 6 - grades[k]) +
              ",0,0," + pupils[k].second + ",0,,\r\n";
  }
  env.state.installation.dataRootFolder = env.state.installation.dataFolder;
  env.state.installation.schoolYearStartMonth = 4;
  env.state.roster.schoolYear = 0;
  QVERIFY(numora::WriteWholeFile(env.state.installation.dataRootFolder + "新名簿.txt",
                                 numora::Utf8ToCp932(roster)));
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { DrillEnv::FlushDeletes(); }

  // Selecting a list item (what AT-SPI's toggle action on a line does) chooses the line as a
  // click does, and O.K. pressed through its action confirms it.
  void nameListLineChosenBySelection() {
    DrillEnv env;
    WriteRoster(env);
    env.clock.Set(2026, 12, 10, 10, 30, 15);
    numora::ShowNameSelection(env.ctx);
    auto* w = qobject_cast<NameSelWindow*>(env.ctx.namesel.data());
    QVERIFY(w != nullptr);

    QAccessibleInterface* list = Accessible(List1(w));
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->childCount(), List1(w)->count());
    QAccessibleInterface* line = ChildNamed(list, QStringLiteral("江口"));
    QVERIFY(line != nullptr);
    QCOMPARE(line->role(), QAccessible::ListItem);
    QVERIFY(Offers(line, QAccessibleActionInterface::toggleAction()));
    line->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(Label1(w)->text(), QStringLiteral("小3 江口　三月　"));
    QCOMPARE(w->chosenPupil(), std::string("123"));

    QAccessibleInterface* ok = Accessible(Command14(w));
    QCOMPARE(ok->text(QAccessible::Name), QStringLiteral("O.K."));
    QVERIFY(Offers(ok, QAccessibleActionInterface::pressAction()));
    ok->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // The press is a short animated click.
    QTRY_VERIFY(!env.ctx.hub.isNull());
    QCOMPARE(env.state.session.currentPupil, int16_t{123});
  }

  // The hub's start buttons and level names are named and pressable; pressing a level name
  // starts its drill, whose tiles and 判定 are named and pressable in turn.
  void hubAndDrillControlsArePressable() {
    DrillEnv env;
    env.clock.Set(2026, 12, 10, 9, 0, 0);
    numora::ShowHub(env.ctx);
    auto* hub = qobject_cast<HubWindow*>(env.ctx.hub.data());
    QVERIFY(hub != nullptr);
    for (int level = 1; level <= 4; ++level) {
      QAccessibleInterface* start = Accessible(Command4(hub, static_cast<size_t>(level)));
      QCOMPARE(start->text(QAccessible::Name), QStringLiteral("ｽﾀｰﾄ(%1)").arg(level));
      QVERIFY(Offers(start, QAccessibleActionInterface::pressAction()));
      QAccessibleInterface* name = Accessible(Label3(hub, static_cast<size_t>(level)));
      QCOMPARE(name->role(), QAccessible::StaticText);
      QCOMPARE(name->text(QAccessible::Name), QStringLiteral("ﾚﾍﾞﾙ%1").arg(level));
      QVERIFY(Offers(name, QAccessibleActionInterface::pressAction()));
    }
    Accessible(Label3(hub, 2))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(env.state.session.currentLevel, int16_t{2});
    auto* drill = qobject_cast<DrillWindow*>(env.ctx.drill.data());
    QVERIFY(drill != nullptr);

    QCOMPARE(Accessible(Label3(drill))->text(QAccessible::Name),
             QStringLiteral("の約数を押しなさい"));
    QCOMPARE(Accessible(Label2(drill))->text(QAccessible::Name),
             QString::number(drill->targetNumber()));
    QCOMPARE(Accessible(Command1(drill))->text(QAccessible::Name), QStringLiteral("判定"));
    QVERIFY(Offers(Accessible(Command1(drill)), QAccessibleActionInterface::pressAction()));
    for (int n = 1; n <= 100; ++n) {
      QAccessibleInterface* tile = Accessible(Label1(drill, static_cast<size_t>(n)));
      QCOMPARE(tile->text(QAccessible::Name), QString::number(n));
      QVERIFY(Offers(tile, QAccessibleActionInterface::pressAction()));
    }
    // 1 divides every target: pressed through the action, the tile is marked as pressed.
    numora::BoardTile* one = Label1(drill, 1);
    Accessible(one)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(!one->isEnabled());
  }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
