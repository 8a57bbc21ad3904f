#pragma once

// The evaluation window FrmSyuuryou shown after every recorded run: the run's time and points,
// today's counts, the best-time and clear messages with their sounds, and after half a second the
// buttons back to the menu and for another run of the same level.

#include <QLabel>

#include "core/installation/app_state.h"
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

  void placeBackground();
  // Rebuilds the statistics, shows the results and plays the sounds; only the first call acts.
  void showResults();
  void offerButtons();  // buttonsTimer_, once, 500 ms after the results and sounds
  void backToMenu();    // "メニューへ"
  void runAgain();      // "もう一度"
  // Hides the window; it is deleted once none of its handlers is running.
  void Unload();

  const EvaluationResult& result() const { return result_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Controls, named by role; each keeps its old control name as objectName.
  QLabel* background_ = nullptr;        // background
  QLabel* titleLabel_ = nullptr;        // title
  QLabel* todayRunsLabel_ = nullptr;    // today's runs over all levels
  QLabel* levelNameLabel_ = nullptr;    // level name
  QLabel* levelRunsLabel_ = nullptr;    // today's runs on this level
  QLabel* pupilNameLabel_ = nullptr;    // pupil name
  QLabel* timeLabel_ = nullptr;         // the run's time
  QLabel* pointsLabel_ = nullptr;       // the run's points
  QLabel* messageLabel_ = nullptr;      // message line
  QLabel* levelClearLabel_ = nullptr;   // "このレベルクリア"
  QFrame* goalPanel_ = nullptr;         // goal panel
  QLabel* goalLabel_ = nullptr;         // "目標レベルクリア。おめでとう！"
  QPushButton* menuButton_ = nullptr;   // "メニューへ"
  QPushButton* againButton_ = nullptr;  // "もう一度"
  QTimer* buttonsTimer_ = nullptr;

  void CreateControls();

  AppContext& ctx_;
  AppState& state_;
  Services& services_;
  bool activated_ = false;
  EvaluationResult result_;
};

}  // namespace numora
