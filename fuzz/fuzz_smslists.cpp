// A message list file is edited by hand or damaged on a card: whatever its boxes hold, the record
// conversions, counts and loaders must neither crash nor read out of bounds.
#include "Plist.h"
#include "QELMessageModel.h"
#include "SmsRecord.h"
#include "SmsService.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  QVariant root;
  if (!Plist::fromData(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), &root))
    return 0;
  QELMessageModelManager &manager = *QELMessageModelManager::sharedQELMessageModelManagerInstance();
  const QVariantMap dict = root.toMap();
  for (auto it = dict.cbegin(); it != dict.cend(); ++it) {
    const QVariantList box = it.value().toList();
    (void)SmsRecord::smsNumberInBox(box);
    (void)SmsService::getUnreadSMSInSMSlist(box);
    for (const QELMessagePtr &m : manager.qelMessageModelProtocolArrayWithSMSFileStrutArray(box)) {
      (void)m->getMessageText();
      (void)m->getMessagePDU();
      (void)m->getMessageStatus();
      (void)manager.getSmsContentDictWithMessageProtocol(*m);
    }
    for (const QVariant &record : box)
      (void)manager.qELMessageDeliveryReportWithdeliveryReportFileStruct(record.toMap()).dateFormatString();
  }
  return 0;
}
