// The Internet tab's web content: the split layout, link buttons, banner, billboard,
// advertisement and embedded pages.
#include "DialController.h"

void DialController::switchInternetTabAction() {}
void DialController::launchURLAtFirstAPN() {}
void DialController::displaySpecialWebView() {}
void DialController::detachSpecialWebview() {}
void DialController::downloadAdImageFile() {}
void DialController::imageDownloadFinishForBillboard() {}
void DialController::displayWebUrl(const QString &, QWidget *, bool, const QRect &) {}
QRect DialController::getRectInSuperView() const {
  return {};
}
void DialController::LoadFlash(const QString &, WebView *) {}
void DialController::openURL(const QString &, WebView *) {}
