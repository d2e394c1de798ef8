#include "app/function_messages.h"

#include <string_view>

#include "app/res/strings.h"
#include "core/number_format.h"
#include "core/precision.h"

namespace korzenik {

namespace {

std::string_view problemTemplate(ExpressionError error) {
    switch (error) {
        case ExpressionError::None:
        case ExpressionError::Empty: return res::kFunctionEmptyText;
        case ExpressionError::TooLong: return res::kFunctionTooLongText;
        case ExpressionError::TooDeep: return res::kFunctionTooDeepText;
        case ExpressionError::UnknownName: return res::kFunctionUnknownNameText;
        case ExpressionError::UnexpectedCharacter: return res::kFunctionUnexpectedCharacterText;
        case ExpressionError::DecimalComma: return res::kFunctionDecimalCommaText;
        case ExpressionError::NumberOutOfRange: return res::kFunctionNumberOutOfRangeText;
        case ExpressionError::MissingOperand: return res::kFunctionMissingOperandText;
        case ExpressionError::MissingOperator: return res::kFunctionMissingOperatorText;
        case ExpressionError::MissingArgument: return res::kFunctionMissingArgumentText;
        case ExpressionError::UnclosedParenthesis: return res::kFunctionUnclosedParenthesisText;
        case ExpressionError::UnopenedParenthesis: return res::kFunctionUnopenedParenthesisText;
    }
    return res::kFunctionEmptyText;
}

}  // namespace

std::string expressionProblemMessage(const ExpressionProblem& problem) {
    constexpr std::string_view kToken = "{token}";
    constexpr std::string_view kPlace = "{place}";
    const std::string_view text = problemTemplate(problem.error);
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text.substr(i, kToken.size()) == kToken) {
            out += problem.token;
            i += kToken.size();
        } else if (text.substr(i, kPlace.size()) == kPlace) {
            out += std::to_string(problem.position + 1);
            i += kPlace.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::string undefinedValueMessage(float x) {
    std::string text(res::kUndefinedValueText);
    appendFixed(text, widen(x), 5);
    return text;
}

}  // namespace korzenik
