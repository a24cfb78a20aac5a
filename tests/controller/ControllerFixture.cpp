#include "ControllerFixture.h"

#include "Plist.h"
#include "WordGlobe.h"

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

std::unique_ptr<QELUIManager> ControllerFixture::makeSkin(const QVariantMap &items) {
  const QString folder = root.filePath("skin");
  QDir().mkpath(folder);
  EXPECT_TRUE(Plist::writeFile(folder + "/SkinInfo", items));
  auto skin = std::make_unique<QELUIManager>(config.get());
  EXPECT_TRUE(skin->loadUIResource(folder));
  return skin;
}

void ControllerFixture::loadWording(const QMap<QString, QString> &tokens) {
  const QString path = root.filePath("LanguageTokenList.txt");
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  for (auto it = tokens.cbegin(); it != tokens.cend(); ++it)
    f.write(QStringLiteral("\"%1\" = \"%2\";\n").arg(it.key(), it.value()).toUtf8());
  f.close();
  EXPECT_TRUE(Word_Globe_Init(path));
}

void ControllerFixture::resetWording() {
  WordGlobe::reset();
}
