#pragma once

// The name selection screen namesel: the first window a pupil sees. It lists the listed pupils of
// the roster with two result figures each, narrows the list to a grade, lets the pupil choose and
// confirm a name (which opens the hub), leaves to the launcher, and opens the version box from
// its title.

#include <QLabel>
#include <QStringList>
#include <vector>

#include "core/installation/app_state.h"
#include "ui/common/app_context.h"
#include "ui/common/form_widget.h"

class QComboBox;
class QFrame;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace numora {

class NameSelWindow : public FormWidget {
  Q_OBJECT

 public:
  explicit NameSelWindow(AppContext& ctx);
  ~NameSelWindow() override;

  // Shows the window, builds the name list and selects the dash line.
  void loadList();
  // Run each time the window becomes the program's active window: points view, the filter
  // texts, gradeFilterText back to "全学年", the hub unloaded, no name chosen.
  void resetChoice();
  // Rebuilds the statistics, rereads the roster and fills the three lists.
  void showRoster();
  // Typed characters seen by the window before its controls: "1" confirms, "0" leaves.
  bool handleTypedKey(const QString& typed);

  void chooseView(int index);   // view chosen
  void applyGradeFilter();      // grade filter chosen
  void chooseLine();            // a line chosen (also by the arrow keys)
  void chooseAndConfirmLine();  // a line chosen and confirmed
  void confirmName();           // "O.K."
  void leaveToLauncher();       // leave to the launcher
  void showVersionBox();        // the version box
  // Hides the window and deletes it once none of its handlers is running.
  void Unload();

  int nameListView() const { return nameListView_; }
  // How often the list was built, for the tests that follow the loading and activation order.
  int listBuilds() const { return listBuilds_; }
  // The lines parallel to the name list from its second line on (display line, "*", pupil
  // number), for the tests.
  const QStringList& listedLines() const { return listedLines_; }
  // The pupil number text of the line chosen last, for the tests.
  const std::string& chosenPupil() const { return chosenPupil_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Controls, named by role; each keeps its old control name as objectName.
  QFrame* titlePanel_ = nullptr;    // title area
  QFrame* pictureFrame_ = nullptr;  // picture frame inside the title area
  QLabel* picture_ = nullptr;
  QLabel* titleLabel_ = nullptr;   // title; a click opens the version box
  QLabel* schoolLabel_ = nullptr;  // school name under the title
  QListWidget* nameList_ = nullptr;
  QComboBox* gradeFilterBox_ = nullptr;
  QFrame* choicePanel_ = nullptr;  // view options and the confirm button
  std::vector<QRadioButton*> viewChoices_;
  QPushButton* okButton_ = nullptr;        // "O.K."
  QLabel* chosenNameLabel_ = nullptr;      // "名前を選びなさい" or the chosen name
  QPushButton* launcherButton_ = nullptr;  // "ﾌﾟﾟﾛｸﾞﾗﾑメニューへ(0)"
  QFrame* cover_ = nullptr;                // busy cover
  QLabel* coverLabel_ = nullptr;
  QFrame* developmentPanel_ = nullptr;  // development layout panel
  QLabel* developmentLabel_ = nullptr;
  // The lines parallel to nameList_ from its second line on (display line, "*", pupil number).
  QStringList listedLines_;

  void CreateControls();
  void SelectLine(bool doubleClick);

  AppContext& ctx_;
  AppState& state_;
  Services& services_;
  std::string chosenPupil_;  // pupil number text of the last pupil line chosen
  int nameListView_ = 0;
  int listBuilds_ = 0;
};

}  // namespace numora
