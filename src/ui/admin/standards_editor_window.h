#pragma once

// The level standards editor FrmTimeData: the standards grid with the box that edits the current
// cell in place, the column explanations, the distribution of the stored runs of the level under
// the cursor, and the buttons to restore, save and go back to the hub.

#include <string>

#include "core/admin/standards_editor.h"
#include "core/installation/installation_settings.h"
#include "core/installation/level_catalogue.h"
#include "ui/common/app_context.h"
#include "ui/common/form_widget.h"

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace numora {

class StandardsEditorWindow : public FormWidget {
  Q_OBJECT

 public:
  explicit StandardsEditorWindow(AppContext& ctx);
  ~StandardsEditorWindow() override;

  // Shows the panel, loads the grid, places the overlay on row 1, column 1 and shows the
  // distribution. Runs once, when the window is first shown.
  void activate();

  // "元に戻す": the grid from the file again, unsaved edits dropped.
  void restoreFromFile();
  // "更新記録": the grid into the file, and the new standards live at once. False when nothing
  // was written (the teacher has been told why; the grid keeps its edits).
  bool saveToFile();
  // "戻る": asks whether to save unsaved changes, then shows a fresh hub and closes.
  void goBack();

  const StandardsGrid& grid() const { return grid_; }
  // How often the distribution was recomputed (a refresh reads the whole results file).
  int distributionRefreshes() const { return refreshes_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void createControls();
  void loadGrid(bool atOpening);
  void showCells();
  void sizeColumns();
  void placeOverlay();
  void showOverlayText();
  void refreshDistribution();
  bool handleOverlayKey(QKeyEvent* key);
  void clickCell(int tableRow, int column);
  void showCover(bool shown);

  AppContext& ctx_;
  const InstallationSettings& installation_;
  LevelCatalogue& catalogue_;  // its standards are read anew after a save
  Services& services_;
  StandardsGrid grid_;
  bool activated_ = false;
  bool fileWasRead_ = false;    // the last load read the file: only then may it be overwritten
  std::string shownReadError_;  // the results file problem told last, so it is told once
  int refreshes_ = 0;

  QLabel* outsideLabel_ = nullptr;        // Label2, seen only until the panel shows
  QFrame* panel_ = nullptr;               // Picture1
  QLabel* title_ = nullptr;               // Label5
  QTableWidget* table_ = nullptr;         // MSFlexGrid1
  QLineEdit* overlay_ = nullptr;          // Gridinputtext
  QLabel* explanationHead_ = nullptr;     // Label6
  QLabel* explanation_ = nullptr;         // Label3
  QLabel* keyHelp_ = nullptr;             // Label1
  QPushButton* restoreButton_ = nullptr;  // Command2
  QPushButton* saveButton_ = nullptr;     // Command3
  QPushButton* backButton_ = nullptr;     // Command4
  QLabel* distributionHead_ = nullptr;    // Label7
  QLabel* allRunsHead_ = nullptr;         // Label9
  QListWidget* allRunsList_ = nullptr;    // List3
  QLabel* bestTimesHead_ = nullptr;       // Label10
  QListWidget* bestTimesList_ = nullptr;  // List4
  QFrame* cover_ = nullptr;               // Picture6
  QLabel* coverText_ = nullptr;           // Label8
};

}  // namespace numora
