#pragma once

#include <cstdint>
#include <string>

#include "core/installation/installation_settings.h"
#include "core/platform/services.h"
#include "core/records/statistics_tables.h"

namespace numora {

// Reads the results file into resultEntries, resultEntryCount, bestTime and bestTimeAll.
//
// Only the newest 20000 complete records are read (record numbers are 32-bit, so a file of any
// length works), and every keepable record of that window is kept. A record whose pupil lies
// outside 0..5000 or whose level lies outside 0..35 cannot be placed in the tables: it is left out
// (not kept, no best time) and the user is told once per program run (scanWarnings); so is a
// damaged record (a date, time of day or seconds no run can have, RecordDamage). Sharing
// conflicts are waited out one second at a time with windows kept responsive. Any other error
// shows the scan's error message and ends the program through the host; false then.
bool ScanResults(const InstallationSettings& installation, StatisticsTables& stats,
                 ScanWarnings& scanWarnings, Services& services);

// The plain sentence that opens the message about a record left out of the tables: which record,
// why, and where to look for details.
std::string UnplaceableRecordSentence(int64_t recordNumber);

// The message about a damaged record left out of the tables (told once per program run): which
// record, why, and where to look for details.
std::string DamagedRecordSentence(int64_t recordNumber, const std::string& damage);

// The scan's message for a record that cannot be placed in the tables (and for other errors,
// with marker naming the step, and the record's values).
std::string ScanErrorMessage(int marker, int errorNumber, const std::string& description,
                             double runDate, int64_t recordNumber, double runTime, int pupil,
                             int level, int32_t seconds);

}  // namespace numora
