#pragma once

// The hub's data-change gate Picture7: a green panel where a teacher types the data-change
// password and chooses the results browser or the level standards editor, which then take the
// hub's place.

#include <QFrame>

#include "ui/common/app_context.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace numora {

class FormWidget;

class DataGatePanel : public QFrame {
  Q_OBJECT

 public:
  // Builds the hidden panel inside the form; the form places it.
  DataGatePanel(FormWidget& form, AppContext& ctx);

  // "データ処理": shows the panel in front of everything else, the password entry focused.
  void open();
  // "戻る": hides the panel (the typed text stays).
  void closePanel();
  // "データ変更" (0) or "合格タイムデータ変更" (1): checks the password, then opens the chosen
  // window and unloads the hub. A wrong password is told and the typed text stays.
  void openChosenWindow(int choice);

 signals:
  // The chosen window is open: the hub is to be unloaded.
  void windowOpened();

 private:
  AppContext& ctx_;
  QLabel* passwordLabel_ = nullptr;       // Label28
  QLineEdit* passwordEntry_ = nullptr;    // Text3
  QPushButton* browserButton_ = nullptr;  // Command10(0)
  QPushButton* editorButton_ = nullptr;   // Command10(1)
  QPushButton* backButton_ = nullptr;     // Command12
};

}  // namespace numora
