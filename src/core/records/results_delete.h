#pragma once

// Deleting a record of the results file so that no other record can be lost, whenever the program
// is killed and whatever other program copies append meanwhile, and telling the user about a
// deletion that was interrupted.

#include <cstdint>
#include <functional>
#include <string>

#include "core/installation/installation_settings.h"
#include "core/platform/services.h"
#include "core/records/result_record.h"

namespace numora {

// The steps of a deletion, in order, for tests that stop or kill it between two steps.
enum class DeleteStep {
  Locked = 1,           // the results file is open and locked
  CopyPartWritten = 2,  // half of the safety copy is written
  CopyWritten = 3,      // the safety copy is complete and on disk
  NewPartWritten = 4,   // half of the new file is written
  NewWritten = 5,       // the new file is complete and on disk
  Replaced = 6,         // the new file has replaced the results file
  CopyRemoved = 7,      // the safety copy is removed; only the unlock is left
};

// Called after each step of a deletion; returning false stops the deletion there as if the
// program had been killed (files stay as they are, the lock is released). Tests only.
using DeleteStepHook = std::function<bool(DeleteStep)>;

// Deletes record n (1-based); the records after it move up by one. While the results file stays
// locked, a safety copy of the whole file is written as "成績累積データtemp.dat", the file without
// record n is written beside it as "成績累積データnew.dat" and replaces the results file in one
// step, and only then is the safety copy removed. Killed at any moment, no other record is lost:
// the results file is always either the old one or the new one, and other program copies that
// append meanwhile write into the file that stays. A safety copy left by an interrupted deletion
// stops the deletion, with the explanation of DetectInterruptedDelete in error. expected and stale
// work as for RewriteResultRecord: a record that is no longer the one the user saw is not deleted.
bool DeleteResultRecord(const InstallationSettings& installation, Services& services, uint32_t n,
                        std::string& error, const DeleteStepHook& afterStep = {},
                        const ResultRecord* expected = nullptr, bool* stale = nullptr);

// dataFolder + "成績累積データnew.dat": the file a deletion writes before it replaces the results
// file with it.
std::string ResultsNewFilePath(const InstallationSettings& installation);

// When a safety copy of an interrupted deletion is lying in the data folder: a Japanese
// explanation of what happened and what the user should do with it. Empty when there is none.
std::string DetectInterruptedDelete(const InstallationSettings& installation);

}  // namespace numora
