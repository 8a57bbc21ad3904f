#pragma once

// The drill window MainFrm: the status panel with the run clock, time bar and countdown squares,
// the board of one hundred tiles, the target line, the hint panel, the judge button and the
// cover shown while the run is recorded. One window lives for exactly one run.

#include <QPushButton>
#include <vector>

#include "core/drill/problems.h"
#include "core/drill/run_clock.h"
#include "ui/common/app_context.h"
#include "ui/common/form_widget.h"

class QFrame;
class QLabel;
class QListWidget;
class QTimer;

namespace numora {

// A number tile of the board: a flat coloured square with its number, pressable by mouse and
// through the accessibility interface (its accessible name is its number).
class BoardTile : public QPushButton {
  Q_OBJECT

 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class DrillWindow : public FormWidget {
  Q_OBJECT

 public:
  explicit DrillWindow(AppContext& ctx);
  ~DrillWindow() override;

  // Seeds the random generator and places the panels; runs once, from the constructor.
  void Form_Load();
  // Creates the board and starts the run; only the first call does anything.
  void Form_Activate();

  void 初期設定();
  void レベル別設定();
  void スタート();
  void 問題作成表示();
  void 判定後処理();

  void Label1_Click(int n);  // tile press
  void Command1_Click();     // "判定"
  void Picture2_Click();     // drill area background

  void runClockTick();       // sTimer1, once a second
  void statusRefreshTick();  // sTimer2, every ten seconds
  void EndOfRun();           // the end-of-run hand-off
  void TimedWait(double seconds);
  // Stops the clocks and hides the window; it is deleted once none of its handlers is running,
  // because the hand-off can end the run deep inside a tick or a click of this window.
  void Unload();

  int targetNumber() const { return targetNumber_; }
  int previousTarget() const { return previousTarget_; }
  int divisorCount() const { return divisorCount_; }
  int hintPairsShown() const { return hintPairsShown_; }
  const HintSlots& hints() const { return hints_; }
  bool runClockActive() const;

  // Controls under their form names; arrays keep element 0 as the hidden template (or unused).
  QFrame* sPicture1 = nullptr;  // status panel
  QLabel* sLabel2 = nullptr;    // title
  QLabel* sLabel4 = nullptr;    // "残り"
  QLabel* sLabel5 = nullptr;    // "タイム"
  QLabel* sLabel6 = nullptr;    // "問"
  QLabel* sLabel7 = nullptr;    // pupil name
  QLabel* sLabel8 = nullptr;    // level name
  QLabel* sLabel9 = nullptr;    // problems remaining
  QLabel* sLabel10 = nullptr;   // elapsed seconds
  QLabel* sLabel11 = nullptr;   // run number today on this level
  QLabel* sLabel12 = nullptr;   // run number today over all levels
  QLabel* sLabel13 = nullptr;   // minutes since the pupil started
  QLabel* sLabel14 = nullptr;   // school name
  std::vector<QLabel*> sLabel16;  // 0..5: "起動後", "分", "本日", "回目", "このレベル", "回目"
  std::vector<QLabel*> sLabel17;    // 0 "YourBest", 1 "Best", 2 "Pass"
  QFrame* sShape2 = nullptr;        // elapsed time (blue)
  QFrame* sShape3 = nullptr;        // target time (green)
  QFrame* sShape4 = nullptr;        // minimum time (light green)
  QFrame* sShape5 = nullptr;        // the whole bar (white)
  QFrame* sShape7 = nullptr;        // red, width 0
  QFrame* sShape8 = nullptr;        // short red bar at the end of the time limit
  std::vector<QFrame*> sPicture3;   // countdown squares 10..39
  QFrame* Picture2 = nullptr;       // drill area
  std::vector<BoardTile*> Label1;   // 0 template, 1..100 tiles
  QLabel* Label2 = nullptr;         // target number
  QLabel* Label3 = nullptr;         // "の約数を押しなさい"
  QFrame* Picture1 = nullptr;       // hint panel
  QLabel* Label4 = nullptr;         // "ヒント"
  std::vector<QLabel*> Label5;      // hint slots 1..HintSlots::kMaxSlots
  QPushButton* Command1 = nullptr;  // "判定"
  QListWidget* List1 = nullptr;     // pressed divisors (hidden)
  QFrame* sPicture2 = nullptr;      // end-of-run cover
  QLabel* lblsss1 = nullptr;        // "成績記録中"
  QLabel* lblsss2 = nullptr;        // "時間切れ"
  QTimer* sTimer1 = nullptr;
  QTimer* sTimer2 = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void CreateStatusPanel();
  void CreateDrillArea();
  void CreateCover();
  void CreateBoard();
  void OpenAllTiles();
  void SetBarWidth(QFrame* shape, double width);
  void ShowRemaining();
  bool TimedLevel() const;

  AppContext& ctx_;
  SharedState& state_;
  Services& services_;
  bool activated_ = false;
  int targetNumber_ = 0;
  int previousTarget_ = 0;
  int divisorCount_ = 0;
  int hintPairsShown_ = 0;
  HintSlots hints_;
  CountdownSquares squares_;
};

}  // namespace numora
