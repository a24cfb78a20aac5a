#pragma once

#include "SimHexCursor.h"

#include <QString>
#include <QStringList>

// Decoders of the SIM files the device status reads (service provider name, its display list of
// networks, the card's serial number) and of the MCC/MNC texts that name a network. Pure
// functions over the hexadecimal text, so every odd input can be tried without a device.
namespace SimFiles {

// The character of a byte of the GSM 7-bit default alphabet; the escape code reads as a space.
QChar gsmDefaultAlphabet(uint8_t code);

// A SIM text (alpha identifier) from the cursor to the end of the text: GSM default alphabet,
// UCS-2 (0x80) or the two compact UCS-2 forms (0x81, 0x82); the forms 0x83 and above give the
// empty name. Fillers 0xFF after the name are skipped.
QString decodeAlphaIdInSPN(SimHexCursor &cursor);

// The service provider name file: display condition (first byte, whole) and the name.
struct ServiceProviderName {
  bool hasCondition = false;
  int displayCondition = 0;
  QString name; // the empty string when the file holds none
};
ServiceProviderName parseEF_SPN(const QByteArray &hexText);

// The PLMN list of the service provider display information file, from the cursor placed just
// after its tag: length byte, then 3-byte entries up to the length or an empty entry. Each entry
// becomes its MCC/MNC text (MCC then MNC, two or three digits); an entry that is not BCD digits
// is skipped.
QStringList decodeSpPLMNList(SimHexCursor &cursor);
// The whole file; false when it has no PLMN list (the caller keeps the list it had).
bool parseEF_SPDI(const QByteArray &hexText, QStringList *list);

// One 3-byte PLMN entry in the SIM's BCD coding (MCC2 MCC1, MNC3 MCC3, MNC2 MNC1), as its
// MCC/MNC text; the empty string when the entry is not BCD digits.
QString decodePlmnEntry(const QByteArray &sixHexCharacters);

// The card serial number: the two characters of each of the first 10 pairs swapped, read up to
// the first character that is not hexadecimal.
QString decodeICCID(const QByteArray &hexText);

// The MCC/MNC text of a network: the MCC (three digits) followed by the MNC (two or three
// digits); a shorter MCC or a one-digit MNC is padded with leading zeros. The empty string when
// either is not a decimal number of a possible length.
QString composeMccmnc(const QString &mcc, const QString &mnc);

} // namespace SimFiles
