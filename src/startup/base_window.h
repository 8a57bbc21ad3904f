#pragma once

// The wait window BASEFRM: "Just a moment, please." in white, shown while a slow step runs.

#include <QLabel>

#include "startup/app_context_qt.h"
#include "startup/form_widget.h"

namespace numora {

class BaseFrm : public FormWidget {
  Q_OBJECT

 public:
  BaseFrm();

  QLabel* Label19 = nullptr;
};

}  // namespace numora
