#pragma once

#include "NotificationTables.h"

// The two notification tables of the phonebook plug-in contract: the requests the controller
// observes (selector, notification) and, as data only, the answers a plug-in observes.
namespace PBPlugInTables {
extern const NotificationPair kPhoneBookNotficationTable[];
extern const NotificationPair kPhoneBookBundleNotficationTable[];
} // namespace PBPlugInTables
