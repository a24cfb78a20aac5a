// Operator layouts of the profile controls: the Internet page with or without the profile note,
// and the WCDMA-only fields of the profile windows hidden or shown. Frames are in the skins'
// bottom-left points and go through the placement layer.
#include "DialController.h"
#include "DialControllerSupport.h"
#include "ViewPlacement.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ButtonMatrix.h"

using namespace dialsupport;

namespace {
void moveTo(QWidget *view, qreal x, qreal y) {
  if (view)
    CocoaFrame::setFrameOrigin(view, QPointF(x, y));
}
void place(QWidget *view, qreal x, qreal y, qreal w, qreal h) {
  if (view)
    CocoaFrame::setFrame(view, QRectF(x, y, w, h));
}
void show(QWidget *view, bool visible) {
  if (view)
    view->setVisible(visible);
}
} // namespace

void DialController::changeControlsPosForProfile() {
  if (!switchOn(settingDict(), kInternet, QStringLiteral("ChangePosForProfile")))
    return;
  static const char *const notes[] = {"Detail Service Mobile GPRS-Internet", "Detail Service HyperActive",
                                      "Detail Service Hyper.NET"};
  const int item = m_IndexOfComboBoxSelectionNow;
  const bool withNote = item >= 1 && item <= 3;
  if (APNNotsForZIZ_)
    APNNotsForZIZ_->setText(withNote ? word(QLatin1String(notes[item - 1])) : QString());
  // Frame origins of the layout with the note, then without it.
  struct Spot {
    QWidget *view;
    qreal x1, y1, x2, y2;
  };
  const Spot spots[] = {
      {Net_DefaultConfiguration, 67, 382, 67, 346},
      {Net_TelNumber, 67, 356, 67, 304},
      {Net_UserName, 67, 330, 67, 260},
      {Net_Password, 67, 303, 67, 214},
      {m_DialConfigList, 288, 378, 288, 342},
      {m_TelephoneNumber, 288, 354, 288, 302},
      {m_Username, 288, 328, 288, 258},
      {m_Password, 288, 302, 288, 216},
      {horizontalLine1ForZIZ_, 50, 107, 50, 107},
      {APNNotsForZIZ_, 67, 112, 47, 112},
      {horizontalLine2ForZIZ_, 50, 294, 50, 189},
      {Net_Status, 47, 87, 77, 152},
      {Net_Send, 47, 67, 77, 127},
      {Net_Receive, 47, 49, 77, 102},
      {Net_ConnectTime, 47, 29, 77, 77},
      {Net_IPAddress, 47, 10, 77, 52},
      {m_ConnectState, 196, 87, 230, 152},
      {m_FluxForSend, 196, 67, 230, 127},
      {m_FluxForReceive, 196, 49, 230, 102},
      {m_ConnectTime, 196, 29, 230, 77},
      {m_IPAddress, 196, 10, 230, 52},
      {m_ConnectButton, 415, 27, 415, 70},
  };
  for (const Spot &s : spots)
    moveTo(s.view, withNote ? s.x1 : s.x2, withNote ? s.y1 : s.y2);
  show(horizontalLine1ForZIZ_, withNote);
}

void DialController::setWCDMAConfigHidden(bool hide) {
  for (QWidget *w : std::initializer_list<QWidget *>{m_eIsAutoObtainAPN,
                                                     m_eAPN,
                                                     m_eIsAutoObtainPDP,
                                                     m_ePDPAddress,
                                                     m_eIsAutoObtainDNS,
                                                     m_ePreferredDNS,
                                                     m_eAlternateDNS,
                                                     m_bIsAutoObtainAPN,
                                                     m_bAPN,
                                                     m_bIsAutoObtainPDP,
                                                     m_bPDPAddress,
                                                     m_bIsAutoObtainDNS,
                                                     m_bPreferredDNS,
                                                     m_bAlternateDNS,
                                                     Config_APN,
                                                     Config_Address,
                                                     Config_PreferredDNS,
                                                     Config_AlternateDNS,
                                                     EditConfig_APN,
                                                     EditConfig_Address,
                                                     EditConfig_PreferredDNS,
                                                     EditConfig_AlternateDNS})
    show(w, !hide);
  for (QWidget *line : std::initializer_list<QWidget *>{eTopDivideLine, eBottomDivideLine, bottomDivideLine})
    show(line, hide);
  if (hide) {
    place(Config_AuthMode, 20, 150, 230, 17);
    place(EditConfig_AuthMode, 20, 150, 230, 17);
    place(m_bAuthMode, 20, 104, 63, 38);
    place(m_eAuthMode, 20, 104, 63, 38);
  } else {
    place(Config_AuthMode, 294, 50, 169, 17);
    place(EditConfig_AuthMode, 301, 89, 169, 17);
    place(m_bAuthMode, 295, 5, 63, 38);
    place(m_eAuthMode, 302, 44, 63, 38);
  }
}
