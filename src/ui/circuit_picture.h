#pragma once
// The decorative circuit diagram on the main window.

#include <QWidget>

namespace ohmara {

class CircuitPicture : public QWidget {
 public:
  explicit CircuitPicture(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace ohmara
