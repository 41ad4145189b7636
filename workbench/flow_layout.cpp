#include "workbench/flow_layout.h"

#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace brindlewort {

FlowLayout::FlowLayout(QWidget* parent) : QLayout(parent) {}

FlowLayout::~FlowLayout() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void FlowLayout::addItem(QLayoutItem* item) { items_.append(item); }

QLayoutItem* FlowLayout::itemAt(int index) const { return index >= 0 && index < count() ? items_.at(index) : nullptr; }

QLayoutItem* FlowLayout::takeAt(int index) { return index >= 0 && index < count() ? items_.takeAt(index) : nullptr; }

int FlowLayout::heightForWidth(int width) const { return arrange(QRect(0, 0, width, 0), false); }

QSize FlowLayout::minimumSize() const {
  // As narrow as the widest item: the others move to rows of their own.
  QSize size;
  for (const QLayoutItem* item : items_) size = size.expandedTo(item->minimumSize());
  const QMargins margins = contentsMargins();
  return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize FlowLayout::sizeHint() const {
  // Everything on one row.
  int width = 0;
  int height = 0;
  for (const QLayoutItem* item : items_) {
    if (width > 0) width += spacingBetween(Qt::Horizontal);
    width += item->sizeHint().width();
    height = std::max(height, item->sizeHint().height());
  }
  const QMargins margins = contentsMargins();
  return {width + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

void FlowLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  arrange(rect, true);
}

int FlowLayout::spacingBetween(Qt::Orientation orientation) const {
  if (spacing() >= 0) return spacing();
  const QWidget* owner = parentWidget();
  if (!owner) return 0;
  return owner->style()->layoutSpacing(QSizePolicy::PushButton, QSizePolicy::PushButton, orientation);
}

int FlowLayout::arrange(const QRect& rect, bool place) const {
  const QMargins margins = contentsMargins();
  const QRect area = rect.marginsRemoved(margins);
  const int across = spacingBetween(Qt::Horizontal);
  const int down = spacingBetween(Qt::Vertical);
  int x = area.x();
  int y = area.y();
  int rowHeight = 0;
  for (QLayoutItem* item : items_) {
    const QSize size = item->sizeHint();
    if (x > area.x() && x + size.width() > area.right() + 1) {
      x = area.x();
      y += rowHeight + down;
      rowHeight = 0;
    }
    if (place) item->setGeometry(QRect(QPoint(x, y), size));
    x += size.width() + across;
    rowHeight = std::max(rowHeight, size.height());
  }
  return y + rowHeight - rect.y() + margins.bottom();
}

}  // namespace brindlewort
