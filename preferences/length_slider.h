#pragma once

// The maximum comment length slider. Its value is shared with brindle, the
// editors and the hooks, so a scroll wheel passing over it must not change
// it: it takes wheel events only when it has the keyboard focus, and then
// shows that it has it with a focus frame.

#include <QSlider>

namespace brindlewort {

class LengthSlider : public QSlider {
  Q_OBJECT
 public:
  explicit LengthSlider(QWidget* parent = nullptr);

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace brindlewort
