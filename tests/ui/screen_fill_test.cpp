// The windows on a real X server without a window manager (a kiosk set-up) whose screen is larger
// than 1024 × 768: every full-screen window covers the whole screen with its canvas scaled to it,
// and the wait window is small and in the middle. CTest runs this program under Xvfb with a
// 1280 × 1024 screen.

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <memory>

#include "core/platform/cp932.h"
#include "core/platform/field_reader.h"
#include "drill_test_env.h"
#include "ui/common/form_widget.h"
#include "ui/drill/drill_window.h"
#include "ui/drill/evaluation_window.h"
#include "ui/hub/hub_window.h"
#include "ui/roster/namesel_window.h"
#include "ui/startup/splash_window.h"
#include "window_controls.h"

using numora::FormWidget;
using numora::testing::DrillEnv;

namespace {

QRect ScreenArea() {
  return QGuiApplication::primaryScreen()->geometry();
}

double CanvasScale() {
  const QRect s = ScreenArea();
  return std::min(s.width() / 1024.0, s.height() / 768.0);
}

}  // namespace

class ScreenFillTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
      QSKIP("needs an X server (CTest runs it under Xvfb)");
    }
    const QRect s = ScreenArea();
    QVERIFY2(s.width() > 1024 && s.height() > 768,
             qPrintable(QStringLiteral("screen %1×%2").arg(s.width()).arg(s.height())));
  }
  void init() { env_ = std::make_unique<DrillEnv>(); }
  void cleanup() {
    env_.reset();
    DrillEnv::FlushDeletes();
  }

  void fullScreenWindowsCoverTheScreen_data() {
    QTest::addColumn<QString>("window");
    for (const char* name : {"splash", "name selection", "hub", "drill", "evaluation"}) {
      QTest::newRow(name) << QString::fromLatin1(name);
    }
  }
  void fullScreenWindowsCoverTheScreen() {
    QFETCH(QString, window);
    DrillEnv& env = *env_;
    FormWidget* form = nullptr;
    if (window == QLatin1String("splash")) {
      env.state.installation.programFolder = "/opt/numora/";
      auto* splash = numora::ShowSplash(env.ctx);
      Timer1(splash)->stop();  // no set-up: only the window is looked at
      form = splash;
      env.ctx.firstfrm = nullptr;
      form->setAttribute(Qt::WA_DeleteOnClose, false);
    } else if (window == QLatin1String("name selection")) {
      env.state.installation.dataRootFolder = env.state.installation.dataFolder;
      env.state.installation.schoolYearStartMonth = 4;
      QVERIFY(numora::WriteWholeFile(env.state.installation.dataRootFolder + "新名簿.txt",
                                     numora::Utf8ToCp932("3,2019,0,0,山田　花子,0,,\r\n")));
      numora::ShowNameSelection(env.ctx);
      form = qobject_cast<FormWidget*>(env.ctx.namesel.data());
    } else if (window == QLatin1String("hub")) {
      numora::ShowHub(env.ctx);
      form = qobject_cast<FormWidget*>(env.ctx.hub.data());
    } else if (window == QLatin1String("drill")) {
      numora::StartDrill(env.ctx);
      form = qobject_cast<FormWidget*>(env.ctx.drill.data());
    } else {
      env.state.run.recordedTime = 50;
      numora::ShowEvaluation(env.ctx);
      form = qobject_cast<FormWidget*>(env.ctx.evaluation.data());
    }
    QVERIFY(form != nullptr);
    const std::unique_ptr<FormWidget> splashOwner(window == QLatin1String("splash") ? form
                                                                                    : nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QTRY_COMPARE(form->geometry(), ScreenArea());
    QTRY_COMPARE(form->scale(), CanvasScale());
    if (window == QLatin1String("drill")) {
      // The canvas is scaled: the drill area spans the screen's width.
      auto* drill = static_cast<numora::DrillWindow*>(form);
      QCOMPARE(Picture2(drill)->width(), static_cast<int>(std::lround(1024 * CanvasScale())));
    }
  }

  void waitWindowIsSmallAndCentred() {
    DrillEnv& env = *env_;
    numora::ShowWaitWindow(env.ctx);
    QWidget* wait = env.ctx.basefrm.data();
    QVERIFY(wait != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(wait));
    const QRect s = ScreenArea();
    QTRY_VERIFY(qAbs(wait->geometry().center().x() - s.center().x()) <= 1);
    QVERIFY(qAbs(wait->geometry().center().y() - s.center().y()) <= 1);
    QVERIFY(wait->width() < s.width() / 2);
    QVERIFY(wait->height() < s.height() / 4);
    numora::UnloadWaitWindow(env.ctx);
  }

 private:
  std::unique_ptr<DrillEnv> env_;
};

QTEST_MAIN(ScreenFillTest)
#include "screen_fill_test.moc"
