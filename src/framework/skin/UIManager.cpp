#include "UIManager.h"

#include "ButtonMatrix.h"
#include "CocoaExt.h"
#include "NSButtonExt.h"
#include "NSViewExt.h"
#include "NSWindowExt.h"
#include "Plist.h"
#include "ViewPlacement.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QWidget>
#include <cmath>

namespace {
const QString kImageName = QStringLiteral("ImageName");

bool number(const QVariantMap &item, const QString &key, qreal *out) {
  const auto it = item.constFind(key);
  if (it == item.constEnd())
    return false;
  bool ok = false;
  const qreal v = it->toDouble(&ok);
  if (!ok || !std::isfinite(v))
    return false;
  *out = v;
  return true;
}

bool flag(const QVariantMap &item, const QString &key) {
  return item.value(key).toBool();
}

QStringList stringList(const QVariant &v) {
  if (v.typeId() == QMetaType::QString)
    return {v.toString()};
  QStringList out;
  for (const QVariant &e : v.toList())
    if (e.typeId() == QMetaType::QString)
      out << e.toString();
  return out;
}

QSizeF controlSize(QObject *control) {
  auto *w = qobject_cast<QWidget *>(control);
  return w ? QSizeF(w->size()) : QSizeF();
}

// The view that carries a window's skin image.
NSViewExt *contentViewOf(QWidget *window) {
  if (auto *ext = qobject_cast<NSWindowExt *>(window))
    return ext->contentView();
  if (auto *mw = qobject_cast<QMainWindow *>(window))
    return qobject_cast<NSViewExt *>(mw->centralWidget());
  return window->findChild<NSViewExt *>(QStringLiteral("contentView"), Qt::FindDirectChildrenOnly);
}

// Sensible bounds for skin geometry: anything beyond is a broken file, not a layout.
constexpr qreal kMaxExtent = 16384;
bool sane(qreal v) {
  return v > -kMaxExtent && v < kMaxExtent;
}
} // namespace

QFont createFont(const QString &name, qreal size, int traitMask, const QFont *fallback) {
  QFont font;
  bool named = false;
  if (!name.isEmpty()) {
    const QStringList families = QFontDatabase::families();
    QString family = name;
    if (!families.contains(family, Qt::CaseInsensitive) && family.contains(QLatin1Char('-')))
      family = family.section(QLatin1Char('-'), 0, 0); // "Family-Style" names
    if (families.contains(family, Qt::CaseInsensitive)) {
      font = QFont(family);
      named = true;
    }
  }
  if (!named)
    font = fallback ? *fallback : QGuiApplication::font();
  // Skin sizes are in the pixels the images are drawn in.
  font.setPixelSize(qRound(qBound<qreal>(1, size > 0 ? size : 13, 512)));
  if (traitMask & NSBoldFontMask)
    font.setBold(true);
  if (traitMask & NSItalicFontMask)
    font.setItalic(true);
  return font;
}

UIManager::UIManager(QObject *parent) : QObject(parent) {}
UIManager::~UIManager() = default;

qreal UIManager::devicePixelRatio() const {
  if (devicePixelRatio_ > 0)
    return devicePixelRatio_;
  return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

void UIManager::setSkinInfo(const QVariantMap &info, const QString &folder) {
  skinInfo_ = info;
  skinPath_ = QDir::cleanPath(folder);
  loaded_ = true;
}

bool UIManager::loadUIResource(const QString &rawPath) {
  if (rawPath.isEmpty())
    return false;
  QString path = rawPath;
  if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
    path = QDir::homePath() + path.mid(1);
  if (!QFileInfo::exists(path))
    return false;
  QString file = path + QStringLiteral("/SkinInfo");
  if (supportsLanguageSkins()) {
    const QString language = languageFolderName();
    const QString perLanguage = path + QStringLiteral("/SkinInfo_") + language;
    if (!language.isEmpty() && QFileInfo::exists(perLanguage))
      file = perLanguage;
  }
  QVariantMap info;
  if (!Plist::readDictionary(file, &info))
    return false;
  skinInfo_ = info;
  skinPath_ = QDir::cleanPath(path);
  loaded_ = true;
  return true;
}

void UIManager::unloadUIResource() {
  skinInfo_.clear();
  skinPath_.clear();
  loaded_ = false;
}

QVariantMap UIManager::defaultFontDict() const {
  const QVariant all = skinInfo_.value(QStringLiteral("allFont"));
  if (all.typeId() == QMetaType::QVariantMap)
    return all.toMap();
  return configuredUIFont();
}

void UIManager::applyDefaultFont(QObject *control) const {
  if (!control)
    return;
  const QVariantMap dict = defaultFontDict();
  if (dict.isEmpty())
    return;
  qreal size = 0;
  number(dict, QStringLiteral("FontSize"), &size);
  const QString name = dict.value(QStringLiteral("FontName")).toString();
  if (auto *w = qobject_cast<QWidget *>(control)) {
    const QFont current = w->font();
    w->setFont(createFont(name, size > 0 ? size : current.pixelSize(), 0, &current));
  } else if (auto *a = qobject_cast<QAction *>(control)) {
    const QFont current = a->font();
    a->setFont(createFont(name, size > 0 ? size : current.pixelSize(), 0, &current));
  }
}

bool UIManager::registerController(QObject *control, const QString &key, bool needReload) {
  applyDefaultFont(control);
  if (!loaded_ || !control || key.isEmpty())
    return false;
  const auto it = skinInfo_.constFind(key);
  if (it == skinInfo_.constEnd() || it->typeId() != QMetaType::QVariantMap)
    return false;
  if (controllerCacheList_.contains(control))
    return false;
  controllerCacheList_ << control;
  controllerList_ << UINode(control, key);
  connect(control, &QObject::destroyed, this, [this](QObject *gone) { forget(gone); });
  control->installEventFilter(this);
  if (needReload)
    updataItem(control, key);
  return true;
}

void UIManager::forget(QObject *control) {
  for (int i = controllerList_.size() - 1; i >= 0; --i)
    if (controllerList_[i].controller() == control || !controllerList_[i].controller())
      controllerList_.removeAt(i);
  for (int i = controllerCacheList_.size() - 1; i >= 0; --i)
    if (controllerCacheList_[i] == control || !controllerCacheList_[i])
      controllerCacheList_.removeAt(i);
}

void UIManager::removeController(QObject *control) {
  if (!control)
    return;
  disconnect(control, nullptr, this, nullptr);
  control->removeEventFilter(this);
  forget(control);
}

bool UIManager::eventFilter(QObject *watched, QEvent *event) {
  // A control positioned before it had a superview takes its place once it gets one.
  if (event->type() == QEvent::ParentChange)
    CocoaFrame::applyPendingOrigin(qobject_cast<QWidget *>(watched));
  return QObject::eventFilter(watched, event);
}

int UIManager::registrationCount() const {
  return controllerList_.size();
}

bool UIManager::updateItem(QObject *control) {
  for (const UINode &node : controllerList_)
    if (node.controller() == control && control)
      return updataItem(control, node.name());
  return false;
}

bool UIManager::updateUI() {
  const QList<UINode> nodes = controllerList_;
  for (const UINode &node : nodes)
    if (node.controller())
      updataItem(node.controller(), node.name());
  return true;
}

QObject *UIManager::controllerByKey(const QString &key) const {
  for (const UINode &node : controllerList_)
    if (node.name() == key && node.controller())
      return node.controller();
  return nullptr;
}

QObjectList UIManager::controllersByKey(const QString &key) const {
  QObjectList out;
  for (const UINode &node : controllerList_)
    if (node.name() == key && node.controller())
      out << node.controller();
  return out;
}

bool UIManager::hasKey(const QString &key) const {
  return skinInfo_.contains(key);
}

// --- run-time changes --------------------------------------------------------------------------

bool UIManager::setImageForKey(const QString &key, int imageID, bool needUpdate) {
  if (!loaded_ || !skinInfo_.contains(key))
    return false;
  QVariantMap item = itemInfoDictForKey(key);
  const QVariantList images = item.value(QStringLiteral("ImageArray")).toList();
  if (imageID < 0 || imageID >= images.size())
    return false;
  item[kImageName] = images[imageID].toString();
  skinInfo_[key] = item;
  if (needUpdate)
    updataItem(controllerByKey(key), key);
  return true;
}

bool UIManager::setImageForKey(const QString &key, const QString &imageName, bool needUpdate) {
  if (!loaded_ || !skinInfo_.contains(key))
    return false;
  QVariantMap item = itemInfoDictForKey(key);
  const QVariantMap dict = item.value(QStringLiteral("ImageDict")).toMap();
  const auto it = dict.constFind(imageName);
  if (it == dict.constEnd())
    return false;
  const QString file = it->toString();
  if (file == item.value(kImageName).toString())
    return false;
  item[kImageName] = file;
  for (const QVariant &v : item.value(QStringLiteral("LocationArray")).toList()) {
    const QVariantMap loc = v.toMap();
    if (loc.value(kImageName).toString() == file) {
      for (const QString &k : {QStringLiteral("Left"), QStringLiteral("Bottom")})
        if (loc.contains(k))
          item[k] = loc.value(k);
      break;
    }
  }
  if (flag(item, QStringLiteral("CutImage"))) {
    for (const QVariant &v : item.value(QStringLiteral("CutInfoArray")).toList()) {
      const QVariantMap cut = v.toMap();
      if (cut.value(kImageName).toString() == file) {
        for (const QString &k : {QStringLiteral("CutLeft"), QStringLiteral("CutTop"), QStringLiteral("CutWidth"),
                                 QStringLiteral("CutHeight")})
          if (cut.contains(k))
            item[k] = cut.value(k);
        break;
      }
    }
  }
  skinInfo_[key] = item;
  if (needUpdate)
    updataItem(controllerByKey(key), key);
  return true;
}

bool UIManager::setNewSizeForKey(const QString &key, const QString &itemName, bool needUpdate) {
  if (!loaded_ || !skinInfo_.contains(key))
    return false;
  QVariantMap item = itemInfoDictForKey(key);
  for (const QVariant &v : item.value(QStringLiteral("SizeInfoArray")).toList()) {
    const QVariantMap e = v.toMap();
    if (e.value(QStringLiteral("ItemName")).toString() == itemName) {
      item[QStringLiteral("Width")] = e.value(QStringLiteral("Width"));
      item[QStringLiteral("Height")] = e.value(QStringLiteral("Height"));
      break;
    }
  }
  skinInfo_[key] = item;
  if (needUpdate)
    updataItem(controllerByKey(key), key);
  return true;
}

bool UIManager::setNewLocationInSuperviewForKey(const QString &key, const QString &itemName, bool needUpdate) {
  if (!loaded_ || !skinInfo_.contains(key))
    return false;
  QVariantMap item = itemInfoDictForKey(key);
  for (const QVariant &v : item.value(QStringLiteral("LocationInSuperviewArray")).toList()) {
    const QVariantMap e = v.toMap();
    if (e.value(QStringLiteral("ItemName")).toString() == itemName) {
      item[QStringLiteral("PlacementInSuperviewMethod")] = e.value(QStringLiteral("LocationInSuperview"));
      break;
    }
  }
  skinInfo_[key] = item;
  if (needUpdate)
    updataItem(controllerByKey(key), key);
  return true;
}

// --- item access ---------------------------------------------------------------------------------

QVariantMap UIManager::itemInfoDictForKey(const QString &key) const {
  return skinInfo_.value(key).toMap();
}

bool UIManager::getItemPoint(QPointF *point, const QString &key) const {
  const QVariantMap item = itemInfoDictForKey(key);
  qreal x = 0, y = 0;
  if (!point || !number(item, QStringLiteral("Left"), &x) || !number(item, QStringLiteral("Bottom"), &y) || !sane(x) ||
      !sane(y))
    return false;
  *point = QPointF(x, y);
  return true;
}

bool UIManager::getItemSize(QSizeF *size, const QString &key) const {
  const QVariantMap item = itemInfoDictForKey(key);
  qreal w = 0, h = 0;
  if (!size || !number(item, QStringLiteral("Width"), &w) || !number(item, QStringLiteral("Height"), &h) || !sane(w) ||
      !sane(h))
    return false;
  *size = QSizeF(qMax<qreal>(0, w), qMax<qreal>(0, h));
  return true;
}

bool UIManager::getItemRect(QRectF *rect, const QString &key) const {
  QPointF p;
  QSizeF s;
  if (!rect || !getItemPoint(&p, key) || !getItemSize(&s, key))
    return false;
  *rect = QRectF(p, s);
  return true;
}

bool UIManager::getItemCutRect(QRectF *rect, const QString &key) const {
  const QVariantMap item = itemInfoDictForKey(key);
  qreal x = 0, y = 0, w = 0, h = 0;
  if (!rect || !number(item, QStringLiteral("CutLeft"), &x) || !number(item, QStringLiteral("CutTop"), &y) ||
      !number(item, QStringLiteral("CutWidth"), &w) || !number(item, QStringLiteral("CutHeight"), &h))
    return false;
  *rect = QRectF(x, y, w, h);
  return true;
}

QImage UIManager::imageNamed(const QString &fileName) const {
  if (!loaded_ || fileName.isEmpty() || QDir::isAbsolutePath(fileName))
    return {};
  const QString path = QDir::cleanPath(skinPath_ + QLatin1Char('/') + fileName);
  // Image names come from a file: they may not leave the skin folder.
  if (!path.startsWith(skinPath_ + QLatin1Char('/')))
    return {};
  return NSImageExt::imageWithContentsOfFile(path, devicePixelRatio());
}

QImage UIManager::readItemImage(const QVariantMap &item) const {
  return imageNamed(item.value(kImageName).toString());
}

QImage UIManager::itemImage(QObject *control, const QString &key) const {
  const QVariantMap item = itemInfoDictForKey(key);
  const QImage image = readItemImage(item);
  if (image.isNull())
    return {};
  if (flag(item, QStringLiteral("CutImage"))) {
    QRectF cut;
    return getItemCutRect(&cut, key) ? NSImageExt::cutImageInRect(image, cut) : image;
  }
  if (flag(item, QStringLiteral("Rescale"))) {
    QSizeF target = NSImageExt::logicalSize(image);
    if (flag(item, QStringLiteral("WidthFromController"))) {
      target.setWidth(controlSize(control).width());
    } else if (flag(item, QStringLiteral("HeightFromController"))) {
      target.setHeight(controlSize(control).height());
    } else if (flag(item, QStringLiteral("SizeFromController"))) {
      target = controlSize(control);
    } else if (!getItemSize(&target, key)) {
      return image;
    }
    return NSImageExt::rescaleImage(image, target);
  }
  return image;
}

// --- applying ----------------------------------------------------------------------------------

bool UIManager::updataItem(QObject *control, const QString &key) {
  if (!control || key.isEmpty() || !loaded_)
    return false;
  auto *w = qobject_cast<QWidget *>(control);
  if (!w)
    return false;
  // The first class the control is a kind of wins, most specific first.
  if (qobject_cast<NSWindowExt *>(w)) // NSPanelExt too
    return updateNSWindowExt(w, key);
  if (qobject_cast<QMainWindow *>(w) || qobject_cast<QDialog *>(w) || qobject_cast<NSSheetWindow *>(w))
    return updateNSWindow(w, key);
  if (qobject_cast<NSViewExt *>(w))
    return updateNSViewExt(w, key);
  if (qobject_cast<ImageView *>(w))
    return updateNSImageView(w, key);
  if (qobject_cast<NSFlickerButton *>(w))
    return updateNSFlickerButton(w, key);
  if (qobject_cast<NSButtonExt *>(w))
    return updateNSButtonExt(w, key);
  if (qobject_cast<QAbstractButton *>(w))
    return updateNSButton(w, key);
  if (qobject_cast<QLabel *>(w) || qobject_cast<QLineEdit *>(w))
    return updateNSTextField(w, key);
  if (qobject_cast<TabViewItem *>(w))
    return updateNSTabViewItem(w, key);
  if (qobject_cast<QGroupBox *>(w))
    return updateNSBox(w, key);
  if (qobject_cast<ButtonMatrix *>(w))
    return updateNSMatrix(w, key);
  return updateNSView(w, key);
}

void UIManager::setHidden(QObject *control, const QString &key) {
  const QVariantMap item = itemInfoDictForKey(key);
  if (!item.contains(QStringLiteral("Hidden")))
    return;
  const bool hidden = flag(item, QStringLiteral("Hidden"));
  if (auto *tab = qobject_cast<TabViewItem *>(control))
    tab->setItemHidden(hidden);
  else if (auto *w = qobject_cast<QWidget *>(control))
    w->setHidden(hidden);
  else if (auto *a = qobject_cast<QAction *>(control))
    a->setVisible(!hidden);
}

void UIManager::setPosition(QWidget *view, const QString &key) {
  QPointF p;
  if (view && getItemPoint(&p, key))
    CocoaFrame::setFrameOrigin(view, p);
}

void UIManager::setSize(QWidget *view, const QString &key) {
  QSizeF s;
  if (view && getItemSize(&s, key))
    CocoaFrame::setFrameSize(view, s);
}

void UIManager::setFont(QObject *control, const QString &key) {
  const QVariantMap font = itemInfoDictForKey(key).value(QStringLiteral("Font")).toMap();
  if (font.isEmpty())
    return;
  qreal size = 0;
  number(font, QStringLiteral("FontSize"), &size);
  const QString name = font.value(QStringLiteral("FontName")).toString();
  const int trait = font.value(QStringLiteral("FontTrait")).toInt();
  if (auto *w = qobject_cast<QWidget *>(control)) {
    const QFont current = w->font();
    w->setFont(createFont(name, size, trait, &current));
  } else if (auto *a = qobject_cast<QAction *>(control)) {
    const QFont current = a->font();
    a->setFont(createFont(name, size, trait, &current));
  }
}

QColor UIManager::textColorForKey(const QString &key) const {
  return NSColorExt::colorWithNSString(itemInfoDictForKey(key).value(QStringLiteral("TextColorString")).toString());
}

void UIManager::setTextColor(QObject *control, const QString &key) {
  const QColor c = textColorForKey(key);
  auto *w = qobject_cast<QWidget *>(control);
  if (!c.isValid() || !w)
    return;
  if (auto *b = qobject_cast<NSButtonExt *>(w)) {
    b->setTitleColor(c);
    return;
  }
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, c);
  pal.setColor(QPalette::Text, c);
  pal.setColor(QPalette::ButtonText, c);
  w->setPalette(pal);
}

void UIManager::setMatrixColor(QWidget *matrix, const QString &key) {
  auto *m = qobject_cast<ButtonMatrix *>(matrix);
  const QColor c = textColorForKey(key);
  if (!m || !c.isValid())
    return;
  for (QAbstractButton *cell : m->cells())
    if (auto *ext = qobject_cast<NSButtonExt *>(cell))
      ext->setTitleColor(c);
}

void UIManager::placementSubviews(QWidget *view, const QString &key) {
  for (const QString &s : stringList(itemInfoDictForKey(key).value(QStringLiteral("PlacementSubviewMethod")))) {
    const QStringList parts = s.split(QLatin1Char(','));
    NSViewPlacement::placementSubViewsSpacingPixel(view, parts.size() == 2 ? parts[1].trimmed().toInt() : 0, parts[0]);
  }
}

void UIManager::placementInSuperview(QWidget *view, const QString &key) {
  for (const QString &s : stringList(itemInfoDictForKey(key).value(QStringLiteral("PlacementInSuperviewMethod")))) {
    const QStringList parts = s.split(QLatin1Char(','));
    NSViewPlacement::placementInSuperViewSpacingPixel(view, parts.size() == 2 ? parts[1].trimmed().toInt() : 0,
                                                      parts[0]);
  }
}

bool UIManager::updateNSView(QWidget *view, const QString &key) {
  setPosition(view, key);
  setSize(view, key);
  placementSubviews(view, key);
  placementInSuperview(view, key);
  setHidden(view, key);
  return true;
}

bool UIManager::updateNSViewExt(QWidget *view, const QString &key) {
  const QImage image = itemImage(view, key);
  if (!image.isNull()) {
    CocoaFrame::setFrameSize(view, NSImageExt::logicalSize(image));
    if (auto *ext = qobject_cast<NSViewExt *>(view))
      ext->setImage(image);
  }
  return updateNSView(view, key);
}

bool UIManager::updateNSImageView(QWidget *view, const QString &key) {
  const QImage image = itemImage(view, key);
  if (!image.isNull()) {
    CocoaFrame::setFrameSize(view, NSImageExt::logicalSize(image));
    if (auto *iv = qobject_cast<ImageView *>(view))
      iv->setImage(image);
  }
  return updateNSView(view, key);
}

bool UIManager::updateNSWindow(QWidget *window, const QString &key) {
  const QImage image = itemImage(window, key);
  NSViewExt *content = window ? contentViewOf(window) : nullptr;
  if (!image.isNull() && content) {
    content->resize(NSImageExt::logicalSize(image).toSize());
    content->setImage(image);
  }
  return true;
}

bool UIManager::updateNSWindowExt(QWidget *window, const QString &key) {
  updateNSWindow(window, key);
  // Windows keep their top-left corner: that is where window managers here place them.
  if (NSViewExt *content = contentViewOf(window))
    window->resize(content->size());
  return true;
}

bool UIManager::updateNSButton(QWidget *button, const QString &key) {
  setFont(button, key);
  return updateNSView(button, key);
}

void UIManager::updateButtonTitleColor(QWidget *button, const QString &key) {
  auto *b = qobject_cast<NSButtonExt *>(button);
  const QColor c = textColorForKey(key);
  if (b && c.isValid())
    b->setTitleColor(c);
}

bool UIManager::updateNSButtonExt(QWidget *button, const QString &key) {
  updateButtonTitleColor(button, key);
  updateNSButtonExtImage(button, key);
  return updateNSButton(button, key);
}

void UIManager::setGroupFlickerBtn(QWidget *button, const QString &key) {
  auto *b = qobject_cast<NSFlickerButton *>(button);
  const QVariantMap item = itemInfoDictForKey(key);
  if (!b || !item.contains(QStringLiteral("GroupBtnID")))
    return;
  b->setGroupButton(item.value(QStringLiteral("GroupBtnID")).toString(), flag(item, QStringLiteral("GroupBtnDefault")));
}

void UIManager::updateNSFlickerButtonTitleColor(QWidget *button, const QString &key) {
  auto *b = qobject_cast<NSFlickerButton *>(button);
  const QVariantMap dict = itemInfoDictForKey(key).value(QStringLiteral("BtnTitleColorDict")).toMap();
  if (!b || dict.isEmpty())
    return;
  const QColor up = NSColorExt::colorWithNSString(dict.value(QStringLiteral("Up")).toString());
  if (up.isValid()) {
    b->setTitleColor(up);
    b->setUpTitleColor(up);
  }
  const QColor in = NSColorExt::colorWithNSString(dict.value(QStringLiteral("In")).toString());
  if (in.isValid())
    b->setInTitleColor(in);
  const QColor dn = NSColorExt::colorWithNSString(dict.value(QStringLiteral("Down")).toString());
  if (dn.isValid())
    b->setDnTitleColor(dn);
}

bool UIManager::updateNSFlickerButton(QWidget *button, const QString &key) {
  auto *b = qobject_cast<NSFlickerButton *>(button);
  if (!b)
    return false;
  const QVariantMap item = itemInfoDictForKey(key);
  b->setFlickerButtonStyle();
  setFont(b, key);
  updateButtonTitleColor(b, key);
  b->setImagePosition(item.contains(QStringLiteral("BtnImagePos")) ? item.value(QStringLiteral("BtnImagePos")).toInt()
                                                                   : NSImageOnly);
  updateNSFlickerButtonImage(b, key);
  setGroupFlickerBtn(b, key);
  updateNSFlickerButtonTitleColor(b, key);
  return updateNSView(b, key);
}

void UIManager::updateNSFlickerButtonImage(QWidget *button, const QString &key) {
  const QImage image = itemImage(button, key);
  if (image.isNull())
    return;
  QString order = itemInfoDictForKey(key).value(QStringLiteral("BtnImageOrder")).toString();
  if (order.isEmpty())
    order = QStringLiteral("Up,Down,Disable,In");
  update4ImageButton(button, order, image, key);
}

void UIManager::updateNSButtonExtImage(QWidget *button, const QString &key) {
  const QImage image = itemImage(button, key);
  if (image.isNull())
    return;
  update2ImageButton(button, QStringLiteral("Up,Down"), image, key);
}

namespace {
QList<QImage> cutStrips(const QImage &image, int n, bool vertical) {
  QList<QImage> strips;
  if (n <= 0)
    return strips;
  const QSizeF s = NSImageExt::logicalSize(image);
  for (int i = 0; i < n; ++i) {
    const QRectF r = vertical ? QRectF(0, i * s.height() / n, s.width(), s.height() / n)
                              : QRectF(i * s.width() / n, 0, s.width() / n, s.height());
    strips << NSImageExt::cutImageInRect(image, r);
  }
  return strips;
}
} // namespace

QList<QImage> UIManager::update4ImageButton(QWidget *button, const QString &imageName, const QImage &image,
                                            const QString &key) {
  const QStringList states = imageName.split(QLatin1Char(','));
  const bool vertical =
      itemInfoDictForKey(key).value(QStringLiteral("BtnStyle")).toString() == QLatin1String("Vertical");
  const QList<QImage> strips = cutStrips(image, int(states.size()), vertical);
  auto *b = qobject_cast<NSFlickerButton *>(button);
  if (b) {
    for (int i = 0; i < states.size() && i < strips.size(); ++i) {
      const QString &state = states[i];
      if (state == QLatin1String("Up")) {
        b->setImageUp(strips[i]);
        b->setImage(strips[i]);
      } else if (state == QLatin1String("Down")) {
        b->setImageDn(strips[i]);
      } else if (state == QLatin1String("Disable")) {
        b->setImageDisable(strips[i]);
      } else if (state == QLatin1String("In")) {
        b->setImageIn(strips[i]);
      }
    }
    if (!b->isEnabled() && !b->imageDisable().isNull())
      b->setImage(b->imageDisable());
    b->sizeToFit();
  }
  return strips;
}

QList<QImage> UIManager::update2ImageButton(QWidget *button, const QString &, const QImage &image, const QString &key) {
  // Two-state buttons always have the states "Up,Down", whatever the item says.
  const QString style = itemInfoDictForKey(key).value(QStringLiteral("BtnStyle")).toString();
  auto *b = qobject_cast<NSButtonExt *>(button);
  if (b) {
    b->setButtonType(NSMomentaryChangeButton);
    b->setBordered(false);
  }
  if (style != QLatin1String("Vertical") && style != QLatin1String("Horizontal"))
    return {};
  const QList<QImage> strips = cutStrips(image, 2, style == QLatin1String("Vertical"));
  if (b) {
    b->setImage(strips.value(0));
    b->setAlternateImage(strips.value(1));
    b->sizeToFit();
  }
  return strips;
}

bool UIManager::updateNSTextField(QWidget *field, const QString &key) {
  setTextColor(field, key);
  setFont(field, key);
  return updateNSView(field, key);
}

bool UIManager::updateNSTabViewItem(QWidget *item, const QString &key) {
  setHidden(item, key);
  return true;
}

bool UIManager::updateNSBox(QWidget *box, const QString &key) {
  setHidden(box, key);
  setSize(box, key);
  return true;
}

bool UIManager::updateNSMatrix(QWidget *matrix, const QString &key) {
  setFont(matrix, key);
  setMatrixColor(matrix, key);
  setHidden(matrix, key);
  setPosition(matrix, key);
  setSize(matrix, key);
  return true;
}
