#pragma once
// The dialog's face: a widget under all the controls, covering the client area, that shows the
// client part of the window's retained framebuffer. The framebuffer starts as the face colour
// with the white backdrop in it, and the chart draws over it in window coordinates, so whatever a
// command paints, inside the backdrop or around it, shows wherever no control covers it. The
// view keeps its own copy of the client pixels in the toolkit's format, brought up to date where
// a command drew, so a repaint after the window was covered shows the chart again at no cost.
#include <QImage>
#include <QWidget>

#include "chart/framebuffer.h"

namespace korzenik {

class ChartView : public QWidget {
public:
    /// Covers the parent's whole client area, which shows the framebuffer's pixels from
    /// (kClientLeft, kClientTop) on.
    ChartView(const Framebuffer& framebuffer, QWidget* parent);
    /// Takes the framebuffer's pixels in a rectangle of window pixels and repaints the part of
    /// the client area that shows them.
    void showPixels(const PixelRect& window);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Framebuffer& m_framebuffer;
    QImage m_client;
};

}  // namespace korzenik
