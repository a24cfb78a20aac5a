// Any bytes as the SIM files and the serving-network report: the readers stay within the text,
// and the handlers keep a serving MCC/MNC text that is empty or five or six digits.
#include "InitService.h"
#include "NetworkIdentityHandlers.h"
#include "SimFiles.h"
#include "UIMsg.h"

#include <cstdint>
#include <cstdlib>

namespace {
class QuietSink : public NetworkIdentitySink {
public:
  void setLocalSPN(const QString &, bool) override {}
  void setBelonetoSPN(const QString &) override {}
  void showRoamAlertWindow(int) override {}
  void checkLocalMCCAndNetMCC(const QString &, const QString &) override {}
  int closeRoamAtDomesticRoaming(int s, const QString &, const QString &) override { return s; }
  void setRoamInfoWithNetworkRoamStatus(int) override {}
  void matchApnAccordMCCAndMNC(const QString &, const QString &) override {}
  void checkAPNMatchWithMCCMNC(const QString &) override {}
  void getIccidNumAfterMatchApnAccordImsi() override {}
  void showDiagMccAndMnc(const QString &, const QString &) override {}
  void showDiagIccid(const QString &) override {}
  bool isSupportUpdate() override { return false; }
  void dealWithMCCMNC(const QString &) override {}
  bool isSendUpdateMessageWhenMCCMNC() override { return true; }
  void setIsSendUpdateMessageWhenMCCMNC(bool) override {}
  void dealWithDeviceReady() override {}
  void informOtherModulePSDomain(int) override {}
  bool firstTimeDealWithQdonWhenNetWorkChanged() override { return false; }
  void setFirstTimeDealWithQdonWhenNetWorkChanged(bool) override {}
  void dealWithFirstQdonWhenNetWorkChangedWithPreMccMnc(const QString &) override {}
  void doWhenNetWorkChanged() override {}
  bool progressSPNDomainForZavidev(const QString &) override { return false; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(std::min<size_t>(size, UIMsg::kDataSize)));

  const SimFiles::ServiceProviderName spn = SimFiles::parseEF_SPN(bytes);
  if (spn.name.isNull() || spn.name.size() > bytes.size())
    abort();
  QStringList list;
  if (SimFiles::parseEF_SPDI(bytes, &list))
    for (const QString &plmn : list)
      if (plmn.size() != 5 && plmn.size() != 6)
        abort();
  if (SimFiles::decodeICCID(bytes).size() > 20)
    abort();

  InitService service;
  QuietSink sink;
  NetworkIdentityHandlers handlers(sink, &service);
  UIMsg msg;
  msg.majorId = 7;
  msg.setPayload(bytes);
  handlers.dealWithMsgOfCheckSPN(msg);
  handlers.dealWithMsgOfCheckSPDI(msg);
  handlers.dealWithMsgOfCheckICCID(msg);
  service.setNetworkMode(3);
  handlers.dealWithMsgOfCheckPLMN(msg);
  const QString &mccmnc = handlers.mccmnc();
  if (!mccmnc.isNull() && !mccmnc.isEmpty() && mccmnc.size() != 5 && mccmnc.size() != 6)
    abort();
  service.getSpnDisplayProtocol().getLocalSpn();
  handlers.showSpn();
  return 0;
}
