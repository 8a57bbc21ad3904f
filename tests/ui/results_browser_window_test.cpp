// The results browser FrmData: the list and its edit panel opened by a double-click and closed by a
// single click, the change and the deletion with their question, refusals that write nothing,
// printing to a PDF file, the CSV file, and the way back to a fresh hub.
// With NUMORA_SCREENSHOT_DIR set, the window and a printed page are saved there (under an X
// server the whole screen is taken with ImageMagick's import as well).

#include "ui/admin/results_browser_window.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "core/admin/correction_log.h"
#include "core/admin/results_browser.h"
#include "core/platform/cp932.h"
#include "core/platform/dates.h"
#include "core/platform/field_reader.h"
#include "core/roster/roster.h"
#include "drill_test_env.h"
#include "ui/hub/hub_window.h"

using numora::BrowserOutcome;
using numora::ResultRecord;
using numora::ResultsBrowserWindow;
using numora::testing::DrillEnv;

namespace {

// Prints into a PDF file and saves the CSV where the test says; counts what was asked.
class FakeDialogs : public ResultsBrowserWindow::Dialogs {
 public:
  explicit FakeDialogs(QString folder) : folder_(std::move(folder)) {}
  bool ChoosePrinter(QPrinter& printer, bool /*hasSelection*/, QWidget* /*parent*/) override {
    ++printerAsked;
    if (!printOk) {
      return false;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder_ + QStringLiteral("/一覧.pdf"));
    return true;
  }
  QString ChooseCsvFile(const QString& suggested, QWidget* /*parent*/) override {
    suggestedCsv = suggested;
    return csvFile;
  }
  int printerAsked = 0;
  bool printOk = true;
  QString csvFile;
  QString suggestedCsv;

 private:
  QString folder_;
};

ResultRecord StoredRun(int pupil, int level, int seconds, int minute = 11) {
  ResultRecord r;
  r.runDate = numora::MakeDate(2026, 12, 9);
  r.runTime = numora::MakeDateTime(1899, 12, 30, 10, minute, 12);
  r.pupilNumber = static_cast<int16_t>(pupil);
  r.level = static_cast<int16_t>(level);
  r.seconds = seconds;
  r.schoolCode = numora::MakeTextField("12345");
  r.spareText = {'a', 'b', 'c', 'd', 'e'};
  return r;
}

void Shot(QWidget* w, const QString& name) {
  const QString dir = qEnvironmentVariable("NUMORA_SCREENSHOT_DIR");
  if (dir.isEmpty() || w == nullptr) {
    return;
  }
  QDir().mkpath(dir);
  QCoreApplication::processEvents();
  w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
  if (!qEnvironmentVariableIsEmpty("DISPLAY") &&
      QGuiApplication::platformName() == QLatin1String("xcb")) {
    QTest::qWait(300);
    QProcess::execute(QStringLiteral("import"),
                      {QStringLiteral("-window"), QStringLiteral("root"),
                       dir + QLatin1Char('/') + name + QStringLiteral("_screen.png")});
  }
}

}  // namespace

class ResultsBrowserWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env_ = std::make_unique<DrillEnv>();
    auto& s = env_->state;
    s.installation.dataRootFolder = s.installation.dataFolder;
    s.installation.schoolYearStartMonth = 4;
    s.installation.schoolName = "ヌモラ塾";
    const std::string roster =
        "3,2017,0,0,山田太郎,0,,\r\n4,2015,0,0,佐藤花子,0,,\r\n"
        "5,2013,0,0,鈴木一郎,0,,\r\n";
    QVERIFY(numora::WriteWholeFile(s.installation.dataFolder + numora::kRosterFileName,
                                   numora::Utf8ToCp932(roster)));
    WriteRecords({StoredRun(3, 1, 40, 1), StoredRun(4, 2, 35, 2), StoredRun(5, 0, 1, 3),
                  StoredRun(3, 3, 99999, 4), StoredRun(4, 4, 52, 5), StoredRun(5, 1, 61, 6)});
  }
  void cleanup() {
    delete window_.data();
    DrillEnv::FlushDeletes();
    env_.reset();
  }

  void listShowsEveryRunAndTheEditPanelOpensAndCloses() {
    Open();
    QCOMPARE(Child<QLabel>("Label5")->text(),
             QStringLiteral("ダブルクリックすると変更、消去できます"));
    const numora::BrowserList expected =
        numora::BuildBrowserList(env_->state.installation, env_->state.roster, env_->services);
    QAbstractItemModel* model = List()->model();
    QCOMPARE(model->rowCount(), 5);  // the level-0 record is not listed
    for (int row = 0; row < 5; ++row) {
      QCOMPARE(model->index(row, 0).data().toString(),
               QString::fromStdString(std::string(expected.lines[static_cast<size_t>(row)])));
    }
    QCOMPARE(model->index(0, 0).data().toString(),
             QStringLiteral("   1 2026/12/09　 10:01:12ﾚﾍﾞﾙ1　   40秒 　   3 山田太郎   小３++"
                            "ヌモラ塾"));
    QVERIFY(!Child<QFrame>("Picture3")->isVisible());
    QVERIFY(!Child<QPushButton>("Command2")->isEnabled());
    QVERIFY(!Child<QPushButton>("Command3")->isEnabled());
    Shot(window_, QStringLiteral("results_browser_list"));

    DoubleClickRow(1);
    QVERIFY(Child<QFrame>("Picture3")->isVisible());
    QCOMPARE(Child<QLabel>("Label1")->text(), QStringLiteral("2"));
    QCOMPARE(Child<QLabel>("Label2(1)")->text(), QStringLiteral("ﾚﾍﾞﾙ2"));
    QCOMPARE(Child<QLabel>("Label2(2)")->text(), QStringLiteral("2026/12/09"));
    QCOMPARE(Child<QLabel>("Label2(4)")->text(), QStringLiteral("小５"));
    QCOMPARE(Child<QLabel>("Label2(0)")->text(), QStringLiteral("秒"));
    QCOMPARE(Chooser()->currentText(),
             QString::fromStdString("4 /  " + numora::RosterText("佐藤花子")));
    QCOMPARE(Chooser()->count(), 3);
    QCOMPARE(TimeBox()->text(), QStringLiteral("35"));
    QCOMPARE(TimeBar()->value(), 35);
    QCOMPARE(TimeBar()->minimum(), 0);
    QCOMPARE(TimeBar()->maximum(), 6000);
    QVERIFY(Child<QPushButton>("Command2")->isEnabled());
    QVERIFY(Child<QPushButton>("Command3")->isEnabled());
    Shot(window_, QStringLiteral("results_browser_edit_panel"));

    // The scroll bar writes the time; choosing a pupil shows the grade.
    TimeBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(TimeBox()->text(), QStringLiteral("36"));
    Chooser()->setCurrentIndex(0);
    QCOMPARE(Child<QLabel>("Label2(4)")->text(), QStringLiteral("小３"));

    // A single click closes the panel; the buttons stay enabled. キャンセル closes it too.
    ClickRow(3);
    QVERIFY(!Child<QFrame>("Picture3")->isVisible());
    QVERIFY(Child<QPushButton>("Command2")->isEnabled());
    DoubleClickRow(3);
    QVERIFY(Child<QFrame>("Picture3")->isVisible());
    QCOMPARE(Child<QLabel>("Label1")->text(), QStringLiteral("5"));
    QTest::mouseClick(Child<QPushButton>("Command6"), Qt::LeftButton);
    QVERIFY(!Child<QFrame>("Picture3")->isVisible());
    QVERIFY(env_->host.messages.empty());
  }

  void changeStoresPupilAndRoundedTimeAndSelectsTheRecord() {
    Open();
    const std::string before = FileBytes();
    DoubleClickRow(1);
    Chooser()->setEditText(QStringLiteral("5 /  鈴木一郎"));
    QCOMPARE(Child<QLabel>("Label2(4)")->text(), QStringLiteral("中１"));
    TimeBox()->setText(QStringLiteral("45.6"));
    QTest::mouseClick(Child<QPushButton>("Command2"), Qt::LeftButton);
    QVERIFY2(env_->host.messages.empty(), Messages());
    const std::vector<ResultRecord> after = env_->Records();
    ResultRecord expected = StoredRun(4, 2, 35, 2);
    expected.pupilNumber = 5;
    expected.seconds = 46;
    QVERIFY(after[1] == expected);
    const std::string now = FileBytes();
    QCOMPARE(now.substr(0, 44), before.substr(0, 44));
    QCOMPARE(now.substr(88), before.substr(88));
    QVERIFY(!Child<QFrame>("Picture3")->isVisible());
    QCOMPARE(List()->currentIndex().row(), 1);
    QVERIFY(List()->currentIndex().data().toString().contains(QStringLiteral("   46秒 ")));
    QCOMPARE(LogLines(), 1);
  }

  void timeOutKeepsItsTimeWhenStoredBack() {
    Open();
    DoubleClickRow(2);
    QCOMPARE(Child<QLabel>("Label1")->text(), QStringLiteral("4"));
    QCOMPARE(TimeBox()->text(), QStringLiteral("99999"));
    QCOMPARE(TimeBar()->value(), 6000);
    QTest::mouseClick(Child<QPushButton>("Command2"), Qt::LeftButton);
    QVERIFY2(env_->host.messages.empty(), Messages());
    QCOMPARE(env_->Records()[3].seconds, 99999);
  }

  void badInputIsRefusedAndWritesNothing() {
    Open();
    const std::string before = FileBytes();
    const struct {
      const char* chooser;
      const char* time;
      const char* says;
    } cases[] = {
        {"佐藤花子", "40", "「番号 /  名前」の形"}, {"0 / だれ", "40", "1 から 5000 まで"},
        {"5001 / だれ", "40", "1 から 5000 まで"},  {"4 /  佐藤花子", "よんじゅう", "秒数を数字で"},
        {"4 /  佐藤花子", "", "秒数を数字で"},
    };
    for (const auto& c : cases) {
      env_->host.messages.clear();
      DoubleClickRow(1);
      Chooser()->setEditText(QString::fromUtf8(c.chooser));
      TimeBox()->setText(QString::fromUtf8(c.time));
      QTest::mouseClick(Child<QPushButton>("Command2"), Qt::LeftButton);
      QCOMPARE(env_->host.messages.size(), size_t{1});
      QVERIFY2(env_->host.messages[0].find(c.says) != std::string::npos, Messages());
      QVERIFY(env_->host.messages[0].rfind("注意|", 0) == 0);
      QVERIFY(Child<QFrame>("Picture3")->isVisible());
    }
    QCOMPARE(FileBytes(), before);
    QCOMPARE(LogLines(), 0);
  }

  void deleteAsksAndCancelChangesNothing() {
    Open();
    const std::string before = FileBytes();
    DoubleClickRow(2);  // record 4
    env_->host.answerYes = false;
    QTest::mouseClick(Child<QPushButton>("Command3"), Qt::LeftButton);
    QCOMPARE(env_->host.messages, std::vector<std::string>{"注意|本当に消去しますか"});
    QCOMPARE(FileBytes(), before);
    QVERIFY(Child<QFrame>("Picture3")->isVisible());

    env_->host.messages.clear();
    env_->host.answerYes = true;
    QTest::mouseClick(Child<QPushButton>("Command3"), Qt::LeftButton);
    QCOMPARE(env_->host.messages, std::vector<std::string>{"注意|本当に消去しますか"});
    std::vector<int> seconds;
    for (const ResultRecord& r : env_->Records()) {
      seconds.push_back(r.seconds);
    }
    QCOMPARE(seconds, (std::vector<int>{40, 35, 1, 52, 61}));
    // The record that followed (52 s, now record 4) is selected; the panel is closed.
    QVERIFY(!Child<QFrame>("Picture3")->isVisible());
    QCOMPARE(List()->model()->rowCount(), 4);
    QCOMPARE(List()->currentIndex().row(), 2);
    QVERIFY(List()->currentIndex().data().toString().startsWith(QStringLiteral("   4 ")));
    QVERIFY(List()->currentIndex().data().toString().contains(QStringLiteral("   52秒")));

    // The last line deleted: the new last line is selected.
    DoubleClickRow(3);
    QTest::mouseClick(Child<QPushButton>("Command3"), Qt::LeftButton);
    QCOMPARE(List()->model()->rowCount(), 3);
    QCOMPARE(List()->currentIndex().row(), 2);
    QCOMPARE(LogLines(), 2);
  }

  void recordChangedElsewhereIsRefusedAndTheListRebuilt() {
    Open();
    DoubleClickRow(3);  // record 5, 52 s
    // Another computer deletes record 1 meanwhile: record 5 is now the 61-second run.
    std::string error;
    QVERIFY(numora::DeleteResultRecord(env_->state.installation, env_->services, 1, error));
    const std::string before = FileBytes();
    TimeBox()->setText(QStringLiteral("50"));
    QTest::mouseClick(Child<QPushButton>("Command2"), Qt::LeftButton);
    QCOMPARE(env_->host.messages.size(), size_t{1});
    QVERIFY2(env_->host.messages[0].find("一覧を作り直しました") != std::string::npos, Messages());
    QCOMPARE(FileBytes(), before);
    QCOMPARE(List()->model()->rowCount(), 4);
    QVERIFY(!Child<QFrame>("Picture3")->isVisible());

    env_->host.messages.clear();
    DoubleClickRow(2);  // now record 4, the 52-second run
    QVERIFY(numora::DeleteResultRecord(env_->state.installation, env_->services, 1, error));
    QTest::mouseClick(Child<QPushButton>("Command3"), Qt::LeftButton);
    QCOMPARE(env_->host.messages.size(), size_t{2});  // the question, then the refusal
    QVERIFY2(env_->host.messages[1].find("何も書き換えていません") != std::string::npos,
             Messages());
    QCOMPARE(env_->Records().size(), size_t{4});
    QCOMPARE(LogLines(), 0);
  }

  void missingResultsFileGivesAnEmptyListAndAMessage() {
    QFile::remove(QString::fromStdString(numora::ResultsFilePath(env_->state.installation)));
    Open();
    QCOMPARE(List()->model()->rowCount(), 0);
    QCOMPARE(env_->host.messages.size(), size_t{1});
    QVERIFY2(env_->host.messages[0].find("成績のファイルがまだありません") != std::string::npos,
             Messages());
    DoubleClickRow(0);
    QVERIFY(!Child<QFrame>("Picture3")->isVisible());
  }

  void printWritesTheListToAPdfPage() {
    Open();
    QTest::mouseClick(Child<QPushButton>("Command17"), Qt::LeftButton);
    QCOMPARE(dialogs_->printerAsked, 1);
    const QString pdf =
        QString::fromStdString(env_->state.installation.dataFolder) + QStringLiteral("一覧.pdf");
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    QVERIFY(env_->host.messages.empty());
    const QString dir = qEnvironmentVariable("NUMORA_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
      QDir().mkpath(dir);
      QFile::remove(dir + QStringLiteral("/results_browser_print.pdf"));
      QVERIFY(QFile::copy(pdf, dir + QStringLiteral("/results_browser_print.pdf")));
    }
    // Cancelled: nothing printed, nothing said.
    dialogs_->printOk = false;
    QTest::mouseClick(Child<QPushButton>("Command17"), Qt::LeftButton);
    QCOMPARE(dialogs_->printerAsked, 2);
    QVERIFY(env_->host.messages.empty());
  }

  void fileButtonSavesTheListAsCsv() {
    Open();
    auto* button = Child<QPushButton>("Command18");
    QCOMPARE(button->text(), QStringLiteral("ファイル化"));
    QCOMPARE(button->toolTip(), QStringLiteral("後で加工して印刷できます"));
    const QString csv =
        QString::fromStdString(env_->state.installation.dataFolder) + QStringLiteral("一覧.csv");
    dialogs_->csvFile = csv;
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(dialogs_->suggestedCsv.endsWith(QStringLiteral(".csv")));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.toStdString(),
             numora::BrowserCsv(env_->state.installation, env_->state.roster, window_->list()));
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(bytes.count("\r\n"), 6);
    QCOMPARE(env_->host.messages.size(), size_t{1});
    QVERIFY2(env_->host.messages[0].find("5 件の成績を書き出しました") != std::string::npos,
             Messages());
  }

  void bothBackButtonsShowAFreshHub() {
    for (const char* name : {"Command4", "Command5"}) {
      Open();
      QCOMPARE(Child<QPushButton>(name)->text(), QStringLiteral("戻る"));
      QTest::mouseClick(Child<QPushButton>(name), Qt::LeftButton);
      QVERIFY(qobject_cast<numora::HubWindow*>(env_->ctx.hub.data()) != nullptr);
      QVERIFY(env_->ctx.resultsBrowser.isNull());
      QVERIFY(!window_->isVisible());
      DrillEnv::FlushDeletes();
      QVERIFY(window_.isNull());
      numora::UnloadHub(env_->ctx);
      DrillEnv::FlushDeletes();
    }
  }

  void showFunctionOpensAFreshWindowEachTime() {
    numora::ShowResultsBrowser(env_->ctx);
    QPointer<QWidget> first = env_->ctx.resultsBrowser.data();
    QVERIFY(qobject_cast<ResultsBrowserWindow*>(first.data()) != nullptr);
    QVERIFY(first->isVisible());
    QCOMPARE(first->findChild<QListView*>(QStringLiteral("List1"))->model()->rowCount(), 5);
    numora::ShowResultsBrowser(env_->ctx);
    QVERIFY(env_->ctx.resultsBrowser.data() != first.data());
    DrillEnv::FlushDeletes();
    QVERIFY(first.isNull());
    window_ = qobject_cast<ResultsBrowserWindow*>(env_->ctx.resultsBrowser.data());
    numora::UnloadResultsBrowser(env_->ctx);
    QVERIFY(env_->ctx.resultsBrowser.isNull());
  }

  void changeFarDownKeepsTheListWhereItWasScrolled() {
    std::vector<ResultRecord> runs;
    for (int i = 0; i < 300; ++i) {
      runs.push_back(StoredRun(3 + i % 3, 1 + i % 4, 30 + i % 50));
    }
    WriteRecords(runs);
    Open();
    DoubleClickRow(150);
    const int scrolled = List()->verticalScrollBar()->value();
    QVERIFY(scrolled > 0);
    TimeBox()->setText(QStringLiteral("77"));
    QTest::mouseClick(Child<QPushButton>("Command2"), Qt::LeftButton);
    QVERIFY2(env_->host.messages.empty(), Messages());
    QCOMPARE(List()->currentIndex().row(), 150);
    QCOMPARE(List()->verticalScrollBar()->value(), scrolled);
    const QRect line = List()->visualRect(List()->currentIndex());
    QVERIFY(List()->viewport()->rect().contains(line));
  }

  void hundredThousandRunsAreListed() {
    std::vector<ResultRecord> runs;
    runs.reserve(100000);
    for (int i = 0; i < 100000; ++i) {
      runs.push_back(StoredRun(3 + i % 3, 1 + i % 4, 30 + i % 50));
    }
    WriteRecords(runs);
    Open();
    QCOMPARE(List()->model()->rowCount(), 100000);
    const QString last = List()->model()->index(99999, 0).data().toString();
    QVERIFY2(last.startsWith(QStringLiteral("100000 2026/12/09")), qPrintable(last));
    QVERIFY(List()->model()->index(0, 0).data().toString().startsWith(QStringLiteral("     1 ")));
    DoubleClickRow(99999);
    QVERIFY(Child<QFrame>("Picture3")->isVisible());
    QCOMPARE(Child<QLabel>("Label1")->text(), QStringLiteral("100000"));
  }

 private:
  void Open() {
    auto dialogs =
        std::make_unique<FakeDialogs>(QString::fromStdString(env_->state.installation.dataFolder));
    dialogs_ = dialogs.get();
    window_ = new ResultsBrowserWindow(env_->ctx, std::move(dialogs));
    env_->ctx.resultsBrowser = window_.data();
    window_->resize(1024, 768);
    window_->show();
    window_->Load();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
  }
  template <class T>
  T* Child(const char* name) {
    auto* w = window_->findChild<T*>(QString::fromUtf8(name));
    if (w == nullptr) {
      qFatal("no control %s", name);
    }
    return w;
  }
  QListView* List() { return Child<QListView>("List1"); }
  QComboBox* Chooser() { return Child<QComboBox>("Combo1"); }
  QLineEdit* TimeBox() { return Child<QLineEdit>("Text1(1)"); }
  QScrollBar* TimeBar() { return Child<QScrollBar>("VScroll1"); }
  QPoint RowPoint(int row) {
    const QModelIndex index = List()->model()->index(row, 0);
    List()->scrollTo(index);
    return List()->visualRect(index).center();
  }
  void ClickRow(int row) {
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowPoint(row));
  }
  void DoubleClickRow(int row) {
    const QPoint p = RowPoint(row);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, p);
  }
  void WriteRecords(const std::vector<ResultRecord>& records) {
    std::string bytes(records.size() * numora::kResultRecordSize, '\0');
    for (size_t i = 0; i < records.size(); ++i) {
      numora::EncodeResultRecord(records[i], reinterpret_cast<unsigned char*>(bytes.data()) +
                                                 i * numora::kResultRecordSize);
    }
    QVERIFY(numora::WriteWholeFile(numora::ResultsFilePath(env_->state.installation), bytes));
  }
  std::string FileBytes() {
    std::string bytes;
    numora::ReadWholeFile(numora::ResultsFilePath(env_->state.installation), bytes);
    return bytes;
  }
  int LogLines() {
    std::string text;
    bool exists = false;
    std::string error;
    numora::ReadCorrectionLog(env_->state.installation, text, exists, error);
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  }
  const char* Messages() {
    messagesText_.clear();
    for (const auto& m : env_->host.messages) {
      messagesText_ += m + "\n";
    }
    return messagesText_.c_str();
  }

  std::unique_ptr<DrillEnv> env_;
  QPointer<ResultsBrowserWindow> window_;
  FakeDialogs* dialogs_ = nullptr;
  std::string messagesText_;
};

QTEST_MAIN(ResultsBrowserWindowTest)
#include "results_browser_window_test.moc"
