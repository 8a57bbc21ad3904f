#include "core/admin/data_gate.h"

namespace numora {

bool DataChangePasswordMatches(const Value& stored, const std::string& typed) {
  return stored.Text() == typed;
}

}  // namespace numora
