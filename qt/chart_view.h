#pragma once
// The chart as the window shows it: a widget over the white backdrop that paints the backdrop's
// part of the window's retained framebuffer. Because the pixels are kept, a repaint after the
// window was covered shows the chart again rather than a blank backdrop.
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include "chart/framebuffer.h"

namespace korzenik {

class ChartView : public QWidget {
public:
    /// windowOrigin: the window pixel shown at the widget's top-left corner.
    ChartView(const Framebuffer& framebuffer, QPoint windowOrigin, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Framebuffer& m_framebuffer;
    QPoint m_windowOrigin;
};

/// A drawing surface over the window's framebuffer that asks the chart to repaint once the
/// command that drew through it has let it go.
class WindowSurface : public FramebufferSurface {
public:
    WindowSurface(Framebuffer& framebuffer, ChartView* view)
        : FramebufferSurface(framebuffer), m_view(view) {}
    ~WindowSurface() override;

    WindowSurface(const WindowSurface&) = delete;
    WindowSurface& operator=(const WindowSurface&) = delete;

private:
    QPointer<ChartView> m_view;
};

}  // namespace korzenik
