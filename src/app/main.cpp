// numora: the drill program. Starts at the splash window.

#include <QApplication>
#include <memory>

#include "audio/sdl_sound.h"
#include "core/installation/shared_state.h"
#include "core/platform/system_clock.h"
#include "ui/common/app_context.h"
#include "ui/common/qt_host.h"
#include "ui/startup/splash_window.h"
#include "version.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("numora"));
  QApplication::setApplicationVersion(QStringLiteral(NUMORA_VERSION_TEXT));

  numora::SystemClock clock;
  numora::SystemRandom random;
  numora::SdlSound sound;
  numora::QtHost host;
  numora::Services services{clock, random, sound, host};
  // The shared state is large (its per-level-per-pupil tables); it lives on the heap for the
  // whole run.
  auto state = std::make_unique<numora::SharedState>();
  state->programFolder = numora::ExecutableFolder();
  numora::AppContext ctx{*state, services};
  host.unloadAllWindows = [&ctx] { numora::UnloadAllWindows(ctx); };

  numora::ShowSplash(ctx);
  return QApplication::exec();
}
