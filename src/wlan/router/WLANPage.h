#pragma once

class QWidget;
class WLANController;

// The router page's widgets (our stand-in for the nib): builds them under `parent`, sets the
// controller's outlets and ties each control's signal to the controller's action or delegate
// operation. Answers the page, whose object name is the main tab's identifier "WLAN".
namespace WLANPage {
QWidget *build(WLANController *controller, QWidget *parent);
}
