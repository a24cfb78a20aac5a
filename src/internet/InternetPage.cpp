#include "InternetPage.h"

#include "ConfigService.h"
#include "DialController.h"
#include "SettingValue.h"
#include "StatisticsView.h"
#include "WebLinkControls.h"

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
template <class W> W *named(W *widget, const char *name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

QLabel *label(QWidget *parent, const char *name) {
  return named(new QLabel(parent), name);
}

void buildStatisticsWindow(DialController *d, QWidget *window) {
  auto *win = named(new QDialog(window), "wndStatisticsWin_");
  auto *grid = new QGridLayout(win);
  const char *captions[] = {"Duration:", "Download Data:", "Upload Data:", "Total Data:"};
  d->tfdDisplayDuration_ = label(win, "tfdDisplayDuration_");
  d->tfdDisplayDownData_ = label(win, "tfdDisplayDownData_");
  d->tfdDisplayUpData_ = label(win, "tfdDisplayUpData_");
  d->tfdDisplayTotalData_ = label(win, "tfdDisplayTotalData_");
  QLabel *values[] = {d->tfdDisplayDuration_, d->tfdDisplayDownData_, d->tfdDisplayUpData_, d->tfdDisplayTotalData_};
  for (int i = 0; i < 4; ++i) {
    grid->addWidget(new QLabel(QLatin1String(captions[i]), win), i, 0);
    grid->addWidget(values[i], i, 1);
  }
  auto *close = named(new QPushButton(QStringLiteral("OK"), win), "btnCloseStatisticsWin");
  grid->addWidget(close, 4, 1, Qt::AlignRight);
  QObject::connect(close, &QPushButton::clicked, d, [d, close] { d->closeStatisticsWin(close); });
  d->wndStatisticsWin_ = win;
}
// Which of the operator's web contents this configuration has; with every key absent the tab is
// the plain connection page.
struct WebContent {
  bool split = false, billboard = false, advertisement = false, embedded = false, special = false;
  static WebContent fromSettings() {
    const auto on = [](const QString &module, const char *key) {
      return SettingValue::toBool(ConfigService::readValue(module, QLatin1String(key)));
    };
    const auto text = [](const char *key) {
      return !ConfigService::readValue(QString(), QLatin1String(key)).toString().isEmpty();
    };
    WebContent c;
    c.split = on(QString(), "EnableSplitConnectionProcess");
    c.billboard = on(QStringLiteral("Internet"), "Internet_isDisplayBillboard_WhenConnectSuccess");
    c.advertisement = on(QString(), "AddZodiAdView");
    c.embedded = text("EmbedWebViewURL");
    c.special = text("WebViewURL");
    return c;
  }
};

QWidget *container(QWidget *parent, const char *name, QSize minimum) {
  auto *box = named(new QFrame(parent), name);
  box->setMinimumSize(minimum);
  box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  return box;
}

// The billboard: the picture between its previous and next buttons (hidden until it rolls).
QLayout *buildBillboard(DialController *d, QWidget *page) {
  auto *row = new QHBoxLayout;
  d->btnOfDownForBillboard_ = named(new QPushButton(QStringLiteral("\u25C0"), page), "btnOfDownForBillboard");
  d->btnOfUpForBillboard_ = named(new QPushButton(QStringLiteral("\u25B6"), page), "btnOfUpForBillboard");
  d->imageViewOfShowImageForBillboard_ = label(page, "imageViewOfShowImageForBillboard");
  d->imageViewOfShowImageForBillboard_->setMinimumSize(240, 100);
  d->imageViewOfShowImageForBillboard_->setAlignment(Qt::AlignCenter);
  for (QPushButton *b : {d->btnOfDownForBillboard_.data(), d->btnOfUpForBillboard_.data()}) {
    b->setFixedWidth(32);
    b->hide();
  }
  QObject::connect(d->btnOfUpForBillboard_, &QPushButton::clicked, d, [d] { d->browserNextPictureForBillboard(); });
  QObject::connect(d->btnOfDownForBillboard_, &QPushButton::clicked, d, [d] { d->browserAPictureForBillboard(); });
  row->addWidget(d->btnOfDownForBillboard_);
  row->addWidget(d->imageViewOfShowImageForBillboard_, 1);
  row->addWidget(d->btnOfUpForBillboard_);
  return row;
}

// The operator's extras that sit on the page shown while connected (the only page without the
// split layout).
void addConnectedExtras(DialController *d, QWidget *page, QVBoxLayout *column, const WebContent &c) {
  if (c.billboard)
    column->addLayout(buildBillboard(d, page));
  if (c.advertisement) {
    auto *ad = named(new WebLinkImageView(page), "adContainerView");
    ad->setMinimumHeight(60);
    ad->setAlignment(Qt::AlignCenter);
    d->adContainerView_ = ad;
    column->addWidget(ad);
  }
  if (c.special) {
    d->viewContainer_ = container(page, "viewContainer", QSize(240, 150));
    d->viewContainer_->hide(); // until a page comes
    column->addWidget(d->viewContainer_, 1);
  }
}

// The "after connect" page: the banner, the favourite icons beside the promotion, the operator's
// links and the disconnect button.
QWidget *buildPostInternet(DialController *d, QWidget *parent, const WebContent &c) {
  auto *post = named(new QWidget(parent), "PostInternet");
  post->setProperty("itemIdentifier", QStringLiteral("PostInternet"));
  auto *column = new QVBoxLayout(post);
  auto *banner = named(new WebLinkImageView(post), "bgupWeblinkView");
  banner->setMinimumHeight(80);
  banner->setAlignment(Qt::AlignCenter);
  banner->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  d->bgupWeblinkView_ = banner;
  column->addWidget(banner);

  auto *middle = new QHBoxLayout;
  auto *favourites = new QGridLayout;
  for (int i = 0; i < 6; ++i) {
    auto *button = new WeblinkButton(post);
    button->setObjectName(QStringLiteral("favoriteLinkBtn%1").arg(i + 1));
    button->setFixedSize(72, 72);
    button->setIconSize(QSize(56, 56));
    button->setFlat(true);
    button->hide(); // shown once its icon is known
    d->favoriteLinkBtns_[size_t(i)] = button;
    favourites->addWidget(button, i / 3, i % 3);
  }
  middle->addLayout(favourites);
  d->bgContainerView_ = container(post, "bgContainerView", QSize(240, 150));
  middle->addWidget(d->bgContainerView_, 1);
  column->addLayout(middle, 1);

  auto *links = new QHBoxLayout;
  for (int i = 0; i < 6; ++i) {
    auto *button = new WeblinkButton(post);
    button->setObjectName(QStringLiteral("customLinkBtn%1").arg(i + 1));
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    d->customLinkBtns_[size_t(i)] = button;
    links->addWidget(button);
  }
  links->addStretch();
  column->addLayout(links);
  addConnectedExtras(d, post, column, c);

  auto *bottom = new QHBoxLayout;
  d->labelConnectTimeSimple = label(post, "labelConnectTimeSimple");
  bottom->addWidget(d->labelConnectTimeSimple, 1);
  d->postConnectBtn_ = named(new QPushButton(QStringLiteral("Disconnect"), post), "postConnectBtn");
  d->postConnectBtn_->setMinimumWidth(120);
  d->postConnectBtn_->setEnabled(false);
  QPushButton *button = d->postConnectBtn_;
  QObject::connect(button, &QPushButton::clicked, d, [d, button] { d->DialOption(button); });
  bottom->addWidget(d->postConnectBtn_);
  column->addLayout(bottom);
  return post;
}

// The hint that tells where the favourite icons are configured: a small window the user can drag,
// whose content view may instead be put into the main window.
void buildFavoriteIconHint(DialController *d, QWidget *window) {
  auto *hint = named(new FavoriteIconHintWindow(window), "favoriteIconHintWindow");
  auto *hintLayout = new QVBoxLayout(hint);
  hintLayout->setContentsMargins(0, 0, 0, 0);
  auto *view = named(new QFrame(hint), "favoriteIconHintView");
  view->setFrameShape(QFrame::StyledPanel);
  view->setAutoFillBackground(true);
  QPalette palette = view->palette();
  palette.setColor(QPalette::Window, QColor(255, 250, 205));
  palette.setColor(QPalette::WindowText, Qt::black);
  view->setPalette(palette);
  auto *column = new QVBoxLayout(view);
  d->favoriteHintTextfield_ = label(view, "favoriteHintTextfield");
  d->favoriteHintTextfield_->setWordWrap(true);
  column->addWidget(d->favoriteHintTextfield_);
  auto *row = new QHBoxLayout;
  d->stopNotifyHintCheckbox_ = named(new QCheckBox(view), "stopNotifyHintCheckbox");
  row->addWidget(d->stopNotifyHintCheckbox_, 1);
  auto *close = named(new QPushButton(QStringLiteral("\u2715"), view), "btnCloseFavoriteIconHint");
  close->setFlat(true);
  close->setFixedWidth(28);
  row->addWidget(close);
  column->addLayout(row);
  hintLayout->addWidget(view);
  hint->resize(300, 90);
  view->resize(300, 90);
  QCheckBox *box = d->stopNotifyHintCheckbox_;
  QObject::connect(box, &QCheckBox::clicked, d, [d, box] { d->stopNotifyHintClicked(box); });
  QObject::connect(close, &QPushButton::clicked, d, [d, close] { d->closefavoriteIconHintWindow(close); });
  d->favoriteIconHintWindow_ = hint;
}

} // namespace

namespace InternetPage {

QWidget *build(DialController *d, QWidget *profileBox, QWidget *window, QWidget *parent) {
  const WebContent web = WebContent::fromSettings();
  auto *tab = named(new QWidget(parent), "viewInternetTab");
  d->viewInternet_ = tab;
  // With the split layout the connection page is the "before connect" page of a tab view whose
  // second page is shown while connected.
  QWidget *page = tab;
  if (web.split) {
    auto *tabLayout = new QVBoxLayout(tab);
    tabLayout->setContentsMargins(0, 0, 0, 0);
    auto *pages = named(new QTabWidget(tab), "internetSwitchTab");
    pages->tabBar()->hide();
    pages->setDocumentMode(true);
    page = named(new QWidget(pages), "PreInternet");
    page->setProperty("itemIdentifier", QStringLiteral("PreInternet"));
    pages->addTab(page, QStringLiteral("PreInternet"));
    pages->addTab(buildPostInternet(d, pages, web), QStringLiteral("PostInternet"));
    tabLayout->addWidget(pages);
    d->internetSwitchTab_ = pages;
    buildFavoriteIconHint(d, window);
  }
  auto *column = new QVBoxLayout(page);
  column->setSpacing(4);
  if (web.split)
    column->setContentsMargins(4, 4, 4, 4); // the tab view's pane has margins of its own
  d->labelInternetPrompt_ = label(page, "labelInternetPrompt");
  d->labelInternetPrompt_->setWordWrap(true);
  d->labelProfileInputPrompt_ = label(page, "labelProfileInputPrompt");
  d->labelProfileInputPrompt_->setWordWrap(true);
  d->tfdModemAndSimState_ = label(page, "tfdModemAndSimState_");
  d->tfdModemAndSimState_->hide(); // until there is a state to show
  column->addWidget(d->labelInternetPrompt_);
  column->addWidget(d->labelProfileInputPrompt_);
  column->addWidget(d->tfdModemAndSimState_);
  // The profile above the figures on the left, the graph beside them: the page's height holds
  // every row at the skin's size.
  auto *figures = new QVBoxLayout;
  if (profileBox) {
    profileBox->setParent(page);
    if (web.split) {
      // The "before connect" page names the profile above its box.
      d->preDefaultConfiguration_ = label(page, "preDefaultConfiguration");
      QFont bold = d->preDefaultConfiguration_->font();
      bold.setBold(true);
      d->preDefaultConfiguration_->setFont(bold);
      column->addWidget(d->preDefaultConfiguration_);
      column->addWidget(profileBox, 0, Qt::AlignLeft);
    } else {
      figures->addWidget(profileBox, 0, Qt::AlignLeft);
    }
  }

  auto *area = new QGridLayout;
  struct Row {
    QPointer<QLabel> *caption, *value;
    const char *captionName, *valueName;
  };
  const Row rows[] = {
      {&d->Net_Status, &d->m_ConnectState, "labelDialStatus", "labelDialStatusText"},
      {&d->Net_Send, &d->m_FluxForSend, "labelDialSend", "labelDialSendText"},
      {&d->Net_Receive, &d->m_FluxForReceive, "labelDialReceive", "labelDialReceiveText"},
      {&d->Net_ConnectTime, &d->m_ConnectTime, "labelDialConnectTime", "labelDialConnectTimeText"},
      {&d->Net_IPAddress, &d->m_IPAddress, "labelDialIPAddress", "labelDialIPAddressText"},
      {&d->Net_SendSpeed, &d->m_SpeedForSend, "labelDialSendSpeed", "labelDialSendSpeedText"},
      {&d->Net_ReceiveSpeed, &d->m_SpeedForReceive, "labelDialReceiveSpeed", "labelDialReceiveSpeedText"},
      {&d->tfdTotalData_, &d->m_TotalData, "labelTotalData", "labelTotalDataText"},
  };
  int r = 0;
  for (const Row &row : rows) {
    *row.caption = label(page, row.captionName);
    *row.value = label(page, row.valueName);
    area->addWidget(*row.caption, r, 0);
    area->addWidget(*row.value, r, 1);
    ++r;
  }
  area->setColumnStretch(1, 1);
  area->setVerticalSpacing(2);
  figures->addLayout(area);
  figures->addStretch();
  auto *middle = new QHBoxLayout;
  middle->addLayout(figures, 1);
  d->speedView = named(new statisticsView(page), "speedView");
  d->speedView->setMinimumSize(240, 120);
  d->speedView->followSharedSamples();
  middle->addWidget(d->speedView, 1);
  column->addLayout(middle);
  if (web.embedded) {
    d->viewContainerEmbedInUI_ = container(page, "viewContainerEmbedInUI", QSize(240, 140));
    column->addWidget(d->viewContainerEmbedInUI_, 1);
  }
  if (!web.split)
    addConnectedExtras(d, page, column, web);

  auto *bottom = new QHBoxLayout;
  d->tfdDisplayModemStartUpProcess_ = label(page, "tfdDisplayModemStartUpProcess_");
  bottom->addWidget(d->tfdDisplayModemStartUpProcess_, 1);
  d->m_ConnectButton = named(new QPushButton(page), "btnDialConnect");
  d->m_ConnectButton->setMinimumWidth(120);
  d->m_ConnectButton->setEnabled(false);
  QPushButton *button = d->m_ConnectButton;
  QObject::connect(button, &QPushButton::clicked, d, [d, button] { d->DialOption(button); });
  bottom->addWidget(d->m_ConnectButton);
  column->addLayout(bottom);
  if (!web.embedded && (web.split || !web.special))
    column->addStretch();

  buildStatisticsWindow(d, window);
  return tab;
}

} // namespace InternetPage
