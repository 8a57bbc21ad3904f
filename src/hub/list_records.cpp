#include "hub/list_records.h"

#include <algorithm>

namespace numora {

std::vector<ResultEntry> ReadListRecords(SharedState& state, Services& /*services*/) {
  // The entries kept by the last statistics rebuild, in file order.
  const int32_t count = std::min<int32_t>(state.resultEntryCount, kMaxResultEntries);
  if (count <= 0) {
    return {};
  }
  return {state.resultEntries.begin() + 1, state.resultEntries.begin() + 1 + count};
}

}  // namespace numora
