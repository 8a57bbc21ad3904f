#pragma once

// The wait window BASEFRM: "Just a moment, please." in white, shown while a slow step runs.

#include <QLabel>

#include "ui/common/app_context.h"
#include "ui/common/form_widget.h"

namespace numora {

class WaitWindow : public FormWidget {
  Q_OBJECT

 public:
  WaitWindow();

 private:
  QLabel* waitLabel_ = nullptr;
};

}  // namespace numora
