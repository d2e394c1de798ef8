#pragma once
// The dialog's face: a widget under all the controls, covering the client area, that shows the
// client part of the window's retained framebuffer. The framebuffer starts as the face colour
// with the white backdrop in it, and the chart draws over it in window coordinates, so whatever a
// command paints, inside the backdrop or around it, shows wherever no control covers it. At the
// scale every window takes (app/display_scale.h) for the screen's ratio: at one device pixel a
// window pixel the view paints straight from the framebuffer's bytes, which are kept, and holds
// no second copy; at any other scale it keeps the client pixels as the screen shows them,
// brought up to date where a command drew. Either way a repaint after the window was covered
// shows the chart again at no cost.
#include <QImage>
#include <QWidget>

#include "chart/framebuffer.h"

namespace korzenik {

struct PixelRect;

class ChartView : public QWidget {
public:
    ChartView(const Framebuffer& framebuffer, QWidget* parent);

    /// Shows the part of a window rectangle that lies in the client area.
    void showPixels(const PixelRect& window);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    /// The scale for the screen's ratio now; on a change of scale (the window moved to another
    /// screen) the scaled copy is made anew, or dropped at scale 1.
    void followScreen();

    const Framebuffer& m_framebuffer;
    double m_scale = 0;  // device pixels a window pixel; 0 until the first look at the screen
    QImage m_client;     // the client area's device pixels at m_scale, unless m_scale is 1
};

}  // namespace korzenik
