// Draws the filled diagnostics window with the English wording, each of its four pages side by
// side, and the signal-detail window, as gallery-diagnostics.png (and @2x) in the build folder.
#include "DiagnosticsWindow.h"
#include "MainWindowFixture.h"
#include "WordGlobe.h"

#include <QFileInfo>
#include <QPainter>
#include <QStackedWidget>

namespace {

class DiagnosticsGallery : public ModemWindowFixture {};

TEST_F(DiagnosticsGallery, FilledPagesAndTheSignalDetail) {
  ASSERT_TRUE(Word_Globe_Init(QStringLiteral(QEL_SOURCE_DIR "/resources/English.lproj/LanguageTokenList.txt")));
  buildOffline();
  InitController *init = parts.initController;
  init->setRuntimeObject(QStringLiteral("350000000000001"), kRTIMEI);
  init->showDiagnosticInfo();
  DiagnosticsWindow *w = init->diagWindow();
  init->initDiagWindow();
  // Values a ready modem shows, so the rows are seen filled.
  const QList<QPair<const char *, const char *>> sample = {{"Firmware version:", "11.001.01.00.00"},
                                                           {"Hardware version:", "CH1SIMA"},
                                                           {"Phone number:", "+49 30 1234567"},
                                                           {"IMSI number:", "001010123456789"},
                                                           {"Device name:", "QEL-E100"},
                                                           {"Messages in (U)SIM:", "3/50"},
                                                           {"Contacts in (U)SIM:", "2/250"},
                                                           {"Network name:", "Sim Operator"},
                                                           {"Signal strength:", "-75 dBm"},
                                                           {"CS network registration:", "Registered"},
                                                           {"APN:", "internet"},
                                                           {"Serving cell:", "195"},
                                                           {"RSSI:", "-75 dBm"},
                                                           {"Technology:", "UMTS"}};
  for (const auto &[row, text] : sample)
    w->valueField(QLatin1String(row))->setText(QLatin1String(text));
  init->openRssiLacCiWindow(nullptr);
  QDialog *detail = init->rssiLacCiWindow();
  detail->adjustSize();
  w->resize(std::max(w->sizeHint().width(), 460), w->sizeHint().height());

  QList<QPixmap> pages;
  for (int i = 0; i < 4; ++i) {
    w->selectSegment(i);
    EXPECT_EQ(w->diagTableItemView_->currentWidget()->objectName(), DiagnosticsWindow::pageIdentifiers().at(i));
    pages << w->grab();
  }
  const QString buildDir = QFileInfo(QStringLiteral(QEL_BUNDLE_BUILD_DIR "/..")).absoluteFilePath();
  for (const qreal ratio : {1.0, 2.0}) {
    int width = 10, height = 0;
    for (const QPixmap &p : pages) {
      width += p.width() + 10;
      height = std::max(height, p.height());
    }
    width += detail->width() + 10;
    QImage image(QSize(width, height + 20) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(0xdd, 0xe3, 0xea));
    QPainter p(&image);
    int x = 10;
    for (const QPixmap &page : pages) {
      p.drawPixmap(x, 10, page);
      x += page.width() + 10;
    }
    detail->render(&p, QPoint(x, 10), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    p.end();
    const QString file = buildDir + (ratio > 1 ? "/gallery-diagnostics@2x.png" : "/gallery-diagnostics.png");
    ASSERT_TRUE(image.save(file)) << qPrintable(file);
    EXPECT_GT(QFileInfo(file).size(), 5000);
  }
  WordGlobe::reset();
}

} // namespace
