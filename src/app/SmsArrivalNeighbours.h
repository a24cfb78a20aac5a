#pragma once

class DialController;
class MMSController;
class QObject;
class QELUIManager;
class QTabWidget;
class SMSController;
class MainController;

// Gives the message controller's arrival road what it asks of the main window and the
// phonebook: the status item, the complete window model and whether a number is a contact.
void wireSmsArrivalNeighbours(SMSController *sms, MainController *main);

// The MMS tab and its host, when the toolbar has "MMS": the host reaches the connection
// controller, the message editor and the contact picker. Null without the module.
MMSController *buildMmsHost(QTabWidget *tabs, QObject *owner, QELUIManager *skin, DialController *dial,
                            SMSController *sms);
