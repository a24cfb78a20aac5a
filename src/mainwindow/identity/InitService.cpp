#include "InitService.h"

#include "BlowFishEncrypt.h"
#include "Blowfish.h"
#include "IdentitySettings.h"
#include "SimFiles.h"

#include <QList>
#include <QMutexLocker>

namespace {
InitService *g_sharedInitService = nullptr;

const QString kInit = QStringLiteral("Init");
const QString kMain = QStringLiteral("Main");
const QString kTestSpn = QStringLiteral("TestSpn");
const QString kNotFound = QStringLiteral("Not Found");

QVariant readSetting(const QString &module, const QString &key) {
  return IdentitySettings::value(module, key);
}

bool isText(const QVariant &v) {
  return v.typeId() == QMetaType::QString;
}

// The text stored under `key` of a dictionary setting; null when the setting is no dictionary,
// lacks the key or holds something else there.
QString textIn(const QVariant &dict, const QString &key) {
  if (dict.typeId() != QMetaType::QVariantMap || key.isEmpty())
    return {};
  const QVariant v = dict.toMap().value(key);
  return isText(v) ? v.toString() : QString();
}

QString textOrNull(const QVariant &v) {
  return isText(v) ? v.toString() : QString();
}

QStringList textList(const QVariant &v) {
  QStringList out;
  if (v.typeId() != QMetaType::QVariantList && v.typeId() != QMetaType::QStringList)
    return out;
  for (const QVariant &e : v.toList())
    if (isText(e))
      out << e.toString();
  return out;
}
} // namespace

InitService::InitService() {
  moduleMapsDict_.reserve(5);
  spnDisplayStragetyInit();
}

InitService::~InitService() {
  if (g_sharedInitService == this)
    g_sharedInitService = nullptr;
}

InitService *InitService::sharedInitService() {
  // Every instance made here lives as long as the process, also after a test has replaced it,
  // so whoever still holds one never holds a dangling pointer.
  static QList<InitService *> made;
  if (!g_sharedInitService) {
    g_sharedInitService = new InitService;
    made.append(g_sharedInitService);
  }
  return g_sharedInitService;
}

void InitService::setSharedInitService(InitService *service) {
  g_sharedInitService = service;
}

QVariant InitService::setting(const QString &module, const QString &key) {
  return readSetting(module, key);
}

void InitService::spnDisplayStragetyInit() {
  spnShowBy3gpp_ = std::make_unique<QspnShowBy3gpp>();
  showHomeSpnBy3gppAndyLocalSpnNotBy3gpp_ = std::make_unique<QshowHomeSpnBy3gppAndyLocalSpnNotBy3gpp>();
  spnShowBy3gppAndLocalSpnReplacedByHomeSpn_ = std::make_unique<QspnShowBy3gppAndLocalSpnReplacedByHomeSpn>();
  noShowAny_ = std::make_unique<QnoShowAny>();
  onlyShowHomeSpn_ = std::make_unique<QonlyShowHomeSpn>();
  onlyShowHomeSpnAndHigherPriorityThanLocalSpn_ = std::make_unique<QonlyShowHomeSpnAndHigherPriorityThanLocalSpn>();
  onlyShowLocalSpn_ = std::make_unique<QonlyShowLocalSpn>();
  onlyShowFixedLocalSpn_ = std::make_unique<QonlyShowFixedLocalSpn>();
  onlyShowLocalSpnAndlowerPriorityThanHomeSpn_ = std::make_unique<QonlyShowLocalSpnAndlowerPriorityThanHomeSpn>();
  onlyShowLocalSpnAndHighPriorityThanHomeSpn_ = std::make_unique<QonlyShowLocalSpnAndHighPriorityThanHomeSpn>();
  const auto probe = [this] { return checkCurrentIsHomeOrFriendlyNetWork(); };
  for (QspnShowBase *s : std::initializer_list<QspnShowBase *>{
           spnShowBy3gpp_.get(), showHomeSpnBy3gppAndyLocalSpnNotBy3gpp_.get(),
           spnShowBy3gppAndLocalSpnReplacedByHomeSpn_.get(), noShowAny_.get(), onlyShowHomeSpn_.get(),
           onlyShowHomeSpnAndHigherPriorityThanLocalSpn_.get(), onlyShowLocalSpn_.get(), onlyShowFixedLocalSpn_.get(),
           onlyShowLocalSpnAndlowerPriorityThanHomeSpn_.get(), onlyShowLocalSpnAndHighPriorityThanHomeSpn_.get()})
    s->setHomeOrFriendlyProbe(probe);
  spnDisplayProtocol_ = spnShowBy3gpp_.get();
}

// --- SIM files ---------------------------------------------------------------------------------

void InitService::doParseEF_SPN(const QByteArray &hexText) {
  const SimFiles::ServiceProviderName spn = SimFiles::parseEF_SPN(hexText);
  homeSpn_ = spn.name;
  if (spn.hasCondition)
    the1and2FiledFromSPN_ = spn.displayCondition;
}

void InitService::doParseEF_SPDI(const QByteArray &hexText) {
  QStringList list;
  if (!SimFiles::parseEF_SPDI(hexText, &list))
    return;
  friendlyNetList_ = list;
  for (const QString &plmn : list)
    setModuleMapsDictObject(plmn, membershipKey(plmn));
}

void InitService::doParseEF_ICCID(const QByteArray &hexText) {
  iccidStr_ = SimFiles::decodeICCID(hexText);
}

// --- membership of home and friendly networks --------------------------------------------------

QString InitService::membershipKey(const QString &mccmnc) {
  // For the five-digit texts this is "%05d" of the text's value; longer texts keep every digit,
  // so a three-digit MNC never meets the two-digit network that shares its leading digits.
  return QStringLiteral("memKeyMCCMNCXMCCMNC(%1)").arg(mccmnc);
}

void InitService::followImsiLocked() const {
  const QString current = imsi();
  if (current == membershipImsi_)
    return;
  // Another card: only the friendly networks read for it since the plug-in stay members.
  moduleMapsDict_.clear();
  for (const QString &plmn : friendlyNetList_)
    moduleMapsDict_.insert(membershipKey(plmn), plmn);
  membershipImsi_ = current;
  addHomePlmnLocked(current);
}

void InitService::addHomePlmnLocked(const QString &imsi) const {
  const int digits = 3 + homeMncLength_;
  const QString home = imsi.left(digits);
  if (home.size() != digits)
    return;
  for (QChar c : home)
    if (c < u'0' || c > u'9')
      return;
  moduleMapsDict_.insert(membershipKey(home), home);
}

QHash<QString, QString> InitService::moduleMapsDict() const {
  QMutexLocker lock(&pModuleMapsDictLock_);
  followImsiLocked();
  return moduleMapsDict_;
}

void InitService::setModuleMapsDictObject(const QString &object, const QString &key) {
  QMutexLocker lock(&pModuleMapsDictLock_);
  followImsiLocked();
  moduleMapsDict_.insert(key, object);
}

bool InitService::isHomeOrFriendly(const QString &mccmnc) const {
  if (mccmnc.isEmpty())
    return false;
  QMutexLocker lock(&pModuleMapsDictLock_);
  followImsiLocked();
  return moduleMapsDict_.contains(membershipKey(mccmnc));
}

void InitService::addHomePlmnToMembership(const QString &imsi) {
  QMutexLocker lock(&pModuleMapsDictLock_);
  followImsiLocked();
  addHomePlmnLocked(imsi);
}

void InitService::setImsi(const QString &imsi) {
  QelServiceBase::setImsi(imsi);
  QMutexLocker lock(&pModuleMapsDictLock_);
  followImsiLocked();
  addHomePlmnLocked(imsi);
}

void InitService::setHomeMncLength(int digits) {
  if (digits != 2 && digits != 3)
    return;
  if (digits == homeMncLength_)
    return;
  QMutexLocker lock(&pModuleMapsDictLock_);
  followImsiLocked();
  const QString oldHome = currentHmccmnc();
  homeMncLength_ = digits;
  if (!friendlyNetList_.contains(oldHome))
    moduleMapsDict_.remove(membershipKey(oldHome));
  addHomePlmnLocked(membershipImsi_);
}

void InitService::deviceRemoved() {
  {
    QMutexLocker lock(&pModuleMapsDictLock_);
    moduleMapsDict_.clear();
    // Empty until the next card's IMSI is read, even when it is the same card again.
    membershipImsi_ = imsi();
  }
  friendlyNetList_.clear();
  homeSpn_ = QStringLiteral("");
  the1and2FiledFromSPN_ = 0;
  iccidStr_ = QStringLiteral("");
  localSpn_ = QString();
  longFormatLocalSpn_ = QString();
  currentRmccRmnc_ = QString();
  networkRoamStatus_ = 2;
  networkMode_ = 0;
}

// --- derived values ----------------------------------------------------------------------------

QString InitService::currentHmccmnc() const {
  return imsi().left(3 + homeMncLength_);
}

QString InitService::getMCCByMccmnc(const QString &mccmnc) {
  if (mccmnc.size() != 5 && mccmnc.size() != 6)
    return QStringLiteral("");
  return mccmnc.left(3);
}

int InitService::getNetWorkRoamType() const {
  if (networkRoamStatus_ == 0)
    return getCurrentHomeMcc() == getCurrentLocalMcc() ? 0 : 1;
  if (networkRoamStatus_ == 1)
    return 2;
  return 3;
}

bool InitService::checkCurrentIsFriendlyNetWork() const {
  return !currentRmccRmnc_.isEmpty() && friendlyNetList_.contains(currentRmccRmnc_);
}

bool InitService::ifCurrentSIMCardNeededChangeSPN() const {
  const QString home = currentHmccmnc();
  return !home.isEmpty() &&
         textList(setting(kInit, QStringLiteral("Init_SimHMCCMNCList_NeededChangeSPN"))).contains(home);
}

QString InitService::changeLocalSPNIfMatchSpecialLMCCMNC() const {
  if (!ifCurrentSIMCardNeededChangeSPN())
    return {};
  const QString fixed =
      textIn(setting(kInit, QStringLiteral("Init_FixedLocalSPN_AccordingBelongMCCMNC")), currentHmccmnc());
  if (!fixed.isNull())
    return fixed;
  return textIn(setting(kInit, QStringLiteral("Init_ChangeLocalSPN_IfMatchedSpecialMCCMNC")), currentRmccRmnc_);
}

QString InitService::changeBelongSPNIfMatchSpecialHMCCMNC() const {
  if (!ifCurrentSIMCardNeededChangeSPN())
    return {};
  return textIn(setting(kInit, QStringLiteral("Init_ChangeBelongSPN_IfMatchedSpecialMCCMNC")), currentHmccmnc());
}

QString InitService::localSpn() const {
  // An operator may name one network itself: its own name while roaming there, and the same name
  // after a two-character prefix at home. Every key is tried, not just one, and a name too short
  // for the prefix leaves nothing.
  const QVariant specific = setting(kInit, QStringLiteral("Init_specificMccAndMnc"));
  const QString specificName = textIn(specific, currentRmccRmnc_);
  if (!specificName.isNull())
    return networkRoamStatus_ == 0 ? specificName : specificName.size() > 2 ? specificName.mid(2) : QStringLiteral("");
  if (networkRoamStatus_ == 1 && switchOn(kInit, QStringLiteral("Init_OnlyShowBelongtoSpn_WhenRoamOff")))
    return QStringLiteral("");
  if (localSpn_.isNull())
    return {};
  const QString changed = changeLocalSPNIfMatchSpecialLMCCMNC();
  if (!changed.isNull())
    return changed;
  return localSpn_;
}

QString InitService::homeSpn() const {
  const QVariant special = setting(kInit, QStringLiteral("Init_changeHomeSPN_IfMatchedSpecialMCCMNC"));
  if (!currentRmccRmnc_.isEmpty()) {
    const QString name = textIn(special, currentRmccRmnc_);
    if (!name.isNull())
      return name;
  }
  if (homeSpn_.isEmpty())
    return QStringLiteral("");
  const QString changed = changeBelongSPNIfMatchSpecialHMCCMNC();
  if (!changed.isNull())
    return changed;
  return homeSpn_;
}

// --- choice of the display strategy ------------------------------------------------------------

QspnShowBase &InitService::spnDisplayProtocolSet() {
  QspnShowBase *chosen = spnShowBy3gpp_.get();
  if (networkMode_ == 0 || currentRmccRmnc_.isNull() || localSpn_ == kNotFound ||
      switchOn({}, QStringLiteral("SearchRegistModel"))) {
    chosen = noShowAny_.get();
  } else if (switchOn(kInit, QStringLiteral("ShowSPNForPOSLAT"))) {
    chosen = pnnOplFlag_ == 1 ? static_cast<QspnShowBase *>(onlyShowLocalSpnAndlowerPriorityThanHomeSpn_.get())
                              : onlyShowLocalSpn_.get();
  } else if (switchOn(kInit, QStringLiteral("DisplayBelongToSPNWhenNationalRoam"))) {
    chosen = getNetWorkRoamType() == 0 ? static_cast<QspnShowBase *>(spnShowBy3gppAndLocalSpnReplacedByHomeSpn_.get())
                                       : spnShowBy3gpp_.get();
  } else if (switchOn({}, QStringLiteral("displayLongFormatSPNWhenRoamOn"))) {
    chosen = networkRoamStatus_ == 0 ? static_cast<QspnShowBase *>(showHomeSpnBy3gppAndyLocalSpnNotBy3gpp_.get())
                                     : spnShowBy3gpp_.get();
  } else if (switchOn(kMain, QStringLiteral("AlwaysShowLocalSPN"))) {
    chosen = showHomeSpnBy3gppAndyLocalSpnNotBy3gpp_.get();
  } else if (switchOn(kInit, QStringLiteral("OnlyShowBelonetoSPN"))) {
    chosen = onlyShowHomeSpnAndHigherPriorityThanLocalSpn_.get();
  } else if (switchOn({}, QStringLiteral("DisplayOnlyPLMN"))) {
    chosen = onlyShowLocalSpnAndlowerPriorityThanHomeSpn_.get();
  } else if (switchOn(kInit, QStringLiteral("ShowFixedLocalSPN"))) {
    chosen = onlyShowFixedLocalSpn_.get();
  } else if (switchOn(kInit, QStringLiteral("Init_OnlyShowLocalSpn_AndHighPriorityThanHomeSpn"))) {
    chosen = onlyShowLocalSpnAndHighPriorityThanHomeSpn_.get();
  }
  spnDisplayProtocol_ = chosen;
  return *chosen;
}

void InitService::spnShowTestFromConfigFile() {
  const QfunctionTest *test = QfunctionTest::sharedFunctionTest();
  if (!test->getSpnShowFlag())
    return;
  localSpn_ = textOrNull(test->getLocalSpnTest());
  homeSpn_ = textOrNull(test->getHomeSpnTest());
  if (homeSpn_.isNull())
    homeSpn_ = QStringLiteral("");
  friendlyNetList_ = textList(test->getFriendlyListTest());
  currentRmccRmnc_ = textOrNull(test->getCurrentlocalMccMncTest());
  setImsi(textOrNull(test->getCurrentHomeMccMncTest()));
  the1and2FiledFromSPN_ = test->getThe1and2FiledFromSPNTest();
  longFormatLocalSpn_ = textOrNull(test->getCurrentLongFormatSpnTest());
  pnnOplFlag_ = test->getPnnOplFlag();
}

QspnShowBase &InitService::getSpnDisplayProtocol() {
  QspnShowBase &s = spnDisplayProtocolSet();
  spnShowTestFromConfigFile();
  s.setLocalSpn(localSpn());
  s.setHomeSpn(homeSpn());
  s.setThe1and2FiledFromSPN(the1and2FiledFromSPN_);
  s.setRoamType(getNetWorkRoamType());
  if (switchOn({}, QStringLiteral("displayLongFormatSPNWhenRoamOn")) && networkRoamStatus_ == 0)
    s.setLocalSpn(longFormatLocalSpn_);
  return s;
}

QString InitService::getInternetAddressAtMainPage() const {
  const QVariant v = setting(kMain, QStringLiteral("Main_TextLinkAddress"));
  return isText(v) ? v.toString() : QStringLiteral("");
}

QByteArray InitService::encodeAndReturnCipherText(const QString &text) const {
  const QVariant pattern = setting(kMain, QStringLiteral("Main_EncryptURLPattern_IfNeeded"));
  switch (pattern.isValid() ? pattern.toInt() : 0) {
  case 0: {
    char out[kEncryptServicesOutputSize] = {};
    const QByteArray input = (text + QLatin1Char('0')).toUtf8();
    if (EncryptServicesMain(input.constData(), out, sizeof out) != kBlowfishOk)
      return {};
    return QByteArray(out, int(qstrnlen(out, sizeof out)));
  }
  case 1: {
    const QVariant key = setting(kMain, QStringLiteral("Main_EncryptSerectKey_IfNeededEncrypt"));
    if (!isText(key) || key.toString().isEmpty())
      return {};
    BlowFishEncrypt cipher(key.toString().toUtf8());
    if (!cipher.encipher(text.toUtf8()))
      return {};
    return cipher.ciphertext();
  }
  default:
    return {};
  }
}

// --- test module -------------------------------------------------------------------------------

QfunctionTest *QfunctionTest::sharedFunctionTest() {
  static QfunctionTest instance;
  return &instance;
}

bool QfunctionTest::getSpnShowFlag() const {
  return readSetting(kTestSpn, QStringLiteral("Test_Spnshow_Flag")).toBool();
}
QVariant QfunctionTest::getLocalSpnTest() const {
  return readSetting(kTestSpn, QStringLiteral("Test_LocalSpn"));
}
QVariant QfunctionTest::getHomeSpnTest() const {
  return readSetting(kTestSpn, QStringLiteral("Test_HomeSpn"));
}
QVariant QfunctionTest::getFriendlyListTest() const {
  return readSetting(kTestSpn, QStringLiteral("Test_FriendlyList"));
}
QVariant QfunctionTest::getCurrentlocalMccMncTest() const {
  return readSetting(kTestSpn, QStringLiteral("Test_CurrentLocalMccMnc"));
}
QVariant QfunctionTest::getCurrentHomeMccMncTest() const {
  return readSetting(kTestSpn, QStringLiteral("Test_CurrentHomeMccMnc"));
}
int QfunctionTest::getThe1and2FiledFromSPNTest() const {
  return readSetting(kTestSpn, QStringLiteral("Test_The1and2Field")).toInt();
}
QVariant QfunctionTest::getCurrentLongFormatSpnTest() const {
  return readSetting(kTestSpn, QStringLiteral("Test_CurrentLongFormatSpn"));
}
int QfunctionTest::getPnnOplFlag() const {
  return readSetting(kTestSpn, QStringLiteral("Test_PnnOplFlag")).toInt();
}
