#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantMap>

class QObject;
class QELUIManager;
class QELLanguage;

// The few calls the controller layer makes into the skin engine and the wording layer, in one
// place so that every controller reaches them the same way (and a missing manager or language
// object is handled once).
namespace FrameworkLinks {

// The manager and the language object as QObjects (for the plug-ins' parameter dictionary).
QObject *asObject(QELUIManager *skin);
QObject *asObject(QELLanguage *language);

// Skin manager (null manager: every call answers false / null).
bool registerController(QELUIManager *skin, QObject *control, const QString &key, bool needReload);
bool hasKey(QELUIManager *skin, const QString &key);
bool setImageForKey(QELUIManager *skin, const QString &key, const QString &imageName, bool needUpdate);
bool updateItem(QELUIManager *skin, QObject *control);
QObject *controllerByKey(QELUIManager *skin, const QString &key);
QList<QObject *> controllersByKey(QELUIManager *skin, const QString &key);

// Language object: registers `target`'s `selector` for language changes (called once at once
// when `needUpdate`); `update` makes every registered observer re-apply its texts.
bool registerLanguageObserver(QELLanguage *language, QObject *target, const QByteArray &selector, bool needUpdate);
void updateLanguage(QELLanguage *language);

// The display text of a wording key in the current language.
QString wording(const QString &key);

// UI switches: the calendar format of dates ("CustomDateFormat"), empty when not configured,
// and the configured UI font ({"FontName", "FontSize"}), empty when not configured.
QString uiDateFormat();
QVariantMap uiFont();

} // namespace FrameworkLinks
