// A phonebook plug-in that draws the Phonebook tab's contacts itself: it lists the merged list of
// every store the program reports ("phonebookReadFinshed", "addContactResult") and posts the
// program's requests (add, delete, search, the field checks). It reaches the program only
// through the application's notification bridge, by name. It is built for the tests, not put
// into the bundle, so the program's own page keeps the tab.
#include "../call/CallBridge.h"
#include "PlugInInterface.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

class PhoneBookBundle : public QObject, public QELPlugInInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QELPlugInInterface_iid)
  Q_INTERFACES(QELPlugInInterface)
public:
  bool initWithParam(const QVariantMap &) override {
    bridge_ = new CallBridge(this);
    const auto showList = [this](const char *key) {
      return [this, key](const QVariantMap &info) { show(info.value(QLatin1String(key)).toList()); };
    };
    bridge_->observe(QStringLiteral("phonebookReadFinshed"), showList("phonebookReadFinshed"));
    bridge_->observe(QStringLiteral("addContactResult"), showList("addContactResult"));
    bridge_->observe(QStringLiteral("searchUserInUSIM"), showList("searchUserInUSIM"));
    bridge_->observe(QStringLiteral("formatUserName"), [this](const QVariantMap &info) {
      if (name_)
        name_->setText(info.value(QStringLiteral("formatUserName")).toString());
    });
    bridge_->observe(QStringLiteral("formatMobilePhone"), [this](const QVariantMap &info) {
      if (number_)
        number_->setText(info.value(QStringLiteral("formatMobilePhone")).toString());
    });
    bridge_->observe(QStringLiteral("deviceRemovedInfo"), [this](const QVariantMap &) { show({}); });
    return bridge_->isConnected();
  }

  QWidget *bundleView() override {
    if (view_)
      return view_;
    view_ = new QWidget;
    view_->setObjectName(QStringLiteral("PhoneBookBundleView"));
    list_ = new QListWidget(view_);
    list_->setObjectName(QStringLiteral("PhoneBookBundleList"));
    search_ = new QLineEdit(view_);
    search_->setObjectName(QStringLiteral("PhoneBookBundleSearch"));
    name_ = new QLineEdit(view_);
    name_->setObjectName(QStringLiteral("PhoneBookBundleName"));
    number_ = new QLineEdit(view_);
    number_->setObjectName(QStringLiteral("PhoneBookBundleNumber"));
    auto *add = new QPushButton(QStringLiteral("Add"), view_);
    add->setObjectName(QStringLiteral("PhoneBookBundleAdd"));
    auto *remove = new QPushButton(QStringLiteral("Delete"), view_);
    remove->setObjectName(QStringLiteral("PhoneBookBundleDelete"));
    auto *fields = new QHBoxLayout;
    fields->addWidget(name_);
    fields->addWidget(number_);
    fields->addWidget(add);
    fields->addWidget(remove);
    auto *layout = new QVBoxLayout(view_);
    layout->addWidget(search_);
    layout->addWidget(list_, 1);
    layout->addLayout(fields);
    connect(search_, &QLineEdit::returnPressed, this, [this] { post("SearchItemInUSIMList", search_->text()); });
    connect(name_, &QLineEdit::editingFinished, this, [this] { post("checkInputUserName", name_->text()); });
    connect(number_, &QLineEdit::editingFinished, this, [this] { post("checkInputMobilePhone", number_->text()); });
    connect(add, &QPushButton::clicked, this, [this] {
      post("AddNewUserItem",
           QVariantMap{{QStringLiteral("username"), name_->text()}, {QStringLiteral("mobilephone"), number_->text()}});
    });
    connect(remove, &QPushButton::clicked, this, [this] {
      const int row = list_->currentRow();
      if (row >= 0 && row < shown_.size())
        post("deleteUserItem", shown_.at(row));
    });
    return view_;
  }

private:
  void post(const char *name, const QVariant &value) {
    bridge_->post(QLatin1String(name), {{QLatin1String(name), value}});
  }

  void show(const QVariantList &records) {
    shown_ = records;
    if (!list_)
      return;
    list_->clear();
    for (const QVariant &v : records) {
      const QVariantMap r = v.toMap();
      list_->addItem(QStringLiteral("%1 %2 (%3)")
                         .arg(r.value(QStringLiteral("username")).toString(),
                              r.value(QStringLiteral("mobilephone")).toString(),
                              r.value(QStringLiteral("savepos")).toString()));
    }
  }

  QPointer<CallBridge> bridge_;
  QPointer<QWidget> view_;
  QPointer<QListWidget> list_;
  QPointer<QLineEdit> search_, name_, number_;
  QVariantList shown_;
};

#include "PhoneBookBundle.moc"
