#include "NSTableViewExt.h"
#include "NodeOutlineModel.h"
#include "RecordsFixture.h"
#include "StatisticsView.h"

#include <QImage>
#include <QTreeView>

namespace {

TEST(StatisticsNode, TreeRulesAndTheOutlineModel) {
  Node root;
  EXPECT_TRUE(root.children().empty());
  Node named(QStringLiteral("named"));
  EXPECT_TRUE(named.children().empty());

  // Equal names and values are kept; nulls add nothing.
  root.setNodeName(QStringLiteral("root"));
  const QString same = QString("ro") + "ot";
  root.setNodeName(same);
  EXPECT_EQ(root.name(), "root");
  EXPECT_EQ(root.addChild(nullptr), nullptr);
  EXPECT_EQ(root.addChildWithName(QString(), "v"), nullptr);
  EXPECT_EQ(root.addChildWithName("n", QString()), nullptr);
  EXPECT_EQ(root.addChildWithNameAndImage(QString(), "x.png"), nullptr);
  EXPECT_EQ(root.childCount(), 0);

  // Only the image variant links the child to its parent.
  Node *a = root.addChild(std::make_unique<Node>("a"));
  Node *b = root.addChildWithName("b", "2");
  Node *c = root.addChildWithNameAndImage("c", "missing.png");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(a->parent_Node(), nullptr);
  EXPECT_EQ(b->parent_Node(), nullptr);
  EXPECT_EQ(c->parent_Node(), &root);
  EXPECT_TRUE(c->image().isNull());
  named.addChild(std::make_unique<Node>("child of named"));
  EXPECT_EQ(named.childCount(), 1);
  a->addChildWithName("a1", "11");

  NodeOutlineModel model(&root, {"Attribute", "Value"});
  EXPECT_EQ(model.rowCount(), 3);
  EXPECT_TRUE(model.hasChildren());
  const QModelIndex ai = model.index(0, 0);
  EXPECT_TRUE(model.hasChildren(ai));
  EXPECT_FALSE(model.hasChildren(model.index(1, 0)));
  EXPECT_FALSE(model.index(0, 0, model.index(1, 0)).isValid()); // a leaf has no child at 0
  const QModelIndex a1 = model.index(0, 1, ai);
  EXPECT_EQ(a1.data().toString(), "11");                    // "Value" column
  EXPECT_EQ(model.index(0, 0, ai).data().toString(), "a1"); // "Attribute" column
  EXPECT_EQ(model.parent(a1), ai);                          // found without a parent link
  EXPECT_FALSE(model.flags(a1) & Qt::ItemIsEditable);

  // An outline never collapses.
  QTreeView view;
  view.setModel(&model);
  NodeOutlineModel::keepExpanded(&view);
  EXPECT_TRUE(view.isExpanded(ai));
  view.collapse(ai);
  EXPECT_TRUE(view.isExpanded(ai));
}

// The graph as a table of samples.
class StatisticsGraph : public RecordsFixture {};

TEST_F(StatisticsGraph, ScaleFollowsTheLargestSampleShown) {
  statisticsView graph;
  // Before the first sample the scale is 120.
  EXPECT_EQ(graph.rulerValue(), 120);
  EXPECT_EQ(graph.axisLabels().first(), "0.0");
  EXPECT_EQ(graph.axisLabels()[1], "10.0");
  EXPECT_EQ(graph.axisLabels().last(), "120.0");

  struct Step {
    float up, down;
    int points;
    float scale;
    float storedUp;
  };
  const Step steps[] = {
      {10, 60, 1, 60, 10},       // one sample: 60 holds it
      {61, 0, 2, 120, 61},       // 61 needs 120
      {10000, 5, 3, 7200, 7200}, // clamped to the last entry
      {0, 0, 4, 7200, 0},        // the earlier maximum still shown
  };
  for (const Step &s : steps) {
    graph.setSpeedPointSend(s.up, s.down);
    EXPECT_EQ(graph.pointCount(), s.points);
    EXPECT_EQ(graph.rulerValue(), s.scale);
    EXPECT_EQ(graph.upSpeedSample(0), s.storedUp);
  }
  EXPECT_EQ(graph.upSpeedSample(1), 7200);
  EXPECT_EQ(graph.upSpeedSample(3), 10);
  for (int i = 0; i < 60; ++i)
    graph.setSpeedPointSend(1, 1);
  EXPECT_EQ(graph.pointCount(), statisticsView::kMaxPoints);
  EXPECT_EQ(graph.rulerValue(), 1.2f); // the large samples have left the graph

  // Clearing keeps the scale until the next sample.
  graph.setSpeedPointSend(500, 0);
  graph.setUndisplay();
  EXPECT_EQ(graph.pointCount(), 0);
  EXPECT_EQ(graph.rulerValue(), 540);
  EXPECT_EQ(graph.axisLabels().last(), "540.0");
  graph.setSpeedPointSend(1, 1);
  EXPECT_EQ(graph.rulerValue(), 1.2f);
}

TEST_F(StatisticsGraph, ASlowLinkFillsTheGraphInsteadOfAFlatLine) {
  statisticsView graph;
  struct Case {
    float up, down, scale;
    const char *top, *step;
  };
  // Rates of a few KB/s get a scale close above them, with labels that read.
  const Case cases[] = {
      {0.5f, 1.0f, 1.2f, "1.2", "0.1"}, {2, 2.3f, 2.4f, "2.4", "0.2"}, {2, 5, 6, "6.0", "0.5"},
      {2, 8, 12, "12.0", "1.0"},        {3, 20, 24, "24.0", "2.0"},    {0, 47, 48, "48.0", "4.0"},
  };
  for (const Case &c : cases) {
    graph.setUndisplay();
    for (int i = 0; i < statisticsView::kMaxPoints; ++i)
      graph.setSpeedPointSend(c.up / 2, c.down / 2);
    graph.setSpeedPointSend(c.up, c.down);
    EXPECT_EQ(graph.rulerValue(), c.scale) << c.down;
    EXPECT_EQ(graph.axisLabels().last(), c.top);
    EXPECT_EQ(graph.axisLabels()[1], c.step);
    // The largest sample takes more than half the height.
    EXPECT_GT(std::max(c.up, c.down) / graph.rulerValue(), 0.5f);
  }
}

TEST_F(StatisticsGraph, GraphsFollowingTheSharedSamplesDrawTheSame) {
  statisticsView internet, statistics, alone;
  internet.followSharedSamples();
  statistics.followSharedSamples();
  internet.followSharedSamples(); // a second call adds nothing
  for (float v : {2.f, 8.f, 5.f})
    SpeedSamples::shared()->add(v / 4, v);
  for (const statisticsView *g : {&internet, &statistics}) {
    EXPECT_EQ(g->pointCount(), 3);
    EXPECT_EQ(g->downSpeedSample(0), 5);
    EXPECT_EQ(g->downSpeedSample(2), 2);
    EXPECT_EQ(g->rulerValue(), 12);
  }
  EXPECT_EQ(alone.pointCount(), 0);
  SpeedSamples::shared()->clear();
  EXPECT_EQ(internet.pointCount(), 0);
  EXPECT_EQ(statistics.pointCount(), 0);
}

TEST_F(StatisticsGraph, TheMegabyteSwitchRescalesEarlierSamples) {
  config->getConfiguration().insert("Statistics", QVariantMap{{"Statistics_SpeedUnitChange_IfSpeedGreat", true}});
  statisticsView graph;
  graph.setSpeedPointSend(512, 100);
  EXPECT_FALSE(graph.speedUnitFlag());
  EXPECT_EQ(graph.legendLabels().first(), "Upload Speed(KB/s)");
  graph.setSpeedPointSend(10000, 2048); // 7200 KB/s -> 7.03 MB/s
  EXPECT_TRUE(graph.speedUnitFlag());
  EXPECT_EQ(graph.legendLabels().first(), "Upload Speed(MB/s)");
  EXPECT_NEAR(graph.upSpeedSample(0), 7200.0f / 1024, 1e-4);
  EXPECT_NEAR(graph.downSpeedSample(0), 2.0f, 1e-6);
  EXPECT_NEAR(graph.upSpeedSample(1), 0.5f, 1e-6); // 512 KB/s in MB/s now
  EXPECT_EQ(graph.rulerValue(), 12);               // 7.03 MB/s
  graph.setSpeedPointSend(100, 0);                 // back to KB/s: every sample follows
  EXPECT_FALSE(graph.speedUnitFlag());
  EXPECT_NEAR(graph.upSpeedSample(1), 7200.0f, 1e-2);
  EXPECT_NEAR(graph.upSpeedSample(2), 512.0f, 1e-3);
}

TEST_F(StatisticsGraph, RendersItsFrameLinesAndLabels) {
  config->getConfiguration().insert("StatisticsViewColor",
                                    QVariantMap{{"Background", "0 0 0.5 1"}, {"UpSpeedLine", "1 0 0 1"}});
  statisticsView graph;
  EXPECT_EQ(graph.backgroundColor(), QColor::fromRgbF(0, 0, 0.5, 1));
  EXPECT_EQ(graph.downSpeedColor(), QColor(Qt::green));
  EXPECT_EQ(graph.textSize(), 11);
  graph.resize(400, 200);
  for (float v : {10.f, 40.f, 20.f, 55.f, 30.f})
    graph.setSpeedPointSend(v, v / 2);
  QImage image(graph.size(), QImage::Format_ARGB32);
  graph.render(&image);
  EXPECT_EQ(image.size(), QSize(400, 200));
  int background = 0, upLine = 0, other = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor p = image.pixelColor(x, y);
      if (p.red() == 0 && p.green() == 0 && qAbs(p.blue() - graph.backgroundColor().blue()) <= 1)
        ++background;
      else if (p.red() > 200 && p.green() < 60 && p.blue() < 60)
        ++upLine;
      else
        ++other;
    }
  EXPECT_GT(background, 400 * 200 / 2);
  EXPECT_GT(upLine, 20); // the upload line and its legend square
  EXPECT_GT(other, 200); // frame, grid, labels, download line
}

// The outlines fed by the connection's statistics.
class StatisticsOutline : public RecordsFixture {};

TEST_F(StatisticsOutline, AddsTheRunningConnectionToTheRecordSums) {
  writeRecords({record("today", "2024-03-15T08:00:00Z", 10, "1000", "24"),
                record("month", "2024-03-01T08:00:00Z", 10, "1048576", "0"),
                record("year", "2024-01-05T08:00:00Z", 10, "0", "100")});
  start(QDate(2024, 3, 15));
  NotificationCenter::defaultCenter().postNotificationName(
      "ConnectStatistics", nullptr, {{"UploadDataUnitWithKB", "0.99"}, {"DowloadDataUnitWithKB", "23.99"}});
  EXPECT_EQ(statistics->rowName(3), "Upload Data:");
  EXPECT_EQ(statistics->rowValue(3), "24.99 KB");   // day upload
  EXPECT_EQ(statistics->rowValue(4), "1023.99 KB"); // day download
  EXPECT_EQ(statistics->rowValue(7), "1.00 GB");    // month download: 1048576 + 1023.99 KB
  EXPECT_EQ(statistics->rowValue(9), "124.99 KB");  // year upload
  EXPECT_FLOAT_EQ(statistics->getMonthTotalData(), 1048576 + 1000 + 23.99f + 24 + 0.99f);
  EXPECT_NE(statistics->rowValue(1), "00:00:00"); // the last reset time, set at start

  // A missing key counts as "0.0".
  statistics->reloadStatisticSendData({});
  EXPECT_EQ(statistics->sendData(), "0.0");
  EXPECT_EQ(statistics->rowValue(3), "24.00 KB");
  EXPECT_EQ(statistics->rowValue(4), "1000.00 KB");

  // Bits when "dataType" is "Kb".
  config->getConfiguration().insert("Internet", QVariantMap{{"dataType", "Kb"}});
  EXPECT_EQ(statisticSource::autoSwitchStatisticData(128), "1.00 Mb");
  config->getConfiguration().remove("Internet");
  EXPECT_EQ(statisticSource::autoSwitchStatisticData(1023.99), "1023.99 KB");
  EXPECT_EQ(statisticSource::autoSwitchStatisticData(1024), "1.00 MB");
  EXPECT_EQ(statisticSource::autoSwitchStatisticData(1048576), "1.00 GB");
  EXPECT_TRUE(statisticSource::autoSwitchStatisticData(-1).isNull());
}

class TransferOutline : public RecordsFixture {};

TEST_F(TransferOutline, ShowsTheConnectionsFiguresAndClearsMissingOnes) {
  start();
  EXPECT_EQ(transfer->rowName(0), "Transfer");
  EXPECT_EQ(transfer->rowValue(1), "00:00:00");
  EXPECT_EQ(transfer->rowName(3), "Speed:");
  EXPECT_EQ(transfer->rowName(6), "Speed:");
  EXPECT_EQ(transfer->rowValue(3), "0.00KB/s");
  NotificationCenter::defaultCenter().postNotificationName("ConnectStatistics", nullptr,
                                                           {{"ConnectTime", "01:02:03"},
                                                            {"UploadSpeed", "1.00 KB/s"},
                                                            {"UploadData", "2.00 MB"},
                                                            {"DowloadSpeed", "3.00 KB/s"}});
  EXPECT_EQ(transfer->rowValue(1), "01:02:03");
  EXPECT_EQ(transfer->rowValue(3), "1.00 KB/s");
  EXPECT_EQ(transfer->rowValue(4), "2.00 MB");
  EXPECT_EQ(transfer->rowValue(6), "3.00 KB/s");
  EXPECT_TRUE(transfer->rowValue(7).isEmpty()); // missing: cleared

  config->getConfiguration().insert("DiffSpeedWording", true);
  transfer->init_transfer_view();
  EXPECT_EQ(transfer->rowName(3), "Upload Speed:");
  EXPECT_EQ(transfer->rowName(6), "Download Speed:");

  struct Case {
    float kb;
    QString text;
  };
  for (const Case &c : {Case{1024, "1024.00(KB)"}, Case{1025, "1.00(MB)"}, Case{1048577, "1.00(GB)"}}) {
    transfer->reloadTransferSendData(c.kb, 0, 2048, 0, 3661);
    EXPECT_EQ(transfer->rowValue(4), c.text);
  }
  EXPECT_EQ(transfer->rowValue(1), "01:01:01");
  EXPECT_EQ(transfer->rowValue(3), "2.00(MB/s)");
  config->getConfiguration().insert("Record", QVariantMap{{"ConnectDataUnit", "Kb"}, {"ConnectRateUnit", "Kbps"}});
  transfer->reloadTransferSendData(1024, 0, 1, 0, 0);
  EXPECT_EQ(transfer->rowValue(4), "8192.00(Kb)");
  EXPECT_EQ(transfer->rowValue(3), "8.00(Kb/s)");
}

} // namespace
