#pragma once
// The dialog's face: a widget under all the controls, covering the client area, that shows the
// client part of the window's retained framebuffer. The framebuffer starts as the face colour
// with the white backdrop in it, and the chart draws over it in window coordinates, so whatever a
// command paints, inside the backdrop or around it, shows wherever no control covers it. The view
// paints straight from the framebuffer's bytes, which are kept, so a repaint after the window was
// covered shows the chart again, and the window holds no second copy of its pixels.
#include <QWidget>

#include "chart/framebuffer.h"

namespace korzenik {

class ChartView : public QWidget {
public:
    /// Covers the parent's whole client area, which shows the framebuffer's pixels from
    /// (kClientLeft, kClientTop) on.
    ChartView(const Framebuffer& framebuffer, QWidget* parent);
    /// Repaints the part of the client area that shows a rectangle of window pixels.
    void showPixels(const PixelRect& window);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Framebuffer& m_framebuffer;
};

}  // namespace korzenik
