#pragma once

#include "QELUIController.h"
#include "WLANChecks.h"
#include "WLANRecords.h"
#include "WlanNeighbour.h"

#include <QPointer>
#include <QVariantList>
#include <functional>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class WifiController;

// The settings page of the modem's Wi-Fi router (main tab "WLAN"): the tabs "WLAN Basic",
// "WLAN Security", "Firewall" and "Router", each present by its "WLANTAB" switch. It keeps the
// values last read from or applied to the router, shows the backend's reads (module 10) in its
// controls, checks the user's edits and sends them back. Split by concern:
//   WLANController.cpp          hooks, tabs, section states, combo data, the delegate dispatch
//   WLANControllerMessages.cpp  the senders and the twelve handlers
//   WLANControllerBasic.cpp, WLANControllerSecurity.cpp, WLANControllerRouter.cpp  the tabs
//   WLANControllerFirewall.cpp  the firewall switches; WLANControllerRules.cpp the rule sheets
//   WLANPage.cpp                the widgets (our stand-in for the nib)
class WLANController : public QELUIController, public WlanNeighbour {
  Q_OBJECT
public:
  explicit WLANController(QObject *parent = nullptr);
  ~WLANController() override;

  // ---- outlets (set by WLANPage::build) ----
  QPointer<QWidget> WLANView;
  QPointer<QLabel> statusNote;
  QPointer<QTabWidget> WLANTab;
  // Basic
  QPointer<QLineEdit> SSIDName;
  QPointer<QComboBox> channel, WLANMode, WLANRate;
  QPointer<QButtonGroup> brocastEnable;
  QPointer<QPushButton> wifiRestore, WLANBasicApply, WLANBasicCancel;
  QPointer<QGroupBox> BasicSettings;
  // Security
  QPointer<QComboBox> authenticationType, encryptionMode, MAXNum, WEPKeyIndex;
  QPointer<QLineEdit> WPAPreShredKey;
  QPointer<QCheckBox> showPassPhrase;
  QPointer<QLineEdit> WEPKey[4];
  QPointer<QComboBox> WEPKeyModel[4];
  QPointer<QLabel> WEPKeyLabel[4];
  QPointer<QLabel> WEPKeyIndexLabel;
  QPointer<QPushButton> WLANSecurityApply, WLANSecurityCancel;
  QPointer<QGroupBox> SecuritySettings;
  // Router
  QPointer<QLineEdit> IPAddress, subnetMask, DHCPStartIP, DHCPEndIP, DHCPLeaseTime;
  QPointer<QButtonGroup> DHCPServerEnable;
  QPointer<QPushButton> DHCPApply, DHCPCancel;
  QPointer<QGroupBox> RouterSettings;
  // Firewall tab
  QPointer<QCheckBox> IPFilterEnable, virtualServerEnable;
  QPointer<QComboBox> IPFilterPolicy;
  QPointer<QPushButton> IPFilterAdvanced, virtualServerAdvanced;
  QPointer<QGroupBox> IPFilter, VirtualServer;
  // IP filter sheet
  QPointer<QDialog> IPFilterWindow;
  QPointer<QTableWidget> IPFilterList;
  QPointer<QLineEdit> IF_Name, IF_SourceIPAddress, IF_SourcePortStart, IF_SourcePortEnd, IF_DestIPAddress,
      IF_DestPortStart, IF_DestPortEnd;
  QPointer<QComboBox> IF_Protocol, IF_Action;
  QPointer<QLineEdit> IF_MACAddress[6];
  QPointer<QPushButton> IF_New, IF_Edit, IF_Delete, IF_Save, IF_Cancel, IF_Close;
  // Virtual server sheet
  QPointer<QDialog> VirtualServicesWindow;
  QPointer<QTableWidget> VirtualServicesList;
  QPointer<QLineEdit> VS_Name, VS_IPAddress, VS_PortStart, VS_PortEnd;
  QPointer<QComboBox> VS_Protocol;
  QPointer<QPushButton> VS_New, VS_Edit, VS_Delete, VS_Save, VS_Cancel, VS_Close;
  // Labels worded once at start: (label, wording key), per tab identifier.
  QList<QPair<QPointer<QWidget>, QString>> wordedControls[4];
  QPointer<WifiController> wifiPanel;

  // ---- held values ----
  WLANBasicRecord basic;
  WLANSecurityRecord security;
  WEPKeyRecord wep;
  WPAKeyRecord wpa;
  DHCPRecord dhcp;
  quint32 IF_enable = 0, IPPolicy = 0, VS_enable = 0;
  IPFilterRuleRecord ipRule;
  VirtualServerRuleRecord vsRule;
  QVariantList IFInformation_list, VSInformation_list;
  int IFInformation_count = 0, VSInformation_count = 0;

  // Where requests go: the message centre, or this when set (tests record what is sent).
  std::function<void(int major, int minor, const QByteArray &data)> sendHook;

  // ---- the senders ----
  void sendEnableWifi() {}
  void sendApplyWifiBasic();
  void sendApplyWifiSecurity();
  void sendApplyWifiSecurityShare();
  void sendApplyWifiSecurityWAP_PSK();
  void sendEnableIPFilter();
  void sendApplyIPFilter();
  void sendReadIPFilter();
  void sendEnableVirtualServer();
  void sendApplyVirtualServer();
  void sendReadVirtualServer();
  void sendApplyDMZ() {}
  void sendApplyDHCP();
  void sendApplyUPNP() {}
  void sendRestoreFactoryDefault();

  // ---- the handlers (both majors) ----
  Q_INVOKABLE void dealWithWifi(const Notification &n);
  Q_INVOKABLE void dealWithWifiBasic(const Notification &n);
  Q_INVOKABLE void dealWithWifiSecurity(const Notification &n);
  Q_INVOKABLE void dealWithWifiSecurityShare(const Notification &n);
  Q_INVOKABLE void dealWithWifiSecurityWAP_PSK(const Notification &n);
  Q_INVOKABLE void dealWithEnableIPFilter(const Notification &n);
  Q_INVOKABLE void dealWithIPFilterList(const Notification &n);
  Q_INVOKABLE void dealWithEnableVirtualServer(const Notification &n);
  Q_INVOKABLE void dealWithVirtualServerList(const Notification &n);
  Q_INVOKABLE void dealWithDMZ(const Notification &n);
  Q_INVOKABLE void dealWithDHCP(const Notification &n);
  Q_INVOKABLE void dealWithUPNP(const Notification &n);
  Q_INVOKABLE void deviceRemoved(const Notification &n);

  // What each read shows (the handlers call these with a decoded record).
  void showBasic(const WLANBasicRecord &record);
  void showSecurity(const WLANSecurityRecord &record);
  void showWEP(const WEPKeyRecord &record);
  void showWPA(const WPAKeyRecord &record);
  void showFilterSwitch(const FilterSwitchRecord &record);
  void showVirtualSwitch(quint32 enable);
  void showDHCP(const DHCPRecord &record);
  void showIPFilterList(const IPFilterListReply &reply);
  void showVirtualServerList(const VirtualServerListReply &reply);

  // ---- actions ----
  void applyBasic();
  void cancelBasic();
  void restoreBasic();
  void hideSSIDBroadcast();
  void applySecurity();
  void cancelSecurity();
  void enableDHCPServer();
  void applyDHCP();
  void cancelDHCP();
  void enableIPFilter();
  void enableVirtualServer();
  void advancedIPFilter();
  void advancedVirtualServer();
  void IFNEW();
  void IFEDIT();
  void IFDELETE();
  void IFListSave();
  void IFCANCEL();
  void IFListClose();
  void VSNEW();
  void VSEDIT();
  void VSDELETE();
  void VSListSave();
  void VSCANCEL();
  void VSListClose();

  // ---- delegate and data source ----
  int numberOfItemsInComboBox(QComboBox *combo) const;
  QString comboBoxObjectValueForItemAtIndex(QComboBox *combo, int index) const;
  // Refills a combo's list from the data source, keeping the text it shows.
  void reloadComboItems(QComboBox *combo);
  void comboBoxSelectionDidChange(QComboBox *combo);
  void controlTextDidChange(QLineEdit *field);
  void controlTextDidEndEditing(QLineEdit *field);
  void tableViewSelectionDidChange(QTableWidget *table);

  // ---- section states ----
  void set_WLAN_States(bool enable);
  void set_Basic_States(bool enable);
  void set_Security_States(bool enable);
  void set_Firewall_States(bool enable);
  void set_Router_States(bool enable);
  void setWEPKeyControlsHidden(bool hidden);
  // Shows the pass phrase and the WEP keys as text, or hides them again.
  void showSecrets(bool shown);
  // The worded note above the tabs: why nothing can be changed, or that an apply was taken.
  QString statusNoteKey() const { return statusNoteKey_; }
  void setIPList(bool editable);
  void setVSList(bool editable);
  void cleanIPList();
  void cleanVSList();
  void addIPInformation(const QVariantMap &row);
  void addVSInformation(const QVariantMap &row);

  // Whether a "WLANTAB" switch is on and its tab present.
  bool tabIsOn(const QString &identifier) const;
  static const QStringList &tabIdentifiers();

protected:
  void initializeNibResources() override;
  void registerMessages() override;
  void initializeController() override;
  // Opens the computer's Wi-Fi test panel when QEL_WIFI_PANEL is set.
  void loadCommonBundle() override;

private:
  void initTab();
  void setBasicWording();
  void setSecurityWording();
  void setFirewallWording();
  void setRouterWording();
  void applyWording(int tab);
  // A handler's package, or false for a failed read (which every handler ignores).
  bool takePackage(const Notification &n, UIMsg *msg) const;
  void failedSetting();
  // An answer that carries one record: a failed apply alerts and runs `afterFailure`; a good read
  // shows its record.
  template <typename Record, typename AfterFailure, typename Show>
  void takeRecordAnswer(const Notification &n, AfterFailure afterFailure, Show show);
  void alertOK(const QString &key);
  void send(uint16_t minor, const QByteArray &data, uint16_t major = WLANMsg::kSetMajor);
  void setBasicButtons(bool on);
  void setSecurityButtons(bool on);
  void setRouterButtons(bool on);
  void showRateAndChannel();
  void runFilter(QLineEdit *field, const WLANChecks::Filtered &result);
  void setAddressFormatter(QLineEdit *field, bool on);
  void authenticationChosen();
  void encryptionChosen();
  void policyChosen();
  void protocolChosen();
  void showWPAField(bool on);
  void showIPRule(int row);
  void showVSRule(int row);
  void refreshIPTable();
  void refreshVSTable();
  void restoreFilterSwitch();
  void restoreVirtualSwitch();
  int selectedRow(QTableWidget *table) const;
  QStringList macFields() const;
  void setStatusNote(const QString &key);
  // A read arrived: the router is there.
  void routerAnswered();
  // A set was taken by the router.
  void settingApplied();
  QString statusNoteKey_;
  // The switches as they were before the user's last change, put back when the router refuses it.
  quint32 previousIFEnable_ = 0, previousPolicy_ = 0, previousVSEnable_ = 0;
};

extern WLANController *g_WLANController;
