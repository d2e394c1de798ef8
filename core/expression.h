#pragma once
// A function typed by the user, such as "3*sin(x*x)+2*cos(x)": read once into a small program,
// then evaluated at each abscissa exactly as the catalogue evaluates its own entries — x is the
// single-precision abscissa widened to double, and every operation rounds to double, in the
// written order with the usual precedence. The five catalogue functions typed in their order of
// evaluation give their values bit for bit.
//
// The language: decimal numbers with a point and an optional exponent ("2", "0.5", "1e-3"), x,
// the constants pi and e, + - * / and ^ (right-associative, binding tighter than a unary minus:
// -x^2 is -(x^2)), parentheses, and sin cos tan exp ln log10 sqrt abs applied to a parenthesised
// argument. Names take any case; blanks may stand between tokens; a missing * is an error.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korzenik {

/// The longest expression read, in characters, and the deepest nesting of parentheses.
inline constexpr std::size_t kExpressionMaxLength = 200;
inline constexpr int kExpressionMaxNesting = 32;

/// What is wrong with a text that does not read as an expression.
enum class ExpressionError : std::uint8_t {
    None,
    Empty,                ///< nothing but blanks
    TooLong,              ///< more than kExpressionMaxLength characters
    TooDeep,              ///< a parenthesis opens the level past kExpressionMaxNesting
    UnknownName,          ///< a word that is no function, constant or x
    UnexpectedCharacter,  ///< a character that belongs to no token
    DecimalComma,         ///< a comma after a digit: the decimal point is '.'
    NumberOutOfRange,     ///< a number too large for a double
    MissingOperand,       ///< a number, x, a name or '(' was expected (also at the end)
    MissingOperator,      ///< two operands side by side, as in "2x" or ")("
    MissingArgument,      ///< a function name not followed by '('
    UnclosedParenthesis,  ///< '(' without its ')'
    UnopenedParenthesis,  ///< ')' without its '('
};

/// Where the problem lies, in characters (Unicode code points) of the text, counted from 0, and
/// the offending token's text (empty where there is none, as at the end of the text). The same
/// place in UTF-16 code units is what an edit box selects. A stray byte that is not UTF-8 counts
/// as one character, as the window systems show it.
struct ExpressionProblem {
    ExpressionError error = ExpressionError::None;
    std::size_t position = 0;
    std::size_t length = 0;
    std::string token;
    std::size_t unitPosition = 0;
    std::size_t unitLength = 0;
};

/// One instruction of an expression's program, which runs on a stack of doubles.
enum class ExpressionOp : std::uint8_t {
    PushX,
    PushConstant,
    Negate,
    Add,
    Subtract,
    Multiply,
    Divide,
    Power,
    Sin,
    Cos,
    Tan,
    Exp,
    Ln,
    Log10,
    Sqrt,
    Abs,
};

/// A read expression: its program in postfix order, with the constants it pushes.
struct Expression {
    std::vector<ExpressionOp> program;
    std::vector<double> constants;  ///< one for each PushConstant, in program order
    std::size_t stackDepth = 0;     ///< the most values on the stack at once
};

/// The program of text, or the first problem found reading it from the left.
struct ExpressionReading {
    Expression expression;
    ExpressionProblem problem;
    bool ok() const { return problem.error == ExpressionError::None; }
};

/// Reads text (UTF-8). The work and memory grow with the text's length and no more.
ExpressionReading readExpression(std::string_view text);

/// The value of a read expression at x, in double precision; not finite where the function is
/// not defined (ln of a negative number, 1/0, an overflow).
double evaluateExpression(const Expression& expression, float x);

/// The values at count abscissae at once, each the bits evaluateExpression gives: the program
/// runs once over a block of abscissae instead of once for each.
void evaluateExpression(const Expression& expression, const float* xs, double* values,
                        std::size_t count);

}  // namespace korzenik
