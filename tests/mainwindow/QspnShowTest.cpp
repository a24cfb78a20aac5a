// Each display strategy alone: provider name, network name, display condition and whether the
// serving network is home or friendly in; the two names out.
#include "QspnShow.h"

#include <QString>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) {
  *os << '"' << s.toStdString() << '"';
}
#include <memory>

namespace {

std::unique_ptr<QspnShowBase> make(const std::string &name) {
  if (name == "QspnShowBy3gpp")
    return std::make_unique<QspnShowBy3gpp>();
  if (name == "QshowHomeSpnBy3gppAndyLocalSpnNotBy3gpp")
    return std::make_unique<QshowHomeSpnBy3gppAndyLocalSpnNotBy3gpp>();
  if (name == "QspnShowBy3gppAndLocalSpnReplacedByHomeSpn")
    return std::make_unique<QspnShowBy3gppAndLocalSpnReplacedByHomeSpn>();
  if (name == "QnoShowAny")
    return std::make_unique<QnoShowAny>();
  if (name == "QonlyShowHomeSpn")
    return std::make_unique<QonlyShowHomeSpn>();
  if (name == "QonlyShowHomeSpnAndHigherPriorityThanLocalSpn")
    return std::make_unique<QonlyShowHomeSpnAndHigherPriorityThanLocalSpn>();
  if (name == "QonlyShowLocalSpn")
    return std::make_unique<QonlyShowLocalSpn>();
  if (name == "QonlyShowFixedLocalSpn")
    return std::make_unique<QonlyShowFixedLocalSpn>();
  if (name == "QonlyShowLocalSpnAndlowerPriorityThanHomeSpn")
    return std::make_unique<QonlyShowLocalSpnAndlowerPriorityThanHomeSpn>();
  if (name == "QonlyShowLocalSpnAndHighPriorityThanHomeSpn")
    return std::make_unique<QonlyShowLocalSpnAndHighPriorityThanHomeSpn>();
  return std::make_unique<QspnShowBase>();
}

TEST(QspnShowTest, EachStrategyShowsItsNames) {
  const QString nil;
  struct Case {
    std::string strategy;
    QString home, local;
    int cond;
    bool homeOrFriendly;
    QString shownHome, shownLocal;
  };
  const Case cases[] = {
      {"QspnShowBase", nil, nil, 0, true, "", ""},
      {"QspnShowBase", "Home", "Net", 0, true, "Home", "Net"},
      // The SIM's display condition on the home network...
      {"QspnShowBy3gpp", "Home", "Net", 0, true, "Home", ""},
      {"QspnShowBy3gpp", "Home", "Net", 1, true, "Home", "Net"},
      {"QspnShowBy3gpp", "Home", "Net", 2, true, "Home", ""},
      {"QspnShowBy3gpp", "Home", "Net", 3, true, "Home", "Net"},
      // ... and elsewhere.
      {"QspnShowBy3gpp", "Home", "Net", 0, false, "Home", "Net"},
      {"QspnShowBy3gpp", "Home", "Net", 1, false, "Home", "Net"},
      {"QspnShowBy3gpp", "Home", "Net", 2, false, "", "Net"},
      {"QspnShowBy3gpp", "Home", "Net", 3, false, "", "Net"},
      {"QspnShowBy3gpp", nil, nil, 1, false, "", ""},
      {"QshowHomeSpnBy3gppAndyLocalSpnNotBy3gpp", "Home", "Net", 0, true, "Home", "Net"},
      {"QshowHomeSpnBy3gppAndyLocalSpnNotBy3gpp", "Home", "Net", 2, false, "", "Net"},
      {"QspnShowBy3gppAndLocalSpnReplacedByHomeSpn", "Home", "Net", 0, true, "Home", "Home"},
      {"QspnShowBy3gppAndLocalSpnReplacedByHomeSpn", nil, "Net", 0, true, "", ""},
      {"QnoShowAny", "Home", "Net", 1, true, "", ""},
      {"QonlyShowHomeSpn", "Home", "Net", 2, false, "Home", ""},
      {"QonlyShowHomeSpnAndHigherPriorityThanLocalSpn", "Home", "Net", 2, false, "Home", ""},
      {"QonlyShowHomeSpnAndHigherPriorityThanLocalSpn", nil, "Net", 0, true, "", ""},
      {"QonlyShowLocalSpn", "Home", "Net", 0, true, "", "Net"},
      {"QonlyShowFixedLocalSpn", "Home", "Net", 0, true, "", "fixed local SPN"},
      {"QonlyShowLocalSpnAndlowerPriorityThanHomeSpn", "Home", "Net", 0, true, "", "Home"},
      {"QonlyShowLocalSpnAndlowerPriorityThanHomeSpn", "", "Net", 0, true, "", "Net"},
      {"QonlyShowLocalSpnAndlowerPriorityThanHomeSpn", nil, nil, 0, true, "", ""},
      {"QonlyShowLocalSpnAndHighPriorityThanHomeSpn", "Home", "Net", 0, true, "", "Net"},
      {"QonlyShowLocalSpnAndHighPriorityThanHomeSpn", "Home", "", 0, true, "", "Home"},
      {"QonlyShowLocalSpnAndHighPriorityThanHomeSpn", nil, nil, 0, true, "", ""},
  };
  for (const Case &c : cases) {
    auto s = make(c.strategy);
    ASSERT_EQ(s->className(), c.strategy);
    s->setHomeSpn(c.home);
    s->setLocalSpn(c.local);
    s->setThe1and2FiledFromSPN(c.cond);
    s->setHomeOrFriendlyProbe([&] { return c.homeOrFriendly; });
    const std::string where = c.strategy + " cond " + std::to_string(c.cond) + (c.homeOrFriendly ? " home" : " away");
    EXPECT_EQ(s->getHomeSpn(), c.shownHome) << where;
    EXPECT_EQ(s->getLocalSpn(), c.shownLocal) << where;
    // The labels treat a null name as "leave as it is"; a strategy always answers a text.
    EXPECT_FALSE(s->getHomeSpn().isNull()) << where;
    EXPECT_FALSE(s->getLocalSpn().isNull()) << where;
  }
}

TEST(QspnShowTest, HomeOrFriendlyIsAskedAtDisplayTime) {
  QspnShowBy3gpp s(QStringLiteral("Home"), QStringLiteral("Net"), 0);
  bool home = true;
  s.setHomeOrFriendlyProbe([&] { return home; });
  EXPECT_EQ(s.getLocalSpn(), "");
  home = false;
  EXPECT_EQ(s.getLocalSpn(), "Net");
}

} // namespace
