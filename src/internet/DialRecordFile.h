#pragma once

#include "DialRecord.h"

#include <QByteArray>

// The record file's format: an XML property list whose root is an array of record dictionaries.
// Years of connections make a file of many megabytes, so the common shape (the one this program
// writes) is read by a scanner that builds records directly; anything else a property list may
// hold (binary form, data values, nested containers, CDATA) goes through the general plist
// reader. Non-dictionary entries of the array are skipped.
namespace DialRecordFile {

// The largest record file read: about 200,000 connections, far beyond a lifetime of use, and
// read and parsed within a fraction of a second. A bigger file is refused whole (never read in
// part), kept, and set aside at the next write.
constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;

// False when the bytes are not a property list whose root is an array.
bool parse(const QByteArray &bytes, DialRecordList *out);
QByteArray toXml(const DialRecordList &records);

} // namespace DialRecordFile
