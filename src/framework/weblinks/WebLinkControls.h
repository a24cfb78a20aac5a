#pragma once

#include <QLabel>
#include <QPoint>
#include <QPushButton>
#include <QUrl>
#include <QWidget>

// A button that opens its link when pressed: a web page in the default browser (type 1), or an
// application or file (type 0; with `linkPara` the file opens with that application).
class WeblinkButton : public QPushButton {
  Q_OBJECT
public:
  enum LinkType { kApplicationOrFile = 0, kWebPage = 1 };
  explicit WeblinkButton(QWidget *parent = nullptr);

  void setWebLinkString(const QString &text);
  QUrl webLink() const { return webLink_; }
  void setWebLink(const QUrl &url) { webLink_ = url; }
  int linkType() const { return linkType_; }
  void setLinkType(int type) { linkType_ = type; }
  QString linkPara() const { return linkPara_; }
  void setLinkPara(const QString &application) { linkPara_ = application; }
  // What a press does after the button's own handling; false when nothing was opened.
  bool openLink();

protected:
  void mousePressEvent(QMouseEvent *event) override;

private:
  QUrl webLink_;
  int linkType_ = kWebPage;
  QString linkPara_;
};

// A picture that opens its link in the default browser when pressed; pressed while disabled, it
// posts "WebLinkImageViewDisabled" so that its owner can say why nothing opens.
class WebLinkImageView : public QLabel {
  Q_OBJECT
public:
  explicit WebLinkImageView(QWidget *parent = nullptr);
  void setWebLinkString(const QString &text);
  QUrl webLink() const { return webLink_; }
  // What a press does (tests call it: a disabled widget gets no mouse events).
  void press();

protected:
  void mousePressEvent(QMouseEvent *event) override;
  bool event(QEvent *event) override;

private:
  QUrl webLink_;
};

// A small borderless hint window the user can drag; it stays inside the screen.
class FavoriteIconHintWindow : public QWidget {
  Q_OBJECT
public:
  explicit FavoriteIconHintWindow(QWidget *parent = nullptr);
  // Where a window of `frame` moved by a drag ends inside `screen`: fully inside on both axes
  // (a window larger than the screen keeps its top-left corner on it).
  static QRect keptInside(const QRect &frame, const QRect &screen);

protected:
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;

private:
  QPoint initialLocation_;
};
