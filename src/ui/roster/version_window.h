#pragma once

// The version box frmver: a small modal window over the selection screen with the program's
// title, its three-part version, the maker's name and a line of text.

#include <QDialog>
#include <QLabel>

#include "ui/common/app_context.h"

class QFrame;
class QPushButton;

namespace numora {

class VersionWindow : public QDialog {
  Q_OBJECT

 public:
  // scale: the selection screen's scale, so that the box keeps its size beside it.
  VersionWindow(AppContext& ctx, QWidget* parent, double scale = 1.0);
  ~VersionWindow() override;

  // Lets pending window messages be processed twice, then fills the labels.
  void fillLabels();
  void closeBox();  // "O.K."

  // Size of the box in twips.
  static constexpr int kWidthTwips = 6600;
  static constexpr int kHeightTwips = 4200;

 private:
  // Controls, named by role; each keeps its old control name as objectName.
  QFrame* frame_ = nullptr;         // decorative frame
  QLabel* titleLabel_ = nullptr;    // title
  QLabel* versionLabel_ = nullptr;  // "Version" and the version number
  QLabel* makerLabel_ = nullptr;    // maker
  QLabel* textLabel_ = nullptr;     // a line of text
  QPushButton* okButton_ = nullptr;

  void Place(QWidget* w, int left, int top, int width, int height, double points, bool bold);

  AppContext& ctx_;
  double scale_;
};

// "Version" followed by the program's major, minor and revision numbers.
QString VersionLabelText();

// Opens the version box centred over the given window and waits until it is closed.
void ShowVersionBox(AppContext& ctx, QWidget* over, double scale);

}  // namespace numora
