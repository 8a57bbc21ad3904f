#pragma once

// The wait window BASEFRM: a small window in the middle of the screen with "Just a moment,
// please." in white, shown while a slow step runs. It is small so that what the window behind it
// shows stays in view (the drill's "成績記録中" or "時間切れ" during the wait at the end of a run).

#include <QLabel>
#include <QWidget>

#include "ui/common/app_context.h"

namespace numora {

class WaitWindow : public QWidget {
  Q_OBJECT

 public:
  WaitWindow();

  // Sizes the window for the screen it is on (as the 1024 × 768 canvas scales to it) and centres
  // it there.
  void placeOnScreen();

 private:
  QLabel* waitLabel_ = nullptr;
};

}  // namespace numora
