// The SMS page of the settings window: centre number, validity, delivery report, the store
// position of new messages, the routing and the national table. Edits wait for Apply or Cancel;
// the centre number is stored only when the modem confirms it.
#include "SettingController.h"

#include "ButtonMatrix.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "QELAlertPanel.h"
#include "WordGlobe.h"
#include <QDebug>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtEndian>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

constexpr int kCentreWidth = 32;
constexpr int kModuleSmsSetting = 5; // the centre, national table and restore requests

struct PositionName {
  const char *name;
  int code;
  const char *wordingKey;
};
constexpr PositionName kPositions[] = {
    {"SetAtDefault", 0, "Default"},
    {"SetAtSIM", 1, "(U)SIM"},
    {"SetAtPC", 2, "PC"},
    {"SetAtME", 3, "SetMEPosition"},
    {"SetAtTcard", 4, "SetSDCardPosition"},
};

QString positionWording(int code) {
  for (const PositionName &p : kPositions)
    if (p.code == code)
      return word(QLatin1String(p.wordingKey));
  return {};
}

QByteArray u32(quint32 value) {
  QByteArray b(4, '\0');
  qToLittleEndian<quint32>(value, b.data());
  return b;
}

const char *kNationalNames[] = {"SpanishSingle", "PortugueseSingle"};
} // namespace

QelPositionManager SettingController::smsSettingPositions(const QVariant &positionOrder, int platformType) {
  QelPositionManager manager;
  if (positionOrder.typeId() == QMetaType::QVariantMap) {
    const QVariantMap order = positionOrder.toMap();
    for (auto it = order.cbegin(); it != order.cend(); ++it) {
      int code = -1;
      for (const PositionName &p : kPositions)
        if (it.key() == QLatin1String(p.name))
          code = p.code;
      if (code < 0) {
        qWarning().noquote() << QStringLiteral("error://position config file read error...");
        code = 2;
      }
      manager.addQelpositionWithPositionName(it.key(), it.value().toInt(), code);
    }
    return manager;
  }
  if (platformType == 1) {
    manager.addQelpositionWithPositionName(QStringLiteral("SetAtSIM"), 0, 1);
    manager.addQelpositionWithPositionName(QStringLiteral("SetAtPC"), 1, 2);
  } else {
    manager.addQelpositionWithPositionName(QStringLiteral("SetAtDefault"), 0, 0);
    manager.addQelpositionWithPositionName(QStringLiteral("SetAtSIM"), 1, 1);
    manager.addQelpositionWithPositionName(QStringLiteral("SetAtPC"), 2, 2);
  }
  return manager;
}

// ---- settings ----

QString SettingController::readMessageCenter() const {
  return const_cast<SettingController *>(this)->settingDict().value(QStringLiteral("MessageCenterNum")).toString();
}

int SettingController::readValidityPeriod() const {
  const QVariant v = const_cast<SettingController *>(this)->settingDict().value(QStringLiteral("MessageValidPeriod"));
  return v.isValid() ? std::clamp(v.toInt(), 0, 3) : 3;
}

bool SettingController::readDeliveryReport() const {
  return const_cast<SettingController *>(this)->settingDict().value(QStringLiteral("SwitchDeliveryReport")).toBool();
}

int SettingController::readMessageRouting() const {
  return const_cast<SettingController *>(this)
      ->settingDict()
      .value(QStringLiteral("SMS"))
      .toMap()
      .value(QStringLiteral("MessageRouting"))
      .toInt();
}

int SettingController::readMessageStoreLoc() const {
  const QVariant v = const_cast<SettingController *>(this)->settingDict().value(QStringLiteral("NewSMSLoc"));
  if (v.isValid())
    return v.toInt();
  return bHideSMSStoreDefault_ ? 1 : 2;
}

void SettingController::writeMessageCenter(const QString &number) {
  writeSetting(QStringLiteral("MessageCenterNum"), number);
}

void SettingController::writeValidityPeriod(int index) {
  writeSetting(QStringLiteral("MessageValidPeriod"), index);
}

void SettingController::writeDeliveryReport(bool on) {
  writeSetting(QStringLiteral("SwitchDeliveryReport"), on);
}

void SettingController::writeMessageRouting(int value) {
  QVariantMap sms = settingDict().value(QStringLiteral("SMS")).toMap();
  if (!sms.contains(QStringLiteral("MessageRouting")))
    return;
  writeModuleSetting(QStringLiteral("SMS"), QStringLiteral("MessageRouting"), value);
}

void SettingController::writeMessageStoreLoc(int position) {
  settingDict().insert(QStringLiteral("NewSMSLoc"), position);
  if (ConfigService::readBool(QStringLiteral("Setting"), QStringLiteral("hasTcardPosition")))
    writeCurrentSmsStoredPosition(position + 1);
  writeSetting(QStringLiteral("NewSMSLoc"), position);
}

void SettingController::writeCurrentSmsStoredPosition(int position) {
  writeModuleSetting(QStringLiteral("Setting"), QStringLiteral("smsStoredPosition"), position);
}

void SettingController::writeSMSNationalIdentifier() {
  if (!cbxSingleLanguageSet_)
    return;
  const int index = cbxSingleLanguageSet_->currentIndex();
  if (index < 0 || index > 1) {
    qWarning().noquote() << QStringLiteral("only support spanish and portugues in setting table!");
    return;
  }
  writeSetting(QStringLiteral("SMSNationalIdentifier"), QLatin1String(kNationalNames[index]));
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSmsSetting, 768, 111, 0, 0);
}

// ---- requests ----

void SettingController::REQMessageCenter(const QString &number) {
  QByteArray field = number.toUtf8().left(kCentreWidth);
  field.append(QByteArray(kCentreWidth - field.size(), '\0'));
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSmsSetting, 768, 96, 0, 0, field);
}

void SettingController::REQMessageStoreLoc(int position) {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, 768, 97, 0, 0, u32(quint32(position)));
}

void SettingController::setMessageRouting(int value) {
  if (!settingDict().value(QStringLiteral("SMS")).toMap().contains(QStringLiteral("MessageRouting")))
    return;
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, 768, 107, 0, 0, u32(quint32(value)));
}

void SettingController::checkMessageCenter() {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSmsSetting, 768, 110, 0, 0);
}

// ---- the page ----

void SettingController::setSmsPageButtonsEnabled(bool enabled) {
  if (MessageSetApplyBtn)
    MessageSetApplyBtn->setEnabled(enabled);
  if (MessageSetCancelBtn)
    MessageSetCancelBtn->setEnabled(enabled);
}

void SettingController::setSMSPageEdited(QObject *) {
  setSmsPageButtonsEnabled(true);
}

void SettingController::selectDeliveryReport(bool on) {
  if (!MessageDeliveryReport)
    return;
  for (QAbstractButton *cell : MessageDeliveryReport->cells())
    if (cell->property("tag").toInt() == (on ? 1 : 0))
      cell->setChecked(true);
}

void SettingController::reloadSmsCombos() {
  if (MessageValidityPeriod) {
    MessageValidityPeriod->clear();
    for (const char *key : {"12 hours", "A day", "A week", "A longest period"})
      MessageValidityPeriod->addItem(word(QLatin1String(key)));
    MessageValidityPeriod->setCurrentIndex(readValidityPeriod());
  }
  if (MessageStoreLoc) {
    MessageStoreLoc->clear();
    QList<QelPosition> positions = positionManager_.getAllPositions();
    std::stable_sort(positions.begin(), positions.end(),
                     [](const QelPosition &a, const QelPosition &b) { return a.displayOrder() < b.displayOrder(); });
    for (const QelPosition &p : positions)
      if (p.positon() >= 0 && p.positon() <= 4)
        MessageStoreLoc->addItem(positionWording(p.positon()));
    MessageStoreLoc->setCurrentIndex(currentSetSMSPositionIndex_);
  }
  if (cboxMsgRouting_) {
    cboxMsgRouting_->clear();
    for (const QVariant &key :
         settingDict().value(QStringLiteral("SMS")).toMap().value(QStringLiteral("MessageRoutingList")).toList())
      cboxMsgRouting_->addItem(word(key.toString()));
    selectMessageRouting(readMessageRouting());
  }
  if (cbxSingleLanguageSet_) {
    cbxSingleLanguageSet_->clear();
    cbxSingleLanguageSet_->addItem(word(QStringLiteral("spanish identifier")));
    cbxSingleLanguageSet_->addItem(word(QStringLiteral("portuguese identifier")));
    cbxSingleLanguageSet_->setToolTip(word(QStringLiteral("single language support tip:")));
    const QString stored = settingDict().value(QStringLiteral("SMSNationalIdentifier")).toString();
    int index = -1;
    for (int i = 0; i < 2; ++i)
      if (stored == QLatin1String(kNationalNames[i]))
        index = i;
    if (index < 0)
      qWarning().noquote() << QStringLiteral("only support spanish and portugues in setting table!");
    cbxSingleLanguageSet_->setCurrentIndex(index);
  }
}

void SettingController::InitSMSSettingNib() {
  if (!sethasModuleWith(QStringLiteral("SMS")))
    return;
  setSmsPageButtonsEnabled(false);
  if (MessageStoreLoc)
    MessageStoreLoc->setEnabled(false);
  if (MessageCenter) {
    MessageCenter->setEnabled(false);
    MessageCenter->setReadOnly(true);
  }
  selectDeliveryReport(readDeliveryReport());
  if (MessageValidityPeriod)
    MessageValidityPeriod->setCurrentIndex(readValidityPeriod());
  if (settingDict().value(QStringLiteral("SMS")).toMap().contains(QStringLiteral("MessageRouting"))) {
    if (tfMsgRouting_)
      tfMsgRouting_->show();
    if (cboxMsgRouting_) {
      cboxMsgRouting_->show();
      selectMessageRouting(readMessageRouting());
      cboxMsgRouting_->setEnabled(false);
    }
  }
}

void SettingController::updateSet() {
  // Connect and disconnect can always be tried out; then the four sound files.
  for (int type : {kSoundOnline, kSoundOffline})
    if (soundRows[type].play)
      soundRows[type].play->show();
  updateSoundFile(kSoundSMS, QStringLiteral("/sound/sms.wav"));
  updateSoundFile(kSoundIncomingCall, QStringLiteral("/sound/call.wav"));
  updateSoundFile(kSoundOnline, QStringLiteral("/sound/online.wav"));
  updateSoundFile(kSoundOffline, QStringLiteral("/sound/offline.wav"));
  if (matrixConnectType && settingDict().value(QStringLiteral("ConnectType")).toInt() == 1)
    for (QAbstractButton *cell : matrixConnectType->cells())
      if (cell->property("tag").toInt() == 1)
        cell->setChecked(true);
  loadServicesNum();
  MessageSetCancel(nullptr);
  selectDeliveryReport(readDeliveryReport());
  if (MessageValidityPeriod)
    MessageValidityPeriod->setCurrentIndex(readValidityPeriod());
  selectMessageRouting(readMessageRouting());
  if (MessageCenter && settingDict().contains(QStringLiteral("MessageCenterNum")))
    MessageCenter->setText(readMessageCenter());
  setSmsPageButtonsEnabled(false);
}

QString SettingController::filterMessageCenter(const QString &text) {
  QString kept;
  for (QChar c : text)
    if ((c >= u'0' && c <= u'9') || c == u'+')
      kept.append(c);
  return kept.left(kCentreWidth);
}

void SettingController::MessageSetApply(QObject *) {
  setSmsPageButtonsEnabled(false);
  if (MessageDeliveryReport) {
    const int row = MessageDeliveryReport->selectedIndex();
    QAbstractButton *cell = row >= 0 ? MessageDeliveryReport->cells().value(row) : nullptr;
    if (cell)
      writeDeliveryReport(cell->property("tag").toInt() == 1);
  }
  if (MessageValidityPeriod && MessageValidityPeriod->currentIndex() >= 0)
    writeValidityPeriod(MessageValidityPeriod->currentIndex());
  if (MessageStoreLoc && !MessageStoreLoc->isHidden() && MessageStoreLoc->currentIndex() >= 0) {
    const int code = positionManager_.getPositionByPositionOrder(MessageStoreLoc->currentIndex());
    setCurrentSetSMSPostion_(code);
    REQMessageStoreLoc(code);
    currentSetSMSPositionIndex_ = MessageStoreLoc->currentIndex();
  }
  if (MessageCenter)
    REQMessageCenter(MessageCenter->text());
  if (cboxMsgRouting_)
    setMessageRouting(indexOfMsgRoutingArray(cboxMsgRouting_->currentText()));
  if (cbxSingleLanguageSet_)
    writeSMSNationalIdentifier();
}

void SettingController::MessageSetCancel(QObject *) {
  setSmsPageButtonsEnabled(false);
  selectDeliveryReport(readDeliveryReport());
  if (MessageValidityPeriod)
    MessageValidityPeriod->setCurrentIndex(readValidityPeriod());
  if (MessageCenter)
    MessageCenter->setText(readMessageCenter());
  if (MessageStoreLoc)
    MessageStoreLoc->setCurrentIndex(currentSetSMSPositionIndex_);
  selectMessageRouting(readMessageRouting());
}

void SettingController::dealWithMsgOfSMSCenter(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 1)
    return;
  if (msg.result != 0) {
    if (MessageCenter) {
      MessageCenter->setEnabled(true);
      MessageCenter->setText(readMessageCenter());
    }
    NSBeginAlertPanelExt(word(QStringLiteral("Warning")), word(QStringLiteral("Fail to set message center!")),
                         word(QStringLiteral("OK")));
  } else if (msg.dataLength == kCentreWidth) {
    const QByteArray bytes = msg.payload();
    const int end = bytes.indexOf('\0');
    const QString number = QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
    writeMessageCenter(number);
    if (MessageCenter) {
      MessageCenter->setEnabled(true);
      MessageCenter->setText(number);
    }
  } else if (msg.dataLength == 0) {
    if (MessageCenter) {
      MessageCenter->setEnabled(true);
      writeMessageCenter(MessageCenter->text());
    }
  } else {
    return;
  }
  if (MessageCenter)
    MessageCenter->setReadOnly(
        ConfigService::readBool(QStringLiteral("Setting"), QStringLiteral("MessageCenterEditFobidden")));
}

void SettingController::dealWithMsgOfSMSRevPos(const Notification &n) {
  UIMsg msg;
  if (!sethasModuleWith(QStringLiteral("SMS")) || !QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 1 ||
      msg.result != 0)
    return;
  if (msg.dataLength == 0) {
    setMessageStoreLocEnable();
    return;
  }
  if (msg.dataLength != 4)
    return;
  const int code = int(qFromLittleEndian<quint32>(msg.data.data()));
  setMessageStoreLocEnable();
  ConfigService *config = ConfigService::sharedConfigService();
  if (config->isSupportSetSMSDefaultStorePosWhenFirstStartUpUI()) {
    setSMSStoreLocWhenFirstStartupUI();
    return;
  }
  int order = positionManager_.getPositionOrderByPositon(code);
  if (code == 0 && !positionManager_.hasPosition(0))
    order = positionManager_.getPositionOrderByPositon(2);
  if (order >= 0 && MessageStoreLoc)
    MessageStoreLoc->setCurrentIndex(order);
  currentSetSMSPositionIndex_ = order;
  setCurrentSetSMSPostion_(code);
}

void SettingController::setIsSimCardFull(bool full) {
  isSMSInSimCardFull_ = full;
  setMessageStoreLocEnable();
}

void SettingController::setMessageStoreLocEnable() {
  if (ConfigService::readBool(QStringLiteral("SMS"), QStringLiteral("SetSMSSavePosToPCWhenSIMFull")) &&
      isSMSInSimCardFull_) {
    setMessageSelectPC();
    if (MessageStoreLoc)
      MessageStoreLoc->setEnabled(false);
  } else if (MessageStoreLoc) {
    MessageStoreLoc->setEnabled(true);
  }
}

void SettingController::setMessageSelectPC() {
  const int order = positionManager_.getPositionOrderByPositon(2);
  if (MessageStoreLoc)
    MessageStoreLoc->setCurrentIndex(order);
  currentSetSMSPositionIndex_ = order;
  setCurrentSetSMSPostion_(2);
}
