#include "ui/startup/wait_window.h"

namespace numora {

namespace {
constexpr unsigned kWaitBackground = 0x804000;  // dark blue
constexpr unsigned kWhite = 0xFFFFFF;
}  // namespace

BaseFrm::BaseFrm() {
  setObjectName("BASEFRM");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("ヌモラ"));
  setBackColour(kWaitBackground);
  Label19 = new QLabel(QStringLiteral("Just a moment, please."), this);
  Label19->setObjectName("Label19");
  Label19->setAlignment(Qt::AlignCenter);
  SetForeColour(Label19, kWhite);
  place(Label19, 1920, 5040, 11520, 1440);
  setFontPoints(Label19, 28, true);
}

void ShowWaitWindow(AppContext& ctx) {
  if (!ctx.basefrm) {
    ctx.basefrm = new BaseFrm;
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
  for (QWidget* w : {ctx.evaluation.data(), ctx.drill.data(), ctx.hub.data(), ctx.namesel.data(),
                     ctx.basefrm.data(), ctx.firstfrm.data()}) {
    if (w != nullptr) {
      w->close();
    }
  }
}

}  // namespace numora
