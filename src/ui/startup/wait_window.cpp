#include "ui/startup/wait_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "ui/common/form_widget.h"

namespace numora {

namespace {
constexpr unsigned kWaitBackground = 0x804000;  // dark blue
constexpr unsigned kWhite = 0xFFFFFF;
// Size on the 1024 × 768 canvas, in pixels, and the label's font.
constexpr int kWidth = 400;
constexpr int kHeight = 96;
constexpr int kFontPixels = 26;
}  // namespace

WaitWindow::WaitWindow() {
  setObjectName("BASEFRM");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(QStringLiteral("ヌモラ"));
  SetFormFont(this);
  SetBackColour(this, kWaitBackground);
  waitLabel_ = new QLabel(QStringLiteral("Just a moment, please."), this);
  waitLabel_->setObjectName("Label19");
  waitLabel_->setAlignment(Qt::AlignCenter);
  SetForeColour(waitLabel_, kWhite);
  placeOnScreen();
}

void WaitWindow::placeOnScreen() {
  const QScreen* onScreen = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  const QRect area = onScreen != nullptr ? onScreen->geometry() : QRect(0, 0, 1024, 768);
  const double scale = std::max(0.25, std::min(area.width() / 1024.0, area.height() / 768.0));
  const QSize size(static_cast<int>(std::lround(kWidth * scale)),
                   static_cast<int>(std::lround(kHeight * scale)));
  setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
  waitLabel_->setGeometry(rect());
  QFont font = waitLabel_->font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(kFontPixels * scale))));
  font.setBold(true);
  waitLabel_->setFont(font);
}

void ShowWaitWindow(AppContext& ctx) {
  auto* wait = qobject_cast<WaitWindow*>(ctx.basefrm.data());
  if (wait == nullptr) {
    wait = new WaitWindow;
    ctx.basefrm = wait;
  }
  wait->placeOnScreen();
  wait->show();
  wait->raise();
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
