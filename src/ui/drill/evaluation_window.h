#pragma once

// The evaluation window FrmSyuuryou shown after every recorded run: the run's time and points,
// today's counts, the best-time and clear messages with their sounds, and after half a second the
// buttons back to the menu and for another run of the same level.

#include <QLabel>

#include "core/records/evaluation.h"
#include "ui/common/app_context.h"
#include "ui/common/form_widget.h"

class QFrame;
class QPushButton;
class QTimer;

namespace numora {

class EvaluationWindow : public FormWidget {
  Q_OBJECT

 public:
  explicit EvaluationWindow(AppContext& ctx);
  ~EvaluationWindow() override;

  void Form_Load();
  // Rebuilds the statistics, shows the results and plays the sounds; only the first call acts.
  void Form_Activate();
  void timer1Tick();      // Timer1, once, 500 ms after the activation
  void Command4_Click();  // "メニューへ"
  void Command5_Click();  // "もう一度"
  // Hides the window; it is deleted once none of its handlers is running.
  void Unload();

  const EvaluationResult& result() const { return result_; }

  QLabel* Image1 = nullptr;         // background
  QLabel* Label15 = nullptr;        // title
  QLabel* Label14 = nullptr;        // today's runs over all levels
  QLabel* Label16 = nullptr;        // level name
  QLabel* Label13 = nullptr;        // today's runs on this level
  QLabel* Label17 = nullptr;        // pupil name
  QLabel* Label18 = nullptr;        // the run's time
  QLabel* Label19 = nullptr;        // the run's points
  QLabel* Label20 = nullptr;        // message line
  QLabel* Label2 = nullptr;         // "このレベルクリア"
  QFrame* Picture1 = nullptr;       // goal panel
  QLabel* Label1 = nullptr;         // "目標レベルクリア。おめでとう！"
  QPushButton* Command4 = nullptr;  // "メニューへ"
  QPushButton* Command5 = nullptr;  // "もう一度"
  QTimer* Timer1 = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();

  AppContext& ctx_;
  SharedState& state_;
  Services& services_;
  bool activated_ = false;
  EvaluationResult result_;
};

}  // namespace numora
