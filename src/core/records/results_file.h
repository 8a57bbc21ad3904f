#pragma once

// The results file: the record codec (result_record.h), the store that appends, reads and
// rewrites records under the file's lock (results_store.h) and the crash-safe deletion
// (results_delete.h).

#include "core/records/result_record.h"
#include "core/records/results_delete.h"
#include "core/records/results_store.h"
#include "core/records/sentinels.h"
