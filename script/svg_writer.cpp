#include "script/svg_writer.h"

#include <vector>

#include "app/control_table.h"
#include "app/res/dialog_template.h"
#include "app/res/resource.h"
#include "app/window.h"
#include "chart/svg_surface.h"
#include "script/file_replace.h"

namespace korzenik::script {

namespace {

/// From a label's top to its text's baseline: the 12-pixel text at the top of its 16-pixel row.
constexpr std::int32_t kBaseline = 12;

}  // namespace

std::string windowSvg(const DrawingRecord& drawing, const DialogHost& dialog) {
    SvgSurface svg(kWindowWidth, kWindowHeight);
    drawing.replay(svg);
    for (const int id : {res::IDC_XMIN, res::IDC_XMAX, res::IDC_YMIN, res::IDC_YMAX}) {
        const std::string text = dialog.controlText(id);
        if (text.empty()) continue;
        const ControlPlan label = controlPlan(*res::findControl(res::kMainDialog, id));
        const PixelRect place{kClientLeft + label.rect.left, kClientTop + label.rect.top,
                              kClientLeft + label.rect.right, kClientTop + label.rect.bottom};
        svg.text(place, place.top + kBaseline,
                 label.align == TextAlign::Right ? TextAnchor::End : TextAnchor::Start, text);
    }
    return svg.document();
}

bool writeSvg(const std::string& path, const DrawingRecord& drawing, const DialogHost& dialog,
              std::string* err) {
    const std::string svg = windowSvg(drawing, dialog);
    return replaceFile(path, std::vector<unsigned char>(svg.begin(), svg.end()), err);
}

}  // namespace korzenik::script
