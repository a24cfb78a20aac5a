#include "SimToolkit.h"

#include "SimulatedModem.h"
#include "StkRecords.h"

#include <QtEndian>

using namespace StkRecords;

SimToolkit::SimToolkit(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("SimToolkit"));
}

SimToolkit *SimToolkit::install(SimulatedModem &modem) {
  auto *self = new SimToolkit(modem);
  modem.onSimReady([self] {
    self->simReady_ = true;
    self->path_.clear();
    self->pendingInput_.clear();
    self->title_.clear();
    if (!self->toolkit().isEmpty())
      self->sendMainMenu();
  });
  for (int minor = kSelectMain; minor <= kInputCancel; ++minor)
    modem.on(kMajor, minor, [self](const UIMsg &msg) { self->onRequest(msg); });
  return self;
}

SimToolkit *SimToolkit::of(SimulatedModem &modem) {
  return modem.findChild<SimToolkit *>(QStringLiteral("SimToolkit"), Qt::FindDirectChildrenOnly);
}

QVariantMap SimToolkit::toolkit() const {
  return modem_.scenario().value(QStringLiteral("STK")).toMap();
}

QVariantList SimToolkit::currentItems() const {
  return (path_.isEmpty() ? toolkit() : path_.last()).value(QStringLiteral("Items")).toList();
}

namespace {
Menu menuOf(const QString &title, const QVariantList &items) {
  Menu m{title, {}};
  for (const QVariant &item : items)
    m.items << item.toMap().value(QStringLiteral("Text")).toString();
  return m;
}
} // namespace

void SimToolkit::sendMainMenu() {
  path_.clear();
  const QString title = title_.isEmpty() ? toolkit().value(QStringLiteral("Title")).toString() : title_;
  modem_.send(kMajor, kMainMenu, 0, 0, encodeMenu(menuOf(title, toolkit().value(QStringLiteral("Items")).toList())),
              kModule);
}

void SimToolkit::sendCurrentMenu() {
  if (path_.isEmpty()) {
    sendMainMenu();
    return;
  }
  const QVariantMap menu = path_.last();
  modem_.send(kMajor, kSubMenu, 0, 0,
              encodeMenu(menuOf(menu.value(QStringLiteral("Title"), menu.value(QStringLiteral("Text"))).toString(),
                                menu.value(QStringLiteral("Items")).toList())),
              kModule);
}

void SimToolkit::act(const QVariantMap &entry) {
  if (entry.contains(QStringLiteral("Items"))) {
    path_.append(entry);
    sendCurrentMenu();
  } else if (entry.contains(QStringLiteral("Alert"))) {
    const bool noButton = entry.value(QStringLiteral("NoButton")).toBool();
    modem_.send(kMajor, noButton ? kAlertNoButton : kAlert, 0, 0,
                encodeText(entry.value(QStringLiteral("Alert")).toString()), kModule);
  } else if (entry.contains(QStringLiteral("Input"))) {
    pendingInput_ = entry.value(QStringLiteral("Input")).toMap();
    modem_.send(kMajor, kInput, 0, 0,
                encodeInput({pendingInput_.value(QStringLiteral("Prompt")).toString(),
                             pendingInput_.value(QStringLiteral("Min")).toInt(),
                             pendingInput_.value(QStringLiteral("Max")).toInt()}),
                kModule);
  } else if (entry.contains(QStringLiteral("Information"))) {
    modem_.send(kMajor, kInformation, 0, 0, encodeText(entry.value(QStringLiteral("Information")).toString()), kModule);
  }
}

void SimToolkit::onRequest(const UIMsg &msg) {
  if (!simReady_)
    return;
  const QByteArray data = msg.payload();
  switch (msg.minorId) {
  case kSelectMain:
    path_.clear();
    [[fallthrough]];
  case kSelectSub: {
    if (data.size() < 4)
      return;
    const quint32 index = qFromLittleEndian<quint32>(data.constData());
    const QVariantList items = currentItems();
    if (index < quint32(items.size()))
      act(items.at(int(index)).toMap());
    return;
  }
  case kBack:
    if (!path_.isEmpty())
      path_.removeLast();
    sendCurrentMenu();
    return;
  case kExit:
    sendMainMenu();
    return;
  case kAlertOK:
  case kAlertCancel:
  case kInputCancel:
    pendingInput_.clear();
    sendCurrentMenu();
    return;
  case kInputAnswer: {
    lastInput_ = decodeText(data);
    const QString reply = pendingInput_.value(QStringLiteral("Reply")).toString();
    pendingInput_.clear();
    if (reply.isEmpty())
      sendCurrentMenu();
    else
      modem_.send(kMajor, kInformation, 0, 0, encodeText(QString(reply).replace(QStringLiteral("%@"), lastInput_)),
                  kModule);
    return;
  }
  default:
    return;
  }
}

bool SimToolkit::push(const QString &kind, const QString &text, int minimum, int maximum) {
  if (!simReady_)
    return false;
  if (kind == QStringLiteral("menu")) {
    title_ = text;
    sendMainMenu();
  } else if (kind == QStringLiteral("alert") || kind == QStringLiteral("alertNoButton")) {
    act({{QStringLiteral("Alert"), text}, {QStringLiteral("NoButton"), kind == QStringLiteral("alertNoButton")}});
  } else if (kind == QStringLiteral("input")) {
    act({{QStringLiteral("Input"), QVariantMap{{QStringLiteral("Prompt"), text},
                                               {QStringLiteral("Min"), minimum},
                                               {QStringLiteral("Max"), maximum}}}});
  } else if (kind == QStringLiteral("information")) {
    act({{QStringLiteral("Information"), text}});
  } else {
    return false;
  }
  return true;
}
