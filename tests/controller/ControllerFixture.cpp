#include "ControllerFixture.h"

#include <QFile>
#include <QtEndian>

namespace {
void put32(QByteArray &b, quint32 v) {
  char d[4];
  qToLittleEndian(v, d);
  b.append(d, 4);
}
void put16(QByteArray &b, quint16 v) {
  char d[2];
  qToLittleEndian(v, d);
  b.append(d, 2);
}
} // namespace

QString ControllerFixture::writeWav(const QString &name, int frames) {
  QByteArray fmt;
  put16(fmt, 1);
  put16(fmt, 1);
  put32(fmt, 8000);
  put32(fmt, 16000);
  put16(fmt, 2);
  put16(fmt, 16);
  QByteArray wav("RIFF");
  put32(wav, quint32(4 + 8 + fmt.size() + 8 + frames * 2));
  wav.append("WAVEfmt ");
  put32(wav, quint32(fmt.size()));
  wav.append(fmt);
  wav.append("data");
  put32(wav, quint32(frames * 2));
  wav.append(QByteArray(frames * 2, '\0'));
  const QString path = QDir(modemList()).filePath(name);
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(wav);
  return path;
}
