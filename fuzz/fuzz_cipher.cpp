// The URL-parameter ciphers take the SIM's identity and a key from the settings file.
#include "BlowFishEncrypt.h"
#include "Blowfish.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  const QByteArray text = bytes + '\0';
  char out[kEncryptServicesOutputSize];
  if (EncryptServicesMain(text.constData(), out, sizeof out) == kBlowfishOk) {
    char back[kEncryptServicesOutputSize];
    if (DecryptServicesMain(out, back, sizeof back) != kBlowfishOk || std::strcmp(back, text.constData()) != 0)
      std::abort();
  }
  (void)DecryptServicesMain(text.constData(), out, sizeof out);

  const qsizetype split = bytes.isEmpty() ? 0 : uint8_t(bytes[0]) % (bytes.size());
  BlowFishEncrypt cipher(bytes.left(split));
  const bool ok = cipher.encipher(bytes.mid(split));
  if (ok != (cipher.hasKey() && bytes.size() - split >= 1 && bytes.size() - split <= 16) ||
      cipher.ciphertext().size() != (ok ? 32 : 0))
    std::abort();
  return 0;
}
