// numora: the drill program. Starts at the splash window.

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>

#include "audio/sdl_sound.h"
#include "core/installation/app_state.h"
#include "core/platform/system_clock.h"
#include "ui/common/app_context.h"
#include "ui/common/qt_host.h"
#include "ui/startup/splash_window.h"
#include "version.h"

namespace {

// The text shown when something unexpected ends the program.
QString UnexpectedErrorText(bool outOfMemory) {
  return outOfMemory ? QStringLiteral(
                           "メモリが足りないため、プログラムを終了します。"
                           "ほかのプログラムを終了してから、もう一度起動してください。")
                     : QStringLiteral(
                           "予期しないエラーが起きたため、プログラムを終了します。"
                           "もう一度起動しても直らないときは、先生に知らせてください。");
}

[[noreturn]] void EndWithMessage(bool outOfMemory) {
  QMessageBox::critical(nullptr, QStringLiteral("注意"), UnexpectedErrorText(outOfMemory));
  std::_Exit(3);
}

// Every event handler runs inside notify(): an exception that escapes one is caught here, told
// in Japanese and ends the program, instead of crossing Qt's event loop.
class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
      EndWithMessage(true);
    } catch (...) {
      EndWithMessage(false);
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  GuardedApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("numora"));
  QApplication::setApplicationVersion(QStringLiteral(NUMORA_VERSION_TEXT));
  // The toolkit's own dialogs (the print dialog, the file dialog) speak Japanese too.
  QTranslator toolkitTexts;
  if (toolkitTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&toolkitTexts);
  }

  try {
    numora::SystemClock clock;
    numora::SystemRandom random;
    numora::SdlSound sound;
    numora::QtHost host;
    numora::Services services{clock, random, sound, host};
    // The program state is large (its per-level-per-pupil tables); it lives on the heap for the
    // whole run.
    auto state = std::make_unique<numora::AppState>();
    state->installation.programFolder = numora::ExecutableFolder();
    numora::AppContext ctx{*state, services};
    host.unloadAllWindows = [&ctx] { numora::UnloadAllWindows(ctx); };

    numora::ShowSplash(ctx);
    return QApplication::exec();
  } catch (const std::bad_alloc&) {
    EndWithMessage(true);
  } catch (...) {
    EndWithMessage(false);
  }
}
