// The USSD tabs' plug-in: the session page (code, Send, End, the network's reply and the answer
// field), the list of service codes and the session history. It speaks to its host, the USSD
// controller, by method name only, and hears the call page's USSD codes through the program's
// notification bridge.
#include "../call/CallBridge.h" // the bridge to the notifications
#include "PlugInHosts.h"
#include "PlugInInterface.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

class USSDBundle : public QObject, public QELPlugInInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QELPlugInInterface_iid)
  Q_INTERFACES(QELPlugInInterface)
public:
  // How long the page waits for the network's reply after the modem took a request; a
  // "replyTimeoutMs" property on this object replaces it (tests).
  static constexpr int kReplyTimeoutMs = 30000;

  bool initWithParam(const QVariantMap &) override {
    // A plug-in instance lives as long as the process; a second host must not find the first
    // host's bridge still answering.
    delete bridge_;
    bridge_ = new CallBridge(this);
    bridge_->observe(QStringLiteral("sendUssdComand"), [this](const QVariantMap &info) {
      sendCode(info.value(QStringLiteral("sendUssdComand")).toString());
    });
    bridge_->observe(QStringLiteral("SendCmdWhenEnterUssd"), [this](const QVariantMap &) {
      if (!codes_.isEmpty())
        sendCode(codes_.first().second);
    });
    timeout_.setSingleShot(true);
    connect(&timeout_, &QTimer::timeout, this, [this] {
      waiting_ = false;
      showStatus(QStringLiteral("USSD_NetworkTimeOut"));
      ask("openUssdTimeOutWndPopup");
      updateButtons();
    });
    return true;
  }

  QWidget *bundleView() override {
    if (!session_)
      buildSession();
    return session_;
  }

  Q_INVOKABLE void setHostController(QObject *host) { host_ = host; }
  Q_INVOKABLE QWidget *bundleViewTwo() {
    if (!servicesView_)
      buildServices();
    return servicesView_;
  }
  Q_INVOKABLE QWidget *bundleViewThree() {
    if (!historyView_) {
      historyView_ = new QWidget;
      historyView_->setObjectName(QStringLiteral("USSDBundleHistoryView"));
      auto *layout = new QVBoxLayout(historyView_);
      historyTitle_ = new QLabel(historyView_);
      history_ = new QPlainTextEdit(historyView_);
      history_->setObjectName(QStringLiteral("USSDBundleHistory"));
      history_->setReadOnly(true);
      layout->addWidget(historyTitle_);
      layout->addWidget(history_);
    }
    return historyView_;
  }

  Q_INVOKABLE void languageChanged(const QVariant &) {
    if (send_)
      send_->setText(word("USSD_Send"));
    if (end_)
      end_->setText(word("USSD_End"));
    if (codeCaption_)
      codeCaption_->setText(word("USSD_Code"));
    if (answerCaption_)
      answerCaption_->setText(word("USSD_Reply"));
    if (servicesTitle_)
      servicesTitle_->setText(word("USSD_Services"));
    if (sendService_)
      sendService_->setText(word("USSD_Send"));
    if (historyTitle_)
      historyTitle_->setText(word("USSD_History"));
    if (status_ && !statusKey_.isEmpty())
      status_->setText(word(statusKey_));
  }
  Q_INVOKABLE void selectComboxInit() {
    if (code_ && code_->count() > 0)
      code_->setCurrentIndex(0);
  }
  Q_INVOKABLE void initBundleNib() { updateButtons(); }
  Q_INVOKABLE void ussdModelSelected() { selectComboxInit(); }
  Q_INVOKABLE void OnReceiveNetCardStatusChange(int status) {
    netCard_ = status;
    if (status != 12) {
      waiting_ = inSession_ = false;
      timeout_.stop();
      showStatus(QStringLiteral("USSD_NoDevice"));
    } else {
      showStatus(QString());
    }
    updateButtons();
  }
  Q_INVOKABLE void receiveUSSDResponse(const QVariantMap &info) {
    if (!info.value(QStringLiteral("USSD_RES_CONTENTS")).toBool()) {
      const bool accepted = info.value(QStringLiteral("BOARD_RES")).toInt() == 1;
      const bool endRequest = info.value(QStringLiteral("CMD_TYPE")).toInt() == 1;
      if (!accepted) {
        waiting_ = false;
        timeout_.stop();
        showStatus(QStringLiteral("USSD_Failed"));
      } else if (endRequest) {
        waiting_ = inSession_ = false;
        timeout_.stop();
        showStatus(QStringLiteral("USSD_SessionEnded"));
      } else {
        showStatus(QStringLiteral("USSD_Waiting"));
        const int custom = property("replyTimeoutMs").toInt();
        timeout_.start(custom > 0 ? custom : kReplyTimeoutMs);
      }
      updateButtons();
      return;
    }
    timeout_.stop();
    waiting_ = false;
    const QString text = info.value(QStringLiteral("CODE_STRING")).toString();
    const int interaction = info.value(QStringLiteral("INTERACT_TYPE")).toInt();
    if (reply_)
      reply_->setPlainText(text);
    addHistory(QStringLiteral("< ") + text);
    // The network's interaction type: 1 asks for an answer, 0 ends the exchange, the others end
    // the session for a reason the page names.
    inSession_ = interaction == 1;
    static const char *const kStates[] = {"USSD_Done",         "USSD_ReplyNeeded",  "USSD_NetworkEnded",
                                          "USSD_NetworkEnded", "USSD_NotSupported", "USSD_NetworkTimeOut"};
    showStatus(interaction >= 0 && interaction <= 5 ? QLatin1String(kStates[interaction])
                                                    : QStringLiteral("USSD_NetworkEnded"));
    updateButtons();
    if (inSession_ && answer_)
      answer_->setFocus();
  }
  Q_INVOKABLE void ussdModelProc(const QVariantMap &) { selectComboxInit(); }
  Q_INVOKABLE void sendUSSDCommandWhenOpenUSSDWnd() {
    if (!codes_.isEmpty())
      sendCode(codes_.first().second);
  }
  Q_INVOKABLE void performUSSDAction(const QVariantMap &info) {
    if (info.value(QStringLiteral("Action")).toString() == QStringLiteral("BuyBundle"))
      selectComboxInit();
  }
  Q_INVOKABLE void resetDefaultUssdWithImsi(const QString &) { selectComboxInit(); }
  Q_INVOKABLE void readSMS(const QString &text) {
    if (!text.isEmpty())
      addHistory(text.trimmed());
  }
  Q_INVOKABLE int ussdRequestStates() { return waiting_ ? 1 : 0; }
  Q_INVOKABLE int ussdConnectStates() { return inSession_ ? 1 : 0; }

private:
  QString word(const char *key) const { return word(QLatin1String(key)); }
  QString word(const QString &key) const {
    USSDHostInterface *host = typedHost();
    return host ? host->getLanguageString(key) : key;
  }
  // The host's typed side; null for a host without it.
  USSDHostInterface *typedHost() const { return qobject_cast<USSDHostInterface *>(host_.data()); }
  void ask(const char *method) {
    if (host_)
      QMetaObject::invokeMethod(host_, method, Qt::DirectConnection);
  }

  void showStatus(const QString &key) {
    statusKey_ = key;
    if (status_)
      status_->setText(key.isEmpty() ? QString() : word(key));
  }

  void addHistory(const QString &line) {
    bundleViewThree();
    history_->appendPlainText(line);
  }

  // Sends a request: `first` 1 for a code or an answer, 2 to end the session.
  bool request(int first, const QString &text) {
    USSDHostInterface *host = typedHost();
    if (!host)
      return false;
    const int result = host->sendUSSDCommand({{QStringLiteral("FIRST_PARAMETER"), first},
                                              {QStringLiteral("CODE_TYPE"), 15},
                                              {QStringLiteral("CODE_STRING"), text}});
    if (result != 0) {
      showStatus(QStringLiteral("USSD_TooLong"));
      return false;
    }
    waiting_ = first == 1;
    // A new request makes the notice about the last one's silence stale.
    ask("closeUssdTimeOutWndPopup");
    showStatus(QString());
    updateButtons();
    return true;
  }

  void sendCode(const QString &code) {
    const QString text = code.trimmed();
    if (text.isEmpty() || netCard_ != 12)
      return;
    bundleView();
    if (code_->findText(text) < 0)
      code_->insertItem(0, text);
    code_->setCurrentText(text);
    if (reply_)
      reply_->clear();
    if (request(1, text))
      addHistory(QStringLiteral("> ") + text);
  }

  void sendAnswer() {
    const QString text = answer_->text().trimmed();
    if (text.isEmpty())
      return;
    if (request(1, text)) {
      addHistory(QStringLiteral("> ") + text);
      answer_->clear();
    }
  }

  void updateButtons() {
    const bool ready = netCard_ == 12;
    if (send_)
      send_->setEnabled(ready && !waiting_ && !inSession_);
    if (end_)
      end_->setEnabled(ready && (inSession_ || waiting_));
    if (answer_)
      answer_->setEnabled(ready && inSession_ && !waiting_);
    if (sendAnswer_)
      sendAnswer_->setEnabled(ready && inSession_ && !waiting_);
    if (sendService_)
      sendService_->setEnabled(ready && !waiting_ && !inSession_);
  }

  void buildSession() {
    session_ = new QWidget;
    session_->setObjectName(QStringLiteral("USSDBundleView"));
    codeCaption_ = new QLabel(session_);
    code_ = new QComboBox(session_);
    code_->setObjectName(QStringLiteral("USSDBundleCode"));
    code_->setEditable(true);
    for (const auto &c : codes_)
      code_->addItem(c.second);
    send_ = new QPushButton(session_);
    send_->setObjectName(QStringLiteral("USSDBundleSend"));
    connect(send_, &QPushButton::clicked, this, [this] { sendCode(code_->currentText()); });
    end_ = new QPushButton(session_);
    end_->setObjectName(QStringLiteral("USSDBundleEnd"));
    connect(end_, &QPushButton::clicked, this, [this] { request(2, QString()); });
    reply_ = new QPlainTextEdit(session_);
    reply_->setObjectName(QStringLiteral("USSDBundleReply"));
    reply_->setReadOnly(true);
    answerCaption_ = new QLabel(session_);
    answer_ = new QLineEdit(session_);
    answer_->setObjectName(QStringLiteral("USSDBundleAnswer"));
    sendAnswer_ = new QPushButton(QStringLiteral("OK"), session_);
    sendAnswer_->setObjectName(QStringLiteral("USSDBundleSendAnswer"));
    connect(sendAnswer_, &QPushButton::clicked, this, [this] { sendAnswer(); });
    connect(answer_, &QLineEdit::returnPressed, this, [this] { sendAnswer(); });
    status_ = new QLabel(session_);
    status_->setObjectName(QStringLiteral("USSDBundleStatus"));
    status_->setWordWrap(true);

    auto *top = new QHBoxLayout;
    top->addWidget(codeCaption_);
    top->addWidget(code_, 1);
    top->addWidget(send_);
    top->addWidget(end_);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(answerCaption_);
    bottom->addWidget(answer_, 1);
    bottom->addWidget(sendAnswer_);
    auto *layout = new QVBoxLayout(session_);
    layout->addLayout(top);
    layout->addWidget(reply_, 1);
    layout->addLayout(bottom);
    layout->addWidget(status_);
    languageChanged({});
    updateButtons();
  }

  void buildServices() {
    servicesView_ = new QWidget;
    servicesView_->setObjectName(QStringLiteral("USSDBundleServicesView"));
    servicesTitle_ = new QLabel(servicesView_);
    services_ = new QListWidget(servicesView_);
    services_->setObjectName(QStringLiteral("USSDBundleServices"));
    for (const auto &c : codes_)
      services_->addItem(c.first + QStringLiteral("  ") + c.second);
    sendService_ = new QPushButton(servicesView_);
    sendService_->setObjectName(QStringLiteral("USSDBundleSendService"));
    connect(sendService_, &QPushButton::clicked, this, [this] {
      const int row = services_->currentRow();
      if (row < 0 || row >= codes_.size())
        return;
      ask("selectMainUSSDTab");
      sendCode(codes_.at(row).second);
    });
    auto *layout = new QVBoxLayout(servicesView_);
    layout->addWidget(servicesTitle_);
    layout->addWidget(services_, 1);
    layout->addWidget(sendService_, 0, Qt::AlignRight);
    languageChanged({});
    updateButtons();
  }

  QPointer<QObject> host_;
  QPointer<CallBridge> bridge_;
  QTimer timeout_;
  int netCard_ = 0;
  bool waiting_ = false;
  bool inSession_ = false;
  QString statusKey_;
  // The service codes this plug-in offers (name, code); the first is the one sent on entering.
  const QList<std::pair<QString, QString>> codes_{{QStringLiteral("Balance"), QStringLiteral("*100#")},
                                                  {QStringLiteral("Data left"), QStringLiteral("*101#")},
                                                  {QStringLiteral("Offers"), QStringLiteral("*123#")}};

  QPointer<QWidget> session_;
  QPointer<QLabel> codeCaption_;
  QPointer<QComboBox> code_;
  QPointer<QPushButton> send_;
  QPointer<QPushButton> end_;
  QPointer<QPlainTextEdit> reply_;
  QPointer<QLabel> answerCaption_;
  QPointer<QLineEdit> answer_;
  QPointer<QPushButton> sendAnswer_;
  QPointer<QLabel> status_;
  QPointer<QWidget> servicesView_;
  QPointer<QLabel> servicesTitle_;
  QPointer<QListWidget> services_;
  QPointer<QPushButton> sendService_;
  QPointer<QWidget> historyView_;
  QPointer<QLabel> historyTitle_;
  QPointer<QPlainTextEdit> history_;
};

#include "USSDBundle.moc"
