#pragma once

#include <QString>
#include <QStringList>

class QMenu;
class QMenuBar;
class QWidget;

// Keyboard access to menus: Alt mnemonics chosen from the worded titles, and the standard edit
// commands carried out on whatever text field has the focus.
namespace MenuKeys {

// The titles with one '&' each before the first letter or digit no earlier title of the list
// took (case-insensitive); a title without a free character gets none. '&' already in a title
// is doubled, so that it shows as itself.
QStringList withMnemonics(const QStringList &titles);

// Gives the bar's menus and, inside each menu (sub-menus too), its items their mnemonics.
void assignMnemonics(QMenuBar *bar);
void assignMnemonics(QMenu *menu);

// The text without its mnemonic marks ("&&" back to "&").
QString withoutMnemonic(const QString &title);

// The edit commands a focused text field understands.
enum class EditCommand { Undo, Redo, Cut, Copy, Paste, Delete, SelectAll };
// Runs `command` on `field` (a line edit, text edit, plain-text edit, or an editable combo or
// spin box's line edit); false when it is none of those, or read-only for a changing command.
bool runEditCommand(QWidget *field, EditCommand command);
// Whether `command` would do something on `field` now (for enabling the menu item).
bool editCommandApplies(const QWidget *field, EditCommand command);

} // namespace MenuKeys
