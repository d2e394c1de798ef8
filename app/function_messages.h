#pragma once
// The messages about a typed function, in the tool's language.
#include <string>

#include "core/expression.h"

namespace korzenik {

/// What a Confirm reports about a typed function that does not read: what is wrong and where.
std::string expressionProblemMessage(const ExpressionProblem& problem);

/// What a step reports where the typed function has no finite value at the abscissa x.
std::string undefinedValueMessage(float x);

}  // namespace korzenik
