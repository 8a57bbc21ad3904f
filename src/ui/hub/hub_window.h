#pragma once

// The student hub seisekitime1: one column per level with the start button, the pupil's figures,
// the target line and a score list, the view selectors above them, and the covers shown while
// the statistics and lists are rebuilt.

#include <QLabel>
#include <string>
#include <vector>

#include "core/hub/score_lists.h"
#include "core/installation/app_state.h"
#include "ui/common/app_context.h"
#include "ui/common/form_widget.h"

class QComboBox;
class QFrame;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace numora {

class ChartPanel;
class DataGatePanel;

// A label that reports clicks (the level names start a drill when clicked).
class ClickLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class HubWindow : public FormWidget {
  Q_OBJECT

 public:
  explicit HubWindow(AppContext& ctx);
  ~HubWindow() override;

  // Builds the columns and the fixed lists; runs once, from the constructor.
  void buildColumns();
  // The full refresh run on every showing.
  void refresh();
  // Typed characters: digits and a..d start levels, "0" goes back. True when handled.
  bool handleTypedKey(const QString& typed);

  void backToNameSelection();        // "戻る(0)"
  void startLevel(int index);        // start button of a level
  void startLevelByName(int index);  // level name
  void showLevelAvailability();      // level availability
  void resetColumnHeads();           // column heads "今日"/"今まで", lists cleared
  // Hides the hub and deletes it once no handler of it is running.
  void Unload();

  void chooseList(int index);  // list choice
  void chooseView(int index);  // view kind
  void applyGradeFilter();     // grade filter chosen
  void applyPeriod();          // period chosen
  void showPersonalRuns();     // the personal time view: each level's own runs
  void openChart();            // "グラフ"

  int hubReady() const { return hubReady_; }
  int viewMode() const { return viewMode_; }
  int rankingKind() const { return rankingKind_; }
  // How often this window rebuilt the statistics and built a level's list, for the tests that
  // check one activation does each once.
  int statisticsRebuilds() const { return statisticsRebuilds_; }
  int listBuilds() const { return listBuilds_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Controls, named by role; each keeps its old control name as objectName.
  std::vector<QLabel*> levelNumberLabels_, todayHeads_, allTimeHeads_, todayFigures_,
      allTimeFigures_, recentPeriodLabels_, targetLabels_;
  std::vector<ClickLabel*> levelNameLabels_;
  std::vector<QPushButton*> startButtons_;
  std::vector<QLineEdit*> overPracticeNotices_;
  std::vector<QListWidget*> scoreLists_;
  std::vector<QRadioButton*> listChoices_;  // 1..3 (element 0 unused)
  std::vector<QRadioButton*> viewKinds_;    // 0..2
  QLabel* listTitleLabel_ = nullptr;
  QLabel* titleLabel_ = nullptr;
  QLabel* pupilLabel_ = nullptr;
  QLabel* schoolLabel_ = nullptr;
  QLabel* minutesLabel_ = nullptr;
  QLabel* todayRunsLabel_ = nullptr;
  QLabel* coverLabel_ = nullptr;
  QLabel* listCoverLabel_ = nullptr;
  QFrame* listChoicePanel_ = nullptr;
  QFrame* cover_ = nullptr;
  QFrame* minutesPanel_ = nullptr;
  QFrame* todayRunsPanel_ = nullptr;
  QFrame* viewKindPanel_ = nullptr;
  QFrame* listCover_ = nullptr;
  DataGatePanel* gatePanel_ = nullptr;  // Picture7, the data-change gate
  QComboBox* gradeFilterBox_ = nullptr;
  QComboBox* periodBox_ = nullptr;
  QPushButton* backButton_ = nullptr;
  QPushButton* dataButton_ = nullptr;
  QProgressBar* coverProgress_ = nullptr;
  QProgressBar* listCoverProgress_ = nullptr;
  QPushButton* chartButton_ = nullptr;
  ChartPanel* chartPanel_ = nullptr;

  void CreateControls();
  void CreateColumn(int level);
  void PlaceColumns();
  void LetScreenRepaint();
  void SetStartButtonsEnabled(bool enabled);
  void SetListsVisible(bool visible);
  void ShowListCover();
  void ShowList(int level, const ScoreList& list);
  void ShowRunLists(const std::vector<ScoreList>& lists);
  ListOptions CurrentListOptions() const;
  int SelectedListChoice() const;
  int Levels() const;

  AppContext& ctx_;
  AppState& state_;
  Services& services_;
  double columnWidth_ = 0;  // twips
  double leftMargin_ = 0;   // twips
  int hubReady_ = 0;
  bool startRequested_ = false;  // a drill start was asked for; later requests are refused
  int suppressViewEvents_ = 0;
  int viewMode_ = 0;
  int rankingKind_ = 0;
  int statisticsRebuilds_ = 0;
  int listBuilds_ = 0;
};

}  // namespace numora
