#include "Neighbourhood.h"

namespace {
struct Places {
  MainWindowNeighbour *mainWindow = nullptr;
  DeviceStatusNeighbour *deviceStatus = nullptr;
  ConnectionNeighbour *connection = nullptr;
  RecordsNeighbour *records = nullptr;
  MessagesNeighbour *messages = nullptr;
  PhonebookNeighbour *phonebook = nullptr;
  SettingsNeighbour *settings = nullptr;
  CallsNeighbour *calls = nullptr;
  WlanNeighbour *wlan = nullptr;
};

Places &places() {
  static Places p;
  return p;
}

template <typename T> void leavePlace(T *&place, T *neighbour) {
  if (neighbour && place == neighbour)
    place = nullptr;
}
} // namespace

namespace Neighbourhood {
MainWindowNeighbour *mainWindow() {
  return places().mainWindow;
}
DeviceStatusNeighbour *deviceStatus() {
  return places().deviceStatus;
}
ConnectionNeighbour *connection() {
  return places().connection;
}
RecordsNeighbour *records() {
  return places().records;
}
MessagesNeighbour *messages() {
  return places().messages;
}
PhonebookNeighbour *phonebook() {
  return places().phonebook;
}
SettingsNeighbour *settings() {
  return places().settings;
}
CallsNeighbour *calls() {
  return places().calls;
}
WlanNeighbour *wlan() {
  return places().wlan;
}

void setMainWindow(MainWindowNeighbour *neighbour) {
  places().mainWindow = neighbour;
}
void setDeviceStatus(DeviceStatusNeighbour *neighbour) {
  places().deviceStatus = neighbour;
}
void setConnection(ConnectionNeighbour *neighbour) {
  places().connection = neighbour;
}
void setRecords(RecordsNeighbour *neighbour) {
  places().records = neighbour;
}
void setMessages(MessagesNeighbour *neighbour) {
  places().messages = neighbour;
}
void setPhonebook(PhonebookNeighbour *neighbour) {
  places().phonebook = neighbour;
}
void setSettings(SettingsNeighbour *neighbour) {
  places().settings = neighbour;
}
void setCalls(CallsNeighbour *neighbour) {
  places().calls = neighbour;
}
void setWlan(WlanNeighbour *neighbour) {
  places().wlan = neighbour;
}

void leave(MainWindowNeighbour *neighbour) {
  leavePlace(places().mainWindow, neighbour);
}
void leave(DeviceStatusNeighbour *neighbour) {
  leavePlace(places().deviceStatus, neighbour);
}
void leave(ConnectionNeighbour *neighbour) {
  leavePlace(places().connection, neighbour);
}
void leave(RecordsNeighbour *neighbour) {
  leavePlace(places().records, neighbour);
}
void leave(MessagesNeighbour *neighbour) {
  leavePlace(places().messages, neighbour);
}
void leave(PhonebookNeighbour *neighbour) {
  leavePlace(places().phonebook, neighbour);
}
void leave(SettingsNeighbour *neighbour) {
  leavePlace(places().settings, neighbour);
}
void leave(CallsNeighbour *neighbour) {
  leavePlace(places().calls, neighbour);
}
void leave(WlanNeighbour *neighbour) {
  leavePlace(places().wlan, neighbour);
}
} // namespace Neighbourhood
