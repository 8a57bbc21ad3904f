#pragma once

// The drill window MainFrm: the status panel with the run clock, time bar and countdown squares,
// the board of one hundred tiles, the target line, the hint panel, the judge button and the
// cover shown while the run is recorded. One window lives for exactly one run.

#include <QPushButton>
#include <vector>

#include "core/drill/drill_run.h"
#include "core/installation/app_state.h"
#include "ui/common/app_context.h"
#include "ui/common/form_widget.h"

class QFrame;
class QLabel;
class QTimer;

namespace numora {

// A number tile of the board: a flat coloured square with its number, pressable by mouse and
// through the accessibility interface (its accessible name is its number). A tile acts on a
// single click: the second press of a double-click does nothing.
class BoardTile : public QPushButton {
  Q_OBJECT

 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class DrillWindow : public FormWidget {
  Q_OBJECT

 public:
  explicit DrillWindow(AppContext& ctx);
  ~DrillWindow() override;

  // Seeds the random generator and places the panels; runs once, from the constructor.
  void placePanels();
  // Creates the board and starts the run; only the first call does anything.
  void startRun();

  void prepareRun();
  void startClock();
  void showNextProblem();
  void applyJudgement();

  void pressTile(int n);    // tile press
  void judgeAnswer();       // "判定"
  void focusJudgeButton();  // drill area background

  void runClockTick();       // runClock_, once a second
  void statusRefreshTick();  // statusRefresh_, every ten seconds
  void endRun();             // the end-of-run hand-off
  void waitThenShowEvaluation(double seconds);
  // Stops the clocks and hides the window; it is deleted once none of its handlers is running,
  // because the hand-off can end the run deep inside a tick or a click of this window.
  void Unload();

  int targetNumber() const { return run_.targetNumber(); }
  int previousTarget() const { return run_.previousTarget(); }
  int divisorCount() const { return run_.divisorCount(); }
  int hintPairsShown() const { return run_.hintPairsShown(); }
  const HintSlots& hints() const { return run_.hints(); }
  bool runClockActive() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Controls, named by role; each keeps its old control name as objectName.
  QFrame* statusPanel_ = nullptr;          // status panel
  QLabel* titleLabel_ = nullptr;           // title
  QLabel* remainingCaption_ = nullptr;     // "残り"
  QLabel* timeCaption_ = nullptr;          // "タイム"
  QLabel* problemsCaption_ = nullptr;      // "問"
  QLabel* pupilNameLabel_ = nullptr;       // pupil name
  QLabel* levelNameLabel_ = nullptr;       // level name
  QLabel* remainingLabel_ = nullptr;       // problems remaining
  QLabel* elapsedLabel_ = nullptr;         // elapsed seconds
  QLabel* levelRunNumberLabel_ = nullptr;  // run number today on this level
  QLabel* todayRunNumberLabel_ = nullptr;  // run number today over all levels
  QLabel* minutesLabel_ = nullptr;         // minutes since the pupil started
  QLabel* schoolNameLabel_ = nullptr;      // school name
  std::vector<QLabel*>
      statusCaptions_;  // 0..5: "起動後", "分", "本日", "回目", "このレベル", "回目"
  std::vector<QLabel*> squareCaptions_;  // 0 "YourBest", 1 "Best", 2 "Pass"
  QFrame* elapsedBar_ = nullptr;         // elapsed time (blue)
  QFrame* targetBar_ = nullptr;          // target time (green)
  QFrame* minimumBar_ = nullptr;         // minimum time (light green)
  QFrame* timeBar_ = nullptr;            // the whole bar (white)
  QFrame* redBar_ = nullptr;             // red, width 0
  QFrame* limitMark_ = nullptr;          // short red bar at the end of the time limit
  std::vector<QFrame*> squareFrames_;    // countdown squares 10..39
  QFrame* drillArea_ = nullptr;          // drill area
  std::vector<BoardTile*> tiles_;        // 0 template, 1..100 tiles
  QLabel* targetNumberLabel_ = nullptr;  // target number
  QLabel* instructionLabel_ = nullptr;   // "の約数を押しなさい"
  QFrame* hintPanel_ = nullptr;          // hint panel
  QLabel* hintCaption_ = nullptr;        // "ヒント"
  std::vector<QLabel*> hintLabels_;      // hint slots 1..HintSlots::kMaxSlots
  QPushButton* judgeButton_ = nullptr;   // "判定"
  QFrame* recordingCover_ = nullptr;     // end-of-run cover
  QLabel* recordingLabel_ = nullptr;     // "成績記録中"
  QLabel* timeOutLabel_ = nullptr;       // "時間切れ"
  QTimer* runClock_ = nullptr;
  QTimer* statusRefresh_ = nullptr;

  void CreateControls();
  void CreateStatusPanel();
  void CreateDrillArea();
  void CreateCover();
  void CreateBoard();
  void OpenAllTiles();
  void SetBarWidth(QFrame* shape, double width);
  void ShowRemaining();

  AppContext& ctx_;
  AppState& state_;
  Services& services_;
  bool activated_ = false;
  DrillRun run_;
};

}  // namespace numora
