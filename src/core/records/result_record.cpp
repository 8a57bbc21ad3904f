#include "core/records/result_record.h"

#include <cstring>

#include "core/platform/cp932.h"

namespace numora {

namespace {

void Put64(unsigned char* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) {
    p[i] = static_cast<unsigned char>(v >> (8 * i));
  }
}
void Put32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) {
    p[i] = static_cast<unsigned char>(v >> (8 * i));
  }
}
void Put16(unsigned char* p, uint16_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}

bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace

void EncodeResultRecord(const ResultRecord& r, unsigned char* out) {
  Put64(out + 0, std::bit_cast<uint64_t>(r.runDate));
  Put64(out + 8, std::bit_cast<uint64_t>(r.runTime));
  Put16(out + 16, static_cast<uint16_t>(r.pupilNumber));
  Put16(out + 18, static_cast<uint16_t>(r.level));
  Put32(out + 20, static_cast<uint32_t>(r.seconds));
  std::memcpy(out + 24, r.schoolCode.data(), 5);
  std::memcpy(out + 29, r.spareText.data(), 5);
  std::memcpy(out + 34, r.pointsText.data(), 5);
  std::memcpy(out + 39, r.reservedText.data(), 5);
}

ResultRecord DecodeResultRecord(const unsigned char* in) {
  ResultRecord r;
  DecodeKeptFields(in, r);
  std::memcpy(r.schoolCode.data(), in + 24, 5);
  std::memcpy(r.spareText.data(), in + 29, 5);
  std::memcpy(r.pointsText.data(), in + 34, 5);
  std::memcpy(r.reservedText.data(), in + 39, 5);
  return r;
}

bool HoldsRecord(const unsigned char* in44, const ResultRecord& record) {
  unsigned char bytes[kResultRecordSize];
  EncodeResultRecord(record, bytes);
  return std::memcmp(in44, bytes, kResultRecordSize) == 0;
}

bool SameStoredBytes(const ResultRecord& a, const ResultRecord& b) {
  unsigned char bytes[kResultRecordSize];
  EncodeResultRecord(a, bytes);
  return HoldsRecord(bytes, b);
}

std::array<char, 5> MakeTextField(std::string_view utf8) {
  std::array<char, 5> field{' ', ' ', ' ', ' ', ' '};
  const std::string bytes = Utf8ToCp932(utf8);
  size_t used = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t width =
        IsCp932LeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
    if (used + width > field.size()) {
      break;
    }
    for (size_t k = 0; k < width; ++k) {
      field[used++] = bytes[i + k];
    }
    i += width;
  }
  return field;
}

std::string TextFieldToUtf8(const std::array<char, 5>& field) {
  size_t end = field.size();
  while (end > 0 && (field[end - 1] == ' ' || field[end - 1] == '\0')) {
    --end;
  }
  return Cp932ToUtf8(std::string_view(field.data(), end));
}

}  // namespace numora
