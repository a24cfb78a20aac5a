#pragma once

class DialController;
class QWidget;

// Builds the Internet tab as a nib would and sets DialController's outlets: the prompts, the
// profile box, the connection area (state, data, time, address, speeds and their captions), the
// speed graph, the Connect button and the start-up hint; and the statistics window shown after
// a disconnect. Call before the controller wakes (awakeFromNib).
namespace InternetPage {

// `profileBox` (from ProfileWindows::build) goes below the prompts; `window` owns the
// statistics window. Answers the page.
QWidget *build(DialController *dial, QWidget *profileBox, QWidget *window, QWidget *parent);

} // namespace InternetPage
