#include "qt/chart_view.h"

#include <QImage>
#include <QPainter>
#include <cstddef>

#include "app/window.h"
#include "qt/controls.h"

namespace korzenik {

ChartView::ChartView(const Framebuffer& framebuffer, QWidget* parent)
    : QWidget(parent), m_framebuffer(framebuffer) {
    // Every pixel comes from the framebuffer, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, kClientWidth, kClientHeight);
}

void ChartView::paintEvent(QPaintEvent*) {
    // A read-only view of the framebuffer's client pixels, R, G, B each, which Qt converts as it
    // paints them: no copy of the window's pixels is kept, nor made here.
    const std::ptrdiff_t stride = std::ptrdiff_t{m_framebuffer.width} * 3;
    const QImage client(m_framebuffer.rgb.data() + kClientTop * stride + kClientLeft * 3,
                        kClientWidth, kClientHeight, stride, QImage::Format_RGB888);
    // The whole client area every time, clipped to what needs repainting: on a scaled display
    // each framebuffer pixel then lands on the same whole device pixels whatever the dirty
    // rectangle, and without smoothing none is blended with its neighbours.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), client);
}

void ChartView::showPixels(const PixelRect& window) {
    const PixelRect area = clientArea(window);
    if (!area.empty()) update(toQRect(area));
}

}  // namespace korzenik
