#pragma once

class MainWindowNeighbour;
class DeviceStatusNeighbour;
class ConnectionNeighbour;
class RecordsNeighbour;
class MessagesNeighbour;
class PhonebookNeighbour;
class SettingsNeighbour;
class CallsNeighbour;
class WlanNeighbour;

// Where a subsystem finds its neighbours. Each controller takes its place under its interface
// when it is made and leaves it when it goes, as the controller globals always did; a getter
// answers null while that subsystem is absent (a test that builds one subsystem alone), so every
// caller asks before it calls. The calls themselves are typed: an operation a neighbour does not
// offer does not compile.
namespace Neighbourhood {
MainWindowNeighbour *mainWindow();
DeviceStatusNeighbour *deviceStatus();
ConnectionNeighbour *connection();
RecordsNeighbour *records();
MessagesNeighbour *messages();
PhonebookNeighbour *phonebook();
SettingsNeighbour *settings();
CallsNeighbour *calls();
WlanNeighbour *wlan();

void setMainWindow(MainWindowNeighbour *neighbour);
void setDeviceStatus(DeviceStatusNeighbour *neighbour);
void setConnection(ConnectionNeighbour *neighbour);
void setRecords(RecordsNeighbour *neighbour);
void setMessages(MessagesNeighbour *neighbour);
void setPhonebook(PhonebookNeighbour *neighbour);
void setSettings(SettingsNeighbour *neighbour);
void setCalls(CallsNeighbour *neighbour);
void setWlan(WlanNeighbour *neighbour);

// Empties the place `neighbour` holds; a later controller of the same kind that already took
// the place keeps it.
void leave(MainWindowNeighbour *neighbour);
void leave(DeviceStatusNeighbour *neighbour);
void leave(ConnectionNeighbour *neighbour);
void leave(RecordsNeighbour *neighbour);
void leave(MessagesNeighbour *neighbour);
void leave(PhonebookNeighbour *neighbour);
void leave(SettingsNeighbour *neighbour);
void leave(CallsNeighbour *neighbour);
void leave(WlanNeighbour *neighbour);
} // namespace Neighbourhood
