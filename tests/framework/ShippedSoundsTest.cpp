#include "ConfigManager.h"
#include "Plist.h"
#include "QELUIController.h"
#include "Sound.h"
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

// The alerts, the ring, SMS arrival, connect, disconnect and quit name sound files in the
// ModemList folder. A name without its file only shows as "cannot read sound" in the log and a
// silent alert, so every name the shipped configuration and the code use is checked here against
// the bundle the build made.

namespace {

QString resources() {
  return testsupport::buildBundlePath() + QStringLiteral("/Resources");
}
QString shippedModemList() {
  return resources() + QStringLiteral("/ModemList");
}

// Strings that name a sound: under a key that speaks of one, or with an audio file's suffix.
void collectSoundNames(const QVariant &v, const QString &key, QSet<QString> *names) {
  static const QRegularExpression audio(QStringLiteral("\\.(wav|aiff?|aifc|snd|au|mp3|m4a)$"),
                                        QRegularExpression::CaseInsensitiveOption);
  if (v.typeId() == QMetaType::QVariantMap) {
    const QVariantMap m = v.toMap();
    for (auto it = m.cbegin(); it != m.cend(); ++it)
      collectSoundNames(it.value(), it.key(), names);
  } else if (v.typeId() == QMetaType::QVariantList) {
    for (const QVariant &item : v.toList())
      collectSoundNames(item, key, names);
  } else if (v.typeId() == QMetaType::QString) {
    const QString s = v.toString();
    if (audio.match(s).hasMatch() || (key.contains(QLatin1String("sound"), Qt::CaseInsensitive) && s.contains('.')))
      names->insert(s);
  }
}

// Every shipped plist and skin description. The ModemList's settings file may have been
// rewritten by a run from the build tree; its pristine copy under Defaults stands for it.
QSet<QString> namesInShippedConfiguration(QStringList *walked) {
  QSet<QString> names;
  const QString runtimeSettings = shippedModemList() + QStringLiteral("/settings.plist");
  QDirIterator it(resources(), QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const QString file = it.fileName();
    if (path == runtimeSettings || !(file.endsWith(QLatin1String(".plist")) || file == QLatin1String("SkinInfo")))
      continue;
    QVariant root;
    if (Plist::readFile(path, &root)) {
      *walked << path;
      collectSoundNames(root, {}, &names);
    }
  }
  return names;
}

// The defaults the code falls back on (the Settings page stores them when no file is set).
const QStringList &codeDefaultNames() {
  static const QStringList names = {kCMSoundOnlineFile, kCMSoundOfflineFile, kCMSoundSmsFile, kCMSoundCallFile};
  return names;
}

// Where the program looks for a name: relative names and the defaults' keys both live in the
// ModemList folder.
QString resolve(const QString &modemList, const QString &name) {
  if (QFileInfo(name).isAbsolute() && !codeDefaultNames().contains(name))
    return name;
  return QDir::cleanPath(modemList + QLatin1Char('/') + name);
}

qint16 peakOf(const WavAudio &a) {
  qint16 peak = 0;
  for (qsizetype i = 0; i + 1 < a.pcm.size(); i += 2)
    peak = qMax<qint16>(peak, qAbs(qFromLittleEndian<qint16>(a.pcm.constData() + i)));
  return peak;
}

TEST(ShippedSounds, EveryNamedSoundIsInTheBundleAndLoads) {
  QStringList walked;
  const QSet<QString> fromConfiguration = namesInShippedConfiguration(&walked);
  ASSERT_TRUE(walked.contains(resources() + QStringLiteral("/Defaults/settings.plist"))) << "no shipped settings";
  // The quit sound has no code default; the shipped settings name it.
  ASSERT_FALSE(fromConfiguration.isEmpty()) << "the walk found no sound name in " << walked.join(' ').toStdString();

  QSet<QString> names = fromConfiguration;
  for (const QString &n : codeDefaultNames())
    names.insert(n);

  QHash<QByteArray, QString> seen; // each purpose has a sound of its own
  for (const QString &name : names) {
    SCOPED_TRACE(name.toStdString());
    const QString path = resolve(shippedModemList(), name);
    EXPECT_TRUE(path.startsWith(shippedModemList() + QLatin1Char('/'))) << "outside the bundle: " << path.toStdString();
    ASSERT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
    const std::unique_ptr<Sound> sound = Sound::fromFile(path);
    ASSERT_TRUE(sound) << "not playable: " << path.toStdString();
    const WavAudio &a = sound->audio();
    EXPECT_EQ(a.sampleRate, 22050);
    EXPECT_EQ(a.channels, 1);
    EXPECT_EQ(a.sample, WavAudio::Sample::Int16);
    EXPECT_GT(a.durationMs(), 100);
    EXPECT_LT(a.durationMs(), 1000);
    // Audible, and not clipped flat against the rails.
    EXPECT_GT(peakOf(a), 8000);
    EXPECT_LT(peakOf(a), 32000);
    const QString other = seen.value(a.pcm);
    EXPECT_TRUE(other.isEmpty()) << "same sound as " << other.toStdString();
    seen.insert(a.pcm, name);
  }
}

// Records what the controller hands to the audio output.
struct Played {
  QList<QByteArray> pcm;
};
class RecordingOutput : public AudioOutput {
public:
  explicit RecordingOutput(Played *played) : played_(played) {}
  bool start(const WavAudio &audio) override {
    played_->pcm << audio.pcm;
    active_ = true;
    return true;
  }
  void stop() override { active_ = false; }
  bool isActive() const override { return active_; }

private:
  Played *played_;
  bool active_ = false;
};

// The controller finds each type's sound the way the program does: the name from the shipped
// settings, or the default the Settings page stores (the full path of the default's key).
TEST(ShippedSounds, ControllerPlaysEachTypeFromAFreshModemList) {
  QTemporaryDir root;
  const QString modemList = root.filePath(QStringLiteral("ModemList"));
  ASSERT_TRUE(QDir().mkpath(modemList + QStringLiteral("/sound")));
  ASSERT_TRUE(QFile::copy(resources() + QStringLiteral("/Defaults/settings.plist"), modemList + "/settings.plist"));
  for (const QFileInfo &f : QDir(shippedModemList() + QStringLiteral("/sound")).entryInfoList(QDir::Files))
    ASSERT_TRUE(QFile::copy(f.filePath(), modemList + "/sound/" + f.fileName()));

  ConfigManager::Locations loc;
  loc.candidates = {modemList};
  ConfigManager config(loc);
  ConfigManager::setSharedConfigManager(&config);
  Played played;
  Sound::setOutputFactory([&played] { return std::make_unique<RecordingOutput>(&played); });

  struct Case {
    int type;
    QString defaultKey; // empty: the shipped settings must name it
  };
  const Case cases[] = {{kSoundOnline, kCMSoundOnlineFile},
                        {kSoundOffline, kCMSoundOfflineFile},
                        {kSoundSMS, kCMSoundSmsFile},
                        {kSoundIncomingCall, kCMSoundCallFile},
                        {kSoundQuit, {}}};
  {
    QELUIController controller;
    for (const Case &c : cases) {
      SCOPED_TRACE(c.type);
      if (controller.soundFileName(c.type).isEmpty() && !c.defaultKey.isEmpty())
        config.getConfiguration().insert(QELUIController::filenameKeyOfSound(c.type),
                                         config.configFilePathOfKey(c.defaultKey));
      const QString name = controller.soundFileName(c.type);
      ASSERT_FALSE(name.isEmpty()) << "no sound named";
      const qsizetype before = played.pcm.size();
      controller.playSound(c.type);
      ASSERT_EQ(played.pcm.size(), before + 1) << "nothing played for " << name.toStdString();
      EXPECT_EQ(QELUIController::currentSoundType(), c.type);
      EXPECT_TRUE(QELUIController::isSoundPlaying());
      // What played is the shipped file itself.
      const auto shipped = Sound::fromFile(resolve(modemList, name));
      ASSERT_TRUE(shipped);
      EXPECT_EQ(played.pcm.last(), shipped->audio().pcm);
      EXPECT_TRUE(resolve(modemList, name).startsWith(modemList + "/sound/"));
      QELUIController::stopSound();
    }
  }
  Sound::setOutputFactory({});
  ConfigManager::setSharedConfigManager(nullptr);
}

} // namespace
