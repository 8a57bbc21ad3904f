#pragma once

// The splash window Firstfrm: the program's picture, "Just a moment, please." and today's date on
// the season colour. Its single 100 ms tick runs the path and settings set-up, opens the name
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

class Firstfrm : public FormWidget {
  Q_OBJECT

 public:
  explicit Firstfrm(AppContext& ctx);

  // The load event: shows the window, seeds the random generator from the timer, sets the date
  // caption and the season colour, sets developmentLayout and starts Timer1.
  void Form_Load();
  // The one tick of Timer1: the set-up, then the name selection screen; the splash unloads.
  // When a start-up file is missing or short, shows the message and ends the program.
  void Timer1_Timer();

  SplashPicture* Picture1 = nullptr;
  QLabel* Label1 = nullptr;  // "Just a moment, please."
  QLabel* Label5 = nullptr;  // date
  QTimer* Timer1 = nullptr;  // 100 ms, one tick

 private:
  AppContext& ctx_;
};

// Creates, registers and loads the splash window (the program's entry point).
Firstfrm* ShowSplash(AppContext& ctx);

}  // namespace numora
