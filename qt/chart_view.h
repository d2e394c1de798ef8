#pragma once
// The dialog's face: a widget under all the controls, covering the client area, that shows the
// client part of the window's retained framebuffer. The framebuffer starts as the face colour
// with the white backdrop in it, and the chart draws over it in window coordinates, so whatever a
// command paints, inside the backdrop or around it, shows wherever no control covers it. The
// view keeps its own copy of the client pixels as the screen shows them, at the scale every
// window takes (app/display_scale.h) for the screen's ratio, brought up to date where a command
// drew, so a repaint after the window was covered shows the chart again at no cost.
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
    /// The client pixels at the scale for the screen's ratio now, all of them anew when that
    /// changed (the window moved to another screen).
    void followScreen();

    const Framebuffer& m_framebuffer;
    double m_scale = 0;  // device pixels a window pixel; 0 until the first look at the screen
    QImage m_client;     // the client area's device pixels at m_scale
};

}  // namespace korzenik
