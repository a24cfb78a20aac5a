#pragma once

class SMSController;
class MainController;
class InitController;

// Gives the message controller's send road what it asks of the main window, the device status
// and the phonebook: the registration state, the diagnostics report flag and the contact picker.
void wireSmsSendNeighbours(SMSController *sms, MainController *main, InitController *init);
