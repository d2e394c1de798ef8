#include "qt/chart_view.h"

#include <QPainter>

#include "app/window.h"
#include "qt/controls.h"

namespace korzenik {

ChartView::ChartView(const Framebuffer& framebuffer, QWidget* parent)
    : QWidget(parent),
      m_framebuffer(framebuffer),
      m_client(kClientWidth, kClientHeight, QImage::Format_RGBX8888) {
    // Every pixel comes from the framebuffer, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, kClientWidth, kClientHeight);
    copyClientPixels(m_framebuffer, kClientRect, PixelFormat::Rgbx32, m_client.bits(),
                     m_client.bytesPerLine());
}

void ChartView::paintEvent(QPaintEvent*) {
    // The whole client area every time, clipped to what needs repainting: on a scaled display
    // each framebuffer pixel then lands on the same whole device pixels whatever the dirty
    // rectangle, and without smoothing none is blended with its neighbours.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), m_client);
}

void ChartView::showPixels(const PixelRect& window) {
    const PixelRect area = clientArea(window);
    if (area.empty()) return;
    const qsizetype stride = m_client.bytesPerLine();
    copyClientPixels(m_framebuffer, area, PixelFormat::Rgbx32,
                     m_client.bits() + area.top * stride + area.left * 4, stride);
    update(toQRect(area));
}

}  // namespace korzenik
