#include "SmsPdu.h"

#include "HexDigits.h"
#include "SmsCodec.h"
#include "SmsPacking.h"

#include <QString>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// A PDU this long is not an SMS; reading stops there.
constexpr size_t kMaxPduChars = 1024;
constexpr int kMaxDigits = 32;

// Reads octets from hexadecimal text; any read past the end or of a non-digit fails, and a
// failed cursor stays failed.
class HexCursor {
public:
  explicit HexCursor(const char *text) : text_(text), size_(strnlen(text, kMaxPduChars)) {}

  bool ok() const { return ok_; }
  const char *here() const { return text_ + pos_; }
  size_t remainingOctets() const { return (size_ - pos_) / 2; }

  uint8_t octet() {
    if (!ok_ || pos_ + 2 > size_) {
      ok_ = false;
      return 0;
    }
    const int hi = hexDigitValue(text_[pos_]), lo = hexDigitValue(text_[pos_ + 1]);
    if (hi < 0 || lo < 0) {
      ok_ = false;
      return 0;
    }
    pos_ += 2;
    return uint8_t((hi << 4) | lo);
  }

  // Address digits of n octets, swapped pairwise, a trailing F dropped, at most 32 kept; the
  // semi-octets 1010 and 1011 are "*" and "#", so service codes survive.
  std::string swappedDigits(int n) {
    std::string digits = swappedSemiOctets(n);
    for (char &ch : digits) {
      if (ch == 'A')
        ch = '*';
      else if (ch == 'B')
        ch = '#';
    }
    if (!digits.empty() && digits.back() == 'F')
      digits.pop_back();
    if (digits.size() > size_t(kMaxDigits))
      digits.resize(kMaxDigits);
    return digits;
  }

  // Semi-octets of n octets swapped pairwise, as raw hexadecimal digits (time stamps, whose
  // time-zone field carries its sign in the high bit of a digit).
  std::string swappedSemiOctets(int n) {
    std::string digits;
    for (int i = 0; i < n; ++i) {
      const uint8_t v = octet();
      if (!ok_)
        return {};
      digits += kHexDigits[v & 0x0F];
      digits += kHexDigits[v >> 4];
    }
    return digits;
  }

  void read(uint8_t *out, int n) {
    for (int i = 0; i < n; ++i)
      out[i] = octet();
  }

private:
  const char *text_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

void copyField(char *field, size_t fieldSize, const std::string &value) {
  const size_t n = std::min(value.size(), fieldSize - 1);
  std::memcpy(field, value.data(), n);
  field[n] = '\0';
}

int codingOf(uint8_t dcs) {
  const int group = dcs & 0xF0;
  if (group <= 0x70) {
    switch (dcs & 0x0C) {
    case 0x04:
      return 4;
    case 0x08:
      return 8;
    default:
      return 0;
    }
  }
  if (group == 0xE0)
    return 8;
  if (group == 0xF0)
    return (dcs & 0x04) ? 4 : 0;
  return 0;
}

// Bit 4 of the general and the automatic-deletion groups (00xx and 01xx) says a class is given.
uint32_t classOf(uint8_t dcs) {
  const int group = dcs & 0xF0;
  const bool generalWithClass = (dcs & 0x80) == 0 && (dcs & 0x10) != 0;
  return (generalWithClass || group == 0xF0) ? uint32_t(dcs & 3) : 99;
}

// Type of number 001 is international whatever the numbering plan.
bool isInternationalType(uint8_t type) {
  return (type & 0x70) == 0x10;
}

// Reads the user-data header elements the record keeps. ud starts at the header length octet;
// false when the header does not fit in udLen octets.
bool readHeader(const uint8_t *ud, int udLen, SmsPduRecord *r) {
  if (udLen < 1 || ud[0] + 1 > udLen)
    return false;
  const int end = ud[0] + 1;
  bool concatSeen = false;
  for (int i = 1; i + 2 <= end;) {
    const uint8_t iei = ud[i], len = ud[i + 1];
    if (i + 2 + len > end)
      break;
    const uint8_t *d = ud + i + 2;
    if (iei == 0x00 && len == 3 && !concatSeen) {
      r->concatIei = 0;
      r->concatRef8 = d[0], r->concatTotal = d[1], r->concatSeq = d[2];
      concatSeen = true;
    } else if (iei == 0x08 && len == 4 && !concatSeen) {
      r->concatIei = 8;
      r->concatRef16 = uint16_t((d[0] << 8) | d[1]), r->concatTotal = d[2], r->concatSeq = d[3];
      concatSeen = true;
    } else if (iei == 0x25 && len == 1 && d[0] >= 1 && d[0] <= 3) {
      r->lockingShiftLanguage = d[0];
    }
    i += 2 + len;
  }
  return true;
}

std::string utf8Prefix(const QString &s, size_t maxBytes) {
  std::string out;
  for (qsizetype i = 0; i < s.size();) {
    const qsizetype len = (s.at(i).isHighSurrogate() && i + 1 < s.size()) ? 2 : 1;
    const QByteArray chunk = s.mid(i, len).toUtf8();
    if (out.size() + size_t(chunk.size()) > maxBytes)
      break;
    out.append(chunk.constData(), size_t(chunk.size()));
    i += len;
  }
  return out;
}

// Address field: digit count, type of address, digits. Alphanumeric addresses are packed text.
bool readAddress(HexCursor &c, char *field, size_t fieldSize, bool international, const SmsPduSettings &s,
                 bool alphanumericAllowed, uint8_t *typeOut = nullptr) {
  const int digits = c.octet();
  const uint8_t type = c.octet();
  if (!c.ok())
    return false;
  if (typeOut)
    *typeOut = type;
  const int octets = (digits + 1) / 2;
  if (alphanumericAllowed && (type & 0x50) == 0x50) {
    uint8_t packed[128] = {};
    c.read(packed, octets);
    if (!c.ok())
      return false;
    const int count = qMin(digits * 4 / 7, 128);
    uint8_t septets[128];
    for (int i = 0; i < count; ++i)
      septets[i] = get7bitChar(packed, octets, i * 7);
    if (s.decodePduDoNotUseSms7toUcs2) {
      copyField(field, std::min<size_t>(fieldSize, kMaxDigits + 1),
                std::string(reinterpret_cast<const char *>(septets), size_t(count)));
    } else {
      char16_t units[128];
      const int n = count > 0 ? SMS7toUcs2(units, 128, septets, count, s.codec) : 0;
      copyField(field, fieldSize, utf8Prefix(QString(reinterpret_cast<const QChar *>(units), qMax(n, 0)), kMaxDigits));
    }
    return true;
  }
  std::string number = c.swappedDigits(octets);
  if (!c.ok())
    return false;
  if (international && (number.empty() || number[0] != '+'))
    number.insert(number.begin(), '+');
  copyField(field, fieldSize, number);
  return true;
}

bool readSca(HexCursor &c, SmsPduRecord *r) {
  const int len = c.octet();
  if (!c.ok())
    return false;
  if (len > 0) {
    c.octet(); // type of address
    copyField(r->sca, sizeof r->sca, c.swappedDigits(len - 1));
  }
  return c.ok();
}

// The user data after TP-UDL for the coding; answers the text length or -1.
int readUserData(HexCursor &c, SmsPduRecord *r, int coding) {
  if (coding == 0)
    return dc7BitHexStr2Str(c.here(), r->text, r, r->hasUdh);
  const int udl = c.octet();
  if (!c.ok() || udl > 140 || int(c.remainingOctets()) < udl)
    return -1;
  uint8_t ud[140];
  c.read(ud, udl);
  int skip = 0;
  if (r->hasUdh) {
    if (!readHeader(ud, udl, r))
      return -1;
    skip = ud[0] + 1;
  }
  const int n = udl - skip;
  if (coding == 8)
    return DecodeUcs2(ud + skip, r->text, n);
  return Decode8bit(ud + skip, r->text, n);
}

int finish(SmsPduRecord *r, int length) {
  r->textLength = qMax(length, 0);
  return length;
}

// An empty record of no class yet; false when there is no PDU or no record to fill.
bool clearRecord(const char *pdu, SmsPduRecord *r) {
  if (!pdu || !r)
    return false;
  std::memset(r, 0, sizeof *r);
  r->messageClass = 99;
  return true;
}

// The message reference, kept where the protocol identifier goes, and the other party's number
// with "+" for an international one.
bool readReferenceAndAddress(HexCursor &c, SmsPduRecord *r) {
  r->pid = c.octet(); // TP-MR
  const int digits = c.octet();
  const uint8_t type = c.octet();
  if (!c.ok())
    return false;
  std::string number = c.swappedDigits((digits + 1) / 2);
  if (isInternationalType(type))
    number.insert(number.begin(), '+');
  copyField(r->address, sizeof r->address, number);
  return true;
}

// The coding scheme gives the class, the coding kept in the record and how the user data reads;
// class-2 binary data is the SIM's and carries no text.
int finishWithUserData(HexCursor &c, SmsPduRecord *r, uint8_t dcs, const SmsPduSettings &s) {
  r->messageClass = classOf(dcs);
  const int coding = codingOf(dcs);
  const bool keepVoicemail = s.autoDeleteVoicemail && (dcs == 0xC8 || dcs == 0xD8 || dcs == 0xE8);
  r->dcs = keepVoicemail ? dcs : uint8_t(coding);
  if (coding == 4 && r->messageClass == 2)
    return finish(r, 0);
  return finish(r, readUserData(c, r, coding));
}

int decodeDeliver(const char *pdu, SmsPduRecord *r, const SmsPduSettings &s) {
  if (!clearRecord(pdu, r))
    return -1;
  HexCursor c(pdu);
  if (!readSca(c, r))
    return -1;
  const uint8_t first = c.octet();
  r->hasUdh = (first & 0x40) ? 1 : 0;
  uint8_t type = 0;
  if (!readAddress(c, r->address, sizeof r->address, false, s, true, &type))
    return -1;
  if (isInternationalType(type) && r->address[0] != '+') {
    const std::string number = std::string("+") + r->address;
    copyField(r->address, sizeof r->address, number);
  }
  r->pid = c.octet();
  const uint8_t dcs = c.octet();
  copyField(r->scts, sizeof r->scts, c.swappedSemiOctets(7));
  if (!c.ok())
    return -1;
  return finishWithUserData(c, r, dcs, s);
}

void appendOctet(std::string &out, int v) {
  out += kHexDigits[(v >> 4) & 0x0F];
  out += kHexDigits[v & 0x0F];
}

// Digits of a number as semi-octets: "*" and "#" as A and B, other characters skipped.
std::string semiOctets(const char *number) {
  std::string digits;
  for (size_t i = 0; number[i] && digits.size() < size_t(kMaxDigits); ++i) {
    const char ch = number[i];
    if (ch >= '0' && ch <= '9')
      digits += ch;
    else if (ch == '*')
      digits += 'A';
    else if (ch == '#')
      digits += 'B';
  }
  return digits;
}

void appendSwapped(std::string &out, std::string digits) {
  if (digits.size() % 2)
    digits += 'F';
  for (size_t i = 0; i + 1 < digits.size(); i += 2) {
    out += digits[i + 1];
    out += digits[i];
  }
}

void appendSca(std::string &out, const char *sca, bool submit, bool unknownNum) {
  int type = 0x81;
  if (submit && sca[0] == '0' && sca[1] == '0') {
    sca += 2;
    type = unknownNum ? 0x81 : 0x91;
  } else if (sca[0] == '+') {
    ++sca;
    type = 0x91;
  }
  const std::string digits = semiOctets(sca);
  if (digits.empty()) {
    out += "00";
    return;
  }
  appendOctet(out, 1 + int(digits.size() + 1) / 2);
  appendOctet(out, type);
  appendSwapped(out, digits);
}

// An address holding anything besides a leading "+", digits, "*" and "#" is a name.
bool isAlphanumericAddress(const char *address) {
  for (size_t i = 0; address[i]; ++i) {
    const char ch = address[i];
    if (!((ch >= '0' && ch <= '9') || ch == '*' || ch == '#' || (ch == '+' && i == 0)))
      return true;
  }
  return false;
}

// A sender name as packed GSM septets, type 0xD0; the length counts the semi-octets the septets
// fill. The field holds at most ten octets, so at most eleven septets.
void appendAlphanumericAddress(std::string &out, const char *address, const SmsCodecSettings &codec) {
  constexpr int kMaxSeptets = 11;
  const QString name = QString::fromUtf8(address);
  uint8_t septets[2 * 45] = {};
  const int units = int(std::min<qsizetype>(name.size(), 45));
  int n = Ucs2toSMS7(septets, int(sizeof septets), reinterpret_cast<const char16_t *>(name.utf16()), units, codec);
  n = std::clamp(n, 0, kMaxSeptets);
  if (n > 0 && septets[n - 1] == kSmsEscape) // never cut an escape from its character
    --n;
  uint8_t packed[10] = {};
  const int octets = n > 0 ? packSeptetsAt(septets, n, packed, 0) : 0;
  appendOctet(out, (n * 7 + 3) / 4);
  appendOctet(out, 0xD0);
  for (int i = 0; i < octets; ++i)
    appendOctet(out, packed[i]);
}

void appendAddress(std::string &out, const char *address) {
  const bool international = address[0] == '+';
  const std::string digits = semiOctets(international ? address + 1 : address);
  appendOctet(out, int(digits.size()));
  appendOctet(out, international ? 0x91 : 0x81);
  appendSwapped(out, digits);
}

// TP-UDL and the user data in the coding the record's dcs names; false when it does not fit.
bool appendUserData(std::string &out, const SmsPduRecord *r) {
  const int coding = codingOf(r->dcs);
  int headerSize = 0;
  if (r->hasUdh) {
    headerSize = r->text[0] + 1;
    if (headerSize > kSmsPduTextSize)
      return false;
  }
  const int body = r->textLength;
  if (body < 0 || headerSize + body > kSmsPduTextSize)
    return false;
  const uint8_t *text = r->text + headerSize;
  uint8_t ud[140] = {};
  int udl = 0, octets = 0;
  if (coding == 0) {
    const int headerSeptets = (headerSize * 8 + 6) / 7;
    udl = headerSeptets + body;
    if (udl > 160)
      return false;
    std::memcpy(ud, r->text, size_t(headerSize));
    octets = packSeptetsAt(text, body, ud, headerSeptets * 7);
    octets = qMax(octets, headerSize);
  } else {
    udl = octets = headerSize + body;
    if (udl > 140)
      return false;
    std::memcpy(ud, r->text, size_t(headerSize));
    if (coding == 8) {
      for (int i = 0; i + 1 < body; i += 2) {
        char16_t u;
        std::memcpy(&u, text + i, 2);
        ud[headerSize + i] = uint8_t(u >> 8);
        ud[headerSize + i + 1] = uint8_t(u & 0xFF);
      }
      if (body % 2)
        ud[headerSize + body - 1] = text[body - 1];
    } else {
      std::memcpy(ud + headerSize, text, size_t(body));
    }
  }
  appendOctet(out, udl);
  for (int i = 0; i < octets; ++i)
    appendOctet(out, ud[i]);
  return true;
}

int emitPdu(const std::string &pdu, char *out) {
  if (pdu.size() + 1 > size_t(kSmsPduHexSize))
    return -1;
  std::memcpy(out, pdu.c_str(), pdu.size() + 1);
  return int(pdu.size());
}

} // namespace

int DecodePdu_Delivery(const char *pdu, SmsPduRecord *record, const SmsPduSettings &settings) {
  return decodeDeliver(pdu, record, settings);
}

int Decode_Class0_PDU(const char *pdu, SmsPduRecord *record, const SmsPduSettings &settings) {
  return decodeDeliver(pdu, record, settings);
}

int DecodePdu_Submit(const char *pdu, SmsPduRecord *r, const SmsPduSettings &s) {
  if (!clearRecord(pdu, r))
    return -1;
  HexCursor c(pdu);
  if (!readSca(c, r))
    return -1;
  const uint8_t first = c.octet();
  r->hasUdh = (first & 0x40) ? 1 : 0;
  if (!readReferenceAndAddress(c, r))
    return -1;
  c.octet(); // TP-PID
  const uint8_t dcs = c.octet();
  // Relative validity is one octet; the absolute and enhanced formats are seven.
  switch (first & 0x18) {
  case 0x10:
    c.octet();
    break;
  case 0x08:
  case 0x18:
    for (int i = 0; i < 7; ++i)
      c.octet();
    break;
  default:
    break;
  }
  if (!c.ok())
    return -1;
  return finishWithUserData(c, r, dcs, s);
}

int STATUS_REPORT_PDU(const char *pdu, SmsPduRecord *r) {
  if (!clearRecord(pdu, r))
    return -1;
  HexCursor c(pdu);
  if (!readSca(c, r))
    return -1;
  const uint8_t first = c.octet();
  r->reportFlag = first & 0x04;
  if (!readReferenceAndAddress(c, r))
    return -1;
  copyField(r->scts, sizeof r->scts, c.swappedSemiOctets(7));
  copyField(r->dischargeTime, sizeof r->dischargeTime, c.swappedSemiOctets(7));
  r->status = c.octet();
  return c.ok() ? 0 : -1;
}

int Decode_BroadCast_PDU(const char *pdu, SmsPduRecord *r) {
  if (!clearRecord(pdu, r))
    return -1;
  HexCursor c(pdu);
  c.octet(); // serial number
  c.octet();
  const int hi = c.octet(), lo = c.octet();
  c.octet(); // coding scheme
  c.octet(); // page parameter
  if (!c.ok())
    return -1;
  std::snprintf(r->address, sizeof r->address, "%d", (hi << 8) | lo);
  uint8_t octets[140];
  const int n = int(std::min<size_t>(c.remainingOctets(), sizeof octets));
  c.read(octets, n);
  if (!c.ok())
    return -1;
  const int septets = std::min(n * 8 / 7, 160);
  for (int i = 0; i < septets; ++i)
    r->text[i] = get7bitChar(octets, n, i * 7);
  r->text[septets] = 0;
  return finish(r, septets);
}

int dc7BitHexStr2Str(const char *udHex, uint8_t *out, SmsPduRecord *r, int hasUdh) {
  if (!udHex || !out || !r)
    return 0;
  HexCursor c(udHex);
  const int udl = c.octet();
  if (!c.ok() || udl > 160)
    return 0;
  const int octets = (udl * 7 + 7) / 8;
  if (int(c.remainingOctets()) < octets)
    return 0;
  uint8_t ud[140];
  c.read(ud, octets);
  int start = 0;
  if (hasUdh) {
    if (!readHeader(ud, octets, r))
      return 0;
    start = ((ud[0] + 1) * 8 + 6) / 7; // the header rounded up to whole septets
    if (start > udl)
      return 0;
  }
  int n = 0;
  for (int i = start; i < udl; ++i)
    out[n++] = get7bitChar(ud, octets, i * 7);
  out[n] = 0;
  return n;
}

int EncodePdu_Submit(const SmsPduRecord *r, char *out, const SmsPduSettings &settings) {
  if (!r || !out)
    return -1;
  std::string pdu;
  appendSca(pdu, r->sca, true, settings.setMsgCenterWithUnknownNum);
  appendOctet(pdu, r->hasUdh ? 0x41 : 0x01);
  appendOctet(pdu, 0x00); // message reference: the modem assigns it
  appendAddress(pdu, r->address);
  appendOctet(pdu, r->pid);
  appendOctet(pdu, r->dcs);
  if (!appendUserData(pdu, r))
    return -1;
  return emitPdu(pdu, out);
}

int EncodePdu_Delivery(const SmsPduRecord *r, char *out, const SmsPduSettings &settings) {
  if (!r || !out)
    return -1;
  std::string pdu;
  appendSca(pdu, r->sca, false, false);
  appendOctet(pdu, r->hasUdh ? 0x44 : 0x04);
  if (isAlphanumericAddress(r->address))
    appendAlphanumericAddress(pdu, r->address, settings.codec);
  else
    appendAddress(pdu, r->address);
  appendOctet(pdu, r->pid);
  appendOctet(pdu, r->dcs);
  // The record keeps the time stamp in reading order; the PDU wants semi-octets. The time zone's
  // first digit carries the sign in its high bit, so 8-F are kept there.
  std::string stamp;
  const int stored = int(strnlen(r->scts, sizeof r->scts));
  for (int i = 0; i < 14; ++i) {
    const char ch = i < stored ? r->scts[i] : '0';
    const bool valid = (ch >= '0' && ch <= '9') || (i == 12 && hexDigitValue(ch) >= 0);
    stamp += valid ? char(std::toupper(static_cast<unsigned char>(ch))) : '0';
  }
  appendSwapped(pdu, stamp);
  if (!appendUserData(pdu, r))
    return -1;
  return emitPdu(pdu, out);
}

int EncodeTimeStrToPDUFormat(const char *time, char *out) {
  if (!time || !out)
    return -1;
  const size_t len = strnlen(time, 64);
  if (len < 2)
    return -1;
  int fields[6] = {};
  int n = 0;
  bool inNumber = false;
  for (size_t i = 2; i < len; ++i) {
    const char ch = time[i];
    if (ch >= '0' && ch <= '9') {
      if (!inNumber) {
        if (n == 6)
          return -1;
        ++n;
        inNumber = true;
      }
      fields[n - 1] = (fields[n - 1] * 10 + (ch - '0')) % 1000;
    } else if (ch == '-' || ch == ':' || ch == ' ') {
      inNumber = false;
    } else {
      return -1;
    }
  }
  if (n != 6)
    return -1;
  for (int i = 0; i < 6; ++i) {
    const int v = fields[i] % 100;
    out[2 * i] = char('0' + v % 10);
    out[2 * i + 1] = char('0' + v / 10);
  }
  out[12] = '0'; // time zone: not in the input
  out[13] = '0';
  out[14] = '\0';
  return 14;
}

int findEndCusor(const uint8_t *buffer) {
  if (!buffer)
    return -1;
  int run = 0;
  for (int i = 0; i < 180; ++i) {
    run = buffer[i] == 0 ? run + 1 : 0;
    if (run == 8)
      return i - 7;
  }
  return -1;
}
