#pragma once

class DialController;
class QWidget;

// Builds the Internet tab as a nib would and sets DialController's outlets: the prompts, the
// profile box, the connection area (state, data, time, address, speeds and their captions), the
// speed graph, the Connect button and the start-up hint; and the statistics window shown after
// a disconnect. Call before the controller wakes (awakeFromNib). The operator's web content is
// built only for the switches that are on: the split layout ("before connect" and "after
// connect" pages with the banner, favourite and custom links, promotion and the favourite-icon
// hint), the billboard, the advertisement, the embedded page and the special page's container.
namespace InternetPage {

// `profileBox` (from ProfileWindows::build) goes below the prompts; `window` owns the
// statistics window. Answers the page.
QWidget *build(DialController *dial, QWidget *profileBox, QWidget *window, QWidget *parent);

} // namespace InternetPage
