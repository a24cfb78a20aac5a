#pragma once

#include <QLayout>
#include <QList>

// A row of controls that wraps onto further rows when the width does not hold them all at their
// preferred sizes, so that every button keeps the room its worded title needs in any language.
class FlowRow : public QLayout {
public:
  explicit FlowRow(QWidget *parent = nullptr, int spacing = 6);
  ~FlowRow() override;

  void addItem(QLayoutItem *item) override;
  int count() const override { return int(items_.size()); }
  QLayoutItem *itemAt(int index) const override { return items_.value(index); }
  QLayoutItem *takeAt(int index) override;
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return arrange(QRect(0, 0, width, 0), false); }
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect &rect) override;

private:
  // Places the items in `rect` (or only measures); answers the height they take.
  int arrange(const QRect &rect, bool place) const;
  QList<QLayoutItem *> items_;
};
