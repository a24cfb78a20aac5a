// Sound files are chosen by the user and named in editable settings: any bytes may arrive.
#include "Sound.h"
#include "TextFormats.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  if (const auto audio = parseWav(bytes)) {
    if (audio->pcm.size() % audio->bytesPerFrame() != 0)
      __builtin_trap();
    (void)audio->durationMs();
  }
  // Configured link templates are as untrusted as the values filled in.
  const QString text = QString::fromUtf8(bytes);
  (void)fillWebLinkTemplate(text, {text, QStringLiteral("3544")});
  (void)formatCalendarDate(QDateTime::currentDateTime(), text);
  return 0;
}
