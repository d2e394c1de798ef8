#include "app/window.h"

#include "app/res/dialog_template.h"
#include "app/res/resource.h"

namespace korzenik {

Framebuffer makeWindowFramebuffer() {
    Framebuffer fb(kWindowWidth, kWindowHeight, kFaceColour);
    // The white backdrop lies where the layout puts IDC_CHART_FRAME in the client area.
    const res::ControlTemplate* frame = res::findControl(res::kMainDialog, res::IDC_CHART_FRAME);
    constexpr int unit = res::kPixelsPerDialogUnit;
    const std::int32_t left = kClientLeft + frame->x * unit;
    const std::int32_t top = kClientTop + frame->y * unit;
    FramebufferSurface(fb).fillSolidRect(left, top, frame->w * unit, frame->h * unit, kWhite);
    return fb;
}

}  // namespace korzenik
