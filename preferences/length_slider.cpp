#include "preferences/length_slider.h"

#include <QPainter>
#include <QPen>
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
  // Styles mark a focused slider faintly, some only after Tab moved the
  // focus; a frame in the highlight colour round the whole control shows
  // it either way, in light and dark palettes.
  if (!hasFocus()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
  painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
}

}  // namespace brindlewort
