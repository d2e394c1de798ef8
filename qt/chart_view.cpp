#include "qt/chart_view.h"

#include <QPainter>
#include <cstddef>
#include <limits>

#include "app/display_scale.h"
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

void ChartView::followScreen() {
    // The window takes the screen's ratio whole (the toolkit scales it), however large.
    constexpr double kAnyRoom = std::numeric_limits<double>::infinity();
    const double scale =
        displayScale(devicePixelRatioF(), kAnyRoom, kAnyRoom, kClientWidth, kClientHeight);
    if (scale == m_scale) return;
    m_scale = scale;
    if (m_scale == 1) {
        m_client = QImage();
        return;
    }
    const PixelRect device = deviceRect(m_scale, kClientRect);
    m_client = QImage(device.right, device.bottom, QImage::Format_RGBX8888);
    m_client.setDevicePixelRatio(m_scale);
    copyScaledClientPixels(m_framebuffer, m_scale, device, PixelFormat::Rgbx32, m_client.bits(),
                           m_client.bytesPerLine());
}

void ChartView::paintEvent(QPaintEvent*) {
    // The whole client area every time, clipped to what needs repainting: one pixel of the image
    // on one device pixel, whatever the dirty rectangle, and none blended with its neighbours.
    followScreen();
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (m_scale != 1) {
        painter.drawImage(QPointF(0, 0), m_client);
        return;
    }
    // A read-only view of the framebuffer's client pixels, R, G, B each, which Qt converts as it
    // paints them: no copy is kept, nor made here.
    const std::ptrdiff_t stride = std::ptrdiff_t{m_framebuffer.width} * 3;
    const QImage client(m_framebuffer.rgb.data() + kClientTop * stride + kClientLeft * 3,
                        kClientWidth, kClientHeight, stride, QImage::Format_RGB888);
    painter.drawImage(QPointF(0, 0), client);
}

void ChartView::showPixels(const PixelRect& window) {
    const PixelRect area = clientArea(window);
    if (area.empty() || m_scale == 0) return;
    if (m_scale != 1) {
        const PixelRect device = deviceRect(m_scale, area);
        const qsizetype stride = m_client.bytesPerLine();
        copyScaledClientPixels(m_framebuffer, m_scale, device, PixelFormat::Rgbx32,
                               m_client.bits() + device.top * stride + device.left * 4, stride);
    }
    update(toQRect(area));
}

}  // namespace korzenik
