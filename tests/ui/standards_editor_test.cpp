// The data-change gate of the hub and the level standards editor: the password cases, the keys of
// the overlay box, the change marks and flag, restoring, saving (and the standards taking effect
// at once), leaving with and without changes, and files that cannot be read or written.
// With NUMORA_SCREENSHOT_DIR set the gate and the editor are saved there as pictures; with
// NUMORA_DEMO_PROGRAM set as well (the program folder of a demo installation) the editor is
// shown over that installation's standards and results.

#include "core/admin/standards_editor.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "core/admin/data_gate.h"
#include "core/installation/installation.h"
#include "core/installation/season.h"
#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"
#include "core/platform/system_clock.h"
#include "core/records/level_standards.h"
#include "core/roster/roster.h"
#include "drill_test_env.h"
#include "ui/admin/standards_editor_window.h"
#include "ui/hub/hub_window.h"

using numora::StandardsEditorWindow;
using numora::testing::DrillEnv;
using numora::testing::Press;

namespace {

const char* const kHeader =
    "目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\r\n";

std::string StandardsText() {
  std::string text = kHeader;
  for (int l = 1; l <= 4; ++l) {
    text += std::to_string(30 + l) + ",60,100,3,1.5,,0,7,1,,,\r\n";
  }
  return text;
}

struct EditorEnv : DrillEnv {
  EditorEnv() {
    WriteStandards(StandardsText());
    numora::LoadLevelStandards(state.catalogue, StandardsPath());
  }
  ~EditorEnv() {
    delete ctx.standardsEditor.data();
    FlushDeletes();
  }
  std::string StandardsPath() const { return numora::LevelStandardsPath(state.installation); }
  void WriteStandards(const std::string& utf8) const {
    QVERIFY(numora::WriteWholeFile(StandardsPath(), numora::Utf8ToCp932(utf8)));
  }
  std::string StandardsOnDisk() const {
    std::string bytes;
    numora::ReadWholeFile(StandardsPath(), bytes);
    return numora::Cp932ToUtf8(bytes);
  }
  StandardsEditorWindow* Open() {
    numora::ShowStandardsEditor(ctx);
    return qobject_cast<StandardsEditorWindow*>(ctx.standardsEditor.data());
  }
  void Runs(int pupil, int level, std::initializer_list<int> seconds) {
    clock.Set(2026, 12, 1, 8, 0, 0);
    for (int s : seconds) {
      QVERIFY(numora::AppendRunRecord(state.installation, services, static_cast<int16_t>(pupil),
                                      static_cast<int16_t>(level), s));
    }
  }
  int Messages(const std::string& part) const {
    return static_cast<int>(
        std::count_if(host.messages.begin(), host.messages.end(),
                      [&](const std::string& m) { return m.find(part) != std::string::npos; }));
  }
};

template <class T>
T* Child(QWidget* w, const char* name) {
  T* c = w->findChild<T*>(QLatin1String(name));
  if (c == nullptr) qWarning("missing control %s", name);
  return c;
}

QString Cell(QWidget* editor, int row, int column) {
  return Child<QTableWidget>(editor, "MSFlexGrid1")->item(row - 1, column)->text();
}

bool Yellow(QWidget* editor, int row, int column) {
  return Child<QTableWidget>(editor, "MSFlexGrid1")->item(row - 1, column)->background().color() ==
         QColor(255, 255, 0);
}

void Key(QWidget* editor, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QTest::keyClick(Child<QLineEdit>(editor, "Gridinputtext"), key, mods);
}

void Type(QWidget* editor, const char* text) {
  QTest::keyClicks(Child<QLineEdit>(editor, "Gridinputtext"), QString::fromUtf8(text));
}

// The overlay lies exactly on the current cell.
bool OverlayOnCell(QWidget* editor, int row, int column) {
  auto* table = Child<QTableWidget>(editor, "MSFlexGrid1");
  auto* overlay = Child<QLineEdit>(editor, "Gridinputtext");
  const QRect cell = table->visualItemRect(table->item(row - 1, column));
  return overlay->isVisible() && overlay->parentWidget() == table->viewport() &&
         overlay->geometry() == cell && table->viewport()->rect().contains(overlay->geometry());
}

void Shoot(QWidget* w, const char* name) {
  const QString dir = qEnvironmentVariable("NUMORA_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  w->grab().save(dir + "/" + name);
}

}  // namespace

class StandardsEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void opensOnTheFirstCellWithDistribution();
  void keysOfTheOverlay();
  void typingMarksAndSetsTheFlag();
  void shiftDownCopiesWithoutFlag();
  void restoreKeepsTheFlagAndLeavingAsks();
  void saveWritesTheFileAndStandardsGoLive();
  void leavingWithoutChangesAsksNothing();
  void unreadableAndUnwritableFiles();
  void gatePasswordCases();
  void gateBlocksTheHubWhileShown();
  void demoScreenshots();
};

void StandardsEditorTest::opensOnTheFirstCellWithDistribution() {
  EditorEnv env;
  env.Runs(1, 1, {45, 45, 1234});
  env.Runs(2, 1, {400});
  env.Runs(1, 2, {12});
  StandardsEditorWindow* editor = env.Open();
  QVERIFY(editor != nullptr);
  QVERIFY(Child<QFrame>(editor, "Picture1")->isVisible());
  QCOMPARE(Child<QLabel>(editor, "Label5")->text(),
           QStringLiteral("成績の基準となるデータを変更できます"));
  auto* table = Child<QTableWidget>(editor, "MSFlexGrid1");
  QCOMPARE(table->columnCount(), 13);
  QCOMPARE(table->rowCount(), 4);
  QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("レベル"));
  QCOMPARE(table->horizontalHeaderItem(9)->text(), QStringLiteral("禁期間"));
  QCOMPARE(table->horizontalHeaderItem(10)->text(), QString());
  QCOMPARE(Cell(editor, 2, 0), QStringLiteral("2"));
  QCOMPARE(Cell(editor, 2, 1), QStringLiteral("32"));
  QCOMPARE(table->columnWidth(1), static_cast<int>(0.8 * table->columnWidth(2)));
  // Every head fits its column, the narrow column 1 included.
  for (int c = 0; c < table->columnCount(); ++c) {
    const QTableWidgetItem* head = table->horizontalHeaderItem(c);
    QVERIFY2(QFontMetrics(head->font()).horizontalAdvance(head->text()) <= table->columnWidth(c),
             qPrintable(head->text()));
  }
  QVERIFY(OverlayOnCell(editor, 1, 1));
  QCOMPARE(Child<QLineEdit>(editor, "Gridinputtext")->text(), QStringLiteral("31"));
  QCOMPARE(
      Child<QLabel>(editor, "Label3")->text(),
      QStringLiteral("合格基準タイム\n　大部分の人ががんばったら出せそうなタイムにしてください\n"));
  auto* all = Child<QListWidget>(editor, "List3");
  auto* best = Child<QListWidget>(editor, "List4");
  QCOMPARE(all->count(), 102);
  QCOMPARE(all->item(0)->text(), QStringLiteral("レベル1 今まで4回  （★=1）"));
  QCOMPARE(all->item(5)->text(), QStringLiteral("  40～★★"));
  QCOMPARE(all->item(101)->text(), QStringLiteral("1000～★"));
  QCOMPARE(best->item(0)->text(), QStringLiteral("レベル1 （★=1）"));
  QCOMPARE(best->item(5)->text(), QStringLiteral("  40～★"));
  QCOMPARE(best->item(31)->text(), QStringLiteral(" 300～★"));
  // Moving down shows the next level's runs.
  Key(editor, Qt::Key_Down);
  QCOMPARE(all->item(0)->text(), QStringLiteral("レベル2 今まで1回  （★=1）"));
  QCOMPARE(env.Messages(""), 0);
}

void StandardsEditorTest::keysOfTheOverlay() {
  EditorEnv env;
  StandardsEditorWindow* editor = env.Open();
  auto* overlay = Child<QLineEdit>(editor, "Gridinputtext");
  auto* help = Child<QLabel>(editor, "Label3");
  struct Step {
    Qt::Key key;
    int row, column;
  };
  const Step steps[] = {
      {Qt::Key_Up, 1, 1},     {Qt::Key_Left, 1, 1},   {Qt::Key_Down, 2, 1}, {Qt::Key_Right, 2, 2},
      {Qt::Key_Down, 3, 2},   {Qt::Key_Down, 4, 2},   {Qt::Key_Down, 4, 2}, {Qt::Key_Up, 3, 2},
      {Qt::Key_Escape, 3, 2}, {Qt::Key_Return, 3, 2},
  };
  for (const Step& s : steps) {
    const int before = editor->distributionRefreshes();
    Key(editor, s.key);
    QCOMPARE(editor->grid().row(), s.row);
    QCOMPARE(editor->grid().column(), s.column);
    QVERIFY(OverlayOnCell(editor, s.row, s.column));
    QCOMPARE(overlay->text(), Cell(editor, s.row, s.column));
    // Every key but Escape recomputes the distribution.
    QCOMPARE(editor->distributionRefreshes(), before + (s.key == Qt::Key_Escape ? 0 : 1));
  }
  QCOMPARE(help->text(), QStringLiteral("合格最低ラインタイム\n  この５倍が時間切れになります\n"));
  for (int i = 0; i < 15; ++i) Key(editor, Qt::Key_Right);
  QCOMPARE(editor->grid().column(), 12);
  QVERIFY(OverlayOnCell(editor, 3, 12));
  QCOMPARE(help->text(), QString());
  // A click on a cell places the overlay there; a click on a level number does nothing.
  auto* table = Child<QTableWidget>(editor, "MSFlexGrid1");
  const QRect cell = table->visualItemRect(table->item(0, 5));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  QCOMPARE(editor->grid().row(), 1);
  QCOMPARE(editor->grid().column(), 5);
  QVERIFY(OverlayOnCell(editor, 1, 5));
  QCOMPARE(help->text().left(7), QStringLiteral("ポイント倍率\n"));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                    table->visualItemRect(table->item(2, 0)).center());
  QCOMPARE(editor->grid().row(), 1);
  QVERIFY(!editor->grid().dataChanged());
  // Backspace deletes before the caret, space empties the cell.
  Key(editor, Qt::Key_Backspace);
  QCOMPARE(Cell(editor, 1, 5), QStringLiteral("1."));
  Key(editor, Qt::Key_Space);
  QCOMPARE(Cell(editor, 1, 5), QString());
  QCOMPARE(overlay->text(), QString());
  QVERIFY(Yellow(editor, 1, 5));
}

void StandardsEditorTest::typingMarksAndSetsTheFlag() {
  EditorEnv env;
  StandardsEditorWindow* editor = env.Open();
  Key(editor, Qt::Key_Down);
  Type(editor, "5");
  QCOMPARE(Cell(editor, 2, 1), QStringLiteral("325"));
  QVERIFY(Yellow(editor, 2, 1));
  QVERIFY(!Yellow(editor, 1, 1));
  QVERIFY(editor->grid().dataChanged());
  Key(editor, Qt::Key_Backspace);  // typed back to the file's value: the mark stays
  QCOMPARE(Cell(editor, 2, 1), QStringLiteral("32"));
  QVERIFY(Yellow(editor, 2, 1));
  // A space in an empty cell changes nothing.
  for (int i = 0; i < 5; ++i) Key(editor, Qt::Key_Right);
  Key(editor, Qt::Key_Space);
  QVERIFY(!Yellow(editor, 2, 6));
}

void StandardsEditorTest::shiftDownCopiesWithoutFlag() {
  EditorEnv env;
  StandardsEditorWindow* editor = env.Open();
  Key(editor, Qt::Key_Down, Qt::ShiftModifier);
  QCOMPARE(Cell(editor, 2, 1), QStringLiteral("31"));
  Key(editor, Qt::Key_Down, Qt::ShiftModifier);
  QCOMPARE(Cell(editor, 3, 1), QStringLiteral("31"));
  QCOMPARE(Cell(editor, 4, 1), QStringLiteral("34"));
  QCOMPARE(editor->grid().row(), 1);
  QVERIFY(!Yellow(editor, 2, 1));
  QVERIFY(!editor->grid().dataChanged());
  // Leaving after only copies asks nothing and writes nothing.
  Press(Child<QPushButton>(editor, "Command4"));
  DrillEnv::FlushDeletes();
  QCOMPARE(env.Messages(numora::kSaveChangesQuestion), 0);
  QCOMPARE(env.StandardsOnDisk(), StandardsText());
  QVERIFY(env.ctx.hub != nullptr);
  QVERIFY(env.ctx.standardsEditor == nullptr);
}

void StandardsEditorTest::restoreKeepsTheFlagAndLeavingAsks() {
  EditorEnv env;
  StandardsEditorWindow* editor = env.Open();
  Key(editor, Qt::Key_Right);
  Type(editor, "9");
  QCOMPARE(Cell(editor, 1, 2), QStringLiteral("609"));
  Press(Child<QPushButton>(editor, "Command2"));
  QCOMPARE(Cell(editor, 1, 2), QStringLiteral("60"));
  QVERIFY(!Yellow(editor, 1, 2));
  QCOMPARE(editor->grid().row(), 1);
  QCOMPARE(editor->grid().column(), 1);
  QVERIFY(OverlayOnCell(editor, 1, 1));
  QVERIFY(editor->grid().dataChanged());
  // Answered No: nothing is written and the hub comes back.
  env.host.answerYes = false;
  Press(Child<QPushButton>(editor, "Command4"));
  DrillEnv::FlushDeletes();
  QCOMPARE(env.Messages(std::string("注意|") + numora::kSaveChangesQuestion), 1);
  QCOMPARE(env.StandardsOnDisk(), StandardsText());
  QVERIFY(env.ctx.hub != nullptr);
  QVERIFY(env.ctx.standardsEditor == nullptr);
}

void StandardsEditorTest::saveWritesTheFileAndStandardsGoLive() {
  EditorEnv env;
  StandardsEditorWindow* editor = env.Open();
  Key(editor, Qt::Key_Down);
  Key(editor, Qt::Key_Right);
  Key(editor, Qt::Key_Backspace);
  Key(editor, Qt::Key_Backspace);
  Type(editor, "80");
  Press(Child<QPushButton>(editor, "Command3"));
  QVERIFY(!editor->grid().dataChanged());
  QVERIFY(Yellow(editor, 2, 2));
  std::string expected = kHeader;
  for (int l = 1; l <= 4; ++l) {
    expected += std::to_string(30 + l) + (l == 2 ? ",80" : ",60") + ",100,3,1.5,,0,7,1,,,\r\n";
  }
  QCOMPARE(QString::fromStdString(env.StandardsOnDisk()), QString::fromStdString(expected));
  QCOMPARE(env.state.catalogue.standards[2].minimumTime, 80);
  QVERIFY(!Child<QFrame>(editor, "Picture6")->isVisible());
  // Leaving after the save asks nothing.
  Press(Child<QPushButton>(editor, "Command4"));
  QCOMPARE(env.Messages(numora::kSaveChangesQuestion), 0);

  // Answered Yes when leaving: saved, then the hub.
  EditorEnv env2;
  editor = env2.Open();
  Type(editor, "7");
  env2.host.answerYes = true;
  Press(Child<QPushButton>(editor, "Command4"));
  DrillEnv::FlushDeletes();
  QCOMPARE(env2.state.catalogue.standards[1].targetTime, 317);
  QVERIFY(env2.StandardsOnDisk().find("\r\n317,60,") != std::string::npos);
  QVERIFY(env2.ctx.hub != nullptr);
}

void StandardsEditorTest::leavingWithoutChangesAsksNothing() {
  EditorEnv env;
  StandardsEditorWindow* editor = env.Open();
  Key(editor, Qt::Key_Down);
  Key(editor, Qt::Key_Right);
  Press(Child<QPushButton>(editor, "Command4"));
  DrillEnv::FlushDeletes();
  QCOMPARE(static_cast<int>(env.host.messages.size()), 0);
  QVERIFY(env.ctx.hub != nullptr);
  QVERIFY(env.ctx.standardsEditor == nullptr);
}

void StandardsEditorTest::unreadableAndUnwritableFiles() {
  {
    // A cell the file cannot carry: told, nothing written, still changed.
    EditorEnv env;
    StandardsEditorWindow* editor = env.Open();
    Type(editor, ",");
    Press(Child<QPushButton>(editor, "Command3"));
    QCOMPARE(env.Messages("記録しませんでした"), 1);
    QVERIFY(editor->grid().dataChanged());
    QCOMPARE(env.StandardsOnDisk(), StandardsText());
    // Leaving, answered Yes, with a save that fails stays with the edits.
    Press(Child<QPushButton>(editor, "Command4"));
    QVERIFY(env.ctx.standardsEditor != nullptr);
    QCOMPARE(Cell(editor, 1, 1), QStringLiteral("31,"));
  }
  {
    // A folder that cannot be written.
    EditorEnv env;
    StandardsEditorWindow* editor = env.Open();
    Type(editor, "1");
    const QString folder = QString::fromStdString(env.state.installation.dataFolder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const bool root = ::geteuid() == 0;
    Press(Child<QPushButton>(editor, "Command3"));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!root) {
      QCOMPARE(env.Messages("書き込めません"), 1);
      QVERIFY(editor->grid().dataChanged());
      QVERIFY(Yellow(editor, 1, 1));
      QCOMPARE(env.StandardsOnDisk(), StandardsText());
      QCOMPARE(env.state.catalogue.standards[1].targetTime, 31);
    }
  }
  {
    // No standards file: told with its name; the editor opens empty and never writes one.
    EditorEnv env;
    QVERIFY(QFile::remove(QString::fromStdString(env.StandardsPath())));
    QFile::remove(QString::fromStdString(numora::ResultsFilePath(env.state.installation)));
    StandardsEditorWindow* editor = env.Open();
    QCOMPARE(env.Messages("タイム回数データ.txt"), 1);
    QCOMPARE(Child<QTableWidget>(editor, "MSFlexGrid1")->rowCount(), 0);
    QVERIFY(!Child<QLineEdit>(editor, "Gridinputtext")->isVisible());
    Press(Child<QPushButton>(editor, "Command3"));
    QCOMPARE(env.Messages("直してから「元に戻す」"), 1);
    QVERIFY(!QFile::exists(QString::fromStdString(env.StandardsPath())));
    // The results file is missing as well: told once, not at every key.
    QCOMPARE(env.Messages("成績累積データ.dat"), 1);
    Press(Child<QPushButton>(editor, "Command2"));
    QCOMPARE(env.Messages("成績累積データ.dat"), 1);
    QVERIFY(
        !QFile::exists(QString::fromStdString(numora::ResultsFilePath(env.state.installation))));
  }
  {
    // Restoring from a file that has gone keeps the grid as it is.
    EditorEnv env;
    StandardsEditorWindow* editor = env.Open();
    Type(editor, "2");
    QVERIFY(QFile::remove(QString::fromStdString(env.StandardsPath())));
    Press(Child<QPushButton>(editor, "Command2"));
    QCOMPARE(Cell(editor, 1, 1), QStringLiteral("312"));
    QVERIFY(Yellow(editor, 1, 1));
  }
}

void StandardsEditorTest::gatePasswordCases() {
  struct Case {
    numora::Value stored;
    QString typed;
    bool opens;
  };
  const Case cases[] = {
      {numora::Value(), QString(), true},
      {numora::Value("abc"), QString(), false},
      {numora::Value("abc"), QStringLiteral("ABC"), false},
      {numora::Value("abc"), QStringLiteral("abc"), true},
      {numora::Value::FromField("0123"), QStringLiteral("0123"), false},
      {numora::Value::FromField("0123"), QStringLiteral("123"), true},
  };
  for (const Case& c : cases) {
    EditorEnv env;
    env.state.session.pupilName = "山田先生";
    env.state.installation.dataChangePassword = c.stored;
    numora::ShowHub(env.ctx);
    QWidget* hub = env.ctx.hub.data();
    auto* dataButton = Child<QPushButton>(hub, "Command8");
    QVERIFY(dataButton->isVisible());
    auto* gate = Child<QFrame>(hub, "Picture7");
    QVERIFY(!gate->isVisible());
    Press(dataButton);
    QVERIFY(gate->isVisible());
    QCOMPARE(Child<QLabel>(hub, "Label28")->text(), QStringLiteral("データ変更パスワード"));
    auto* entry = Child<QLineEdit>(hub, "Text3");
    QCOMPARE(entry->echoMode(), QLineEdit::Password);
    QTest::keyClicks(entry, c.typed);
    Press(Child<QPushButton>(hub, "Command10(1)"));
    DrillEnv::FlushDeletes();
    if (c.opens) {
      QVERIFY(env.ctx.standardsEditor != nullptr);
      QVERIFY(env.ctx.hub == nullptr);
      QCOMPARE(env.Messages("パスワード"), 0);
    } else {
      QCOMPARE(env.host.messages.back(), std::string("注意|パスワードを入力して下さい"));
      QVERIFY(env.ctx.standardsEditor == nullptr);
      QVERIFY(gate->isVisible());
      QCOMPARE(entry->text(), c.typed);
    }
  }
}

void StandardsEditorTest::gateBlocksTheHubWhileShown() {
  EditorEnv env;
  env.state.session.pupilName = "★田中";
  env.state.installation.dataChangePassword = numora::Value(1234);
  numora::ShowHub(env.ctx);
  QWidget* hub = env.ctx.hub.data();
  Press(Child<QPushButton>(hub, "Command8"));
  auto* gate = Child<QFrame>(hub, "Picture7");
  auto* entry = Child<QLineEdit>(hub, "Text3");
  // Digits go into the password, not to the level shortcuts; start buttons do nothing.
  entry->setFocus();
  QTest::keyClicks(entry, QStringLiteral("1234"));
  QCOMPARE(entry->text(), QStringLiteral("1234"));
  Press(Child<QPushButton>(hub, "Command4(1)"));
  QVERIFY(env.ctx.drill == nullptr);
  // "戻る" hides the panel; the hub works again.
  Press(Child<QPushButton>(hub, "Command12"));
  QVERIFY(!gate->isVisible());
  // A pupil has no button.
  EditorEnv pupil;
  numora::ShowHub(pupil.ctx);
  QVERIFY(!Child<QPushButton>(pupil.ctx.hub.data(), "Command8")->isVisible());
  // A fresh hub after the editor has the panel hidden and the password gone.
  Press(Child<QPushButton>(hub, "Command8"));
  QCOMPARE(entry->text(), QStringLiteral("1234"));  // the same hub keeps what was typed
  entry->clear();
  QTest::keyClicks(entry, QStringLiteral("1234"));
  Press(Child<QPushButton>(hub, "Command10(1)"));
  DrillEnv::FlushDeletes();
  QVERIFY(env.ctx.hub == nullptr);
  Press(Child<QPushButton>(env.ctx.standardsEditor.data(), "Command4"));
  DrillEnv::FlushDeletes();
  QVERIFY(env.ctx.hub != nullptr);
  QVERIFY(!Child<QFrame>(env.ctx.hub.data(), "Picture7")->isVisible());
  QCOMPARE(Child<QLineEdit>(env.ctx.hub.data(), "Text3")->text(), QString());
  // "データ変更" opens the results browser in place of the hub; its "戻る" shows a fresh hub.
  QWidget* fresh = env.ctx.hub.data();
  Press(Child<QPushButton>(fresh, "Command8"));
  QTest::keyClicks(Child<QLineEdit>(fresh, "Text3"), QStringLiteral("1234"));
  Press(Child<QPushButton>(fresh, "Command10(0)"));
  DrillEnv::FlushDeletes();
  QVERIFY(env.ctx.hub == nullptr);
  QVERIFY(env.ctx.resultsBrowser != nullptr);
  Press(Child<QPushButton>(env.ctx.resultsBrowser.data(), "Command4"));
  DrillEnv::FlushDeletes();
  QVERIFY(env.ctx.resultsBrowser == nullptr);
  QVERIFY(env.ctx.hub != nullptr);
}

void StandardsEditorTest::demoScreenshots() {
  const QString program = qEnvironmentVariable("NUMORA_DEMO_PROGRAM");
  if (qEnvironmentVariable("NUMORA_SCREENSHOT_DIR").isEmpty() || program.isEmpty()) {
    QSKIP("screenshots only when NUMORA_SCREENSHOT_DIR and NUMORA_DEMO_PROGRAM are set");
  }
  EditorEnv env;
  numora::SystemClock clock;
  env.clock.SetNow(clock.Now());
  auto& s = env.state;
  std::string programFolder = program.toStdString();
  if (programFolder.back() != '/') programFolder += '/';
  std::string error;
  QVERIFY2(numora::SetUpPathsAndSettings(s, programFolder, error), error.c_str());
  numora::LoadLevelStandards(s.catalogue, env.StandardsPath());
  numora::ReadRoster(s.installation, s.roster, env.clock.Today());
  constexpr int kTeacher = 901;  // 山田先生 of the demo roster
  s.session.currentPupil = kTeacher;
  s.session.pupilName = s.roster.names[kTeacher];
  s.session.pupilStartTime = static_cast<int32_t>(env.clock.Timer()) - 600;
  numora::SetUpCatalogue(s.catalogue);
  numora::SetSeasonColour(s.installation, env.clock.Today());
  numora::ShowHub(env.ctx);
  QWidget* hub = env.ctx.hub.data();
  hub->resize(1024, 768);
  Press(Child<QPushButton>(hub, "Command8"));
  QTest::keyClicks(Child<QLineEdit>(hub, "Text3"),
                   QString::fromStdString(s.installation.dataChangePassword.Text()));
  Shoot(hub, "data_gate.png");
  Press(Child<QPushButton>(hub, "Command10(1)"));
  DrillEnv::FlushDeletes();
  auto* editor = qobject_cast<StandardsEditorWindow*>(env.ctx.standardsEditor.data());
  QVERIFY(editor != nullptr);
  editor->resize(1024, 768);
  Key(editor, Qt::Key_Down);
  for (int i = 0; i < 4; ++i) Key(editor, Qt::Key_Right);
  Type(editor, "0");
  QVERIFY(OverlayOnCell(editor, 2, 5));
  Shoot(editor, "standards_editor.png");
}

QTEST_MAIN(StandardsEditorTest)
#include "standards_editor_test.moc"
