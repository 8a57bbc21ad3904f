// The name selection screen: what it shows after loading, the lines of every view and filter as
// numora-data namelist prints them, choosing and confirming a pupil by mouse and keys, the grade
// filter, the version box, leaving to the launcher, and a missing or faulty roster.
// With NUMORA_SCREENSHOT_DIR set the screen of the demo installation is saved there as pictures.

#include "ui/roster/namesel_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <sstream>

#include "cli/data_commands.h"
#include "core/installation/app_state.h"
#include "core/installation/demo_history.h"
#include "core/installation/demo_installation.h"
#include "core/installation/installation.h"
#include "core/installation/season.h"
#include "core/platform/cp932.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/roster/name_list.h"
#include "core/roster/roster.h"
#include "drill_test_env.h"
#include "ui/roster/version_window.h"
#include "window_controls.h"

using numora::NameSelWindow;
using numora::testing::DrillEnv;

namespace {

namespace fs = std::filesystem;

// School year 2026 on the test clock's 10 December 2026: birth year 2026 − 6 − grade.
int BirthYear(int grade) {
  return 2026 - 6 - grade;
}

std::string RosterLine(int pupil, int birthYear, const std::string& name, int status = 0) {
  return std::to_string(pupil) + "," + std::to_string(birthYear) + ",0,0," + name + "," +
         std::to_string(status) + ",,\r\n";
}

// Pupil numbers that differ from every list position: the list is sorted by birth year first.
std::string SmallRoster() {
  return RosterLine(40, BirthYear(3), "青木　一郎") + RosterLine(7, BirthYear(5), "伊藤　二葉") +
         RosterLine(123, BirthYear(3), "江口　三月") + RosterLine(3, BirthYear(1), "山田　花子");
}

void WriteRoster(DrillEnv& env, const std::string& utf8) {
  QVERIFY(numora::WriteWholeFile(env.state.installation.dataRootFolder + "新名簿.txt",
                                 numora::Utf8ToCp932(utf8)));
}

// The fixture's data folder doubles as the data root that holds the roster.
void UseDataRoot(DrillEnv& env) {
  env.state.installation.dataRootFolder = env.state.installation.dataFolder;
  env.state.installation.schoolYearStartMonth = 4;
  env.state.roster.schoolYear = 0;  // the roster not read yet in this run
}

NameSelWindow* Show(DrillEnv& env) {
  numora::ShowNameSelection(env.ctx);
  return qobject_cast<NameSelWindow*>(env.ctx.namesel.data());
}

QStringList Shown(const QListWidget* list) {
  QStringList lines;
  for (int k = 0; k < list->count(); ++k) {
    lines << list->item(k)->text();
  }
  return lines;
}

int RowOf(const QListWidget* list, const QString& part) {
  for (int k = 0; k < list->count(); ++k) {
    if (list->item(k)->text().contains(part)) {
      return k;
    }
  }
  return -1;
}

void Press(QWidget* w) {
  QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

void ClickRow(QListWidget* list, int row, bool twice = false) {
  list->scrollToItem(list->item(row));
  const QPoint at = list->visualItemRect(list->item(row)).center();
  // A double click arrives as a click followed by the double-click event.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  if (twice) {
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  }
}

void ChooseFilter(NameSelWindow* w, const QString& text) {
  Combo1(w)->setCurrentIndex(Combo1(w)->findText(text));
  emit Combo1(w)->activated(Combo1(w)->currentIndex());
}

// A key typed at the widget with the focus, or at the window.
void Type(NameSelWindow* w, Qt::Key key, QWidget* at = nullptr) {
  QWidget* focus = QApplication::focusWidget();
  if (at == nullptr) {
    at = focus != nullptr && focus->window() == w ? focus : w;
  }
  QTest::keyClick(at, key);
}

void Snap(QWidget* w, const QString& name) {
  const QString dir = qEnvironmentVariable("NUMORA_SCREENSHOT_DIR");
  if (dir.isEmpty() || w == nullptr) {
    return;
  }
  if (qobject_cast<numora::FormWidget*>(w) != nullptr) {
    w->showNormal();
    w->resize(1024, 768);
  }
  QApplication::processEvents();
  QDir().mkpath(dir);
  w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace

class NameSelWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env_ = std::make_unique<DrillEnv>();
    UseDataRoot(*env_);
  }
  void cleanup() {
    if (env_->ctx.namesel) {
      delete env_->ctx.namesel.data();
    }
    env_.reset();
    DrillEnv::FlushDeletes();
  }

  void loadingShowsThePointsViewAndNoName() {
    DrillEnv& env = *env_;
    WriteRoster(env, SmallRoster());
    NameSelWindow* w = Show(env);
    QVERIFY(w != nullptr);
    QCOMPARE(w->objectName(), QStringLiteral("namesel"));
    // Loaded in the runs view, then the activation switched to points: two builds.
    QCOMPARE(w->listBuilds(), 2);
    QCOMPARE(w->nameListView(), 1);
    QVERIFY(Option1(w, 1)->isChecked());
    const QStringList captions = {"回数(今日／今まで）", "ポイント（今日／今まで）",
                                  "本日（ポイント／回数）", "今まで（ポイント／回数）"};
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(Option1(w, static_cast<size_t>(i))->text(), captions[i]);
      QCOMPARE(Option1(w, static_cast<size_t>(i))->objectName(),
               QStringLiteral("Option1(%1)").arg(i));
    }
    QCOMPARE(Label1(w)->text(), QStringLiteral("名前を選びなさい"));
    QCOMPARE(List1(w)->currentRow(), 0);
    QCOMPARE(List1(w)->item(0)->text(), QStringLiteral("－－－－－－"));
    QCOMPARE(List1(w)->count(), 5);
    QCOMPARE(w->listedLines().size(), 4);
    QCOMPARE(Command14(w)->text(), QStringLiteral("O.K."));
    QCOMPARE(Command7(w)->text(), QStringLiteral("ﾌﾟﾟﾛｸﾞﾗﾑメニューへ(0)"));
    QCOMPARE(Label4(w)->text(), QStringLiteral("ヌモラ"));
    QCOMPARE(Label4(w)->font().pixelSize(), qRound(48 * 96.0 / 72.0 * w->scale()));
    QCOMPARE(Combo1(w)->toolTip(), QStringLiteral("表示する学年を選びなさい"));
    QStringList filters;
    for (int k = 0; k < Combo1(w)->count(); ++k) {
      filters << Combo1(w)->itemText(k);
    }
    QCOMPARE(filters, (QStringList{"全学年", "中学生全体", "小学生全体", "中３", "中２", "中１",
                                   "小６", "小５", "小４", "小３", "小２", "小１"}));
    QCOMPARE(Combo1(w)->currentText(), QStringLiteral("全学年"));
    QCOMPARE(env.state.roster.gradeFilterText, std::string("全学年"));
    QVERIFY(Picture5(w)->isHidden());
    QVERIFY(Picture8(w)->isHidden());
    QCOMPARE(w->palette().color(QPalette::Window),
             numora::VbColour(env.state.installation.seasonColour));
    QVERIFY(env.host.messages.empty());
    QCOMPARE(env.random.seeds.size(), size_t{1});
  }

  // The window lists exactly what numora-data namelist prints for the same installation.
  void linesEqualTheNameListCommand() {
    const fs::path base = fs::path(env_->dir.path().toStdString()) / "demo";
    std::string programFolder;
    std::string error;
    const double today = numora::MakeDate(2026, 12, 10);
    QVERIFY2(numora::CreateDemoInstallation(numora::PathText(base),
                                            QCoreApplication::applicationFilePath().toStdString(),
                                            today, programFolder, error),
             error.c_str());
    {
      // A few weeks of runs ending today, as numora-data demo seeds them.
      auto seeded = std::make_unique<numora::AppState>();
      QVERIFY2(numora::SetUpPathsAndSettings(*seeded, programFolder, error), error.c_str());
      numora::ReadRoster(seeded->installation, seeded->roster, today);
      numora::SeedDemoHistory(seeded->installation, seeded->catalogue, today);
    }
    DrillEnv env;
    env.state.installation.programFolder = programFolder;
    QVERIFY2(numora::SetUpPathsAndSettings(env.state, programFolder, error), error.c_str());
    numora::SetSeasonColour(env.state.installation, today);
    env.state.installation.developmentLayout = numora::DevelopmentLayoutFor(programFolder);
    NameSelWindow* w = Show(env);
    QVERIFY(w != nullptr);
    Snap(w, QStringLiteral("namesel_points"));

    auto command = [&](int view, const QString& filter) {
      std::ostringstream out;
      std::ostringstream err;
      const int status = numora::RunNameListCommand(
          {"--program-folder", programFolder, "--view", std::to_string(view), "--filter",
           filter.toStdString(), "--today", "2026-12-10"},
          out, err);
      QStringList lines = QString::fromStdString(out.str()).split(QLatin1Char('\n'));
      lines.removeLast();
      return status == 0 ? lines : QStringList{QStringLiteral("status %1").arg(status)};
    };
    for (const QString& filter :
         {QStringLiteral("全学年"), QStringLiteral("小学生全体"), QStringLiteral("中２")}) {
      ChooseFilter(w, filter);
      for (int view = 0; view < 4; ++view) {
        Press(Option1(w, static_cast<size_t>(view)));
        QCOMPARE(w->nameListView(), view);
        const QStringList expected = command(view, filter);
        QVERIFY(expected.size() > 1);
        QCOMPARE(Shown(List1(w)), expected);
        if (filter == QStringLiteral("全学年")) {
          Snap(w, QStringLiteral("namesel_view%1").arg(view));
          List1(w)->scrollToBottom();
          Snap(w, QStringLiteral("namesel_view%1_end").arg(view));
          List1(w)->scrollToTop();
        }
      }
    }
    delete w;
    DrillEnv::FlushDeletes();
  }

  void confirmingWithoutANamePlaysCueFourAndStays() {
    DrillEnv& env = *env_;
    WriteRoster(env, SmallRoster());
    QPointer<NameSelWindow> w = Show(env);
    env.state.session.currentPupil = 0;
    Type(w, Qt::Key_1);
    Press(Command14(w));
    Type(w, Qt::Key_Return, List1(w));
    QCOMPARE(env.Played("/snd/ng.wav"), 3);
    QVERIFY(!w.isNull() && env.ctx.namesel == w);
    QVERIFY(env.ctx.hub.isNull());
    QVERIFY(Command14(w)->isVisibleTo(w));
    QCOMPARE(env.state.session.currentPupil, 0);
    QCOMPARE(Label1(w)->text(), QStringLiteral("名前を選びなさい"));
    // Double-clicking the dash line confirms no one either.
    ClickRow(List1(w), 0, true);
    QCOMPARE(env.Played("/snd/ng.wav"), 4);
    QVERIFY(env.ctx.hub.isNull());
  }

  // Every way of confirming a chosen line takes the pupil number of the parallel list.
  void confirmingTakesThePupilOfTheParallelList_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("label1");  // what the chosen-name label shows before confirming
    QTest::newRow("double click") << "double"
                                  << "小3 江口　三月";
    QTest::newRow("click and O.K.") << "button"
                                    << "小3 江口　三月　";
    QTest::newRow("click and 1") << "key1"
                                 << "小3 江口　三月　";
    QTest::newRow("click and Enter") << "enter"
                                     << "小3 江口　三月　";
    QTest::newRow("click and space") << "space"
                                     << "小3 江口　三月　";
  }
  void confirmingTakesThePupilOfTheParallelList() {
    QFETCH(QString, how);
    QFETCH(QString, label1);
    DrillEnv& env = *env_;
    WriteRoster(env, SmallRoster());
    QPointer<NameSelWindow> w = Show(env);
    env.clock.Set(2026, 12, 10, 10, 30, 15.6);
    const int row = RowOf(List1(w), QStringLiteral("江口"));
    QVERIFY(row >= 1);
    QCOMPARE(w->listedLines()[row - 1].section(QLatin1Char('*'), -1), QStringLiteral("123"));
    if (how == QStringLiteral("double")) {
      ClickRow(List1(w), row, true);
    } else {
      ClickRow(List1(w), row);
      QCOMPARE(Label1(w)->text(), label1);
      QCOMPARE(w->chosenPupil(), std::string("123"));
      if (how == QStringLiteral("button")) {
        Press(Command14(w));
      } else if (how == QStringLiteral("key1")) {
        Type(w, Qt::Key_1);
      } else {
        Type(w, how == QStringLiteral("enter") ? Qt::Key_Return : Qt::Key_Space, List1(w));
      }
    }
    QCOMPARE(env.state.session.currentPupil, 123);
    QCOMPARE(env.state.session.pupilName, numora::RosterText("江口　三月"));
    QCOMPARE(env.state.session.pupilGrade, std::string("小３"));
    QCOMPARE(env.state.session.pupilStartTime, 10 * 3600 + 30 * 60 + 16);
    QCOMPARE(env.state.catalogue.levelCount, 4);
    QCOMPARE(env.state.catalogue.levelNames[4], std::string("ﾚﾍﾞﾙ4"));
    QVERIFY(env.Played("/snd/ng.wav") == 0);
    // The hub is open and has unloaded the selection screen.
    QVERIFY(!env.ctx.hub.isNull());
    QVERIFY(env.ctx.namesel.isNull());
    DrillEnv::FlushDeletes();
    QVERIFY(w.isNull());
  }

  void filterNarrowsTheListAndSetsTheHubsFilter() {
    DrillEnv& env = *env_;
    WriteRoster(env, SmallRoster());
    NameSelWindow* w = Show(env);
    ChooseFilter(w, QStringLiteral("小３"));
    QCOMPARE(env.state.roster.gradeFilterText, std::string("小３"));
    const QStringList lines = Shown(List1(w));
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[1].startsWith(QStringLiteral("小3 江口")));
    QVERIFY(lines[2].startsWith(QStringLiteral("小3 青木")));
    QCOMPARE(w->listedLines().size(), 2);
    QCOMPARE(w->listedLines()[0].section(QLatin1Char('*'), -1), QStringLiteral("123"));
    QCOMPARE(Label1(w)->text(), QStringLiteral("名前を選びなさい"));
  }

  void versionBoxClosesBackToAllGradesForTheHub() {
    DrillEnv& env = *env_;
    WriteRoster(env, SmallRoster());
    NameSelWindow* w = Show(env);
    ChooseFilter(w, QStringLiteral("小３"));
    Press(Option1(w, 3));
    ClickRow(List1(w), 1);
    QVERIFY(Label1(w)->text() != QStringLiteral("名前を選びなさい"));
    const int builds = w->listBuilds();

    QString title, label1, label2, label4, label5;
    bool modal = false;
    QPoint offset;
    QPoint centred(-1, -1);
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<numora::VersionWindow*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      title = box->windowTitle();
      label1 = Label1(box)->text();
      label2 = Label2(box)->text();
      label4 = Label4(box)->text();
      label5 = Label5(box)->text();
      modal = box->isModal();
      // Centred over the selection screen.
      offset = box->pos() - w->mapToGlobal(QPoint(0, 0));
      centred = QPoint((w->width() - box->width()) / 2, (w->height() - box->height()) / 2);
      QCOMPARE(box->objectName(), QStringLiteral("frmver"));
      QCOMPARE(Command1(box)->text(), QStringLiteral("O.K."));
      Snap(box, QStringLiteral("frmver"));
      Press(Command1(box));
    });
    QTest::mouseClick(Label4(w), Qt::LeftButton, {}, Label4(w)->rect().center());
    QCOMPARE(title, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(label1, QStringLiteral("ヌモラ"));
    QCOMPARE(label2, QStringLiteral("Version1.0.0"));
    QCOMPARE(label4, QStringLiteral("Quillmark"));
    QVERIFY(!label5.isEmpty());
    QVERIFY(modal);
    QCOMPARE(offset, centred);

    // The activation ran again: filter text of the hub, view and chosen name are reset; the box
    // keeps the filter it shows, so the list stays narrowed to it.
    QCOMPARE(env.state.roster.gradeFilterText, std::string("全学年"));
    QCOMPARE(Combo1(w)->currentText(), QStringLiteral("小３"));
    QCOMPARE(Combo1(w)->count(), 12);
    QCOMPARE(w->nameListView(), 1);
    QVERIFY(Option1(w, 1)->isChecked());
    QCOMPARE(w->listBuilds(), builds + 1);
    QCOMPARE(List1(w)->count(), 3);
    QCOMPARE(Label1(w)->text(), QStringLiteral("名前を選びなさい"));
  }

  void leavingStartsTheLauncherAndEnds_data() {
    QTest::addColumn<int>("layout");
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("args");
    QTest::newRow("key 0") << 0 << true << true << "/s/apps/numora/../起動/プログラムメニューc.exe"
                           << QStringList{"001"};
    QTest::newRow("button") << 0 << false << true
                            << "/s/apps/numora/../起動/プログラムメニューc.exe"
                            << QStringList{"001"};
    QTest::newRow("development layout")
        << 1 << true << true << "/s/apps/numora/../../起動/起動/プログラムメニュー.exe"
        << QStringList{};
    QTest::newRow("launcher missing")
        << 0 << false << false << "/s/apps/numora/../起動/プログラムメニューc.exe"
        << QStringList{"001"};
  }
  void leavingStartsTheLauncherAndEnds() {
    QFETCH(int, layout);
    QFETCH(bool, byKey);
    QFETCH(bool, starts);
    QFETCH(QString, program);
    QFETCH(QStringList, args);
    DrillEnv& env = *env_;
    WriteRoster(env, SmallRoster());
    env.state.installation.programFolder = "/s/apps/numora/";
    env.state.installation.developmentLayout = layout != 0;
    env.host.startSucceeds = starts;
    NameSelWindow* w = Show(env);
    QCOMPARE(Picture8(w)->isVisibleTo(w), layout == 1);
    QCOMPARE(Label8(w)->text(), QStringLiteral("開発中"));
    if (byKey) {
      Type(w, Qt::Key_0);
    } else {
      Press(Command7(w));
    }
    QCOMPARE(env.host.started.size(), size_t{1});
    QCOMPARE(QString::fromStdString(env.host.started[0].program), program);
    QStringList given;
    for (const auto& a : env.host.started[0].args) {
      given << QString::fromStdString(a);
    }
    QCOMPARE(given, args);
    QCOMPARE(env.host.endedWith, std::vector<int>{0});
    // A launcher that cannot be started is named, and the program ends all the same.
    QCOMPARE(env.host.messages.size(), starts ? size_t{0} : size_t{1});
    if (!starts) {
      QVERIFY(QString::fromStdString(env.host.messages[0]).contains(program));
    }
  }

  void missingRosterIsToldAndLeavesAnEmptyList() {
    DrillEnv& env = *env_;
    NameSelWindow* w = Show(env);
    QCOMPARE(env.host.messages.size(), size_t{1});
    const QString message = QString::fromStdString(env.host.messages[0]);
    QVERIFY2(message.startsWith(QStringLiteral("注意|")), qPrintable(message));
    QVERIFY2(message.contains(
                 QString::fromStdString(env.state.installation.dataRootFolder + "新名簿.txt")),
             qPrintable(message));
    QCOMPARE(Shown(List1(w)), QStringList{QStringLiteral("－－－－－－")});
    // Told once: another view does not tell it again; the pupil can still leave.
    Press(Option1(w, 0));
    QCOMPARE(env.host.messages.size(), size_t{1});
    Type(w, Qt::Key_0);
    QCOMPARE(env.host.endedWith, std::vector<int>{0});
  }

  void leftOutRosterLinesAreToldOncePerRun() {
    DrillEnv& env = *env_;
    WriteRoster(env, SmallRoster() + RosterLine(6000, BirthYear(2), "範囲外　太郎"));
    NameSelWindow* w = Show(env);
    QCOMPARE(env.host.messages.size(), size_t{1});
    QVERIFY(QString::fromStdString(env.host.messages[0]).contains(QStringLiteral("範囲外　太郎")));
    QCOMPARE(List1(w)->count(), 5);
    delete w;
    // The screen shown again in the same run says nothing more.
    w = Show(env);
    QCOMPARE(List1(w)->count(), 5);
    QCOMPARE(env.host.messages.size(), size_t{1});
  }

 private:
  std::unique_ptr<DrillEnv> env_;
};

QTEST_MAIN(NameSelWindowTest)
#include "namesel_window_test.moc"
