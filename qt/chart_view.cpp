#include "qt/chart_view.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

namespace korzenik {

ChartView::ChartView(const Framebuffer& framebuffer, QPoint windowOrigin, QWidget* parent)
    : QWidget(parent), m_framebuffer(framebuffer), m_windowOrigin(windowOrigin) {
    // Every pixel comes from the framebuffer, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void ChartView::paintEvent(QPaintEvent* event) {
    // A read-only view of the framebuffer's bytes: R, G, B per pixel, rows top to bottom.
    const QImage window(m_framebuffer.rgb.data(), m_framebuffer.width, m_framebuffer.height,
                        static_cast<qsizetype>(m_framebuffer.width) * 3, QImage::Format_RGB888);
    const QRect target = event->rect();
    QPainter painter(this);
    painter.drawImage(target, window, target.translated(m_windowOrigin));
}

WindowSurface::~WindowSurface() {
    if (m_view) m_view->update();
}

}  // namespace korzenik
