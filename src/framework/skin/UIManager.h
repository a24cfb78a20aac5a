#pragma once

#include "UINode.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVariantMap>

class QWidget;

// Font traits of the skins' "FontTrait" mask.
enum NSFontTraitMask { NSItalicFontMask = 0x1, NSBoldFontMask = 0x2 };

// The named font at `size` (pixels; the label size when not above 0) with `traitMask`; the
// fallback font (or the application font) with that size and trait when the name names no font.
QFont createFont(const QString &name, qreal size, int traitMask, const QFont *fallback = nullptr);

// The skin engine. A skin is a folder with a "SkinInfo" property list (item key -> item
// dictionary) and the images its items name. Controls are registered under item keys and the
// engine applies each item with the update routine chosen by the control's class.
//
// Geometry: items are written with a bottom-left origin ("Left", "Bottom"); the conversion to
// Qt's top-left geometry happens in CocoaFrame (ViewPlacement.h) and nowhere else.
// Images: with a device pixel ratio above 1 a "name@2x.png" beside "name.png" is used; all
// sizes and cut rectangles stay in 1x pixels.
class UIManager : public QObject {
  Q_OBJECT
public:
  explicit UIManager(QObject *parent = nullptr);
  ~UIManager() override;

  // Loads the skin folder at `path` (a leading "~" is expanded). Registered controls are not
  // updated; call updateUI() or updateItem().
  virtual bool loadUIResource(const QString &path);
  void unloadUIResource();
  // Takes an already read SkinInfo dictionary whose images live in `folder`.
  void setSkinInfo(const QVariantMap &info, const QString &folder);
  bool isLoaded() const { return loaded_; }
  const QString &skinPath() const { return skinPath_; }
  const QVariantMap &skinInfo() const { return skinInfo_; }

  // Registers `control` (a widget, a tab page, a menu action...) under `key`. Always applies
  // the default font first. False without a skin, for a key the skin lacks, for a null control
  // or key, or when the control is registered already (one key may carry many controls).
  bool registerController(QObject *control, const QString &key, bool needReload);
  // Forgets every registration of `control`.
  void removeController(QObject *control);

  bool updateItem(QObject *control);
  bool updateUI();

  QObject *controllerByKey(const QString &key) const;
  QObjectList controllersByKey(const QString &key) const; // empty when none
  bool hasKey(const QString &key) const;
  int registrationCount() const;

  // Run-time changes of an item; each stores a changed copy and, with needUpdate, applies it to
  // the first control under the key.
  bool setImageForKey(const QString &key, int imageID, bool needUpdate);
  bool setImageForKey(const QString &key, const QString &imageName, bool needUpdate);
  bool setNewSizeForKey(const QString &key, const QString &itemName, bool needUpdate);
  bool setNewLocationInSuperviewForKey(const QString &key, const QString &itemName, bool needUpdate);

  // Item access.
  QVariantMap itemInfoDictForKey(const QString &key) const;
  bool getItemPoint(QPointF *point, const QString &key) const;
  bool getItemSize(QSizeF *size, const QString &key) const;
  bool getItemRect(QRectF *rect, const QString &key) const;
  bool getItemCutRect(QRectF *rect, const QString &key) const;
  // The item's image, cut or rescaled as the item says; null when there is none.
  QImage itemImage(QObject *control, const QString &key) const;
  // A file of the skin folder as an image (the "@2x" twin on high-density screens).
  QImage imageNamed(const QString &fileName) const;
  // Applies the item under `key` to `control` with the routine of its class.
  bool updataItem(QObject *control, const QString &key);

  // Pixel density the images are chosen for (default: the application's).
  void setDevicePixelRatio(qreal ratio) { devicePixelRatio_ = ratio; }
  qreal devicePixelRatio() const;

  // Update routines (control, key). Each applies only what the item holds.
  bool updateNSWindowExt(QWidget *window, const QString &key);
  bool updateNSWindow(QWidget *window, const QString &key);
  bool updateNSViewExt(QWidget *view, const QString &key);
  bool updateNSImageView(QWidget *view, const QString &key);
  bool updateNSFlickerButton(QWidget *button, const QString &key);
  bool updateNSButtonExt(QWidget *button, const QString &key);
  bool updateNSButton(QWidget *button, const QString &key);
  bool updateNSTextField(QWidget *field, const QString &key);
  bool updateNSTabViewItem(QWidget *item, const QString &key);
  bool updateNSBox(QWidget *box, const QString &key);
  bool updateNSMatrix(QWidget *matrix, const QString &key);
  bool updateNSView(QWidget *view, const QString &key);

  void setHidden(QObject *control, const QString &key);
  void setPosition(QWidget *view, const QString &key);
  void setSize(QWidget *view, const QString &key);
  void setFont(QObject *control, const QString &key);
  QColor textColorForKey(const QString &key) const;
  void setTextColor(QObject *control, const QString &key);
  void setMatrixColor(QWidget *matrix, const QString &key);
  void setGroupFlickerBtn(QWidget *button, const QString &key);
  void updateButtonTitleColor(QWidget *button, const QString &key);
  void updateNSFlickerButtonTitleColor(QWidget *button, const QString &key);
  void updateNSFlickerButtonImage(QWidget *button, const QString &key);
  void updateNSButtonExtImage(QWidget *button, const QString &key);
  // Cut `image` into the strips named by `imageName` (comma-separated states) and hand each to
  // the button; answers the strips in state order (tests read them).
  QList<QImage> update4ImageButton(QWidget *button, const QString &imageName, const QImage &image, const QString &key);
  QList<QImage> update2ImageButton(QWidget *button, const QString &imageName, const QImage &image, const QString &key);
  void placementSubviews(QWidget *view, const QString &key);
  void placementInSuperview(QWidget *view, const QString &key);

  // The default font for every registered control: the skin's "allFont", else the configured
  // UI font; an empty map when neither exists.
  QVariantMap defaultFontDict() const;

protected:
  // Settings the engine consults; QELUIManager answers them from the configuration.
  virtual bool supportsLanguageSkins() const { return false; }
  virtual QString languageFolderName() const { return {}; }
  virtual QVariantMap configuredUIFont() const { return {}; }
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void applyDefaultFont(QObject *control) const;
  QImage readItemImage(const QVariantMap &item) const;
  void forget(QObject *control);

  QList<UINode> controllerList_;
  QList<QPointer<QObject>> controllerCacheList_;
  QVariantMap skinInfo_;
  QString skinPath_;
  bool loaded_ = false;
  qreal devicePixelRatio_ = 0;
};
