// The controller's controls built from the "UIConfig" configuration module: buttons, labels,
// tab items, matrices, boxes, image views, menus, the drawer and window sizes by tab.
#include "ButtonMatrix.h"
#include "DispatchTargets.h"
#include "DrawerPanel.h"
#include "FrameworkLinks.h"
#include "NSButtonExt.h"
#include "NSViewExt.h"
#include "QELUIController.h"
#include "StatusBarView.h"
#include "ViewPlacement.h"

#include <QAction>
#include <QDebug>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMetaMethod>
#include <QScreen>

namespace {

const QString kItemName = QStringLiteral("itemName");
const QString kItemIdentifier = QStringLiteral("itemIdentifier");
const QString kItemAction = QStringLiteral("itemAction");
const QString kItemToolTip = QStringLiteral("itemToolTip");
const QString kItemBtnTitle = QStringLiteral("itemBtnTitle");
const QString kPopupMenu = QStringLiteral("popupMenu");
const QString kMenuItemTitle = QStringLiteral("menuItemTitle");
const QString kMenuItemName = QStringLiteral("menuItemName");
const QString kMenuItemAction = QStringLiteral("menuItemAction");

// The configured entries of an item array; entries that are not dictionaries are skipped.
QList<QVariantMap> entriesOf(const QVariant &array) {
  QList<QVariantMap> out;
  if (array.typeId() != QMetaType::QVariantList)
    return out;
  for (const QVariant &v : array.toList())
    if (v.typeId() == QMetaType::QVariantMap)
      out.append(v.toMap());
  return out;
}

// A non-empty string value of `key`, or a null string.
QString stringOf(const QVariantMap &entry, const QString &key) {
  const QVariant v = entry.value(key);
  if (v.typeId() != QMetaType::QString)
    return {};
  const QString s = v.toString();
  return s.isEmpty() ? QString() : s;
}

int intOf(const QVariantMap &entry, const QString &key, int fallback = 0) {
  bool ok = false;
  const int v = entry.value(key).toInt(&ok);
  return ok ? v : fallback;
}

Qt::Alignment alignmentOf(int style) {
  switch (style) {
  case 1:
    return Qt::AlignRight | Qt::AlignVCenter;
  case 2:
    return Qt::AlignHCenter | Qt::AlignVCenter;
  case 3:
    return Qt::AlignJustify | Qt::AlignVCenter;
  default:
    return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

void setControlTitle(QObject *control, const QString &title) {
  if (auto *b = qobject_cast<NSButtonExt *>(control))
    b->setTitle(title);
  else if (auto *ab = qobject_cast<QAbstractButton *>(control))
    ab->setText(title);
  else if (auto *label = qobject_cast<QLabel *>(control))
    label->setText(title);
  else if (auto *edit = qobject_cast<QLineEdit *>(control))
    edit->setText(title);
  else if (auto *action = qobject_cast<QAction *>(control))
    action->setText(title);
}

void setControlToolTip(QObject *control, const QString &tip) {
  if (auto *w = qobject_cast<QWidget *>(control))
    w->setToolTip(tip);
  else if (auto *action = qobject_cast<QAction *>(control))
    action->setToolTip(tip);
}

void sizeControlToFit(QObject *control) {
  if (auto *b = qobject_cast<NSButtonExt *>(control))
    b->sizeToFit();
  else if (auto *w = qobject_cast<QWidget *>(control); w && !w->isWindow())
    w->adjustSize();
}

// One control per configured entry of `key`, built into `view` by `make`, which answers whether
// it built one; true when any was.
template <typename Make>
bool buildEach(const QELUIController *controller, QWidget *view, const QString &key, Make make) {
  if (!view)
    return false;
  bool made = false;
  for (const QVariantMap &entry : entriesOf(controller->uiConfigDict().value(key)))
    if (make(entry))
      made = true;
  return made;
}

// A built control goes on screen and into the skin under its configured name.
void showRegistered(QELUIManager *skin, QWidget *control, const QString &name) {
  control->show();
  FrameworkLinks::registerController(skin, control, name, true);
}

} // namespace

bool QELUIController::performItemAction(const QByteArray &action, QObject *sender) {
  if (action.isEmpty())
    return false;
  QByteArray name = action;
  if (const int colon = name.indexOf(':'); colon >= 0)
    name.truncate(colon);
  const QMetaObject *mo = metaObject();
  int idx = mo->indexOfMethod(name + "(QObject*)");
  if (idx >= 0)
    return mo->method(idx).invoke(this, Qt::DirectConnection, Q_ARG(QObject *, sender));
  idx = mo->indexOfMethod(name + "()");
  if (idx < 0) {
    DispatchTargets::reportMissing(this, action, QStringLiteral("item action"));
    return false;
  }
  return mo->method(idx).invoke(this, Qt::DirectConnection);
}

bool QELUIController::registerController(QWidget *control, const QString &key, QWidget *superview) {
  if (!control || key.isEmpty())
    return false;
  // In its superview first, so that placements relative to the superview can be applied.
  QWidget *formerParent = control->parentWidget();
  if (superview && formerParent != superview)
    control->setParent(superview);
  if (!FrameworkLinks::registerController(qelSkinManager, control, key, true)) {
    if (superview && formerParent != superview)
      control->setParent(formerParent);
    return false;
  }
  if (superview)
    control->show();
  return true;
}

QWidget *QELUIController::createNSViewExtByKey(const QString &key, QWidget *superView) {
  auto *view = new NSViewExt;
  if (!registerController(view, key, superView)) {
    delete view;
    return nullptr;
  }
  return view;
}

QWidget *QELUIController::createNSImageViewByKey(const QString &key, QWidget *superView) {
  auto *view = new ImageView;
  view->setGeometry(0, 0, 1, 1);
  if (!registerController(view, key, superView)) {
    delete view;
    return nullptr;
  }
  return view;
}

bool QELUIController::initializeBtnsOfView(QWidget *view, const QString &key) {
  return buildEach(this, view, key, [&](const QVariantMap &entry) {
    const QString identifier = stringOf(entry, kItemIdentifier);
    const QString name = stringOf(entry, kItemName);
    const QString action = stringOf(entry, kItemAction);
    if (identifier.isNull() || name.isNull() || action.isNull())
      return false;
    auto *button = new NSFlickerButton(view);
    button->setGeometry(0, 0, 0, 0);
    button->setObjectName(name);
    button->setTarget(this);
    // The button resolves a plain method name; configurations write selectors ("tbiHelp:").
    button->setAction(action.section(QLatin1Char(':'), 0, 0).toLatin1());
    // Said at start-up, not first at a click that does nothing.
    if (!DispatchTargets::answersItemAction(this, action.toLatin1()))
      DispatchTargets::reportMissing(this, action.toLatin1(), QStringLiteral("item action of \"%1\"").arg(key));
    button->setItemIdentifier(identifier);
    if (const QString tip = stringOf(entry, kItemToolTip); !tip.isNull())
      button->setToolTip(tip);
    if (const QString title = stringOf(entry, kItemBtnTitle); !title.isNull()) {
      button->setItemLabel(title);
      button->setTitle(FrameworkLinks::wording(title));
    }
    if (const QString url = stringOf(entry, QStringLiteral("urlLabel")); !url.isNull())
      button->setUrlLabel(url);
    if (QMenu *menu = createPopUpMenuFromConfig(entry.value(kPopupMenu).toList(), button))
      button->setMenu(menu);
    showRegistered(qelSkinManager, button, name);
    return true;
  });
}

bool QELUIController::initializeLabelsOfView(QWidget *view, const QString &key) {
  return buildEach(this, view, key, [&](const QVariantMap &entry) {
    const QString name = stringOf(entry, kItemName);
    if (name.isNull())
      return false;
    auto *field = new QLineEdit(view);
    field->setObjectName(name);
    field->resize(qBound(0, intOf(entry, QStringLiteral("width")), 10000),
                  qBound(0, intOf(entry, QStringLiteral("height")), 10000));
    field->setFrame(entry.value(QStringLiteral("isBordered")).toBool());
    field->setReadOnly(!entry.value(QStringLiteral("isEditable")).toBool());
    field->setAutoFillBackground(entry.value(QStringLiteral("isDrawsBackground")).toBool());
    if (!field->autoFillBackground())
      field->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    field->setAlignment(alignmentOf(intOf(entry, QStringLiteral("textAlignmentStyle"))));
    if (const QString value = stringOf(entry, QStringLiteral("itemStringValue")); !value.isNull())
      field->setText(value);
    if (const QString tip = stringOf(entry, kItemToolTip); !tip.isNull())
      field->setToolTip(tip);
    showRegistered(qelSkinManager, field, name);
    return true;
  });
}

bool QELUIController::initializeTabViewItemOfView(QTabWidget *view, const QString &key) {
  return buildEach(this, view, key, [&](const QVariantMap &entry) {
    const QString name = stringOf(entry, kItemName);
    const QString identifier = stringOf(entry, kItemIdentifier);
    if (name.isNull() || identifier.isNull())
      return false;
    auto *item = new TabViewItem(identifier);
    item->setObjectName(name);
    // The skinned view of the item is its content; without a skin item the page stays empty.
    createNSViewExtByKey(name, item);
    const QString title = stringOf(entry, kItemBtnTitle);
    view->addTab(item, title.isNull() ? QString() : FrameworkLinks::wording(title));
    FrameworkLinks::registerController(qelSkinManager, item, name, true);
    return true;
  });
}

bool QELUIController::initializeNSMatrixOfView(QWidget *view, const QString &key) {
  return buildEach(this, view, key, [&](const QVariantMap &entry) {
    const QString name = stringOf(entry, QStringLiteral("Name"));
    if (name.isNull())
      return false;
    auto *matrix = new ButtonMatrix(view);
    matrix->setObjectName(name);
    matrix->setMode(ButtonMatrix::RadioMode);
    showRegistered(qelSkinManager, matrix, name);
    return true;
  });
}

bool QELUIController::initializeNSBoxOfView(QWidget *view, const QString &key) {
  return buildEach(this, view, key, [&](const QVariantMap &entry) {
    const QString name = stringOf(entry, QStringLiteral("Name"));
    const QString title = stringOf(entry, QStringLiteral("Title"));
    if (name.isNull() || title.isNull())
      return false;
    auto *box = new QGroupBox(title, view);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignLeft);
    showRegistered(qelSkinManager, box, name);
    return true;
  });
}

bool QELUIController::initializeImageViewOfView(QWidget *view, const QString &key) {
  return buildEach(this, view, key, [&](const QVariantMap &entry) {
    // The entry's item name is the skin key of its image view.
    const QString name = stringOf(entry, kItemName);
    if (name.isNull())
      return false;
    if (QWidget *image = createNSImageViewByKey(name, view)) {
      image->setObjectName(name);
      return true;
    }
    return false;
  });
}

void QELUIController::createMenuItem(const QVariantMap &item, QMenu *menu) {
  if (!menu)
    return;
  if (item.value(QStringLiteral("separatorItem")).toBool()) {
    menu->addSeparator();
    return;
  }
  QAction *action = menu->addAction(item.value(kMenuItemTitle).toString());
  if (const QString name = stringOf(item, kMenuItemName); !name.isNull())
    action->setObjectName(name);
  const QByteArray selector = item.value(kMenuItemAction).toString().toLatin1();
  if (!selector.isEmpty() && !DispatchTargets::answersItemAction(this, selector))
    DispatchTargets::reportMissing(this, selector, QStringLiteral("menu item action"));
  if (!selector.isEmpty())
    connect(action, &QAction::triggered, this, [this, selector, action] { performItemAction(selector, action); });
  if (const QString keys = stringOf(item, QStringLiteral("keyEquiv")); !keys.isNull())
    action->setShortcut(QKeySequence(QStringLiteral("Ctrl+") + keys.toUpper()));
  if (const QString imageName = stringOf(item, QStringLiteral("menuItemImageName")); !imageName.isNull()) {
    const QImage image = StatusImages::imageNamed(imageName);
    if (!image.isNull())
      action->setIcon(QIcon(QPixmap::fromImage(image)));
  }
  if (item.contains(QStringLiteral("menuItemTag")))
    action->setData(item.value(QStringLiteral("menuItemTag")).toInt());
  FrameworkLinks::registerController(qelSkinManager, action, stringOf(item, kMenuItemName), false);
  if (QMenu *submenu = createPopUpMenuFromConfig(item.value(kPopupMenu).toList(), menu))
    action->setMenu(submenu);
}

QMenu *QELUIController::createPopUpMenuFromConfig(const QVariantList &items, QWidget *parent) {
  if (items.isEmpty())
    return nullptr;
  auto *menu = new QMenu(QStringLiteral("popupMenu"), parent);
  for (const QVariant &v : items)
    if (v.typeId() == QMetaType::QVariantMap)
      createMenuItem(v.toMap(), menu);
  return menu;
}

void QELUIController::updateLanguagesOfDynamicItem(const QString &key) {
  for (const QVariantMap &entry : entriesOf(uiConfigDict().value(key))) {
    QObject *control = FrameworkLinks::controllerByKey(qelSkinManager, stringOf(entry, kItemName));
    if (!control)
      continue;
    if (const QString tip = stringOf(entry, kItemToolTip); !tip.isNull())
      setControlToolTip(control, FrameworkLinks::wording(tip));
    if (const QString title = stringOf(entry, kItemBtnTitle); !title.isNull())
      setControlTitle(control, FrameworkLinks::wording(title));
    updateMenuLanguage(entry.value(kPopupMenu).toList());
    sizeControlToFit(control);
  }
}

void QELUIController::updateMenuLanguage(const QVariantList &items) {
  for (const QVariantMap &item : entriesOf(items)) {
    if (QObject *control = FrameworkLinks::controllerByKey(qelSkinManager, stringOf(item, kMenuItemName)))
      setControlTitle(control, FrameworkLinks::wording(item.value(kMenuItemTitle).toString()));
    updateMenuLanguage(item.value(kPopupMenu).toList());
  }
}

void QELUIController::updateDynamicControllersByKey(const QString &key) {
  for (const QVariantMap &entry : entriesOf(uiConfigDict().value(key)))
    if (QObject *control = FrameworkLinks::controllerByKey(qelSkinManager, stringOf(entry, kItemName)))
      FrameworkLinks::updateItem(qelSkinManager, control);
}

void QELUIController::setDynamicControllersEnabledByKey(const QString &key, bool enabled) {
  for (const QVariantMap &entry : entriesOf(uiConfigDict().value(key))) {
    QObject *control = FrameworkLinks::controllerByKey(qelSkinManager, stringOf(entry, kItemName));
    if (auto *w = qobject_cast<QWidget *>(control))
      w->setEnabled(enabled);
    else if (auto *a = qobject_cast<QAction *>(control))
      a->setEnabled(enabled);
  }
}

void QELUIController::updateDynamicItemsByModule(const QString &imageName) {
  FrameworkLinks::setImageForKey(qelSkinManager, QStringLiteral("wndMain"), imageName, true);
  FrameworkLinks::setImageForKey(qelSkinManager, QStringLiteral("wndMainTitlebar"), imageName, true);
  updateDynamicControllersByKey(QStringLiteral("TitlebarItems"));
  FrameworkLinks::setImageForKey(qelSkinManager, QStringLiteral("rightbar"), imageName, true);
  updateDynamicControllersByKey(QStringLiteral("RightbarItems"));
  FrameworkLinks::setImageForKey(qelSkinManager, QStringLiteral("wndMainStatusView"), imageName, true);
}

void QELUIController::initializeDrawer() {
  const QVariant info = uiConfigDict().value(QStringLiteral("DrawerInfoDict"));
  if (info.typeId() != QMetaType::QVariantMap)
    return;
  const QVariantMap d = info.toMap();
  auto size = [&d](const char *w, const char *h) {
    return QSize(qBound(0, intOf(d, QString::fromLatin1(w)), 10000),
                 qBound(0, intOf(d, QString::fromLatin1(h)), 10000));
  };
  auto *drawer = new DrawerPanel(size("OriginWidth", "OriginHeight"), DrawerPanel::RightEdge, wndMain);
  auto *content = new NSViewExt;
  drawer->setContentView(content);
  FrameworkLinks::registerController(qelSkinManager, content, QStringLiteral("drawContentView"), true);
  drawer->setMinContentSize(size("MinWidth", "MinHeight"));
  if (d.contains(QStringLiteral("MaxWidth")) || d.contains(QStringLiteral("MaxHeight")))
    drawer->setMaxContentSize(size("MaxWidth", "MaxHeight"));
  drawer->setLeadingOffset(intOf(d, QStringLiteral("LeadingOffset")));
  drawer->setTrailingOffset(intOf(d, QStringLiteral("TrailingOffset")));
  drawerMain = drawer;
  initializeBtnsOfView(content, QStringLiteral("DrawerItems"));
}

void QELUIController::updateDrawerOffsetByWindow(const QString &itemName) {
  if (!drawerMain)
    return;
  const QVariantMap d = uiConfigDict().value(QStringLiteral("DrawerInfoDict")).toMap();
  for (const QVariantMap &entry : entriesOf(d.value(QStringLiteral("OffsetInfoArray")))) {
    if (entry.value(QStringLiteral("ItemName")).toString() != itemName)
      continue;
    drawerMain->setLeadingOffset(intOf(entry, QStringLiteral("LeadingOffset")));
    drawerMain->setTrailingOffset(intOf(entry, QStringLiteral("TrailingOffset")));
    return;
  }
}

void QELUIController::changeMainTabViewItemSize(const QString &key) {
  if (key.isEmpty() || !qelSkinManager)
    return;
  const QVariant info = uiConfigDict().value(QStringLiteral("changeWndInfo")).toMap().value(key);
  if (info.typeId() != QMetaType::QVariantMap)
    return;
  const QVariantMap d = info.toMap();
  auto number = [&d](const char *name) { return qBound(0.0, d.value(QString::fromLatin1(name)).toDouble(), 100000.0); };
  // The window is sized first: the two views are placed from its bottom edge, so their places
  // must be measured against its new height.
  if (wndMain) {
    const QSize newSize(int(number("wndWidth")), int(number("wndHeight")));
    // The bottom edge stays; a window that would rise past the top of the screen's free area is
    // moved down instead.
    const QRect g = wndMain->geometry();
    int top = g.bottom() + 1 - newSize.height();
    const QScreen *screen = wndMain->screen() ? wndMain->screen() : QGuiApplication::primaryScreen();
    if (screen && top < screen->availableGeometry().top())
      top = screen->availableGeometry().top();
    wndMain->setGeometry(QRect(QPoint(g.x(), top), newSize));
  }
  if (auto *middle = qobject_cast<QWidget *>(
          FrameworkLinks::controllerByKey(qelSkinManager, QStringLiteral("viewMiddleChangeable"))))
    CocoaFrame::setFrameSize(middle, QSizeF(middle->width(), number("viewMiddleChangeableHeight")));
  if (auto *top =
          qobject_cast<QWidget *>(FrameworkLinks::controllerByKey(qelSkinManager, QStringLiteral("viewTopFixed"))))
    CocoaFrame::setFrameOrigin(top, QPointF(number("viewTopFixedLeft"), number("viewTopFixedBottom")));
}

bool QELUIController::hasModuleWith(const QString &identifier) const {
  const QVariantMap ui = uiConfigDict();
  const QVariant items = (!qelSkinManager || ui.value(QStringLiteral("NoToolbar")).toBool())
                             ? settingDict_->value(QStringLiteral("toolBarItems"))
                             : ui.value(QStringLiteral("ToolbarItems"));
  for (const QVariantMap &entry : entriesOf(items))
    if (entry.value(kItemIdentifier).toString() == identifier)
      return true;
  return false;
}
