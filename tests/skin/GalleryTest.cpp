#include "ImageGallery.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// Builds a sample main window and the alert panel from the default skin with each kind of
// skinned control, and writes them as gallery.png and gallery@2x.png into the build folder.
TEST(GalleryTest, DefaultSkinRendersEveryKindOfControl) {
  const QString skin = QStringLiteral(QEL_SOURCE_DIR "/resources/defaultSkin");
  const QString buildDir = QDir(QStringLiteral(QEL_BUNDLE_BUILD_DIR "/..")).absolutePath();
  for (const qreal ratio : {1.0, 2.0}) {
    const GalleryResult r = renderGallery(skin, ratio);
    ASSERT_FALSE(r.image.isNull());
    EXPECT_EQ(r.image.size(), (QSizeF(kGallerySize) * ratio).toSize());
    EXPECT_TRUE(r.missingKeys.isEmpty()) << qPrintable(r.missingKeys.join(", "));
    // The default member of the toolbar group shows its pressed (accent) tile; the hovered neighbour
    // only a faint one.
    const QColor pressed = r.image.pixelColor((r.pressedTab * ratio).toPoint());
    const QColor idle = r.image.pixelColor((r.idleTab * ratio).toPoint());
    EXPECT_GT(pressed.blue(), 200) << "pressed tab " << pressed.name().toStdString();
    EXPECT_LT(idle.blue(), 120) << "idle tab " << idle.name().toStdString();
    const QString file = buildDir + (ratio > 1 ? "/gallery@2x.png" : "/gallery.png");
    ASSERT_TRUE(r.image.save(file)) << qPrintable(file);
    EXPECT_GT(QFileInfo(file).size(), 10000);
  }
}

} // namespace
