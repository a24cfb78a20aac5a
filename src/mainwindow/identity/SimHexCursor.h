#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

struct UIMsg;

// The backend hands SIM files over as hexadecimal text, two characters a byte. The readers walk
// that text with a cursor that never passes its end: a read near the end sees only the
// characters that are left, and a number stops at its first character that is not hexadecimal,
// as the C conversion does. "peek" reads without moving, "skip" moves, "get" does both.
class SimHexCursor {
public:
  SimHexCursor() = default;
  explicit SimHexCursor(QByteArray text) : text_(std::move(text)) {}

  // The text of a NUL-terminated field of `width` bytes at `offset` of a package's data; never
  // reads past the field, nor past the data the package carries.
  static QByteArray fieldText(const UIMsg &msg, int offset, int width);

  const QByteArray &text() const { return text_; }
  int position() const { return pos_; }
  int remaining() const { return int(text_.size()) - pos_; }
  bool atEnd() const { return remaining() <= 0; }
  // Whether `count` characters are left, i.e. a whole item of that width can be read.
  bool has(int count) const { return remaining() >= count; }

  // One byte (2 characters).
  uint32_t peekchar() const { return peekHex(2); }
  void skipchar() { skip(2); }
  uint32_t getchar() { return take(2); }
  // 16 bits, first pair high (4 characters).
  uint32_t peekword() const { return peekHex(4); }
  void skipword() { skip(4); }
  uint32_t getword() { return take(4); }
  // 24 bits (6 characters).
  uint32_t peektriple() const { return peekHex(6); }
  void skiptriple() { skip(6); }
  uint32_t gettriple() { return take(6); }
  // A BCD byte: the two characters swapped; a filler "F" in the first character leaves the
  // second alone.
  QString peeksemioctex() const;
  void skipsemioctex() { skip(2); }
  QString getsemioctex();
  // Three BCD bytes joined in order and read as a hexadecimal number.
  uint32_t getsemi_triple();

private:
  uint32_t peekHex(int width) const;
  uint32_t take(int width) {
    const uint32_t v = peekHex(width);
    skip(width);
    return v;
  }
  void skip(int count);

  QByteArray text_;
  int pos_ = 0;
};
