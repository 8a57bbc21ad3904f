#pragma once

// The results browser FrmData: the teacher's list of every stored run, an edit panel to give a run
// another pupil or time or to delete it, printing and saving the list, and the way back to a fresh
// hub. Every line, check and correction comes from the core (core/admin/results_browser.h).

#include <QString>
#include <memory>

#include "core/admin/results_browser.h"
#include "core/installation/installation_settings.h"
#include "core/roster/roster_tables.h"
#include "ui/common/app_context.h"
#include "ui/common/form_widget.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QPrinter;
class QPushButton;
class QScrollBar;
class QTextEdit;

namespace numora {

class BrowserListModel;

class ResultsBrowserWindow : public FormWidget {
  Q_OBJECT

 public:
  // The dialogs the window opens for printing and saving; tests give their own.
  class Dialogs {
   public:
    virtual ~Dialogs() = default;
    // Sets the printer up: through the printer dialog, or as a PDF file when the computer has no
    // printer. False when the teacher cancelled.
    virtual bool ChoosePrinter(QPrinter& printer, bool hasSelection, QWidget* parent) = 0;
    // The file to save the CSV in; empty when the teacher cancelled.
    virtual QString ChooseCsvFile(const QString& suggested, QWidget* parent) = 0;
  };

  explicit ResultsBrowserWindow(AppContext& ctx, std::unique_ptr<Dialogs> dialogs = nullptr);
  ~ResultsBrowserWindow() override;

  // Opening: the cover hidden, the list panel at the top left, the list built.
  void Load();
  // Hides the window and deletes it once none of its handlers is running.
  void Unload();

  // The list as it stands, for the tests.
  const BrowserList& list() const { return list_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void BuildList();
  void SelectLine(size_t line);
  void OpenSelectedRecord();
  void ClosePanel();
  void ScrollBarMoved(int value);
  void PupilChosen();
  void RecordChange();
  void DeleteRecord();
  // After a refused or failed correction: the message, and a fresh list when the file changed.
  void Report(const BrowserResult& result);
  void PrintList();
  void SaveListAsCsv();
  void Leave();

  AppContext& ctx_;
  const InstallationSettings& installation_;
  RosterTables& roster_;  // read anew with each list
  Services& services_;
  std::unique_ptr<Dialogs> dialogs_;
  BrowserList list_;
  uint32_t selectedRecord_ = 0;
  ResultRecord recordBuffer_;
  bool settingTime_ = false;

  QFrame* cover_ = nullptr;        // Picture1
  QFrame* listPanel_ = nullptr;    // Picture2
  QLabel* instruction_ = nullptr;  // Label5
  QListView* listView_ = nullptr;  // List1
  BrowserListModel* model_ = nullptr;
  QPushButton* printButton_ = nullptr;     // Command17
  QPushButton* exportButton_ = nullptr;    // "ファイル化"
  QPushButton* listBackButton_ = nullptr;  // the list panel's "戻る"
  QPushButton* backButton_ = nullptr;      // Command4
  QTextEdit* printText_ = nullptr;         // RichTextBox1
  QFrame* editPanel_ = nullptr;            // Picture3
  QLabel* recordLabel_ = nullptr;          // Label1
  QLabel* unitLabel_ = nullptr;            // Label2(0)
  QLabel* levelLabel_ = nullptr;           // Label2(1)
  QLabel* dateLabel_ = nullptr;            // Label2(2)
  QLabel* gradeLabel_ = nullptr;           // Label2(4)
  QComboBox* pupilChooser_ = nullptr;      // Combo1
  QLineEdit* timeBox_ = nullptr;           // Text1(1)
  QScrollBar* timeBar_ = nullptr;          // VScroll1
  QPushButton* changeButton_ = nullptr;    // Command2
  QPushButton* deleteButton_ = nullptr;    // Command3
  QPushButton* cancelButton_ = nullptr;    // Command6
};

}  // namespace numora
