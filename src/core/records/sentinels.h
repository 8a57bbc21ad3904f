#pragma once

// The special times of the results: what a timed-out run stores, what a missing best time reads,
// and from where a stored time counts or shows as a time-out.

#include <cstdint>

namespace numora {

// The time stored for a run that reached its time limit.
inline constexpr int32_t kTimeOutSeconds = 99999;
// The best time of a pupil or a level without a counted run.
inline constexpr int32_t kNoBestTime = 99999;
// Stored times from here on earn no points and are evaluated as time-outs.
inline constexpr int32_t kCountsAsTimeOutFrom = 99998;
// Stored times from here on are shown as time-outs in the score lists.
inline constexpr int32_t kShownAsTimeOutFrom = 90000;

}  // namespace numora
