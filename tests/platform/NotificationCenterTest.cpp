#include "NotificationCenter.h"

#include <QObject>
#include <gtest/gtest.h>
#include <memory>

namespace {

class Receiver : public QObject {
  Q_OBJECT
public:
  QStringList seen;
  Q_INVOKABLE void devicePlugin(const Notification &n) { seen << n.name; }
  Q_INVOKABLE void appReady() { seen << QStringLiteral("appReady"); }
};

TEST(NotificationCenter, DeliversInRegistrationOrderAndFiltersByNameAndObject) {
  NotificationCenter center;
  QObject owner, sender, other;
  QStringList order;
  center.addObserver(&owner, "A", nullptr, [&](const Notification &) { order << "first"; });
  center.addObserver(&owner, "A", &sender, [&](const Notification &) { order << "second"; });
  center.addObserver(&owner, "B", nullptr, [&](const Notification &) { order << "wrong-name"; });
  center.postNotificationName("A", &sender);
  center.postNotificationName("A", &other);
  EXPECT_EQ(order, (QStringList{"first", "second", "first"}));
}

TEST(NotificationCenter, ResolvesMethodsByNameAndSkipsMissingOnes) {
  NotificationCenter center;
  Receiver r;
  EXPECT_TRUE(center.addObserver(&r, QByteArray("devicePlugin:"), "DevicePlugin"));
  EXPECT_TRUE(center.addObserver(&r, QByteArray("appReady"), "AppReady"));
  EXPECT_FALSE(center.addObserver(&r, QByteArray("noSuchMethod:"), "X"));
  center.postNotificationName("DevicePlugin");
  center.postNotificationName("AppReady");
  center.postNotificationName("X");
  EXPECT_EQ(r.seen, (QStringList{"DevicePlugin", "appReady"}));
}

TEST(NotificationCenter, DropsDestroyedObservers) {
  NotificationCenter center;
  int calls = 0;
  auto owner = std::make_unique<QObject>();
  center.addObserver(owner.get(), "A", nullptr, [&](const Notification &) { ++calls; });
  owner.reset();
  center.postNotificationName("A");
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(center.observerCount("A"), 0);
}

TEST(NotificationCenter, ObserverRemovedDuringAPostIsNotCalledAfterwards) {
  NotificationCenter center;
  QObject first, second;
  int secondCalls = 0;
  center.addObserver(&first, "A", nullptr, [&](const Notification &) { center.removeObserver(&second); });
  center.addObserver(&second, "A", nullptr, [&](const Notification &) { ++secondCalls; });
  center.postNotificationName("A");
  EXPECT_EQ(secondCalls, 0);
}

} // namespace

#include "NotificationCenterTest.moc"
