#pragma once

// A row of widgets that continues on a further row when the width runs
// out, so that a row of buttons never makes its window wider than a small
// or magnified screen.

#include <QLayout>
#include <QList>

namespace brindlewort {

class FlowLayout : public QLayout {
 public:
  explicit FlowLayout(QWidget* parent = nullptr);
  ~FlowLayout() override;

  void addItem(QLayoutItem* item) override;
  int count() const override { return static_cast<int>(items_.size()); }
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;

  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect& rect) override;

 private:
  // Places the items in `rect` (only measures when `place` is false) and
  // returns the height used.
  int arrange(const QRect& rect, bool place) const;
  int spacingBetween(Qt::Orientation orientation) const;

  QList<QLayoutItem*> items_;
};

}  // namespace brindlewort
