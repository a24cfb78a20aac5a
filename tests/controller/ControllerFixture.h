#pragma once

#include "ConfigManager.h"
#include "NotificationCenter.h"
#include "QELUIManager.h"
#include "Sound.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// An audio output that plays until stopped (or refuses to start), counting what it was asked.
struct FakeAudio {
  int starts = 0;
  bool refuse = false;
};

class FakeOutput : public AudioOutput {
public:
  explicit FakeOutput(FakeAudio *state) : state_(state) {}
  bool start(const WavAudio &) override {
    ++state_->starts;
    active_ = !state_->refuse;
    return active_;
  }
  void stop() override { active_ = false; }
  bool isActive() const override { return active_; }

private:
  FakeAudio *state_;
  bool active_ = false;
};

// A ModemList folder with its own settings, installed as the program's configuration, and a
// fake audio output.
class ControllerFixture : public ::testing::Test {
protected:
  QTemporaryDir root;
  std::unique_ptr<ConfigManager> config;
  FakeAudio audio;

  QString modemList() const { return root.filePath("ModemList"); }

  void SetUp() override {
    QDir().mkpath(modemList());
    ConfigManager::Locations loc;
    loc.candidates = {modemList()};
    config = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config.get());
    Sound::setOutputFactory([this] { return std::make_unique<FakeOutput>(&audio); });
  }

  void TearDown() override {
    resetWording();
    Sound::setOutputFactory({});
    ConfigManager::setSharedConfigManager(nullptr);
  }

  QVariantMap &settings() { return config->getConfiguration(); }
  static void resetWording();

  // A skin manager with a skin folder whose SkinInfo holds `items`.
  std::unique_ptr<QELUIManager> makeSkin(const QVariantMap &items);
  // Makes the token list with `tokens` the current wording table (reset in TearDown).
  void loadWording(const QMap<QString, QString> &tokens);

  // A short valid WAV file (16-bit mono, 8 kHz) under the ModemList folder; answers its path.
  QString writeWav(const QString &name, int frames = 800);
};

// Records the notifications posted under `names` while it lives.
class PostRecorder : public QObject {
public:
  explicit PostRecorder(const QStringList &names) {
    for (const QString &n : names)
      NotificationCenter::defaultCenter().addObserver(this, n, nullptr,
                                                      [this](const Notification &note) { posts.append(note); });
  }
  ~PostRecorder() override { NotificationCenter::defaultCenter().removeObserver(this); }
  QList<Notification> posts;
};
