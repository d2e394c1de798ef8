#include "qt/chart_view.h"

#include <QImage>
#include <QPainter>

#include "app/window.h"

namespace korzenik {

ChartView::ChartView(const Framebuffer& framebuffer, QWidget* parent)
    : QWidget(parent), m_framebuffer(framebuffer) {
    // Every pixel comes from the framebuffer, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, kClientWidth, kClientHeight);
}

void ChartView::paintEvent(QPaintEvent*) {
    // A read-only view of the framebuffer's bytes: R, G, B per pixel, rows top to bottom.
    const QImage window(m_framebuffer.rgb.data(), m_framebuffer.width, m_framebuffer.height,
                        static_cast<qsizetype>(m_framebuffer.width) * 3, QImage::Format_RGB888);
    // The whole client area every time, clipped to what needs repainting: on a scaled display
    // each framebuffer pixel then lands on the same whole device pixels whatever the dirty
    // rectangle, and without smoothing none is blended with its neighbours.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), window, QRect(kClientLeft, kClientTop, kClientWidth, kClientHeight));
}

void ChartView::showPixels(const PixelRect& window) {
    if (!window.empty()) {
        update(QRect(window.left - kClientLeft, window.top - kClientTop, window.right - window.left,
                     window.bottom - window.top));
    }
}

}  // namespace korzenik
