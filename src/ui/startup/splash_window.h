#pragma once

// The splash window SplashWindow: the program's picture, "Just a moment, please." and today's date
// on the season colour. Its single 100 ms tick runs the path and settings set-up, opens the name
// selection screen and unloads the splash.

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include "ui/common/app_context.h"
#include "ui/common/form_widget.h"

namespace numora {

// The splash picture: the program's title drawn large over a few number tiles.
class SplashPicture : public QWidget {
  Q_OBJECT

 public:
  explicit SplashPicture(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class SplashWindow : public FormWidget {
  Q_OBJECT

 public:
  explicit SplashWindow(AppContext& ctx);

  // The load event: shows the window, seeds the random generator from the timer, sets the date
  // caption and the season colour, sets developmentLayout and starts setUpTimer_.
  void begin();
  // The one tick of setUpTimer_: the set-up, then the name selection screen; the splash unloads.
  // When a start-up file is missing or short, shows the message and ends the program.
  void runSetUp();

 private:
  // Controls, named by role; each keeps its old control name as objectName.
  SplashPicture* picture_ = nullptr;
  QLabel* waitLabel_ = nullptr;   // "Just a moment, please."
  QLabel* dateLabel_ = nullptr;   // date
  QTimer* setUpTimer_ = nullptr;  // 100 ms, one tick

  AppContext& ctx_;
};

// Creates, registers and loads the splash window (the program's entry point).
SplashWindow* ShowSplash(AppContext& ctx);

}  // namespace numora
