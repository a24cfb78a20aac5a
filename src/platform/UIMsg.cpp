#include "UIMsg.h"

#include <QtEndian>
#include <cstring>

namespace {
constexpr int kOffVersion = 0;
constexpr int kOffModule = 4;
constexpr int kOffMajor = 8;
constexpr int kOffMinor = 10;
constexpr int kOffType = 12;
constexpr int kOffResult = 16;
constexpr int kOffLength = 20;
constexpr int kOffTail = UIMsg::kDataOffset + UIMsg::kDataSize;
} // namespace

bool UIMsg::setPayload(const QByteArray &bytes) {
  if (bytes.size() > kDataSize)
    return false;
  data.fill(0);
  if (!bytes.isEmpty())
    std::memcpy(data.data(), bytes.constData(), size_t(bytes.size()));
  dataLength = int32_t(bytes.size());
  return true;
}

QByteArray UIMsg::encode() const {
  QByteArray out(kPackageSize, '\0');
  auto *p = reinterpret_cast<uchar *>(out.data());
  qToLittleEndian<qint32>(version, p + kOffVersion);
  qToLittleEndian<qint32>(moduleId, p + kOffModule);
  qToLittleEndian<quint16>(majorId, p + kOffMajor);
  qToLittleEndian<quint16>(minorId, p + kOffMinor);
  qToLittleEndian<qint32>(type, p + kOffType);
  p[kOffResult] = result;
  const int32_t len = std::clamp<int32_t>(dataLength, 0, kDataSize);
  qToLittleEndian<qint32>(len, p + kOffLength);
  std::memcpy(p + kDataOffset, data.data(), kDataSize);
  std::memcpy(p + kOffTail, tail.data(), tail.size());
  return out;
}

bool UIMsg::decode(const QByteArray &bytes, UIMsg *out) {
  if (bytes.size() != kPackageSize)
    return false;
  const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
  UIMsg m;
  m.version = qFromLittleEndian<qint32>(p + kOffVersion);
  m.moduleId = qFromLittleEndian<qint32>(p + kOffModule);
  m.majorId = qFromLittleEndian<quint16>(p + kOffMajor);
  m.minorId = qFromLittleEndian<quint16>(p + kOffMinor);
  m.type = qFromLittleEndian<qint32>(p + kOffType);
  m.result = p[kOffResult];
  m.dataLength = std::clamp<int32_t>(qFromLittleEndian<qint32>(p + kOffLength), 0, kDataSize);
  std::memcpy(m.data.data(), p + kDataOffset, kDataSize);
  std::memcpy(m.tail.data(), p + kOffTail, m.tail.size());
  *out = m;
  return true;
}
