#pragma once

#include <QObject>
#include <QString>

// Base of the process-wide service singletons. The IMSI is one value for the whole process:
// every service object reads and writes the same one.
class QelServiceBase : public QObject {
  Q_OBJECT
public:
  enum NetType : int { kNet2G = 0, kNet3G = 1, kNetH = 2, kNetHPlus = 3 };

  explicit QelServiceBase(QObject *parent = nullptr) : QObject(parent) {}

  QString imsi() const;
  void setImsi(const QString &imsi);

  // 2G also for a text in none of the tables.
  static int getNetTypeWithNetStr(const QString &netStr);
  static bool is2GType(const QString &netStr);
  static bool is3GType(const QString &netStr);
  static bool isHType(const QString &netStr);
  static bool isHPlusType(const QString &netStr);
};
