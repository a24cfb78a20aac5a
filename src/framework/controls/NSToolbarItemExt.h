#pragma once

#include <QAction>
#include <QByteArray>
#include <QString>

// A toolbar item that remembers its untranslated label and tooltip (so a language change can
// word them again), a spare action to restore after disabling, and a web-link label.
class NSToolbarItemExt : public QAction {
  Q_OBJECT
public:
  explicit NSToolbarItemExt(const QString &itemIdentifier = {}, QObject *parent = nullptr);

  QString itemIdentifier() const { return itemIdentifier_; }
  QString englishLabel() const { return englishLabel_; }
  void setEnglishLabel(const QString &label) { englishLabel_ = label; }
  QString englishToolTip() const { return englishToolTip_; }
  void setEnglishToolTip(const QString &toolTip) { englishToolTip_ = toolTip; }
  // The action's method name on its target.
  QByteArray backUpAction() const { return backUpAction_; }
  void setBackUpAction(const QByteArray &action) { backUpAction_ = action; }
  QString urlLabel() const { return urlLabel_; }
  void setUrlLabel(const QString &label) { urlLabel_ = label; }

private:
  QString itemIdentifier_;
  QString englishLabel_;
  QString englishToolTip_;
  QByteArray backUpAction_;
  QString urlLabel_;
};
