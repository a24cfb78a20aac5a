// A skin's SkinInfo comes from a folder anyone may replace: whatever its items hold, applying them
// to every kind of skinned control must neither crash nor produce absurd geometry. The items are
// built from the input bytes directly (the property-list reader has a target of its own).
#include "ButtonMatrix.h"
#include "NSButtonExt.h"
#include "NSViewExt.h"
#include "NSWindowExt.h"
#include "UIManager.h"

#include <QApplication>
#include <QLabel>
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {
const char *const kItemKeys[] = {"Left",
                                 "Bottom",
                                 "Width",
                                 "Height",
                                 "ImageName",
                                 "ImageArray",
                                 "ImageDict",
                                 "LocationArray",
                                 "CutImage",
                                 "CutLeft",
                                 "CutTop",
                                 "CutWidth",
                                 "CutHeight",
                                 "CutInfoArray",
                                 "Rescale",
                                 "WidthFromController",
                                 "HeightFromController",
                                 "SizeFromController",
                                 "Hidden",
                                 "TextColorString",
                                 "Font",
                                 "PlacementSubviewMethod",
                                 "PlacementInSuperviewMethod",
                                 "SizeInfoArray",
                                 "LocationInSuperviewArray",
                                 "BtnImagePos",
                                 "BtnImageOrder",
                                 "BtnStyle",
                                 "BtnTitleColorDict",
                                 "GroupBtnID",
                                 "GroupBtnDefault",
                                 "FontName",
                                 "FontSize",
                                 "FontTrait",
                                 "ItemName",
                                 "LocationInSuperview",
                                 "Up",
                                 "Down",
                                 "In",
                                 "a"};
const char *const kWords[] = {"PlacementRefLeft,5",
                              "PlacementRefTop,-3",
                              "PlacementCenterY,7",
                              "PlacementCenterX",
                              "RebuilSubviewsByY",
                              "InSuperViewRight,2147483647",
                              "InSuperViewCenterY",
                              "PlacementToViewTop,-2147483648",
                              "Vertical",
                              "Horizontal",
                              "Up,Down,Disable,In",
                              "1 0 0 1",
                              "a",
                              "",
                              ",,,",
                              "PlacementCenterYRefTop"};

QVariant value(FuzzedDataProvider &in, int depth) {
  switch (in.ConsumeIntegralInRange(0, depth > 2 ? 4 : 6)) {
  case 0:
    return in.ConsumeIntegral<qint64>();
  case 1:
    return in.ConsumeFloatingPoint<double>();
  case 2:
    return in.ConsumeBool();
  case 3:
    return QString::fromLatin1(kWords[in.ConsumeIntegralInRange<size_t>(0, std::size(kWords) - 1)]);
  case 4:
    return QString::fromStdString(in.ConsumeRandomLengthString(24));
  case 5: {
    QVariantList list;
    for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n)
      list << value(in, depth + 1);
    return list;
  }
  default: {
    QVariantMap map;
    for (int n = in.ConsumeIntegralInRange(0, 6); n > 0; --n)
      map.insert(QString::fromLatin1(kItemKeys[in.ConsumeIntegralInRange<size_t>(0, std::size(kItemKeys) - 1)]),
                 value(in, depth + 1));
    return map;
  }
  }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzedDataProvider in(data, size);
  QVariantMap info;
  const QStringList keys{"k0", "k1", "k2", "allFont"};
  for (const QString &key : keys)
    if (in.ConsumeBool())
      info.insert(key, value(in, 0));
  UIManager m;
  m.setSkinInfo(info, QStringLiteral("/nonexistent-skin"));
  NSWindowExt window;
  auto *view = new NSViewExt(window.contentView());
  auto *flicker = new NSFlickerButton(view);
  auto *button = new NSButtonExt(QStringLiteral("OK"), view);
  auto *label = new QLabel(QStringLiteral("x"), view);
  auto *matrix = new ButtonMatrix(view);
  matrix->renewRows(2, 2);
  auto *image = new ImageView(view);
  const QList<QWidget *> controls{&window, view, flicker, button, label, matrix, image};
  for (const QString &key : keys) {
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
