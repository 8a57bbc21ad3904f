#pragma once

// The name selection screen namesel: the first window a pupil sees. It lists the listed pupils of
// the roster with two result figures each, narrows the list to a grade, lets the pupil choose and
// confirm a name (which opens the hub), leaves to the launcher, and opens the version box from
// its title.

#include <QLabel>
#include <QStringList>
#include <vector>

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
  void Form_Load();
  // Run each time the window becomes the program's active window: points view, the filter
  // texts, gradeFilterText back to "全学年", the hub unloaded, no name chosen.
  void Form_Activate();
  // Rebuilds the statistics, rereads the roster and fills the three lists.
  void 名簿表示();
  // Typed characters seen by the window before its controls: "1" confirms, "0" leaves.
  bool Form_KeyPress(const QString& typed);

  void Option1_Click(int index);  // view chosen
  void Combo1_Click();            // grade filter chosen
  void List1_Click();             // a line chosen (also by the arrow keys)
  void List1_DblClick();          // a line chosen and confirmed
  void Command14_Click();         // "O.K."
  void Command7_Click();          // leave to the launcher
  void Label4_Click();            // the version box
  // Hides the window and deletes it once none of its handlers is running.
  void Unload();

  int nameListView() const { return nameListView_; }
  // How often the list was built, for the tests that follow the loading and activation order.
  int listBuilds() const { return listBuilds_; }

  // Controls under their form names.
  QFrame* Picture4 = nullptr;  // title area
  QFrame* Picture3 = nullptr;  // picture frame inside the title area
  QLabel* Image1 = nullptr;
  QLabel* Label4 = nullptr;  // title; a click opens the version box
  QLabel* Label6 = nullptr;  // school name under the title
  QListWidget* List1 = nullptr;
  QComboBox* Combo1 = nullptr;
  QFrame* Picture7 = nullptr;  // view options and the confirm button
  std::vector<QRadioButton*> Option1;
  QPushButton* Command14 = nullptr;  // "O.K."
  QLabel* Label1 = nullptr;          // "名前を選びなさい" or the chosen name
  QLabel* Label2 = nullptr;          // hidden: pupil number of the chosen line
  QPushButton* Command7 = nullptr;   // "ﾌﾟﾟﾛｸﾞﾗﾑメニューへ(0)"
  QFrame* Picture5 = nullptr;        // busy cover
  QLabel* Label19 = nullptr;
  QFrame* Picture8 = nullptr;  // development layout panel
  QLabel* Label8 = nullptr;
  // The hidden working lists: the sorted work lines, and the lines parallel to List1 from its
  // second line on (display line, "*", pupil number).
  QStringList List2;
  QStringList List3;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void ChooseLine(bool doubleClick);

  AppContext& ctx_;
  SharedState& state_;
  Services& services_;
  int nameListView_ = 0;
  int listBuilds_ = 0;
};

}  // namespace numora
