// The Call tab's plug-in: a keypad, the number, Dial/Answer/Hang up, mute and volume. It asks
// the call controller for everything through notifications and shows what the controller says.
#include "CallBridge.h"
#include "PlugInInterface.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

class CallBundle : public QObject, public QELPlugInInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QELPlugInInterface_iid)
  Q_INTERFACES(QELPlugInInterface)
public:
  bool initWithParam(const QVariantMap &) override {
    // A plug-in instance lives as long as the process; a second host must not find the first
    // host's bridge still answering.
    delete bridge_;
    bridge_ = new CallBridge(this);
    return bridge_->isConnected();
  }

  QWidget *bundleView() override {
    if (view_)
      return view_;
    view_ = new QWidget;
    view_->setObjectName(QStringLiteral("CallBundleView"));
    status_ = new QLabel(view_);
    status_->setObjectName(QStringLiteral("CallBundleStatus"));
    name_ = new QLabel(view_);
    name_->setObjectName(QStringLiteral("CallBundleName"));
    number_ = new QLineEdit(view_);
    number_->setObjectName(QStringLiteral("CallBundleNumber"));
    auto *keys = new QGridLayout;
    const char *titles[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "0", "#"};
    for (int i = 0; i < 12; ++i) {
      auto *key = new QPushButton(QLatin1String(titles[i]), view_);
      key->setObjectName(QStringLiteral("CallBundleKey") + QLatin1String(titles[i]));
      key->setFixedWidth(40);
      connect(key, &QPushButton::clicked, this, [this, key] {
        number_->setText(number_->text() + key->text());
        bridge_->post(QStringLiteral("dialButton"),
                      {{QStringLiteral("dialButton"), QVariant::fromValue<QObject *>(key)}});
      });
      keys->addWidget(key, i / 3, i % 3);
    }
    QPushButton *dial = new QPushButton(QStringLiteral("Dial"), view_);
    dial_ = dial;
    dial->setObjectName(QStringLiteral("CallBundleDial"));
    connect(dial, &QPushButton::clicked, this, [this] {
      bridge_->post(QStringLiteral("makeCallWithPhoneNumber"),
                    {{QStringLiteral("makeCallWithPhoneNumber"), number_->text()}});
    });
    QPushButton *answer = new QPushButton(QStringLiteral("Answer"), view_);
    answer_ = answer;
    answer->setObjectName(QStringLiteral("CallBundleAnswer"));
    connect(answer, &QPushButton::clicked, this, [this] { bridge_->post(QStringLiteral("answerCall")); });
    QPushButton *hangup = new QPushButton(QStringLiteral("Hang up"), view_);
    hangup_ = hangup;
    hangup->setObjectName(QStringLiteral("CallBundleHangup"));
    connect(hangup, &QPushButton::clicked, this, [this] { bridge_->post(QStringLiteral("hostHangupCall")); });
    auto *mute = new QCheckBox(QStringLiteral("Mute"), view_);
    mute->setObjectName(QStringLiteral("CallBundleMute"));
    connect(mute, &QCheckBox::toggled, this,
            [this](bool on) { bridge_->post(on ? QStringLiteral("MuteBtnDown") : QStringLiteral("MuteBtnUp")); });
    auto *volume = new QSlider(Qt::Horizontal, view_);
    volume->setObjectName(QStringLiteral("CallBundleVolume"));
    // Without its caption the slider is an unnamed bar, to the eye and to a screen reader.
    auto *volumeLabel = new QLabel(QStringLiteral("Volume"), view_);
    volumeLabel->setObjectName(QStringLiteral("CallBundleVolumeLabel"));
    volumeLabel->setBuddy(volume);
    volume->setAccessibleName(volumeLabel->text());
    volume->setRange(0, 100);
    volume->setValue(100);
    connect(volume, &QSlider::valueChanged, this, [this](int value) {
      bridge_->post(QStringLiteral("VolumeSliderChange"),
                    {{QStringLiteral("VolumeSliderChange"), float(value) / 100.0f}});
    });
    // The device's diagnostics values, asked of the device status ("prepareDiagInfo") and shown
    // as they come back ("diagInfo").
    auto *diagnostics = new QPushButton(QStringLiteral("Device info"), view_);
    diagnostics->setObjectName(QStringLiteral("CallBundleDiagnostics"));
    connect(diagnostics, &QPushButton::clicked, this, [this] { bridge_->post(QStringLiteral("prepareDiagInfo")); });
    diagInfo_ = new QLabel(view_);
    diagInfo_->setObjectName(QStringLiteral("CallBundleDiagInfo"));
    diagInfo_->setTextFormat(Qt::PlainText);
    diagInfo_->setWordWrap(true);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(dial);
    buttons->addWidget(answer);
    buttons->addWidget(hangup);
    auto *layout = new QVBoxLayout(view_);
    layout->addWidget(number_);
    layout->addWidget(name_);
    layout->addLayout(keys);
    layout->addLayout(buttons);
    layout->addWidget(mute);
    auto *volumeRow = new QHBoxLayout;
    volumeRow->addWidget(volumeLabel);
    volumeRow->addWidget(volume, 1);
    layout->addLayout(volumeRow);
    layout->addWidget(status_);
    layout->addWidget(diagnostics, 0, Qt::AlignLeft);
    layout->addWidget(diagInfo_);
    layout->addStretch(1);

    // Until the controller says otherwise nothing is going on: nothing to answer or hang up.
    answer->setEnabled(false);
    hangup->setEnabled(false);
    const auto show = [this](const QString &text) {
      return [this, text](const QVariantMap &) {
        if (status_)
          status_->setText(text);
      };
    };
    // The one call state, as the controller's page shows it: its status words and the buttons
    // its page offers.
    bridge_->observe(QStringLiteral("callStateChanged"), [this](const QVariantMap &state) {
      if (!status_)
        return;
      state_ = state;
      status_->setText(state.value(QStringLiteral("CallStatus")).toString());
      dial_->setEnabled(state.value(QStringLiteral("CanDial")).toBool());
      answer_->setEnabled(state.value(QStringLiteral("CanAnswer")).toBool());
      hangup_->setEnabled(state.value(QStringLiteral("CanHangup")).toBool());
    });
    bridge_->observe(QStringLiteral("incomingCall"), [this](const QVariantMap &info) {
      if (number_)
        number_->setText(info.value(QStringLiteral("IncomingPhoneNumber")).toString());
    });
    // How a call ended, shown until the page's end notice goes.
    bridge_->observe(QStringLiteral("hangupCall"), show(QStringLiteral("Call ended")));
    bridge_->observe(QStringLiteral("callFailed"), show(QStringLiteral("Call failed")));
    bridge_->observe(QStringLiteral("callError"), show(QStringLiteral("Call error")));
    bridge_->observe(QStringLiteral("dataCardNotreadyForCall"), show(QStringLiteral("Device not ready")));
    bridge_->observe(QStringLiteral("enabelBtn"), [this](const QVariantMap &) {
      if (number_)
        number_->clear();
      if (status_ && !state_.isEmpty())
        status_->setText(state_.value(QStringLiteral("CallStatus")).toString());
    });
    bridge_->observe(QStringLiteral("callName"), [this](const QVariantMap &info) {
      if (name_)
        name_->setText(info.value(QStringLiteral("callName")).toString());
    });
    // A number another page dials, or the operator's number to show, goes into the number box.
    const auto showNumber = [this](const QVariantMap &info) {
      if (number_)
        number_->setText(info.value(QStringLiteral("makeCallWithPhoneNumber")).toString());
    };
    bridge_->observe(QStringLiteral("makeCallWithPhoneNumber"), showNumber);
    bridge_->observe(QStringLiteral("SpecialPhoneNumber"), showNumber);
    bridge_->observe(QStringLiteral("diagInfo"), [this](const QVariantMap &info) {
      if (!diagInfo_)
        return;
      QStringList lines;
      for (auto it = info.cbegin(); it != info.cend(); ++it)
        lines << it.key() + QStringLiteral(": ") + it.value().toString();
      diagInfo_->setText(lines.join(QLatin1Char('\n')));
    });
    return view_;
  }

private:
  QPointer<CallBridge> bridge_;
  QPointer<QWidget> view_;
  QPointer<QLabel> status_;
  QPointer<QLabel> name_;
  QPointer<QLineEdit> number_;
  QPointer<QLabel> diagInfo_;
  QPointer<QPushButton> dial_;
  QPointer<QPushButton> answer_;
  QPointer<QPushButton> hangup_;
  QVariantMap state_; // the last call state the controller told
};

#include "CallBundle.moc"
