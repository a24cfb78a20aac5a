#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// The one way this program reads its own data files and replaces them. Nothing here follows a
// symbolic link when writing, blocks on a FIFO or device, or leaves a half-written file behind.
namespace SafeFile {

// Largest file readRegularFile takes by default: far above any settings file.
constexpr qint64 kDefaultMaxReadBytes = 32 * 1024 * 1024;
// Largest list the program reads (messages, contacts): far above what a user gathers in a
// lifetime (100,000 messages take about 60 MiB), so a list that grew large is still read.
constexpr qint64 kListMaxReadBytes = qint64(1) << 30;

// Replaces the file at `path` by `bytes`: a temporary file beside it is written, flushed and
// synced, every step's error checked, and only then renamed over the old one. On any failure the
// temporary file is removed, the old file stays byte for byte as it was, the reason is logged and
// the answer is false. A symbolic link at `path` is replaced by the new file; its target is never
// written. With `permissions` the file gets exactly those, whatever the umask; without, a new file
// is private (0600) and an existing one keeps its mode, less write access for group and others.
// Temporary files that earlier cut writes to `path` left beside it, a minute old, are removed.
bool writeAtomically(const QString &path, const QByteArray &bytes, QFileDevice::Permissions permissions = {});

// Reads a regular file of at most `maxBytes`. A FIFO, device, folder or socket (also behind a
// symbolic link) is refused without blocking, as is a larger file; false then, and *out is empty.
bool readRegularFile(const QString &path, QByteArray *out, qint64 maxBytes = kDefaultMaxReadBytes);

// How readRegular went: a file too large to take is not a damaged one, and a caller may well
// keep it where it is.
enum class ReadResult {
  Read,
  Missing,  // nothing at `path`
  NotAFile, // a FIFO, device, folder or socket
  TooLarge, // larger than the limit given
  Failed,   // could not be opened or read (permissions, I/O error)
};
ReadResult readRegular(const QString &path, QByteArray *out, qint64 maxBytes = kDefaultMaxReadBytes);

// Moves a file that cannot be read out of the way, keeping it beside as
// "<path>.damaged-<UTC time>" (never over an earlier copy), and logs where. `target`, when
// given, gets the new path. False, with the file left as it is, when the rename fails.
bool setAside(const QString &path, QString *target = nullptr);

// Creates `path` and its missing parents; every folder created here gets `mode` (POSIX bits)
// whatever the umask. True when `path` is a folder afterwards.
bool makeFolder(const QString &path, int mode = 0700);

// Testing seam: when set, it is called before each write to the temporary file with the number
// of bytes about to be written and may answer an errno value to make that write fail.
using WriteFault = int (*)(qint64 bytes);
void setWriteFaultForTesting(WriteFault fault);

} // namespace SafeFile
