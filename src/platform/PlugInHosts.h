#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>
#include <QtPlugin>

// The program's objects that plug-ins call, as typed interfaces. A plug-in links none of the
// program's libraries: it asks qobject_cast for the interface of the object it was handed or
// found (Qt matches the interface by its id string, so no symbol of ours is needed), and a
// renamed or changed operation no longer compiles on either side instead of failing quietly at
// run time.

// The default notification centre as the plug-ins reach it: the application's child object
// "qelNotificationCenter" (NotificationBridge). What a plug-in observes comes back through that
// object's signal notificationPosted(QString, QVariantMap).
class NotificationHostInterface {
public:
  virtual ~NotificationHostInterface() = default;
  virtual void post(const QString &name, const QVariantMap &userInfo) = 0;
  virtual void observe(const QString &name) = 0;
};
#define NotificationHostInterface_iid "org.qel.NotificationHostInterface/1.0"
Q_DECLARE_INTERFACE(NotificationHostInterface, NotificationHostInterface_iid)

// A host that words a plug-in's texts: the worded text of a key in the user's language.
class WordingHostInterface {
public:
  virtual ~WordingHostInterface() = default;
  virtual QString getLanguageString(const QString &key) = 0;
};
#define WordingHostInterface_iid "org.qel.WordingHostInterface/1.0"
Q_DECLARE_INTERFACE(WordingHostInterface, WordingHostInterface_iid)

// The USSD controller as its plug-in calls it (handed over with setHostController).
class USSDHostInterface : public WordingHostInterface {
public:
  // Sends a request ("FIRST_PARAMETER" 1 code or answer, 2 end; "CODE_TYPE"; "CODE_STRING"):
  // 0 sent, -1 refused (nothing sent).
  virtual int sendUSSDCommand(const QVariantMap &dict) = 0;
};
#define USSDHostInterface_iid "org.qel.USSDHostInterface/1.0"
Q_DECLARE_INTERFACE(USSDHostInterface, USSDHostInterface_iid)

// The SIM toolkit controller as its plug-in calls it (handed over with setHostController).
class STKHostInterface : public WordingHostInterface {
public:
  // The menu row the user chose.
  virtual void SelectClicked(int index) = 0;
};
#define STKHostInterface_iid "org.qel.STKHostInterface/1.0"
Q_DECLARE_INTERFACE(STKHostInterface, STKHostInterface_iid)
