#pragma once

#include <QPointer>
#include <QWidget>

#include "core/installation/app_state.h"
#include "core/platform/services.h"

namespace numora {

// The program's windows and what they share. Every window is created when it is shown and
// destroyed when it is left; these pointers follow them (QPointer turns null on destruction).
struct AppContext {
  AppState& state;
  Services& services;
  QPointer<QWidget> firstfrm{};         // splash
  QPointer<QWidget> basefrm{};          // wait window
  QPointer<QWidget> namesel{};          // name selection
  QPointer<QWidget> hub{};              // seisekitime1
  QPointer<QWidget> drill{};            // MainFrm
  QPointer<QWidget> evaluation{};       // FrmSyuuryou
  QPointer<QWidget> standardsEditor{};  // FrmTimeData
  // A drill start is under way (it lets pending messages be processed before the window exists).
  bool drillStarting = false;
  // FrmData, the results browser
  QPointer<QWidget> resultsBrowser{};
};

// Opening and closing windows. Each function is defined beside the window it opens.
void ShowWaitWindow(AppContext& ctx);  // BASEFRM: shows it and lets it paint
void UnloadWaitWindow(AppContext& ctx);
void ShowNameSelection(AppContext& ctx);  // loads a fresh namesel and shows it
void UnloadNameSelection(AppContext& ctx);
void ShowHub(AppContext& ctx);  // shows the hub, creating it if needed
void UnloadHub(AppContext& ctx);
// The drill start: resets the run flags, opens MainFrm. Refused (false) while a drill window
// exists or another start is under way, so a queued second request never opens a second drill.
bool StartDrill(AppContext& ctx);
void ShowEvaluation(AppContext& ctx);       // FrmSyuuryou after a recorded run
void ShowStandardsEditor(AppContext& ctx);  // FrmTimeData, from the hub's data-change gate
// FrmData: a fresh results browser, shown; unloading leaves it (showing the hub is the caller's).
void ShowResultsBrowser(AppContext& ctx);
void UnloadResultsBrowser(AppContext& ctx);

// Unloads every open window, most recent first.
void UnloadAllWindows(AppContext& ctx);

}  // namespace numora
