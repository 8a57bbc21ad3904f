#pragma once

// Reading the whole results file in bounded pieces: the check and the export go through every
// record of a file of any size with a fixed amount of memory.

#include <cstdint>
#include <functional>
#include <string>

#include "core/platform/services.h"
#include "core/records/results_file.h"

namespace numora {

// Records read at a time (176 KiB).
inline constexpr uint32_t kRecordsPerChunk = 4096;

// Called with the number (1-based) of the first record of a piece, its bytes (records × 44) and
// its record count; returning false stops the reading.
using RecordChunkFn =
    std::function<bool(uint32_t firstRecord, const unsigned char* bytes, uint32_t records)>;

// What a reading in pieces found.
struct ChunkedRead {
  FileStatus status = FileStatus::Failed;
  int64_t length = 0;    // file length in bytes when the reading started
  uint32_t records = 0;  // complete records then (length ÷ 44)
  int errorNumber = 0;
  std::string errorText;  // Japanese reason of a failure
};

// Opens the results file at utf8Path for reading (never creating it), takes its record count once
// and hands every complete record, oldest first, to each in pieces of at most chunkRecords.
// Sharing conflicts while opening are retried under the policy (tried once without services).
// Records appended meanwhile are not read; a file that became shorter while being read is a
// failure.
ChunkedRead ReadRecordsInChunks(const std::string& utf8Path, Services* services,
                                const RetryPolicy& policy, const RecordChunkFn& each,
                                uint32_t chunkRecords = kRecordsPerChunk);

}  // namespace numora
