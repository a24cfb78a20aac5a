#include "AEMessage.h"

AEMessage *AEMessage::defaultAEMessage() {
  static AEMessage message;
  return &message;
}
