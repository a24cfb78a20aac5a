// Draws the record-settings window (with the usage-limit variant) beside the "Volume Limit" page
// with the English wording, written as gallery-limits.png (and @2x) into the build folder.
#include "LanguageOperation.h"
#include "RecordClock.h"
#include "RecordLimitWindows.h"
#include "RecordsFixture.h"
#include "WordGlobe.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QPainter>

using UsageLimitsGallery = RecordsFixture;

TEST_F(UsageLimitsGallery, DrawsBothLimitWindows) {
  ASSERT_TRUE(Word_Globe_Init(QStringLiteral(QEL_SOURCE_DIR "/resources/English.lproj/LanguageTokenList.txt")));
  config->getConfiguration().insert("Record", QVariantMap{{"IfSetRecordResetEveryDays", true},
                                                          {"recordResetPeriod", 29},
                                                          {"recordResetStartTime", "2024-03-01 00:00:00"},
                                                          {"recordLimitState", true},
                                                          {"recordDataLimit", 500},
                                                          {"recordLimitWarn", "1"},
                                                          {"Record_IfSetRecordUsageLimit", true},
                                                          {"Record_LimitState_IfChooseDataLimit", false},
                                                          {"Record_TimeLimitHHValue", 10},
                                                          {"Record_TimeLimitMMValue", 30},
                                                          {"RecordResetFlag", true},
                                                          {"RecurrenceRadioTag", 2},
                                                          {"DayOfMonth", 14},
                                                          {"LimitSetType", 0},
                                                          {"LimitSetValue", 2048},
                                                          {"DataLimitSet", true},
                                                          {"WarningForLimit80", true},
                                                          {"WarningForLimit100", true}});
  start();
  records->showSetLimit();
  records->loadRecordSetting();
  QWidget *window = records->recordSettingWindow();
  QWidget *page = records->volumeLimitPage();
  window->adjustSize();
  page->adjustSize();
  EXPECT_EQ(records->volumeLimitPage()->checkBox80LimitWarn_->text(), "Warn before the limit is reached");

  const QString buildDir = QFileInfo(QStringLiteral(QEL_BUNDLE_BUILD_DIR "/..")).absoluteFilePath();
  for (const qreal ratio : {1.0, 2.0}) {
    const QSize size(window->width() + page->width() + 30, std::max(window->height(), page->height()) + 20);
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(0xdd, 0xe3, 0xea));
    QPainter p(&image);
    window->render(&p, QPoint(10, 10), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    page->render(&p, QPoint(20 + window->width(), 10), QRegion(),
                 QWidget::DrawWindowBackground | QWidget::DrawChildren);
    p.end();
    const QString file = buildDir + (ratio > 1 ? "/gallery-limits@2x.png" : "/gallery-limits.png");
    ASSERT_TRUE(image.save(file)) << qPrintable(file);
    EXPECT_GT(QFileInfo(file).size(), 5000);
  }
  WordGlobe::reset();
}
