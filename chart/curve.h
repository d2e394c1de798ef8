#pragma once
#include "chart/chart_scale.h"

namespace korzenik {

/// Draws the red graph of the function, one point per pixel column.
void drawCurve(DrawingSurface& surface, const ChartScale& scale, const ChosenFunction& function,
               int noFunctionFlag);

/// Draws one step of the iteration: the blue chord between the bracket ends the step started
/// from, and the gray line from the horizontal axis to the curve at the new approximation.
void drawIterationStep(DrawingSurface& surface, const ChartScale& scale, float chordA, float chordB,
                       float approximation, const ChosenFunction& function);

}  // namespace korzenik
