#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

// The fixed-size message package exchanged with the backend. Encoded and decoded field by field,
// little-endian; never cast from bytes.
struct UIMsg {
  static constexpr int kPackageSize = 8220;
  static constexpr int kDataSize = 8192;
  static constexpr int kDataOffset = 24;
  static constexpr quint8 kResultSuccess = 0;
  static constexpr quint8 kResultFailure = 0xFF;

  int32_t version = 1;
  int32_t moduleId = 0;
  uint16_t majorId = 0;
  uint16_t minorId = 0;
  int32_t type = 0;
  uint8_t result = 0;
  // Meaningful bytes of `data`; always within 0..kDataSize after decoding.
  int32_t dataLength = 0;
  std::array<uint8_t, kDataSize> data{};
  std::array<uint8_t, 3> tail{};

  QByteArray payload() const { return QByteArray(reinterpret_cast<const char *>(data.data()), dataLength); }
  // Copies at most kDataSize bytes; answers false (setting nothing) when `bytes` is longer.
  bool setPayload(const QByteArray &bytes);

  QByteArray encode() const;
  // Refuses anything that is not exactly kPackageSize bytes. A data length outside 0..kDataSize
  // is clamped into that range.
  static bool decode(const QByteArray &bytes, UIMsg *out);

  // The identifier used to route a package: (major << 16) | minor as a signed 32-bit value.
  static int32_t makeID(uint16_t major, uint16_t minor) { return int32_t((uint32_t(major) << 16) | uint32_t(minor)); }
};

static_assert(UIMsg::kDataOffset + UIMsg::kDataSize + 3 + 1 == UIMsg::kPackageSize,
              "the package layout must stay 8220 bytes");
