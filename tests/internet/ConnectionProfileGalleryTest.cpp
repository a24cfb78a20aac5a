// Draws the profile windows with the English wording: the management sheet with its browse view
// open beside the edit sheet, written as gallery-profiles.png (and @2x) into the build folder.
#include "ButtonMatrix.h"
#include "LanguageOperation.h"
#include "ProfileFixture.h"
#include "ProfileWindows.h"
#include "WordGlobe.h"

#include <QDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QTableWidget>

class ConnectionProfileGallery : public ProfileFixture {
protected:
  QVariantList initialProfiles() const override {
    return {profile("Internet", "internet"),
            profile("Office", "office.example",
                    {{"accountName", "me"}, {"password", "secret"}, {"saveUsernameFlag", 1}, {"apnFlag", 1}})};
  }
};

TEST_F(ConnectionProfileGallery, ManagementAndEditSheets) {
  ASSERT_TRUE(Word_Globe_Init(QStringLiteral(QEL_SOURCE_DIR "/resources/English.lproj/LanguageTokenList.txt")));
  // With IPv6 support, so the PDP type groups and the IPv6 settings show as well.
  set(QStringLiteral("Internet"), QStringLiteral("SupportIPv6"), true);
  set(QStringLiteral("Internet"), QStringLiteral("DualPDPSettings"), true);
  QMainWindow window;
  ProfileWindows::build(dial.get(), &window);
  dial->awakeFromNib();
  dial->m_configListView->selectRow(1);
  dial->toggleBrowserView();
  dial->setEditWinValue(dial->dialConfigArray.at(1).toMap());
  QDialog *sheet = dial->m_dialConfigWindow;
  QDialog *edit = dial->m_profileEditWin;
  sheet->adjustSize();
  edit->adjustSize();
  sheet->resize(std::max(sheet->width(), 460), sheet->height());
  edit->resize(std::max(edit->width(), 460), edit->height());
  EXPECT_EQ(dial->m_bPassword->echoMode(), QLineEdit::Password);
  EXPECT_EQ(dial->m_bProviderForConfig->text(), QStringLiteral("Office"));

  const QString buildDir = QFileInfo(QStringLiteral(QEL_BUNDLE_BUILD_DIR "/..")).absoluteFilePath();
  for (const qreal ratio : {1.0, 2.0}) {
    const QSize size(sheet->width() + edit->width() + 30, std::max(sheet->height(), edit->height()) + 20);
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(0xdd, 0xe3, 0xea));
    QPainter p(&image);
    sheet->render(&p, QPoint(10, 10), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    edit->render(&p, QPoint(20 + sheet->width(), 10), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    p.end();
    const QString file = buildDir + (ratio > 1 ? "/gallery-profiles@2x.png" : "/gallery-profiles.png");
    ASSERT_TRUE(image.save(file)) << qPrintable(file);
    EXPECT_GT(QFileInfo(file).size(), 5000);
  }
  WordGlobe::reset();
}
