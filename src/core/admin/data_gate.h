#pragma once

// The teachers' data-change gate of the hub: who sees it and how the password is checked.

#include <string>

#include "core/platform/value.h"

namespace numora {

// The typed text against the stored data-change password, as texts: a stored number in its
// plain decimal form, an empty value as the empty text; character for character, upper and lower
// case distinct.
bool DataChangePasswordMatches(const Value& stored, const std::string& typed);

// Shown when the password does not match.
inline constexpr const char* kWrongPasswordMessage = "パスワードを入力して下さい";

}  // namespace numora
