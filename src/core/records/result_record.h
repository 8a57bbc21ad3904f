#pragma once

// One record of the results file: 44 bytes, little-endian, the fields packed without padding.
//
//   offset  0  run date      double  whole days since 30 December 1899
//           8  time of day   double  fraction of the day
//          16  pupil         int16
//          18  level         int16
//          20  seconds       int32
//          24  school code   5 bytes of CP932 text, padded with spaces
//          29  spare text    5 bytes
//          34  points text   5 bytes
//          39  reserved      5 bytes
//
// Every reader and writer of the file (the store, the scan, the check, the browser, the tools)
// goes through these functions; nothing else knows where a field lies. The single-field readers
// are inline so that a loop over a million records stays a loop over bytes.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/records/statistics_tables.h"

namespace numora {

inline constexpr size_t kResultRecordSize = 44;

// One record of the results file, field by field as stored.
struct ResultRecord {
  double runDate = 0;  // whole days since 30 December 1899
  double runTime = 0;  // fraction of the day
  int16_t pupilNumber = 0;
  int16_t level = 0;
  int32_t seconds = 0;
  std::array<char, 5> schoolCode{' ', ' ', ' ', ' ', ' '};
  std::array<char, 5> spareText{' ', ' ', ' ', ' ', ' '};
  std::array<char, 5> pointsText{' ', '0', ' ', ' ', ' '};
  std::array<char, 5> reservedText{0, 0, 0, 0, 0};

  friend bool operator==(const ResultRecord&, const ResultRecord&) = default;
};

// Where record n (1-based) starts in the file.
constexpr int64_t ResultRecordOffset(uint32_t n) {
  return static_cast<int64_t>(n - 1) * static_cast<int64_t>(kResultRecordSize);
}

namespace record_bytes {

inline uint64_t Le64(const unsigned char* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) {
    v = (v << 8) | p[i];
  }
  return v;
}
inline uint32_t Le32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline uint16_t Le16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

}  // namespace record_bytes

// Single fields of the 44 bytes at in44.
inline double RecordRunDate(const unsigned char* in44) {
  return std::bit_cast<double>(record_bytes::Le64(in44));
}
inline double RecordRunTime(const unsigned char* in44) {
  return std::bit_cast<double>(record_bytes::Le64(in44 + 8));
}
inline int16_t RecordPupil(const unsigned char* in44) {
  return static_cast<int16_t>(record_bytes::Le16(in44 + 16));
}
inline int16_t RecordLevel(const unsigned char* in44) {
  return static_cast<int16_t>(record_bytes::Le16(in44 + 18));
}
inline int32_t RecordSeconds(const unsigned char* in44) {
  return static_cast<int32_t>(record_bytes::Le32(in44 + 20));
}

// The 44 bytes of a record and back.
void EncodeResultRecord(const ResultRecord& record, unsigned char* out44);
ResultRecord DecodeResultRecord(const unsigned char* in44);
// The kept fields (date, time of day, pupil, level, seconds) into a record or an entry.
template <class Fields>
void DecodeKeptFields(const unsigned char* in44, Fields& out) {
  out.runDate = RecordRunDate(in44);
  out.runTime = RecordRunTime(in44);
  out.pupilNumber = RecordPupil(in44);
  out.level = RecordLevel(in44);
  out.seconds = RecordSeconds(in44);
}
// Only the kept fields.
inline ResultEntry DecodeResultEntry(const unsigned char* in44) {
  ResultEntry e;
  DecodeKeptFields(in44, e);
  return e;
}

// Whether the 44 bytes at in44 are exactly the given record, and whether two records are stored
// as the same bytes (compared as bytes, so that a date that is not a number still compares equal
// to itself).
bool HoldsRecord(const unsigned char* in44, const ResultRecord& record);
bool SameStoredBytes(const ResultRecord& a, const ResultRecord& b);

// A 5-byte text field: the CP932 bytes of the text, left-aligned and padded with spaces. A longer
// text is cut to 5 bytes, never inside a double-byte character (the space is padded instead).
std::array<char, 5> MakeTextField(std::string_view utf8);
// The text of a 5-byte field as UTF-8, trailing spaces and zero bytes removed.
std::string TextFieldToUtf8(const std::array<char, 5>& field);

}  // namespace numora
