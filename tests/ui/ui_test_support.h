#pragma once

// Shared helpers for the window tests: a program state and fake services for one test.

#include "core/installation/app_state.h"
#include "support/fakes.h"
#include "ui/common/app_context.h"

namespace numora::testing {

struct UiFixture {
  AppState state;
  FakeServices fakes;
  AppContext ctx{state, fakes.services};
};

}  // namespace numora::testing
