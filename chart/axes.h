#pragma once
#include "chart/chart_scale.h"

namespace korzenik {

/// Tick step of the vertical axis for an extent (all fourteen rungs); the extent itself when no
/// rung matches.
float verticalTickStep(float ySpan);

/// Tick step of the horizontal axis for a range (rungs 6 to 14); `fallback` when no rung matches.
float horizontalTickStep(float range, float fallback);

/// Draws both axes with their tick marks in black.
void drawAxes(DrawingSurface& surface, const ChartScale& scale, int noFunctionFlag);

}  // namespace korzenik
