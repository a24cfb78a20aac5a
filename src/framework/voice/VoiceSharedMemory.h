#pragma once

// The voice-data blocks shared with the backend: POSIX shared memory of one 20 ms audio frame.
// Header-only on purpose: the program and the backend both use it, and the backend links only
// the platform layer.

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

// The backend's voice-data service: an object at "/" + kServiceName on the backend's bus name.
namespace VoiceService {
inline constexpr const char *kServiceName = "qcontrollerosxproxy";
inline constexpr const char *kInterface = "org.qel.VoiceDataTransferProto";
} // namespace VoiceService

namespace VoiceBlocks {
// Far-end audio: written by the backend, read by the program.
inline constexpr const char *kWaveInSharedMemory = "WaveInSharedMemory";
// Microphone audio: written by the program, read by the backend.
inline constexpr const char *kWaveOutSharedMemory = "WaveOutSharedMemory";
inline constexpr int kBlockSize = 320;
inline constexpr const char *kDefaultBackendBusName = "org.qel.vArivevorer";

// The POSIX name of a block for the backend on `backendBusName`. The default backend uses the
// plain name ("/WaveInSharedMemory"); any other bus name adds a suffix of its own, so programs
// and backends running side by side (tests) never share a block.
inline QByteArray blockName(const char *base, const QString &backendBusName) {
  QByteArray name = QByteArray("/") + base;
  if (backendBusName.isEmpty() || backendBusName == QLatin1String(kDefaultBackendBusName))
    return name;
  QByteArray suffix;
  for (const QChar c : backendBusName) {
    const char16_t u = c.unicode();
    const bool plain = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'.' ||
                       u == u'_' || u == u'-';
    suffix += plain ? static_cast<char>(u) : '_';
  }
  // Bus names may be longer than a shared-memory name may be: long ones are hashed.
  if (suffix.size() > 64)
    suffix = QCryptographicHash::hash(backendBusName.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
  return name + '.' + suffix;
}

// One mapped block. The creator removes any stale object of the name and makes a fresh one,
// private to the user (0600); the other side attaches only to an object of its own user of the
// right size. The creator removes the name again when it closes.
class SharedBlock {
public:
  SharedBlock() = default;
  ~SharedBlock() { close(); }
  SharedBlock(const SharedBlock &) = delete;
  SharedBlock &operator=(const SharedBlock &) = delete;

  bool create(const QByteArray &name) {
    close();
    ::shm_unlink(name.constData());
    const int fd = ::shm_open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
      return false;
    if (::ftruncate(fd, kBlockSize) != 0 || !map(fd)) {
      ::close(fd);
      ::shm_unlink(name.constData());
      return false;
    }
    name_ = name;
    fd_ = fd;
    owner_ = true;
    return true;
  }

  bool attach(const QByteArray &name) {
    close();
    const int fd = ::shm_open(name.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC, 0);
    if (fd < 0)
      return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid() || st.st_size != kBlockSize || !map(fd)) {
      ::close(fd);
      return false;
    }
    name_ = name;
    fd_ = fd;
    owner_ = false;
    return true;
  }

  void close() {
    if (data_)
      ::munmap(data_, kBlockSize);
    if (fd_ >= 0)
      ::close(fd_);
    if (owner_ && !name_.isEmpty())
      ::shm_unlink(name_.constData());
    data_ = nullptr;
    fd_ = -1;
    owner_ = false;
    name_.clear();
  }

  bool isMapped() const { return data_ != nullptr; }
  unsigned char *data() const { return static_cast<unsigned char *>(data_); }
  const QByteArray &name() const { return name_; }

  // Copies at most one block in or out; answers the bytes moved (0 when unmapped).
  int write(const void *bytes, int length) {
    if (!data_ || !bytes || length <= 0)
      return 0;
    const int n = length < kBlockSize ? length : kBlockSize;
    std::memcpy(data_, bytes, static_cast<size_t>(n));
    return n;
  }
  QByteArray read(int length) const {
    if (!data_ || length <= 0)
      return {};
    const int n = length < kBlockSize ? length : kBlockSize;
    return QByteArray(static_cast<const char *>(data_), n);
  }

private:
  bool map(int fd) {
    void *p = ::mmap(nullptr, kBlockSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED)
      return false;
    data_ = p;
    return true;
  }

  QByteArray name_;
  int fd_ = -1;
  void *data_ = nullptr;
  bool owner_ = false;
};

// The program's pair of blocks for one call: the in-block first, then the out-block; a failure
// of either leaves neither mapped.
class BlockPair {
public:
  bool setup(const QString &backendBusName) {
    reclaim();
    if (waveIn.create(blockName(kWaveInSharedMemory, backendBusName)) &&
        waveOut.create(blockName(kWaveOutSharedMemory, backendBusName)))
      return true;
    reclaim();
    return false;
  }
  void reclaim() {
    waveIn.close();
    waveOut.close();
  }
  bool isMapped() const { return waveIn.isMapped() && waveOut.isMapped(); }

  SharedBlock waveIn;
  SharedBlock waveOut;
};
} // namespace VoiceBlocks
