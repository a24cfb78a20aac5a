#pragma once

class DialController;
class QWidget;

// Builds the widgets of the connection profiles and sets DialController's outlets, as a nib
// would: the profile box of the Internet page (combo box and the read-only number, user and
// password fields), the management sheet with its table and browse view, the edit sheet with its
// IPv6 tabs, and the account sheet. Call before the controller wakes (awakeFromNib).
namespace ProfileWindows {

// Answers the Internet page's profile box, to be placed by the caller; the sheets are children
// of `window`.
QWidget *build(DialController *dial, QWidget *window);

} // namespace ProfileWindows
