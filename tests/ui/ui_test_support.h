#pragma once

// Shared helpers for the window tests: a shared state and fake services for one test.

#include "platform/fakes.h"
#include "startup/app_context_qt.h"
#include "startup/shared_state.h"

namespace numora::testing {

struct UiFixture {
  SharedState state;
  FakeServices fakes;
  AppContext ctx{state, fakes.services};
};

}  // namespace numora::testing
