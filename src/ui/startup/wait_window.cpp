#include "ui/startup/wait_window.h"

namespace numora {

namespace {
constexpr unsigned kWaitBackground = 0x804000;  // dark blue
constexpr unsigned kWhite = 0xFFFFFF;
}  // namespace

WaitWindow::WaitWindow() {
  setObjectName("BASEFRM");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("ヌモラ"));
  setBackColour(kWaitBackground);
  waitLabel_ = new QLabel(QStringLiteral("Just a moment, please."), this);
  waitLabel_->setObjectName("Label19");
  waitLabel_->setAlignment(Qt::AlignCenter);
  SetForeColour(waitLabel_, kWhite);
  place(waitLabel_, 1920, 5040, 11520, 1440);
  setFontPoints(waitLabel_, 28, true);
}

void ShowWaitWindow(AppContext& ctx) {
  if (!ctx.basefrm) {
    ctx.basefrm = new WaitWindow;
  }
  ctx.basefrm->showFullScreen();
  ctx.basefrm->raise();
  // Loading the window only lets it paint at once.
  ctx.services.host.ProcessEvents();
}

void UnloadWaitWindow(AppContext& ctx) {
  if (ctx.basefrm) {
    ctx.basefrm->close();
  }
  ctx.basefrm = nullptr;
}

void UnloadAllWindows(AppContext& ctx) {
  for (QWidget* w : {ctx.resultsBrowser.data(), ctx.standardsEditor.data(), ctx.evaluation.data(),
                     ctx.drill.data(), ctx.hub.data(), ctx.namesel.data(), ctx.basefrm.data(),
                     ctx.firstfrm.data()}) {
    if (w != nullptr) {
      w->close();
    }
  }
}

}  // namespace numora
