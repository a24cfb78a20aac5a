// The SIM toolkit tab's plug-in: the SIM application's menu (title, item list, Select, Back,
// Exit) and its alert, input and information panels, shown in the page below the menu so that
// nothing blocks the program. The host fills it through the declared interface; the buttons
// call the host's answers by name.
#include "PlugInHosts.h"
#include "PlugInInterface.h"
#include "STKPlugInInterface.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

class STKBundle : public QObject, public QELPlugInInterface, public STKPlugInInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QELPlugInInterface_iid)
  Q_INTERFACES(QELPlugInInterface STKPlugInInterface)
public:
  bool initWithParam(const QVariantMap &) override { return true; }

  QWidget *bundleView() override {
    if (!view_)
      build();
    return view_;
  }

  int interfaceVersion() const override { return 1; }
  QObject *hostController() const override { return host_; }
  void setHostController(QObject *host) override { host_ = host; }
  void STK_OnReceiveNetCardStatusChange(int) override {}
  void Init_STK_nib() override {
    bundleView();
    select_->setText(word("STK_Select"));
    back_->setText(word("STK_Back"));
    exit_->setText(word("STK_Exit"));
    alertOK_->setText(word("OK"));
    alertCancel_->setText(word("Cancel"));
    inputOK_->setText(word("OK"));
    inputCancel_->setText(word("Cancel"));
    infoClose_->setText(word("OK"));
  }
  void SelectBtnSetEnabled(bool on) override { bundleView(), select_->setEnabled(on); }
  void BackBtnSetEnabled(bool on) override { bundleView(), back_->setEnabled(on); }
  void ExitBtnSetEnabled(bool on) override { bundleView(), exit_->setEnabled(on); }
  void clearMenuContextList() override { entries_.clear(); }
  void menutitleSetStringValue(const QString &title) override { bundleView(), title_->setText(title); }
  void menuContextListAddObj(const QVariantMap &entry) override {
    entries_ << entry.value(QStringLiteral("menu")).toString();
  }
  void menuListReloadData() override {
    bundleView();
    list_->clear();
    list_->addItems(entries_);
  }
  void menuListDeselectAll() override {
    bundleView();
    list_->clearSelection();
    list_->setCurrentRow(-1);
  }
  void setCurrentLocation(int location) override { location_ = location; }
  int getCurrentLocation() const override { return location_; }
  void SMSRStatusShutInfoWin() override { infoWindowShutDown(); }
  void infoWindowShutDown() override { bundleView(), info_->hide(); }
  void setSMSRStatus(int status) override { smsrStatus_ = status; }
  int getSMSRStatus() const override { return smsrStatus_; }
  void alertTextSetStringValue(const QString &text) override { bundleView(), alertText_->setText(text); }
  void popAlertWindow() override { bundleView(), alert_->show(); }
  void hidePopAlertWindowBtn(bool hidden) override {
    bundleView();
    alertOK_->setVisible(!hidden);
    alertCancel_->setVisible(!hidden);
  }
  void informationTextSetStringValue(const QString &text) override { bundleView(), infoText_->setText(text); }
  void popInformationWindow() override { bundleView(), info_->show(); }
  void minLengthSetStringValue(const QString &text) override { bundleView(), minLabel_->setText(text); }
  void setMinLen(int length) override { minLen_ = length; }
  int getMinLen() const override { return minLen_; }
  void maxLengthSetStringValue(const QString &text) override { bundleView(), maxLabel_->setText(text); }
  void setMaxLen(int length) override {
    maxLen_ = length;
    bundleView();
    input_->setMaxLength(length > 0 ? std::min(length, 512) : 512);
  }
  int getMaxLen() const override { return maxLen_; }
  void inputTitleSetStringValue(const QString &text) override { bundleView(), inputTitle_->setText(text); }
  void inputTextSetStringValue(const QString &text) override { bundleView(), input_->setText(text); }
  QString inputTextStringValue() const override { return input_ ? input_->text() : QString(); }
  void popInputWindow() override {
    bundleView();
    inputPanel_->show();
    input_->setFocus();
  }
  void setResultOfIn(int result) override { resultOfIn_ = result; }
  void setMenuTitleTextColor(const QColor &colour) override {
    bundleView();
    QPalette p = title_->palette();
    p.setColor(QPalette::WindowText, colour);
    title_->setPalette(p);
  }
  void setIsNewUI(bool on) override { newUI_ = on; }
  bool getIsNewUI() const override { return newUI_; }
  void closeAlertWindow() override { bundleView(), alert_->hide(); }
  void closeInputWindow() override { bundleView(), inputPanel_->hide(); }
  void setMainWindow(QWidget *window) override { mainWindow_ = window; }

private:
  QString word(const char *key) const {
    STKHostInterface *host = typedHost();
    return host ? host->getLanguageString(QLatin1String(key)) : QString(QLatin1String(key));
  }
  // The host's typed side; null for a host without it.
  STKHostInterface *typedHost() const { return qobject_cast<STKHostInterface *>(host_.data()); }
  void tell(const char *method) {
    if (host_)
      QMetaObject::invokeMethod(host_, method, Qt::DirectConnection);
  }

  static QFrame *panel(QWidget *parent, const QString &name) {
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->hide();
    return frame;
  }

  void build() {
    view_ = new QWidget;
    view_->setObjectName(QStringLiteral("STKBundleView"));
    title_ = new QLabel(view_);
    title_->setObjectName(QStringLiteral("STKBundleTitle"));
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    list_ = new QListWidget(view_);
    list_->setObjectName(QStringLiteral("STKBundleMenu"));
    select_ = new QPushButton(QStringLiteral("Select"), view_);
    select_->setObjectName(QStringLiteral("STKBundleSelect"));
    back_ = new QPushButton(QStringLiteral("Back"), view_);
    back_->setObjectName(QStringLiteral("STKBundleBack"));
    exit_ = new QPushButton(QStringLiteral("Exit"), view_);
    exit_->setObjectName(QStringLiteral("STKBundleExit"));
    for (QPushButton *b : {select_.data(), back_.data(), exit_.data()})
      b->setEnabled(false);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { select_->setEnabled(row >= 0); });
    const auto choose = [this] {
      const int row = list_->currentRow();
      if (STKHostInterface *host = typedHost(); row >= 0 && host)
        host->SelectClicked(row);
    };
    connect(select_, &QPushButton::clicked, this, choose);
    connect(list_, &QListWidget::itemDoubleClicked, this, choose);
    connect(back_, &QPushButton::clicked, this, [this] { tell("backClicked"); });
    connect(exit_, &QPushButton::clicked, this, [this] { tell("ExitClicked"); });

    alert_ = panel(view_, QStringLiteral("STKBundleAlert"));
    alertText_ = new QLabel(alert_);
    alertText_->setObjectName(QStringLiteral("STKBundleAlertText"));
    alertText_->setWordWrap(true);
    alertOK_ = new QPushButton(QStringLiteral("OK"), alert_);
    alertOK_->setObjectName(QStringLiteral("STKBundleAlertOK"));
    alertCancel_ = new QPushButton(QStringLiteral("Cancel"), alert_);
    alertCancel_->setObjectName(QStringLiteral("STKBundleAlertCancel"));
    connect(alertOK_, &QPushButton::clicked, this, [this] {
      alert_->hide();
      tell("AlertOKClicked");
    });
    connect(alertCancel_, &QPushButton::clicked, this, [this] {
      alert_->hide();
      tell("AlertCancelClicked");
    });
    auto *alertLayout = new QHBoxLayout(alert_);
    alertLayout->addWidget(alertText_, 1);
    alertLayout->addWidget(alertCancel_);
    alertLayout->addWidget(alertOK_);

    inputPanel_ = panel(view_, QStringLiteral("STKBundleInputPanel"));
    inputTitle_ = new QLabel(inputPanel_);
    inputTitle_->setObjectName(QStringLiteral("STKBundleInputTitle"));
    inputTitle_->setWordWrap(true);
    minLabel_ = new QLabel(inputPanel_);
    minLabel_->setObjectName(QStringLiteral("STKBundleMinLength"));
    maxLabel_ = new QLabel(inputPanel_);
    maxLabel_->setObjectName(QStringLiteral("STKBundleMaxLength"));
    input_ = new QLineEdit(inputPanel_);
    input_->setObjectName(QStringLiteral("STKBundleInput"));
    inputOK_ = new QPushButton(QStringLiteral("OK"), inputPanel_);
    inputOK_->setObjectName(QStringLiteral("STKBundleInputOK"));
    inputCancel_ = new QPushButton(QStringLiteral("Cancel"), inputPanel_);
    inputCancel_->setObjectName(QStringLiteral("STKBundleInputCancel"));
    // The host checks the length and keeps the panel open for a correction when it refuses.
    connect(inputOK_, &QPushButton::clicked, this, [this] { tell("InputOKClicked"); });
    connect(input_, &QLineEdit::returnPressed, this, [this] { tell("InputOKClicked"); });
    connect(inputCancel_, &QPushButton::clicked, this, [this] {
      inputPanel_->hide();
      tell("InputCancelClicked");
    });
    auto *inputLayout = new QVBoxLayout(inputPanel_);
    auto *limits = new QHBoxLayout;
    limits->addWidget(minLabel_);
    limits->addWidget(maxLabel_);
    limits->addStretch(1);
    auto *inputRow = new QHBoxLayout;
    inputRow->addWidget(input_, 1);
    inputRow->addWidget(inputCancel_);
    inputRow->addWidget(inputOK_);
    inputLayout->addWidget(inputTitle_);
    inputLayout->addLayout(limits);
    inputLayout->addLayout(inputRow);

    info_ = panel(view_, QStringLiteral("STKBundleInformation"));
    infoText_ = new QLabel(info_);
    infoText_->setObjectName(QStringLiteral("STKBundleInformationText"));
    infoText_->setWordWrap(true);
    infoClose_ = new QPushButton(QStringLiteral("OK"), info_);
    infoClose_->setObjectName(QStringLiteral("STKBundleInformationClose"));
    connect(infoClose_, &QPushButton::clicked, this, [this] { info_->hide(); });
    auto *infoLayout = new QHBoxLayout(info_);
    infoLayout->addWidget(infoText_, 1);
    infoLayout->addWidget(infoClose_);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(back_);
    buttons->addWidget(exit_);
    buttons->addWidget(select_);
    auto *layout = new QVBoxLayout(view_);
    layout->addWidget(title_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    layout->addWidget(alert_);
    layout->addWidget(inputPanel_);
    layout->addWidget(info_);
  }

  QPointer<QObject> host_;
  QPointer<QWidget> mainWindow_;
  QStringList entries_;
  int location_ = 0;
  int smsrStatus_ = 0;
  int minLen_ = 0;
  int maxLen_ = 0;
  int resultOfIn_ = 0;
  bool newUI_ = true;

  QPointer<QWidget> view_;
  QPointer<QLabel> title_;
  QPointer<QListWidget> list_;
  QPointer<QPushButton> select_, back_, exit_;
  QPointer<QFrame> alert_, inputPanel_, info_;
  QPointer<QLabel> alertText_, inputTitle_, minLabel_, maxLabel_, infoText_;
  QPointer<QPushButton> alertOK_, alertCancel_, inputOK_, inputCancel_, infoClose_;
  QPointer<QLineEdit> input_;
};

#include "STKBundle.moc"
