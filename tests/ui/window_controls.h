#pragma once

// The windows' controls for the tests, found by their old control names (objectName) as
// assistive tools find them. Arrays of controls carry their index in the name: "Label1(7)".
// Each helper stops the test program with the missing name rather than return nothing.

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QTimer>
#include <QtGlobal>
#include <cstddef>

#include "ui/drill/drill_window.h"
#include "ui/drill/evaluation_window.h"
#include "ui/hub/hub_window.h"
#include "ui/roster/namesel_window.h"
#include "ui/roster/version_window.h"
#include "ui/startup/splash_window.h"
#include "ui/startup/wait_window.h"

namespace numora::testing {

template <class T>
T* Control(const QObject* window, const QString& name) {
  T* control = window->findChild<T*>(name);
  if (control == nullptr) {
    qFatal("%s has no control %s", qPrintable(window->objectName()), qPrintable(name));
  }
  return control;
}

}  // namespace numora::testing

// Found through the window's type, so a test writes Command1(drill) or Label1(drill, 7).
namespace numora {

using testing::Control;

inline QLabel* Label19(const WaitWindow* w) {
  return Control<QLabel>(w, "Label19");
}
inline QPushButton* Command1(const DrillWindow* w) {
  return Control<QPushButton>(w, "Command1");
}
inline BoardTile* Label1(const DrillWindow* w, std::size_t i) {
  return Control<BoardTile>(w, Indexed("Label1", static_cast<int>(i)));
}
inline QLabel* Label2(const DrillWindow* w) {
  return Control<QLabel>(w, "Label2");
}
inline QLabel* Label3(const DrillWindow* w) {
  return Control<QLabel>(w, "Label3");
}
inline QLabel* Label4(const DrillWindow* w) {
  return Control<QLabel>(w, "Label4");
}
inline QLabel* Label5(const DrillWindow* w, std::size_t i) {
  return Control<QLabel>(w, Indexed("Label5", static_cast<int>(i)));
}
inline QListWidget* List1(const DrillWindow* w) {
  return Control<QListWidget>(w, "List1");
}
inline QFrame* Picture1(const DrillWindow* w) {
  return Control<QFrame>(w, "Picture1");
}
inline QFrame* Picture2(const DrillWindow* w) {
  return Control<QFrame>(w, "Picture2");
}
inline QLabel* lblsss1(const DrillWindow* w) {
  return Control<QLabel>(w, "lblsss1");
}
inline QLabel* lblsss2(const DrillWindow* w) {
  return Control<QLabel>(w, "lblsss2");
}
inline QLabel* sLabel10(const DrillWindow* w) {
  return Control<QLabel>(w, "sLabel10");
}
inline QLabel* sLabel11(const DrillWindow* w) {
  return Control<QLabel>(w, "sLabel11");
}
inline QLabel* sLabel12(const DrillWindow* w) {
  return Control<QLabel>(w, "sLabel12");
}
inline QLabel* sLabel13(const DrillWindow* w) {
  return Control<QLabel>(w, "sLabel13");
}
inline QLabel* sLabel14(const DrillWindow* w) {
  return Control<QLabel>(w, "sLabel14");
}
inline QLabel* sLabel16(const DrillWindow* w, std::size_t i) {
  return Control<QLabel>(w, Indexed("sLabel16", static_cast<int>(i)));
}
inline QLabel* sLabel17(const DrillWindow* w, std::size_t i) {
  return Control<QLabel>(w, Indexed("sLabel17", static_cast<int>(i)));
}
inline QLabel* sLabel2(const DrillWindow* w) {
  return Control<QLabel>(w, "sLabel2");
}
inline QLabel* sLabel4(const DrillWindow* w) {
  return Control<QLabel>(w, "sLabel4");
}
inline QLabel* sLabel5(const DrillWindow* w) {
  return Control<QLabel>(w, "sLabel5");
}
inline QLabel* sLabel6(const DrillWindow* w) {
  return Control<QLabel>(w, "sLabel6");
}
inline QLabel* sLabel7(const DrillWindow* w) {
  return Control<QLabel>(w, "sLabel7");
}
inline QLabel* sLabel8(const DrillWindow* w) {
  return Control<QLabel>(w, "sLabel8");
}
inline QLabel* sLabel9(const DrillWindow* w) {
  return Control<QLabel>(w, "sLabel9");
}
inline QFrame* sPicture1(const DrillWindow* w) {
  return Control<QFrame>(w, "sPicture1");
}
inline QFrame* sPicture2(const DrillWindow* w) {
  return Control<QFrame>(w, "sPicture2");
}
inline QFrame* sPicture3(const DrillWindow* w, std::size_t i) {
  return Control<QFrame>(w, Indexed("sPicture3", static_cast<int>(i)));
}
inline QFrame* sShape2(const DrillWindow* w) {
  return Control<QFrame>(w, "sShape2");
}
inline QFrame* sShape3(const DrillWindow* w) {
  return Control<QFrame>(w, "sShape3");
}
inline QFrame* sShape4(const DrillWindow* w) {
  return Control<QFrame>(w, "sShape4");
}
inline QFrame* sShape5(const DrillWindow* w) {
  return Control<QFrame>(w, "sShape5");
}
inline QFrame* sShape7(const DrillWindow* w) {
  return Control<QFrame>(w, "sShape7");
}
inline QFrame* sShape8(const DrillWindow* w) {
  return Control<QFrame>(w, "sShape8");
}
inline QTimer* sTimer1(const DrillWindow* w) {
  return Control<QTimer>(w, "sTimer1");
}
inline QTimer* sTimer2(const DrillWindow* w) {
  return Control<QTimer>(w, "sTimer2");
}
inline QPushButton* Command4(const EvaluationWindow* w) {
  return Control<QPushButton>(w, "Command4");
}
inline QPushButton* Command5(const EvaluationWindow* w) {
  return Control<QPushButton>(w, "Command5");
}
inline QLabel* Image1(const EvaluationWindow* w) {
  return Control<QLabel>(w, "Image1");
}
inline QLabel* Label1(const EvaluationWindow* w) {
  return Control<QLabel>(w, "Label1");
}
inline QLabel* Label13(const EvaluationWindow* w) {
  return Control<QLabel>(w, "Label13");
}
inline QLabel* Label14(const EvaluationWindow* w) {
  return Control<QLabel>(w, "Label14");
}
inline QLabel* Label15(const EvaluationWindow* w) {
  return Control<QLabel>(w, "Label15");
}
inline QLabel* Label16(const EvaluationWindow* w) {
  return Control<QLabel>(w, "Label16");
}
inline QLabel* Label17(const EvaluationWindow* w) {
  return Control<QLabel>(w, "Label17");
}
inline QLabel* Label18(const EvaluationWindow* w) {
  return Control<QLabel>(w, "Label18");
}
inline QLabel* Label19(const EvaluationWindow* w) {
  return Control<QLabel>(w, "Label19");
}
inline QLabel* Label2(const EvaluationWindow* w) {
  return Control<QLabel>(w, "Label2");
}
inline QLabel* Label20(const EvaluationWindow* w) {
  return Control<QLabel>(w, "Label20");
}
inline QFrame* Picture1(const EvaluationWindow* w) {
  return Control<QFrame>(w, "Picture1");
}
inline QTimer* Timer1(const EvaluationWindow* w) {
  return Control<QTimer>(w, "Timer1");
}
inline QLabel* Label1(const SplashWindow* w) {
  return Control<QLabel>(w, "Label1");
}
inline QLabel* Label5(const SplashWindow* w) {
  return Control<QLabel>(w, "Label5");
}
inline SplashPicture* Picture1(const SplashWindow* w) {
  return Control<SplashPicture>(w, "Picture1");
}
inline QTimer* Timer1(const SplashWindow* w) {
  return Control<QTimer>(w, "Timer1");
}
inline QComboBox* Combo1(const HubWindow* w) {
  return Control<QComboBox>(w, "Combo1");
}
inline QComboBox* Combo2(const HubWindow* w) {
  return Control<QComboBox>(w, "Combo2");
}
inline QPushButton* Command1(const HubWindow* w) {
  return Control<QPushButton>(w, "Command1");
}
inline QPushButton* Command4(const HubWindow* w, std::size_t i) {
  return Control<QPushButton>(w, Indexed("Command4", static_cast<int>(i)));
}
inline QPushButton* Command8(const HubWindow* w) {
  return Control<QPushButton>(w, "Command8");
}
inline QLabel* Label1(const HubWindow* w, std::size_t i) {
  return Control<QLabel>(w, Indexed("Label1", static_cast<int>(i)));
}
inline QLabel* Label10(const HubWindow* w, std::size_t i) {
  return Control<QLabel>(w, Indexed("Label10", static_cast<int>(i)));
}
inline QLabel* Label11(const HubWindow* w) {
  return Control<QLabel>(w, "Label11");
}
inline QLabel* Label12(const HubWindow* w) {
  return Control<QLabel>(w, "Label12");
}
inline QLabel* Label13(const HubWindow* w) {
  return Control<QLabel>(w, "Label13");
}
inline QLabel* Label14(const HubWindow* w, std::size_t i) {
  return Control<QLabel>(w, Indexed("Label14", static_cast<int>(i)));
}
inline QLabel* Label15(const HubWindow* w, std::size_t i) {
  return Control<QLabel>(w, Indexed("Label15", static_cast<int>(i)));
}
inline QLabel* Label17(const HubWindow* w) {
  return Control<QLabel>(w, "Label17");
}
inline QLabel* Label18(const HubWindow* w) {
  return Control<QLabel>(w, "Label18");
}
inline QLabel* Label19(const HubWindow* w) {
  return Control<QLabel>(w, "Label19");
}
inline QLabel* Label21(const HubWindow* w) {
  return Control<QLabel>(w, "Label21");
}
inline ClickLabel* Label3(const HubWindow* w, std::size_t i) {
  return Control<ClickLabel>(w, Indexed("Label3", static_cast<int>(i)));
}
inline QLabel* Label5(const HubWindow* w) {
  return Control<QLabel>(w, "Label5");
}
inline QLabel* Label7(const HubWindow* w, std::size_t i) {
  return Control<QLabel>(w, Indexed("Label7", static_cast<int>(i)));
}
inline QLabel* Label8(const HubWindow* w, std::size_t i) {
  return Control<QLabel>(w, Indexed("Label8", static_cast<int>(i)));
}
inline QLabel* Label9(const HubWindow* w, std::size_t i) {
  return Control<QLabel>(w, Indexed("Label9", static_cast<int>(i)));
}
inline QListWidget* List5(const HubWindow* w, std::size_t i) {
  return Control<QListWidget>(w, Indexed("List5", static_cast<int>(i)));
}
inline QRadioButton* Option1(const HubWindow* w, std::size_t i) {
  return Control<QRadioButton>(w, Indexed("Option1", static_cast<int>(i)));
}
inline QRadioButton* Option2(const HubWindow* w, std::size_t i) {
  return Control<QRadioButton>(w, Indexed("Option2", static_cast<int>(i)));
}
inline QFrame* Picture1(const HubWindow* w) {
  return Control<QFrame>(w, "Picture1");
}
inline QFrame* Picture2(const HubWindow* w) {
  return Control<QFrame>(w, "Picture2");
}
inline QFrame* Picture3(const HubWindow* w) {
  return Control<QFrame>(w, "Picture3");
}
inline QFrame* Picture4(const HubWindow* w) {
  return Control<QFrame>(w, "Picture4");
}
inline QFrame* Picture5(const HubWindow* w) {
  return Control<QFrame>(w, "Picture5");
}
inline QFrame* Picture6(const HubWindow* w) {
  return Control<QFrame>(w, "Picture6");
}
inline QFrame* Picture7(const HubWindow* w) {
  return Control<QFrame>(w, "Picture7");
}
inline QProgressBar* ProgressBar1(const HubWindow* w) {
  return Control<QProgressBar>(w, "ProgressBar1");
}
inline QProgressBar* ProgressBar2(const HubWindow* w) {
  return Control<QProgressBar>(w, "ProgressBar2");
}
inline QLineEdit* Text1(const HubWindow* w, std::size_t i) {
  return Control<QLineEdit>(w, Indexed("Text1", static_cast<int>(i)));
}
inline QComboBox* Combo1(const NameSelWindow* w) {
  return Control<QComboBox>(w, "Combo1");
}
inline QPushButton* Command14(const NameSelWindow* w) {
  return Control<QPushButton>(w, "Command14");
}
inline QPushButton* Command7(const NameSelWindow* w) {
  return Control<QPushButton>(w, "Command7");
}
inline QLabel* Image1(const NameSelWindow* w) {
  return Control<QLabel>(w, "Image1");
}
inline QLabel* Label1(const NameSelWindow* w) {
  return Control<QLabel>(w, "Label1");
}
inline QLabel* Label19(const NameSelWindow* w) {
  return Control<QLabel>(w, "Label19");
}
inline QLabel* Label4(const NameSelWindow* w) {
  return Control<QLabel>(w, "Label4");
}
inline QLabel* Label6(const NameSelWindow* w) {
  return Control<QLabel>(w, "Label6");
}
inline QLabel* Label8(const NameSelWindow* w) {
  return Control<QLabel>(w, "Label8");
}
inline QListWidget* List1(const NameSelWindow* w) {
  return Control<QListWidget>(w, "List1");
}
inline QRadioButton* Option1(const NameSelWindow* w, std::size_t i) {
  return Control<QRadioButton>(w, Indexed("Option1", static_cast<int>(i)));
}
inline QFrame* Picture3(const NameSelWindow* w) {
  return Control<QFrame>(w, "Picture3");
}
inline QFrame* Picture4(const NameSelWindow* w) {
  return Control<QFrame>(w, "Picture4");
}
inline QFrame* Picture5(const NameSelWindow* w) {
  return Control<QFrame>(w, "Picture5");
}
inline QFrame* Picture7(const NameSelWindow* w) {
  return Control<QFrame>(w, "Picture7");
}
inline QFrame* Picture8(const NameSelWindow* w) {
  return Control<QFrame>(w, "Picture8");
}
inline QPushButton* Command1(const VersionWindow* w) {
  return Control<QPushButton>(w, "Command1");
}
inline QLabel* Label1(const VersionWindow* w) {
  return Control<QLabel>(w, "Label1");
}
inline QLabel* Label2(const VersionWindow* w) {
  return Control<QLabel>(w, "Label2");
}
inline QLabel* Label4(const VersionWindow* w) {
  return Control<QLabel>(w, "Label4");
}
inline QLabel* Label5(const VersionWindow* w) {
  return Control<QLabel>(w, "Label5");
}
inline QFrame* Shape1(const VersionWindow* w) {
  return Control<QFrame>(w, "Shape1");
}

}  // namespace numora
