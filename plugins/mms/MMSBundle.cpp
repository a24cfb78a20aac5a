// The MMS tab's plug-in: lists the pushes the modem passed on (it neither fetches nor decodes
// multimedia messages), offers a reply by SMS to a number and the contact picker, and a
// connect and disconnect of the data connection. It speaks to its host by method name only.
#include "MMSPlugInInterface.h"
#include "PlugInHosts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

class MMSBundle : public QObject, public MMSPlugInInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID MMSPlugInInterface_iid)
  Q_INTERFACES(MMSPlugInInterface)
public:
  unsigned interfaceVersion() const override { return 1; }
  QObject *hostController() const override { return host_; }
  void setHostController(QObject *host) override { host_ = host; }

  QWidget *bundleView() override {
    if (view_)
      return view_;
    view_ = new QWidget;
    view_->setObjectName(QStringLiteral("MMSBundleView"));
    auto *column = new QVBoxLayout(view_);
    title_ = new QLabel(view_);
    pushes_ = new QListWidget(view_);
    pushes_->setObjectName(QStringLiteral("MMSPushes"));
    number_ = new QLineEdit(view_);
    number_->setObjectName(QStringLiteral("MMSNumber"));
    reply_ = new QPushButton(view_);
    reply_->setObjectName(QStringLiteral("MMSReply"));
    contacts_ = new QPushButton(view_);
    contacts_->setObjectName(QStringLiteral("MMSContacts"));
    connect_ = new QPushButton(view_);
    connect_->setObjectName(QStringLiteral("MMSConnect"));
    disconnect_ = new QPushButton(view_);
    disconnect_->setObjectName(QStringLiteral("MMSDisconnect"));
    status_ = new QLabel(view_);
    status_->setObjectName(QStringLiteral("MMSStatus"));
    auto *row = new QHBoxLayout;
    row->addWidget(number_, 1);
    row->addWidget(contacts_);
    row->addWidget(reply_);
    auto *dial = new QHBoxLayout;
    dial->addWidget(status_, 1);
    dial->addWidget(connect_);
    dial->addWidget(disconnect_);
    column->addWidget(title_);
    column->addWidget(pushes_, 1);
    column->addLayout(row);
    column->addLayout(dial);
    QObject::connect(reply_, &QPushButton::clicked, this, [this] {
      if (!number_->text().trimmed().isEmpty())
        ask("msgBoxreplyMessageFromMMS", number_->text().trimmed());
    });
    QObject::connect(contacts_, &QPushButton::clicked, this, [this] { askWithSender("showContactSelectWindow"); });
    QObject::connect(connect_, &QPushButton::clicked, this, [this] { askWithSender("connect"); });
    QObject::connect(disconnect_, &QPushButton::clicked, this, [this] { askWithSender("disConnect"); });
    changeLanguage();
    return view_;
  }

  bool LoadMMSLib() override { return true; }
  void updateMMSNib() override { changeLanguage(); }
  void updatePreviewWindowPosition() override {}
  void connectIdleStatuFromDial() override { setStatus(QStringLiteral("Disconnected")); }
  void connectRunningStatuFromDial() override { setStatus(QStringLiteral("Connected")); }
  void MMS_OnReceiveNetCardStatusChange(int status) override {
    if (view_)
      view_->setProperty("deviceStatus", status);
    if (reply_)
      reply_->setEnabled(status != 1);
  }
  void setTheSearchFieldText(const QStringList &numbers) override {
    if (number_)
      number_->setText(numbers.join(QLatin1Char(';')));
  }
  void unloadMMSLib() override {}
  void ProcMMSPush_Manual(const char *data, int length) override {
    bundleView();
    // The push is shown as the text it starts with, up to its first NUL.
    const QByteArray bytes(data, qMax(0, length));
    const int end = bytes.indexOf('\0');
    const QString text = QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
    pushes_->addItem(text.isEmpty() ? QStringLiteral("(%1 bytes)").arg(bytes.size()) : text);
  }
  void changeLanguage() override {
    if (!view_)
      return;
    title_->setText(word("MMS"));
    reply_->setText(word("Reply"));
    contacts_->setText(word("phonebook"));
    connect_->setText(word("Connect"));
    disconnect_->setText(word("Disconnect"));
  }

private:
  QString word(const char *key) const {
    auto *host = qobject_cast<WordingHostInterface *>(host_.data());
    return host ? host->getLanguageString(QLatin1String(key)) : QString(QLatin1String(key));
  }
  void ask(const char *method, const QString &argument) {
    if (host_)
      QMetaObject::invokeMethod(host_, method, Q_ARG(QString, argument));
  }
  void askWithSender(const char *method) {
    if (host_)
      QMetaObject::invokeMethod(host_, method, Q_ARG(QObject *, this));
  }
  void setStatus(const QString &key) {
    if (status_)
      status_->setText(word(key.toLatin1().constData()));
  }

  QPointer<QObject> host_;
  QPointer<QWidget> view_;
  QLabel *title_ = nullptr;
  QListWidget *pushes_ = nullptr;
  QLineEdit *number_ = nullptr;
  QPushButton *reply_ = nullptr;
  QPushButton *contacts_ = nullptr;
  QPushButton *connect_ = nullptr;
  QPushButton *disconnect_ = nullptr;
  QLabel *status_ = nullptr;
};

#include "MMSBundle.moc"
