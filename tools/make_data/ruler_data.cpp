#include "ruler_data.h"

#include <cstddef>

#include "platform/files.h"

namespace mirasketch::rulers {

namespace {

constexpr std::size_t kRecordBytes = kFileBytes / 2;

void PutInt32(std::uint8_t* p, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

template <std::size_t N>
void PutRecord(std::uint8_t* record, const std::array<TemplatePoint, N>& points) {
  static_assert(N <= kRecordPoints);
  PutInt32(record, static_cast<std::int32_t>(N));
  for (std::size_t i = 0; i < N; ++i) {
    PutInt32(record + 8 + 8 * i, points[i].x);
    PutInt32(record + 12 + 8 * i, points[i].y);
  }
}

}  // namespace

std::array<std::uint8_t, kFileBytes> RulerDataBytes() {
  std::array<std::uint8_t, kFileBytes> bytes{};
  PutRecord(bytes.data(), kTriangle);
  PutRecord(bytes.data() + kRecordBytes, kCloud);
  return bytes;
}

void WriteRulerData(const std::string& fileName) {
  const std::array<std::uint8_t, kFileBytes> bytes = RulerDataBytes();
  SafeFileWriter file(fileName);
  file.Write(bytes.data(), bytes.size());
  file.Commit();
}

}  // namespace mirasketch::rulers
