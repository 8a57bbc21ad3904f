#include "core/records/results_stream.h"

#include <algorithm>
#include <vector>

namespace numora {

ChunkedRead ReadRecordsInChunks(const std::string& utf8Path, Services* services,
                                const RetryPolicy& policy, const RecordChunkFn& each,
                                uint32_t chunkRecords) {
  ChunkedRead read;
  ResultsFile file;
  auto open = [&]() {
    FileStatus s = file.OpenForReading(utf8Path);
    if (s == FileStatus::Ok) {
      s = file.Length(read.length);
    }
    return s;
  };
  read.status = services != nullptr ? RetryOnConflict(*services, policy, open) : open();
  if (read.status == FileStatus::Ok) {
    read.records = static_cast<uint32_t>(
        std::min<int64_t>(read.length / static_cast<int64_t>(kResultRecordSize), UINT32_MAX));
    std::vector<unsigned char> buffer(static_cast<size_t>(std::max<uint32_t>(chunkRecords, 1)) *
                                      kResultRecordSize);
    for (uint32_t done = 0; done < read.records;) {
      const uint32_t n = std::min(std::max<uint32_t>(chunkRecords, 1), read.records - done);
      read.status = file.ReadAt(ResultRecordOffset(done + 1), buffer.data(),
                                static_cast<size_t>(n) * kResultRecordSize);
      if (read.status != FileStatus::Ok) {
        read.status = FileStatus::Failed;
        break;
      }
      if (!each(done + 1, buffer.data(), n)) {
        break;
      }
      done += n;
    }
  }
  if (read.status != FileStatus::Ok) {
    read.errorNumber = file.lastError();
    read.errorText = file.lastErrorText();
  }
  return read;
}

}  // namespace numora
