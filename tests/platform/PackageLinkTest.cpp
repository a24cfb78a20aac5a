#include "PackageLink.h"
#include "BusNames.h"
#include "TestSupport.h"

#include <QDBusMessage>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <cstdio>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

// Other processes of the same user calling qMsg as fast as they can, each on its own connection
// and so under its own unique name, must not delay the backend's packages: refusing them may not
// cost a round trip to the bus each.
TEST(PackageLink, AFloodFromSeveralStrangersDoesNotDelayThePeer) {
  const QString ui = testsupport::uniqueBusName("ui"), be = testsupport::uniqueBusName("be");
  PackageLink link(ui, be);
  if (!link.open())
    GTEST_SKIP() << "no session bus";
  QDBusConnection backendBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("flood-be"));
  PackageLink backend(be, ui, backendBus);
  ASSERT_TRUE(backend.open());
  ASSERT_TRUE(testsupport::waitUntil([&] { return link.peerOwner() == backendBus.baseService(); }));

  QList<QByteArray> received;
  QObject::connect(&link, &PackageLink::packageReceived, [&](const QByteArray &b) { received.append(b); });

#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer build refuses more slowly than four clients send";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  GTEST_SKIP() << "the sanitizer build refuses more slowly than four clients send";
#endif
#endif
  constexpr int kClients = 4, kPerClient = 5000;
  std::atomic<bool> stop{false};
  std::atomic<int> sent{0};
  std::vector<std::thread> clients;
  // However the test ends, the strangers stop and are waited for.
  struct Joiner {
    std::atomic<bool> &stop;
    std::vector<std::thread> &threads;
    ~Joiner() {
      stop = true;
      for (std::thread &t : threads)
        if (t.joinable())
          t.join();
    }
  } joiner{stop, clients};
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      const QString name = QStringLiteral("flood-%1").arg(c);
      {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
        for (int i = 0; i < kPerClient && !stop; ++i) {
          QDBusMessage call = QDBusMessage::createMethodCall(ui, BusNames::kPackagePath, BusNames::kPackageInterface,
                                                             BusNames::kPackageMethod);
          call << QByteArray(64, 's');
          bus.send(call);
          ++sent;
          // About 5,000 a second from each: a queue builds only where refusing is slow.
          if (i % 10 == 9)
            QThread::usleep(2000);
        }
        // A call of our own goes out after all of them: nothing is left unsent at the disconnect.
        bus.call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                QStringLiteral("/org/freedesktop/DBus"),
                                                QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")));
      }
      QDBusConnection::disconnectFromBus(name);
    });
  }

  // The backend's packages, one at a time while the strangers send, each timed until it is
  // handed on.
  ASSERT_TRUE(testsupport::waitUntil([&] { return link.refusedSenderCount() > 0; }));
  qint64 worst = 0;
  int samples = 0;
  for (int i = 0; i < 200 && sent < kClients * kPerClient; ++i, ++samples) {
    const QByteArray package = "peer " + QByteArray::number(i);
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(backend.sendNoReply(package));
    ASSERT_TRUE(testsupport::waitUntil([&] { return received.contains(package); }, 5000)) << i;
    worst = std::max(worst, timer.elapsed());
    testsupport::waitUntil([] { return false; }, 10);
  }
  for (std::thread &t : clients)
    t.join();
  // Every stranger's package is answered, and soon: nothing piled up.
  QElapsedTimer drain;
  drain.start();
  const bool drained = testsupport::waitUntil([&] { return link.refusedSenderCount() == kClients * kPerClient; }, 5000);
  const qint64 drainMs = drain.elapsed();
  const int refusedDuring = link.refusedSenderCount();
  std::printf("  %d peer packages during the flood, worst %lld ms; %d strangers' packages refused, the last "
              "%lld ms after the flood ended\n",
              samples, worst, refusedDuring, drainMs);
  EXPECT_GE(samples, 10) << "the flood ended before enough peer packages were timed";
  // Before, a peer package waited behind a bus query per refused package: seconds, once.
  EXPECT_LT(worst, 500);
  EXPECT_TRUE(drained) << refusedDuring << " of " << kClients * kPerClient << " refused";
  for (const QByteArray &b : received)
    EXPECT_TRUE(b.startsWith("peer ")) << "a stranger's package was handed on";
  QDBusConnection::disconnectFromBus(QStringLiteral("flood-be"));
}

} // namespace
