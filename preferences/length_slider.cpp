#include "preferences/length_slider.h"

#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>

namespace brindlewort {

LengthSlider::LengthSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
  // Tab and click give focus; the wheel alone does not.
  setFocusPolicy(Qt::StrongFocus);
}

void LengthSlider::wheelEvent(QWheelEvent* event) {
  if (!hasFocus()) {
    // Left to the parents, so the window around it still scrolls.
    event->ignore();
    return;
  }
  QSlider::wheelEvent(event);
}

void LengthSlider::paintEvent(QPaintEvent* event) {
  QSlider::paintEvent(event);
  // Not every style marks a focused slider, and the handle alone is easy to
  // miss; a frame round the whole control is not.
  if (!hasFocus()) return;
  QPainter painter(this);
  QStyleOptionFocusRect frame;
  frame.initFrom(this);
  frame.rect = rect().adjusted(1, 1, -1, -1);
  frame.backgroundColor = palette().color(QPalette::Window);
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
}

}  // namespace brindlewort
