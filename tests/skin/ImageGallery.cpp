#include "ImageGallery.h"

#include "ButtonMatrix.h"
#include "NSButtonExt.h"
#include "NSTableViewExt.h"
#include "NSViewExt.h"
#include "NSWindowExt.h"
#include "SmsRecipients.h"
#include "SmsSendWindows.h"
#include "UIManager.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <QToolButton>

namespace {

struct Builder {
  UIManager &m;
  QStringList missing;
  template <typename T> T *add(QWidget *parent, const QString &key, T *w) {
    w->setParent(parent);
    if (!m.registerController(w, key, true))
      missing << key;
    w->show();
    return w;
  }
  QLabel *label(QWidget *parent, const QString &key, const QString &text, Qt::Alignment align = Qt::AlignLeft) {
    auto *l = add(parent, key, new QLabel(text));
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
  }
  NSFlickerButton *flicker(QWidget *parent, const QString &key, const QString &title = {}) {
    auto *b = new NSFlickerButton;
    b->setText(title);
    return add(parent, key, b);
  }
  NSButtonExt *button(QWidget *parent, const QString &key, const QString &title) {
    return add(parent, key, new NSButtonExt(title));
  }
};

void styleList(QAbstractItemView *view) {
  view->setStyleSheet(QStringLiteral("QAbstractItemView { border: 1px solid #D8DFE9; border-radius: 6px;"
                                     " background: white; alternate-background-color: #F6F8FB;"
                                     " selection-background-color: #E5EFFE; selection-color: #1F2937; }"
                                     "QHeaderView::section { background: #F1F4F8; color: #5B6778; border: none;"
                                     " border-bottom: 1px solid #D8DFE9; padding: 4px 8px; font-weight: bold; }"));
}

void drawShadow(QPainter &p, const QRectF &r, qreal radius) {
  p.setPen(Qt::NoPen);
  for (int i = 14; i > 0; --i) {
    p.setBrush(QColor(15, 23, 42, 5));
    p.drawRoundedRect(r.adjusted(-i, -i + 8, i, i + 8), radius + i, radius + i);
  }
}

} // namespace

GalleryResult renderGallery(const QString &skinPath, qreal ratio) {
  GalleryResult result;
  UIManager m;
  m.setDevicePixelRatio(ratio);
  if (!m.loadUIResource(skinPath))
    return result;
  Builder b{m, {}};

  // Main window: title bar, toolbar, provider logo, content card, status bar.
  NSWindowExt wnd;
  if (!m.registerController(&wnd, "wndMain", true))
    b.missing << "wndMain";
  QWidget *content = wnd.contentView();
  auto *titlebar = new NSViewExt(content);
  b.flicker(titlebar, "btnTitlebarMinimize");
  b.flicker(titlebar, "btnTitlebarClose");
  b.add(content, "wndMainTitlebar", titlebar);
  b.label(content, "labelMainTitle", "Connection Manager", Qt::AlignHCenter);

  auto *toolbar = new NSViewExt(content);
  const QList<std::pair<QString, QString>> tools = {{"btnInternet", "Internet"},  {"btnSMS", "Messages"},
                                                    {"btnPhonebook", "Contacts"}, {"btnStatistics", "Usage"},
                                                    {"btnSetting", "Settings"},   {"btnMainMyAccount", "Account"},
                                                    {"btnHelp", "Help"}};
  QList<NSFlickerButton *> toolButtons;
  for (const auto &[key, title] : tools)
    toolButtons << b.flicker(toolbar, key, title);
  b.add(content, "wndMainToolbar", toolbar);
  toolButtons[5]->setEnabled(false);
  // The pointer rests on "Messages": its hover look.
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QCoreApplication::sendEvent(toolButtons[1], &enter);
  b.add(content, "viewextProviderLogo", new NSViewExt);

  b.add(content, "wndMainTabviewBack", new NSViewExt);
  b.label(content, "lableTabviewTitle", "Internet");
  auto *page = b.add(content, "wndMainTabview", new QWidget);

  // Inside the card: a profile row, a record table, a folder outline and buttons.
  auto *profile = new QLabel("Profile", page);
  profile->setGeometry(16, 14, 80, 28);
  auto *apn = new QLineEdit("internet.operator", page);
  apn->setGeometry(96, 14, 260, 28);
  apn->setStyleSheet("QLineEdit { border: 1px solid #C9D2DE; border-radius: 6px; padding: 0 8px; background: white;"
                     " color: #1F2937; }");
  auto *connect = b.button(page, "btnMainInputPinOK", "Connect");
  auto *cancel = b.button(page, "btnMainCancelInputPin", "Details");
  connect->move(632, 13);
  cancel->move(520, 13);

  QStandardItemModel records(0, 4);
  records.setHorizontalHeaderLabels({"Date", "Duration", "Sent", "Received"});
  const QList<QStringList> rows = {{"Today 09:12", "01:24:05", "12.4 MB", "318.0 MB"},
                                   {"Yesterday 18:40", "00:47:51", "3.1 MB", "96.7 MB"},
                                   {"Mon 08:02", "02:10:33", "22.9 MB", "1.2 GB"},
                                   {"Sun 21:15", "00:12:09", "0.8 MB", "14.2 MB"},
                                   {"Sat 10:31", "03:05:44", "41.0 MB", "2.4 GB"}};
  for (const QStringList &r : rows) {
    QList<QStandardItem *> items;
    for (const QString &s : r)
      items << new QStandardItem(s);
    records.appendRow(items);
  }
  auto *table = new NSTableViewExt(page);
  table->setModel(&records);
  styleList(table);
  table->setUseSystemDraw(false);
  table->setForeGroundColor(QColor("#2F7CF6"), 3);
  QFont mono = table->font();
  mono.setBold(true);
  table->setFont(mono, 1);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setStretchLastSection(true);
  table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  table->setColumnWidth(0, 150);
  table->setGeometry(16, 58, 520, 286);
  table->selectRow(1);

  QStandardItemModel folders;
  auto *pc = new QStandardItem("On this computer");
  for (const char *f : {"Inbox (3)", "Sent", "Drafts"})
    pc->appendRow(new QStandardItem(f));
  auto *sim = new QStandardItem("On the SIM card");
  for (const char *f : {"Inbox", "Sent"})
    sim->appendRow(new QStandardItem(f));
  folders.appendRow(pc);
  folders.appendRow(sim);
  auto *outline = new NSOutlineViewExt(page);
  outline->setModel(&folders);
  outline->setHeaderHidden(true);
  outline->expandAll();
  styleList(outline);
  outline->setGeometry(552, 58, 184, 286);
  outline->setCurrentIndex(folders.index(0, 0, folders.index(0, 0)));

  // Status bar: signal, status text, broadcast line and the drawer button.
  auto *status = b.add(content, "wndMainStatusView", new QWidget);
  auto *signal = new ImageView(status);
  signal->setImage(m.imageNamed("rssi5.png"));
  signal->setGeometry(0, 2, 24, 18);
  auto *statusText = new QLabel("Connected  ·  4G  ·  Operator", status);
  statusText->setGeometry(32, 0, 320, 22);
  statusText->setStyleSheet("color: #1F2937;");
  b.label(content, "labelBroadCast", "Last sync 09:12 — 2 new messages", Qt::AlignRight);
  b.flicker(content, "btnDrawer");

  // The alert panel.
  NSPanelExt alert;
  if (!m.registerController(&alert, "wndQELAlertPanel", true))
    b.missing << "wndQELAlertPanel";
  auto *title = b.label(alert.contentView(), "labelQELAlertPanelTitle", "Disconnect now?");
  auto *msg = b.label(alert.contentView(), "labelQELAlertPanelMsg",
                      "The connection is in use. Closing the program ends the data session.");
  msg->setWordWrap(true);
  msg->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  Q_UNUSED(title);
  b.button(alert.contentView(), "btnAlertOK", "Disconnect");
  b.button(alert.contentView(), "btnAlertCancel", "Cancel");

  // A drawer panel with a radio matrix and an icon matrix.
  NSPanelExt drawer;
  auto *drawerView = new NSViewExt(drawer.contentView());
  if (!m.registerController(drawerView, "drawContentView", true))
    b.missing << "drawContentView";
  drawer.resize(drawerView->size());
  auto *modeTitle = new QLabel("Network mode", drawerView);
  modeTitle->setGeometry(18, 16, 170, 22);
  modeTitle->setStyleSheet("color: #1F2937; font-weight: bold;");
  auto *modes = new ButtonMatrix(drawerView);
  modes->renewRows(3, 1);
  modes->setCellSize({164, 26});
  modes->setIntercellSpacing({0, 2});
  modes->sizeToCells();
  modes->move(18, 44);
  const char *modeNames[] = {"Automatic", "4G only", "3G only"};
  for (int i = 0; i < 3; ++i) {
    modes->cellAtRow(i, 0)->setText(modeNames[i]);
    modes->cellAtRow(i, 0)->setStyleSheet("color: #1F2937;");
  }
  modes->cellAtRow(0, 0)->setChecked(true);
  auto *levelsTitle = new QLabel("Signal levels", drawerView);
  levelsTitle->setGeometry(18, 148, 170, 22);
  levelsTitle->setStyleSheet("color: #1F2937; font-weight: bold;");
  auto *icons = new IconMatrix(drawerView);
  icons->renewRows(2, 3);
  icons->setCellSize({50, 40});
  icons->setIntercellSpacing({6, 6});
  icons->sizeToCells();
  icons->move(18, 176);
  QPalette pal = icons->palette();
  pal.setColor(QPalette::Highlight, QColor("#E5EFFE"));
  icons->setPalette(pal);
  QVariantList entries;
  for (int i = 0; i < 6; ++i)
    entries << QVariantMap{{"Index", i}, {"Image", m.skinPath() + QString("/rssi%1.png").arg(i + 1)}};
  icons->setList(entries);
  icons->refresh();
  icons->setCurcellIndex(4);

  // The message editor with a counted text, and the sending window.
  SmsEditorWindow editor;
  editor.resize(560, 300);
  editor.sendMessageTo->setText(QStringLiteral("+15554440001;+15551110002;"));
  editor.receiverName->setText(QStringLiteral("Alice,Bob,"));
  const QString text = QStringLiteral("The train is late: see you at 9:40 at the north entrance. "
                                      "Bring the tickets and the umbrella!");
  editor.sendMessageText->setPlainText(text);
  const SmsTextCount count = SmsTextCount::of(text, SmsCodecSettings());
  editor.textCount->setText(QStringLiteral("Characters/messages: %1/%2").arg(count.characters).arg(count.parts));
  editor.searchMenuButton->setText(QStringLiteral("Phonebook"));
  editor.SaveToDraftBtn->setText(QStringLiteral("Save to Drafts"));
  editor.MessageWinCancelBtn->setText(QStringLiteral("Cancel"));
  editor.SendMessageBtn->setText(QStringLiteral("Send"));
  SmsSendingWindow sending;
  sending.newSMSInfoText->setText(QStringLiteral("Send SMS to: Alice(2/3), Sending..."));
  sending.cancelSendBtn->setText(QStringLiteral("Cancel"));
  sending.cancelSendBtn->setEnabled(false);

  wnd.show();
  alert.show();
  drawer.show();
  editor.show();
  sending.show();

  // Compose: a calm backdrop, both windows with a soft shadow.
  QImage canvas((QSizeF(kGallerySize) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
  canvas.setDevicePixelRatio(ratio);
  QPainter p(&canvas);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient bg(0, 0, 0, kGallerySize.height());
  bg.setColorAt(0, QColor("#D5DDE8"));
  bg.setColorAt(1, QColor("#B9C5D6"));
  p.fillRect(QRect(QPoint(0, 0), kGallerySize), bg);
  const QPoint wndAt(40, 50), alertAt(880, 50), drawerAt(880, 280), editorAt(40, 740), sendingAt(640, 740);
  drawShadow(p, QRectF(wndAt, wnd.size()), 12);
  drawShadow(p, QRectF(alertAt, alert.size()), 12);
  drawShadow(p, QRectF(drawerAt, drawer.size()), 12);
  wnd.render(&p, wndAt, QRegion(), QWidget::DrawChildren);
  alert.render(&p, alertAt, QRegion(), QWidget::DrawChildren);
  drawer.render(&p, drawerAt, QRegion(), QWidget::DrawChildren);
  drawShadow(p, QRectF(editorAt, editor.size()), 12);
  drawShadow(p, QRectF(sendingAt, sending.size()), 12);
  editor.render(&p, editorAt);
  sending.render(&p, sendingAt);
  p.end();

  result.image = canvas;
  result.missingKeys = b.missing;
  auto tileCentre = [&](QWidget *w) { return QPointF(wndAt + w->mapTo(&wnd, QPoint(w->width() / 2, 22))); };
  result.pressedTab = tileCentre(toolButtons[0]) + QPointF(0, -16);
  result.idleTab = tileCentre(toolButtons[1]) + QPointF(0, -16);
  return result;
}
