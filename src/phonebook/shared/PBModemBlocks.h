#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <cstring>

// The fixed little-endian blocks the phonebook exchanges with the backend (module 4). The
// program and the simulated modem both include this header, so the layouts live in one place.
namespace PBModemBlocks {

inline constexpr uint16_t kReadResultMajor = 1025, kReadResultMinor = 0;
inline constexpr uint16_t kSwitchMajor = 1027, kSwitchMinor = 119;
inline constexpr uint16_t kWriteMajor = 1029, kWriteMinor = 123;
inline constexpr int kReadResultSize = 548;
inline constexpr int kWriteRequestSize = 540;
inline constexpr int kWriteResultSize = 16;
inline constexpr int kOperationWrite = 1, kOperationDelete = 2;
inline constexpr int kSwitched = 1;

// Field widths of the write request, terminator included, and of the read result's path.
inline constexpr int kNameField = 120, kNumberField = 81, kEmailField = 165, kPathField = 512;

// The backend's read result: the limits of one memory and the list file it wrote.
struct ReadResult {
  int numberMaxLen = 0;
  int nameMaxLen = 0;
  int minIndex = 0;
  int maxIndex = 0;
  QString listFilePath;
  int number2MaxLen = 0;
  int number3MaxLen = 0;
  int emailMaxLen = 0;
  int storage = 0;
};

struct WriteResult {
  int index = 0;
  int operation = 0;
  bool success = false;
};

// A write (texts set) or a delete (index and operation only).
struct Request {
  int index = 0;
  QString name, number, number2, number3, email;
  int operation = kOperationWrite;
};

namespace detail {
inline QByteArray padded(const QByteArray &data, int size) {
  QByteArray block = data.left(size);
  block.append(QByteArray(size - block.size(), '\0'));
  return block;
}
inline int i32At(const QByteArray &block, int offset) {
  return qFromLittleEndian<qint32>(block.constData() + offset);
}
inline void putI32(QByteArray &block, int offset, int value) {
  qToLittleEndian<qint32>(value, block.data() + offset);
}
inline QString textAt(const QByteArray &block, int offset, int width) {
  const char *begin = block.constData() + offset;
  const char *end = static_cast<const char *>(memchr(begin, '\0', size_t(width)));
  return QString::fromUtf8(begin, end ? int(end - begin) : width);
}
} // namespace detail

// `text` as UTF-8 in at most `width - 1` bytes, never ending inside a character, so a field
// always keeps its terminator.
inline QByteArray utf8Within(const QString &text, int width) {
  QByteArray bytes = text.toUtf8();
  if (bytes.size() <= width - 1)
    return bytes;
  int cut = width - 1;
  while (cut > 0 && (uchar(bytes.at(cut)) & 0xC0) == 0x80)
    --cut;
  return bytes.left(cut);
}

namespace detail {
inline void putText(QByteArray &block, int offset, int width, const QString &text) {
  const QByteArray bytes = utf8Within(text, width);
  memcpy(block.data() + offset, bytes.constData(), size_t(bytes.size()));
}
inline constexpr int kNameOffset = 4, kNumberOffset = 124, kNumber2Offset = 205, kNumber3Offset = 286,
                     kEmailOffset = 367, kOperationOffset = 532;
} // namespace detail

// At most kReadResultSize bytes are read; missing bytes read as zero.
inline ReadResult parseReadResult(const QByteArray &data) {
  using namespace detail;
  const QByteArray block = padded(data, kReadResultSize);
  ReadResult r;
  r.numberMaxLen = i32At(block, 4);
  r.nameMaxLen = i32At(block, 8);
  r.minIndex = i32At(block, 12);
  r.maxIndex = i32At(block, 16);
  r.listFilePath = textAt(block, 20, kPathField);
  r.number2MaxLen = i32At(block, 532);
  r.number3MaxLen = i32At(block, 536);
  r.emailMaxLen = i32At(block, 540);
  r.storage = i32At(block, 544);
  return r;
}

inline QByteArray encodeReadResult(const ReadResult &r) {
  using namespace detail;
  QByteArray block(kReadResultSize, '\0');
  putI32(block, 4, r.numberMaxLen);
  putI32(block, 8, r.nameMaxLen);
  putI32(block, 12, r.minIndex);
  putI32(block, 16, r.maxIndex);
  putText(block, 20, kPathField, r.listFilePath);
  putI32(block, 532, r.number2MaxLen);
  putI32(block, 536, r.number3MaxLen);
  putI32(block, 540, r.emailMaxLen);
  putI32(block, 544, r.storage);
  return block;
}

inline WriteResult parseWriteResult(const QByteArray &data) {
  using namespace detail;
  const QByteArray block = padded(data, kWriteResultSize);
  return {i32At(block, 4), i32At(block, 8), block.at(12) != 0};
}

inline QByteArray encodeWriteResult(const WriteResult &r) {
  using namespace detail;
  QByteArray block(kWriteResultSize, '\0');
  putI32(block, 4, r.index);
  putI32(block, 8, r.operation);
  block[12] = r.success ? 1 : 0;
  return block;
}

inline QByteArray encodeRequest(const Request &r) {
  using namespace detail;
  QByteArray block(kWriteRequestSize, '\0');
  putI32(block, 0, r.index);
  if (r.operation == kOperationWrite) {
    putText(block, kNameOffset, kNameField, r.name);
    putText(block, kNumberOffset, kNumberField, r.number);
    putText(block, kNumber2Offset, kNumberField, r.number2);
    putText(block, kNumber3Offset, kNumberField, r.number3);
    putText(block, kEmailOffset, kEmailField, r.email);
  }
  putI32(block, kOperationOffset, r.operation);
  return block;
}

// The memory switch's data: the wanted memory code.
inline QByteArray encodeI32(int value) {
  QByteArray block(4, '\0');
  detail::putI32(block, 0, value);
  return block;
}

inline Request parseRequest(const QByteArray &data) {
  using namespace detail;
  const QByteArray block = padded(data, kWriteRequestSize);
  Request r;
  r.index = i32At(block, 0);
  r.name = textAt(block, kNameOffset, kNameField);
  r.number = textAt(block, kNumberOffset, kNumberField);
  r.number2 = textAt(block, kNumber2Offset, kNumberField);
  r.number3 = textAt(block, kNumber3Offset, kNumberField);
  r.email = textAt(block, kEmailOffset, kEmailField);
  r.operation = i32At(block, kOperationOffset);
  return r;
}

} // namespace PBModemBlocks
