#pragma once

// The student hub seisekitime1: one column per level with the start button, the pupil's figures,
// the target line and a score list, the view selectors above them, and the covers shown while
// the statistics and lists are rebuilt.

#include <QLabel>
#include <string>
#include <vector>

#include "core/hub/score_lists.h"
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
  void Form_Load();
  // The full refresh run on every showing.
  void Form_Activate();
  // Typed characters: digits and a..d start levels, "0" goes back. True when handled.
  bool Form_KeyPress(const QString& typed);

  void Command1_Click();           // "戻る(0)"
  void Command4_Click(int index);  // start button of a level
  void Label3_Click(int index);    // level name
  void Command9_Click();           // level availability
  void 回数など表示();             // column heads "今日"/"今まで", lists cleared
  // Hides the hub and deletes it once no handler of it is running.
  void Unload();

  void Option1_Click(int index);   // list choice
  void Option2_Click(int index);   // view kind
  void Command3_Click(int level);  // ranking of one level
  void Command5_Click();           // today's runs
  void Command6_Click();           // best-time rankings
  void Command7_Click();           // all runs of the chosen period
  void Combo1_Click();             // grade filter chosen
  void Combo2_Click();             // period chosen

  int hubReady() const { return hubReady_; }
  int viewMode() const { return viewMode_; }
  int rankingKind() const { return rankingKind_; }
  // How often this window rebuilt the statistics and built a level's list, for the tests that
  // check one activation does each once.
  int statisticsRebuilds() const { return statisticsRebuilds_; }
  int listBuilds() const { return listBuilds_; }

  // Controls, under their form names; arrays are indexed by level (element 0 the hidden template).
  std::vector<QLabel*> Label1, Label9, Label10, Label14, Label15, Label8, Label7;
  std::vector<ClickLabel*> Label3;
  std::vector<QPushButton*> Command4, Command3;
  std::vector<QLineEdit*> Text1;
  std::vector<QListWidget*> List5;
  std::vector<QRadioButton*> Option1;  // 1..3 (element 0 unused)
  std::vector<QRadioButton*> Option2;  // 0..2
  QLabel* Label5 = nullptr;
  QLabel* Label11 = nullptr;
  QLabel* Label12 = nullptr;
  QLabel* Label13 = nullptr;
  QLabel* Label17 = nullptr;
  QLabel* Label18 = nullptr;
  QLabel* Label19 = nullptr;
  QLabel* Label21 = nullptr;
  QFrame* Picture1 = nullptr;
  QFrame* Picture2 = nullptr;
  QFrame* Picture3 = nullptr;
  QFrame* Picture4 = nullptr;
  QFrame* Picture5 = nullptr;
  QFrame* Picture6 = nullptr;
  QFrame* Picture7 = nullptr;
  QComboBox* Combo1 = nullptr;
  QComboBox* Combo2 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command5 = nullptr;
  QPushButton* Command6 = nullptr;
  QPushButton* Command7 = nullptr;
  QPushButton* Command8 = nullptr;
  QPushButton* Command9 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QProgressBar* ProgressBar2 = nullptr;
  QLineEdit* Text4 = nullptr;
  QLineEdit* Text5 = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void CreateColumn(int level);
  void PlaceColumns();
  void LetScreenRepaint();
  void SetStartButtonsEnabled(bool enabled);
  void SetListsVisible(bool visible);
  void ShowCover6();
  void ShowList(int level, const ScoreList& list);
  void ShowRunLists(const std::vector<ScoreList>& lists);
  ListOptions CurrentListOptions() const;
  int SelectedOption1() const;
  int Levels() const;

  AppContext& ctx_;
  SharedState& state_;
  Services& services_;
  double columnWidth_ = 0;  // twips
  double leftMargin_ = 0;   // twips
  int hubReady_ = 0;
  int suppressViewEvents_ = 0;
  int viewMode_ = 0;
  int rankingKind_ = 0;
  int statisticsRebuilds_ = 0;
  int listBuilds_ = 0;
};

}  // namespace numora
