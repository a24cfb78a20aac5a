// A skin's SkinInfo comes from a folder anyone may replace: whatever its items hold, applying them
// to every kind of skinned control must neither crash nor produce absurd geometry.
#include "ButtonMatrix.h"
#include "NSButtonExt.h"
#include "NSViewExt.h"
#include "NSWindowExt.h"
#include "Plist.h"
#include "UIManager.h"

#include <QApplication>
#include <QLabel>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  QVariant v;
  if (!Plist::fromData(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), &v) ||
      v.typeId() != QMetaType::QVariantMap)
    return 0;
  UIManager m;
  m.setSkinInfo(v.toMap(), QStringLiteral("/nonexistent-skin"));
  NSWindowExt window;
  auto *view = new NSViewExt(window.contentView());
  auto *flicker = new NSFlickerButton(view);
  auto *button = new NSButtonExt(QStringLiteral("OK"), view);
  auto *label = new QLabel(QStringLiteral("x"), view);
  auto *matrix = new ButtonMatrix(view);
  matrix->renewRows(2, 2);
  auto *image = new ImageView(view);
  const QList<QWidget *> controls{&window, view, flicker, button, label, matrix, image};
  int keys = 0;
  for (const QString &key : v.toMap().keys()) {
    if (++keys > 16)
      break;
    for (QWidget *c : controls) {
      m.removeController(c);
      m.registerController(c, key, true);
      m.setNewSizeForKey(key, QStringLiteral("a"), true);
      m.setNewLocationInSuperviewForKey(key, QStringLiteral("a"), true);
      m.setImageForKey(key, QStringLiteral("a"), true);
      m.setImageForKey(key, 0, true);
    }
  }
  for (QWidget *c : controls)
    if (c->width() > 16384 || c->height() > 16384)
      abort();
  return 0;
}
