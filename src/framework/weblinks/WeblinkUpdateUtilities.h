#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <functional>

// The icon list "IconLinks.plist": each entry names a remote image ("ImageURL"), where its local
// copy lives ("ImageStorePath") and the server date of that copy ("ImageModifiedDate"). At
// start-up every image's server is asked for its date, and a newer image replaces the local copy.
class WeblinkUpdateUtilities : public QObject {
  Q_OBJECT
public:
  static constexpr int kFileNotFound = -43;

  static WeblinkUpdateUtilities *sharedUpdateManager();

  // Keeps the path and reads the list (empty when unreadable).
  void setcfgFile(const QString &path);
  QString cfgFile() const { return cfgFile_; }
  void loadcfg();
  bool savecfg();
  QVariantList iconLinks() const { return iconLinks_; }

  // Any "file://" text, or the address or store path of an entry.
  bool isKnownURLInIconLinks(const QString &text) const;
  // The first entry of that address; empty when none.
  QVariantMap iconLinkPropertiesForURL(const QString &url) const;

  // Asks the date of every entry with an address; kFileNotFound without the list file.
  int startUpdateWebLinks();
  // A date the server returned for `url`: a later one than the stored copy's is remembered and
  // the image downloaded. A missing or unreadable stored date counts as older.
  void lastModifiedDate(const QString &dateText, const QString &url);
  // Where the download of `url` goes: the first entry's store path, relative paths taken in the
  // download folder and absolute ones only inside the ModemList folder; empty when no entry
  // matches or the path is refused.
  QString destinationSuggestedFilenameForURL(const QString &url) const;
  // Where an entry's "ImageStorePath" lies by the rules above; empty when refused.
  static QString resolveStorePath(const QString &store);
  // A finished download: the entry's date becomes the server's, the list is saved, the icon's
  // consumer reloads it, and "LoadImageFormURLOver" and "loadFavouriteBtnWebKitViews" are posted.
  void downloadDidFinishWithURL(const QString &url);

  // The "%a, %d %b %Y %H:%M:%S %Z" dates of HTTP, read in the C locale; invalid when unreadable.
  static QDateTime parseHttpDate(const QString &text);

  // Who reloads an icon whose download finished (the connection controller).
  using IconLoader = std::function<void(const QVariantMap &entry)>;
  void setIconLoader(IconLoader loader) { iconLoader_ = std::move(loader); }

private:
  WeblinkUpdateUtilities() = default;
  QString cfgFile_;
  QVariantList iconLinks_;
  IconLoader iconLoader_;
};
