#include "MenuKeys.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSet>
#include <QTextEdit>
#include <QWidgetAction>

namespace MenuKeys {

QString withoutMnemonic(const QString &title) {
  QString out;
  out.reserve(title.size());
  for (int i = 0; i < title.size(); ++i) {
    if (title[i] == QLatin1Char('&') && i + 1 < title.size()) {
      out += title[++i];
      continue;
    }
    if (title[i] != QLatin1Char('&'))
      out += title[i];
  }
  return out;
}

QStringList withMnemonics(const QStringList &titles) {
  QSet<QChar> taken;
  QStringList out;
  for (const QString &raw : titles) {
    const QString title = withoutMnemonic(raw);
    int at = -1;
    for (int i = 0; i < title.size() && at < 0; ++i) {
      const QChar c = title[i].toLower();
      if (title[i].isLetterOrNumber() && !taken.contains(c))
        at = i;
    }
    QString marked;
    for (int i = 0; i < title.size(); ++i) {
      if (i == at)
        marked += QLatin1Char('&');
      marked += title[i];
      if (title[i] == QLatin1Char('&'))
        marked += QLatin1Char('&');
    }
    if (at >= 0)
      taken.insert(title[at].toLower());
    out << marked;
  }
  return out;
}

namespace {
void assignToActions(const QList<QAction *> &actions) {
  QList<QAction *> items;
  QStringList titles;
  for (QAction *a : actions) {
    if (a->isSeparator() || qobject_cast<QWidgetAction *>(a) || a->text().isEmpty())
      continue;
    items << a;
    titles << a->text();
  }
  const QStringList marked = withMnemonics(titles);
  for (int i = 0; i < items.size(); ++i) {
    items[i]->setText(marked[i]);
    if (QMenu *sub = items[i]->menu())
      assignMnemonics(sub);
  }
}
} // namespace

void assignMnemonics(QMenuBar *bar) {
  if (bar)
    assignToActions(bar->actions());
}

void assignMnemonics(QMenu *menu) {
  if (menu)
    assignToActions(menu->actions());
}

namespace {
QLineEdit *lineEditOf(QWidget *field) {
  if (auto *line = qobject_cast<QLineEdit *>(field))
    return line;
  if (auto *combo = qobject_cast<QComboBox *>(field))
    return combo->lineEdit();
  if (auto *spin = qobject_cast<QAbstractSpinBox *>(field))
    return spin->findChild<QLineEdit *>();
  return nullptr;
}

bool changes(EditCommand command) {
  return command != EditCommand::Copy && command != EditCommand::SelectAll;
}

bool clipboardHasText() {
  const QMimeData *data = QApplication::clipboard() ? QApplication::clipboard()->mimeData() : nullptr;
  return data && data->hasText();
}
} // namespace

bool editCommandApplies(const QWidget *constField, EditCommand command) {
  auto *field = const_cast<QWidget *>(constField);
  if (QLineEdit *line = lineEditOf(field)) {
    if (line->isReadOnly() && changes(command))
      return false;
    switch (command) {
    case EditCommand::Undo:
      return line->isUndoAvailable();
    case EditCommand::Redo:
      return line->isRedoAvailable();
    case EditCommand::Cut:
    case EditCommand::Delete:
      return line->hasSelectedText() && line->echoMode() == QLineEdit::Normal;
    case EditCommand::Copy:
      return line->hasSelectedText() && line->echoMode() == QLineEdit::Normal;
    case EditCommand::Paste:
      return clipboardHasText();
    case EditCommand::SelectAll:
      return !line->text().isEmpty();
    }
  }
  auto textState = [command](bool readOnly, bool undo, bool redo, bool selected, bool empty) {
    if (readOnly && changes(command))
      return false;
    switch (command) {
    case EditCommand::Undo:
      return undo;
    case EditCommand::Redo:
      return redo;
    case EditCommand::Cut:
    case EditCommand::Delete:
    case EditCommand::Copy:
      return selected;
    case EditCommand::Paste:
      return clipboardHasText();
    case EditCommand::SelectAll:
      return !empty;
    }
    return false;
  };
  if (auto *text = qobject_cast<QTextEdit *>(field))
    return textState(text->isReadOnly(), text->document()->isUndoAvailable(), text->document()->isRedoAvailable(),
                     text->textCursor().hasSelection(), text->document()->isEmpty());
  if (auto *plain = qobject_cast<QPlainTextEdit *>(field))
    return textState(plain->isReadOnly(), plain->document()->isUndoAvailable(), plain->document()->isRedoAvailable(),
                     plain->textCursor().hasSelection(), plain->document()->isEmpty());
  return false;
}

bool runEditCommand(QWidget *field, EditCommand command) {
  if (!editCommandApplies(field, command))
    return false;
  if (QLineEdit *line = lineEditOf(field)) {
    switch (command) {
    case EditCommand::Undo:
      line->undo();
      break;
    case EditCommand::Redo:
      line->redo();
      break;
    case EditCommand::Cut:
      line->cut();
      break;
    case EditCommand::Copy:
      line->copy();
      break;
    case EditCommand::Paste:
      line->paste();
      break;
    case EditCommand::Delete:
      line->del();
      break;
    case EditCommand::SelectAll:
      line->selectAll();
      break;
    }
    return true;
  }
  auto run = [command](auto *edit) {
    switch (command) {
    case EditCommand::Undo:
      edit->undo();
      break;
    case EditCommand::Redo:
      edit->redo();
      break;
    case EditCommand::Cut:
      edit->cut();
      break;
    case EditCommand::Copy:
      edit->copy();
      break;
    case EditCommand::Paste:
      edit->paste();
      break;
    case EditCommand::Delete:
      edit->textCursor().removeSelectedText();
      break;
    case EditCommand::SelectAll:
      edit->selectAll();
      break;
    }
    return true;
  };
  if (auto *text = qobject_cast<QTextEdit *>(field))
    return run(text);
  if (auto *plain = qobject_cast<QPlainTextEdit *>(field))
    return run(plain);
  return false;
}

} // namespace MenuKeys
