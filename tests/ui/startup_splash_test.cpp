// The splash window: date caption, season colour, seeding, the one tick and a failing set-up.

#include <QtTest>
#include <cmath>
#include <filesystem>

#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"
#include "ui/startup/splash_window.h"
#include "ui/startup/wait_window.h"
#include "ui_test_support.h"
#include "window_controls.h"

using numora::PathText;
using numora::testing::UiFixture;

namespace {

namespace fs = std::filesystem;

void WriteCp932(const fs::path& file, const std::string& utf8) {
  fs::create_directories(file.parent_path());
  QVERIFY(numora::WriteWholeFile(PathText(file), numora::Utf8ToCp932(utf8)));
}

// Deletes a window at the end of a test, however the test ends, unless it is already gone.
struct WindowGuard {
  QPointer<QWidget> window;
  ~WindowGuard() { delete window.data(); }
};

}  // namespace

class StartupSplashTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    base_ = fs::temp_directory_path() /
            ("numora_splash_" + std::to_string(QCoreApplication::applicationPid()));
    fs::remove_all(base_);
  }
  void cleanup() { fs::remove_all(base_); }

  void showsEraDateAndSeasonColour_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("date");
    QTest::addColumn<unsigned>("colour");
    QTest::newRow("winter") << 2026 << 12 << 10 << "令和8年 12月 10日（木）" << 0xC0FFC0u;
    QTest::newRow("heisei spring") << 2019 << 4 << 30 << "平成31年 4月 30日（火）" << 0xC0FFC0u;
    QTest::newRow("february") << 2027 << 2 << 1 << "令和9年 2月 01日（月）" << 0x0080FFu;
    QTest::newRow("summer") << 2026 << 7 << 15 << "令和8年 7月 15日（水）" << 0xC0C000u;
    QTest::newRow("autumn") << 2026 << 10 << 5 << "令和8年 10月 05日（月）" << 0x0040C0u;
  }

  void showsEraDateAndSeasonColour() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QString, date);
    QFETCH(unsigned, colour);
    UiFixture f;
    f.fakes.clock.Set(year, month, day, 8, 30, 15);
    f.state.installation.programFolder = "/opt/KT0042/build/";
    auto* splash = numora::ShowSplash(f.ctx);
    const WindowGuard guard{splash};
    QCOMPARE(Label5(splash)->text(), date);
    QCOMPARE(Label1(splash)->text(), QStringLiteral("Just a moment, please."));
    QCOMPARE(f.state.installation.seasonColour, colour);
    QCOMPARE(splash->palette().color(QPalette::Window), numora::VbColour(colour));
    QCOMPARE(f.fakes.random.seeds.size(), size_t{1});
    QVERIFY(std::abs(f.fakes.random.seeds[0] - (8 * 3600.0 + 30 * 60 + 15)) < 0.01);
    QVERIFY(f.state.installation.developmentLayout);
    QVERIFY(Timer1(splash)->isActive());
    QCOMPARE(Timer1(splash)->interval(), 100);
    QVERIFY(f.ctx.firstfrm == splash);
    if (QString(QTest::currentDataTag()) == "winter") splash->grab().save("/tmp/numora_splash.png");
  }

  void failingSetUpShowsTheFileAndEnds() {
    UiFixture f;
    f.state.installation.programFolder = PathText(base_ / "apps" / "numora") + "/";
    fs::create_directories(base_ / "apps" / "numora");
    auto* splash = numora::ShowSplash(f.ctx);
    const WindowGuard guard{splash};
    splash->runSetUp();
    QVERIFY(!Timer1(splash)->isActive());
    QCOMPARE(f.fakes.host.messages.size(), size_t{1});
    const QString message = QString::fromStdString(f.fakes.host.messages[0]);
    QVERIFY2(message.startsWith("注意|"), qPrintable(message));
    QVERIFY2(message.contains(QString::fromStdString(PathText(base_ / "apps" / "パスデータ.txt"))),
             qPrintable(message));
    QCOMPARE(f.fakes.host.endedWith.size(), size_t{1});
    QVERIFY(f.fakes.host.endedWith[0] != 0);
    QVERIFY(!f.ctx.namesel);
    QVERIFY(!fs::exists(base_ / "data"));  // nothing written
  }

  // Levels whose standards cannot time a run are named in one notice; the start-up goes on.
  void tickSetsUpAndOpensTheNameSelection_data() {
    QTest::addColumn<QString>("levelLines");
    QTest::addColumn<QString>("notice");  // empty: no message
    const QString line = QStringLiteral("40,60,100,3,1,10,0,7,1,,,\r\n");
    const QString head = QStringLiteral(
        "目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\r\n");
    QTest::newRow("four levels") << head + line.repeated(4) << QString();
    QTest::newRow("header only")
        << head
        << QStringLiteral(
               "・レベル1の行がありません。\n・レベル2の行がありません。\n"
               "・レベル3の行がありません。\n・レベル4の行がありません。\n");
    QTest::newRow("empty file") << QString()
                                << QStringLiteral("・レベル1の行がありません。\n・レベル2の");
    QTest::newRow("two levels, one without a minimum time")
        << head + line + QStringLiteral("40,0,100,3,1,10,0,7,1,,,\r\n")
        << QStringLiteral(
               "・レベル2の目標Timeまたは最低Timeが正の数ではありません。\n"
               "・レベル3の行がありません。\n・レベル4の行がありません。\n");
  }

  void tickSetsUpAndOpensTheNameSelection() {
    QFETCH(QString, levelLines);
    QFETCH(QString, notice);
    const fs::path data = base_ / "data";
    fs::create_directories(base_ / "apps" / "numora");
    WriteCp932(base_ / "apps" / "パスデータ.txt",
               PathText(data) + "/\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
    WriteCp932(data / "共通データ.txt",
               "4\r\n12345ひかり小\r\n0\r\n0\r\n0\r\n1234\r\n0\r\n0\r\n0\r\n0\r\n");
    WriteCp932(data / "numora" / "タイム回数データ.txt", levelLines.toStdString());
    WriteCp932(data / "音フォルダ" / "新音ファイル.txt", "正解音2\r\na\r\n*\r\n");
    WriteCp932(data / "新名簿.txt", "1,2018,0,0,山田　花子,0,,\r\n");
    UiFixture f;
    f.state.installation.programFolder = PathText(base_ / "apps" / "numora") + "/";
    QPointer<numora::SplashWindow> splash = numora::ShowSplash(f.ctx);
    const WindowGuard guard{splash.data()};
    splash->runSetUp();
    if (notice.isEmpty()) {
      QVERIFY2(f.fakes.host.messages.empty(),
               f.fakes.host.messages.empty() ? "" : f.fakes.host.messages[0].c_str());
      QCOMPARE(f.state.catalogue.standards[1].targetTime, 40);
    } else {
      QCOMPARE(f.fakes.host.messages.size(), size_t{1});
      const QString message = QString::fromStdString(f.fakes.host.messages[0]);
      QVERIFY2(
          message.startsWith(QStringLiteral("注意|基準データファイル「タイム回数データ.txt」")),
          qPrintable(message));
      QVERIFY2(message.contains(notice), qPrintable(message));
      QVERIFY2(message.contains(
                   QString::fromStdString(PathText(data / "numora" / "タイム回数データ.txt"))),
               qPrintable(message));
    }
    QVERIFY(f.fakes.host.endedWith.empty());
    QCOMPARE(f.state.installation.schoolName, std::string("ひかり小"));
    QVERIFY(f.ctx.namesel);        // the selection screen is open
    QTRY_VERIFY(splash.isNull());  // and the splash unloaded
    if (f.ctx.namesel) delete f.ctx.namesel.data();
  }

  void waitWindowShowsWhiteLabel() {
    UiFixture f;
    numora::ShowWaitWindow(f.ctx);
    auto* w = qobject_cast<numora::WaitWindow*>(f.ctx.basefrm.data());
    QVERIFY(w != nullptr);
    QCOMPARE(w->objectName(), QStringLiteral("BASEFRM"));
    QCOMPARE(Label19(w)->text(), QStringLiteral("Just a moment, please."));
    QCOMPARE(Label19(w)->palette().color(QPalette::WindowText), QColor(Qt::white));
    QVERIFY(f.fakes.host.processed > 0);
    w->grab().save("/tmp/numora_basefrm.png");
    QPointer<QWidget> guard(w);
    numora::UnloadWaitWindow(f.ctx);
    QTRY_VERIFY(guard.isNull());
  }

 private:
  fs::path base_;
};

QTEST_MAIN(StartupSplashTest)
#include "startup_splash_test.moc"
