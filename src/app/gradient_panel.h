// A panel painted with a vertical three-colour gradient: the end colour
// along the top edge, the middle colour at half height, the start colour
// along the bottom edge.
#pragma once

#include <QColor>
#include <QWidget>

namespace enlazor::app {

struct PanelGradient {
    QColor end;     // top edge
    QColor middle;  // half height
    QColor start;   // bottom edge
};

class GradientPanel final : public QWidget {
    Q_OBJECT
public:
    GradientPanel(const PanelGradient& gradient, QWidget* parent);

    const PanelGradient& gradient() const { return gradient_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PanelGradient gradient_;
};

} // namespace enlazor::app
