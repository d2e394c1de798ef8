// Reading and evaluating a typed function. The reader is a recursive descent over tokens, one
// procedure a level of precedence, emitting a postfix program as it goes; the first problem
// stops it. The evaluator runs the program on a small stack, each operation one rounding to
// double, so a typed function gives the bits of the catalogue entry written in the same order.

#include "core/expression.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "core/number_format.h"
#include "core/precision.h"
#include "core/trigonometry.h"
#include "core/utf8.h"

namespace korzenik {

namespace {

// n values on the stack at once need n-1 operators still pending between them, so 2n-1
// characters: within the length limit no program needs more than 100 places.
constexpr std::size_t kStackPlaces = 128;

enum class TokenKind : std::uint8_t { End, Number, Name, Operator, Open, Close, Problem };

struct Token {
    TokenKind kind = TokenKind::End;
    char op = 0;                 ///< + - * / ^ for an operator
    double value = 0;            ///< a number's value
    std::string_view text;       ///< the token's bytes
    std::size_t position{};      ///< in characters
    std::size_t length{};        ///< in characters
    std::size_t unitPosition{};  ///< in UTF-16 code units
    std::size_t unitLength{};    ///< in UTF-16 code units
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

/// Bytes of the character that starts at s[0]: a well-formed UTF-8 sequence's length, else 1
/// (a stray byte counts as one character of its own).
std::size_t characterBytes(std::string_view s) {
    const std::size_t n = decodeUtf8(s).size;
    return n == 0 ? 1 : n;
}

struct NamedOp {
    std::string_view name;
    ExpressionOp op;
};
constexpr std::array<NamedOp, 8> kFunctions = {{
    {"sin", ExpressionOp::Sin},
    {"cos", ExpressionOp::Cos},
    {"tan", ExpressionOp::Tan},
    {"exp", ExpressionOp::Exp},
    {"ln", ExpressionOp::Ln},
    {"log10", ExpressionOp::Log10},
    {"sqrt", ExpressionOp::Sqrt},
    {"abs", ExpressionOp::Abs},
}};

bool sameName(std::string_view typed, std::string_view name) {
    if (typed.size() != name.size()) return false;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char c =
            typed[i] >= 'A' && typed[i] <= 'Z' ? static_cast<char>(typed[i] - 'A' + 'a') : typed[i];
        if (c != name[i]) return false;
    }
    return true;
}

class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    ExpressionReading read() {
        advance();
        if (m_token.kind == TokenKind::End) {
            fail(ExpressionError::Empty, m_token);
        } else {
            sum();
        }
        if (ok() && m_token.kind != TokenKind::End) {
            fail(m_token.kind == TokenKind::Close ? ExpressionError::UnopenedParenthesis
                                                  : ExpressionError::MissingOperator,
                 m_token);
        }
        if (!ok()) m_out.expression = {};
        return std::move(m_out);
    }

private:
    bool ok() const { return m_out.problem.error == ExpressionError::None; }

    void fail(ExpressionError error, const Token& at) {
        if (!ok()) return;
        m_out.problem = {error,           at.position,  at.length, std::string(at.text),
                         at.unitPosition, at.unitLength};
    }

    void emit(ExpressionOp op) {
        Expression& e = m_out.expression;
        e.program.push_back(op);
        if (op == ExpressionOp::PushX || op == ExpressionOp::PushConstant) {
            ++m_depth;
            if (m_depth > e.stackDepth) e.stackDepth = m_depth;
        } else if (op >= ExpressionOp::Add && op <= ExpressionOp::Power) {
            --m_depth;
        }
    }

    void push(double value) {
        m_out.expression.constants.push_back(value);
        emit(ExpressionOp::PushConstant);
    }

    // sum := product (('+' | '-') product)*
    void sum() {
        product();
        while (ok() && m_token.kind == TokenKind::Operator &&
               (m_token.op == '+' || m_token.op == '-')) {
            const char op = m_token.op;
            advance();
            product();
            emit(op == '+' ? ExpressionOp::Add : ExpressionOp::Subtract);
        }
    }

    // product := signed (('*' | '/') signed)*
    void product() {
        signedPower();
        while (ok() && m_token.kind == TokenKind::Operator &&
               (m_token.op == '*' || m_token.op == '/')) {
            const char op = m_token.op;
            advance();
            signedPower();
            emit(op == '*' ? ExpressionOp::Multiply : ExpressionOp::Divide);
        }
    }

    // signed := ('-' | '+') signed | power
    void signedPower() {
        if (m_token.kind == TokenKind::Operator && (m_token.op == '-' || m_token.op == '+')) {
            const bool negate = m_token.op == '-';
            advance();
            signedPower();
            if (negate) emit(ExpressionOp::Negate);
            return;
        }
        power();
    }

    // power := operand ('^' signed)?   — right-associative through signed
    void power() {
        operand();
        if (ok() && m_token.kind == TokenKind::Operator && m_token.op == '^') {
            advance();
            signedPower();
            emit(ExpressionOp::Power);
        }
    }

    // operand := number | x | pi | e | function '(' sum ')' | '(' sum ')'
    void operand() {
        if (!ok()) return;
        const Token t = m_token;
        if (t.kind == TokenKind::Number) {
            advance();
            push(t.value);
        } else if (t.kind == TokenKind::Name) {
            if (sameName(t.text, "x")) {
                advance();
                emit(ExpressionOp::PushX);
            } else if (sameName(t.text, "pi")) {
                advance();
                push(std::numbers::pi);
            } else if (sameName(t.text, "e")) {
                advance();
                push(std::numbers::e);
            } else {
                const NamedOp* f = nullptr;
                for (const NamedOp& candidate : kFunctions) {
                    if (sameName(t.text, candidate.name)) f = &candidate;
                }
                if (!f) return fail(ExpressionError::UnknownName, t);
                advance();
                if (m_token.kind != TokenKind::Open)
                    return fail(ExpressionError::MissingArgument, t);
                parenthesised();
                if (ok()) emit(f->op);
            }
        } else if (t.kind == TokenKind::Open) {
            parenthesised();
        } else {
            fail(ExpressionError::MissingOperand, t);
        }
    }

    void parenthesised() {
        const Token open = m_token;
        if (++m_nesting > kExpressionMaxNesting) return fail(ExpressionError::TooDeep, open);
        advance();
        sum();
        if (!ok()) return;
        if (m_token.kind == TokenKind::End) return fail(ExpressionError::UnclosedParenthesis, open);
        if (m_token.kind != TokenKind::Close)
            return fail(ExpressionError::MissingOperator, m_token);
        --m_nesting;
        advance();
    }

    /// Moves to the next token; a character that starts none stops the reading.
    void advance() {
        while (m_byte < m_text.size() && isBlank(m_text[m_byte])) ++m_byte, ++m_char, ++m_unit;
        Token t;
        t.position = m_char;
        t.unitPosition = m_unit;
        const std::size_t start = m_byte;
        if (m_byte == m_text.size()) {
            m_token = t;
            return;
        }
        const char c = m_text[m_byte];
        if (isDigit(c) || (c == '.' && m_byte + 1 < m_text.size() && isDigit(m_text[m_byte + 1]))) {
            scanNumber(t);
        } else if (isLetter(c)) {
            while (m_byte < m_text.size() &&
                   (isLetter(m_text[m_byte]) || isDigit(m_text[m_byte]) || m_text[m_byte] == '_')) {
                ++m_byte;
            }
            t.kind = TokenKind::Name;
        } else if (c == '+' || c == '-' || c == '*' || c == '/' || c == '^') {
            t.kind = TokenKind::Operator;
            t.op = c;
            ++m_byte;
        } else if (c == '(' || c == ')') {
            t.kind = c == '(' ? TokenKind::Open : TokenKind::Close;
            ++m_byte;
        } else {
            m_byte += characterBytes(m_text.substr(m_byte));
            t.kind = TokenKind::Problem;
        }
        t.text = m_text.substr(start, m_byte - start);
        t.length = t.kind == TokenKind::Problem ? 1 : m_byte - start;  // tokens are ASCII
        // Only a character past U+FFFF (four bytes of UTF-8) takes two UTF-16 units.
        t.unitLength = t.kind == TokenKind::Problem && m_byte - start == 4 ? 2 : t.length;
        m_char += t.length;
        m_unit += t.unitLength;
        m_token = t;
        if (t.kind == TokenKind::Problem) {
            const bool afterDigit = start > 0 && isDigit(m_text[start - 1]);
            fail(c == ',' && afterDigit ? ExpressionError::DecimalComma
                                        : ExpressionError::UnexpectedCharacter,
                 t);
            m_token.kind = TokenKind::End;  // nothing further is read
        }
    }

    void scanNumber(Token& t) {
        const std::size_t start = m_byte;
        while (m_byte < m_text.size() && isDigit(m_text[m_byte])) ++m_byte;
        if (m_byte < m_text.size() && m_text[m_byte] == '.') {
            ++m_byte;
            while (m_byte < m_text.size() && isDigit(m_text[m_byte])) ++m_byte;
        }
        // An exponent only where digits follow the letter: "2e" is 2 and the constant e.
        if (m_byte < m_text.size() && (m_text[m_byte] == 'e' || m_text[m_byte] == 'E')) {
            std::size_t j = m_byte + 1;
            if (j < m_text.size() && (m_text[j] == '+' || m_text[j] == '-')) ++j;
            if (j < m_text.size() && isDigit(m_text[j])) {
                m_byte = j;
                while (m_byte < m_text.size() && isDigit(m_text[m_byte])) ++m_byte;
            }
        }
        t.kind = TokenKind::Number;
        t.value = convertDecimalLiteral(m_text.substr(start, m_byte - start));
        if (std::isinf(t.value)) {
            t.text = m_text.substr(start, m_byte - start);
            t.length = m_byte - start;
            t.unitLength = t.length;
            fail(ExpressionError::NumberOutOfRange, t);
        }
    }

    std::string_view m_text;
    std::size_t m_byte = 0;
    std::size_t m_char = 0;
    std::size_t m_unit = 0;
    Token m_token;
    int m_nesting = 0;
    std::size_t m_depth = 0;
    ExpressionReading m_out;
};

}  // namespace

ExpressionReading readExpression(std::string_view text) {
    // A text past the limit is refused before it is read; the problem covers what lies past it.
    std::size_t characters = 0;
    std::size_t units = 0;
    std::size_t tooLongAt = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = characterBytes(text.substr(i));
        if (characters == kExpressionMaxLength) tooLongAt = units;
        ++characters;
        units += n == 4 ? 2 : 1;
        i += n;
    }
    if (characters > kExpressionMaxLength) {
        ExpressionReading r;
        r.problem = {ExpressionError::TooLong,
                     kExpressionMaxLength,
                     characters - kExpressionMaxLength,
                     {},
                     tooLongAt,
                     units - tooLongAt};
        return r;
    }
    return Reader(text).read();
}

double evaluateExpression(const Expression& expression, float xs) {
    const double x = widen(xs);
    if (expression.program.empty()) return 0;
    // One dispatch an instruction; top points at the value on top of the stack. A read program
    // never pops more than it pushed, nor pushes past its stated depth.
    std::array<double, kStackPlaces> stack;
    double* top = stack.data() - 1;
    const double* constant = expression.constants.data();
    for (const ExpressionOp op : expression.program) {
        switch (op) {
            case ExpressionOp::PushX: *++top = x; break;
            case ExpressionOp::PushConstant: *++top = *constant++; break;
            case ExpressionOp::Negate: *top = -*top; break;
            case ExpressionOp::Add: top[-1] = top[-1] + *top, --top; break;
            case ExpressionOp::Subtract: top[-1] = top[-1] - *top, --top; break;
            case ExpressionOp::Multiply: top[-1] = top[-1] * *top, --top; break;
            case ExpressionOp::Divide: top[-1] = top[-1] / *top, --top; break;
            case ExpressionOp::Power: top[-1] = power(top[-1], *top), --top; break;
            case ExpressionOp::Sin: *top = sine(*top); break;
            case ExpressionOp::Cos: *top = cosine(*top); break;
            case ExpressionOp::Tan: *top = tangent(*top); break;
            case ExpressionOp::Exp: *top = exponential(*top); break;
            case ExpressionOp::Ln: *top = naturalLogarithm(*top); break;
            case ExpressionOp::Log10: *top = commonLogarithm(*top); break;
            case ExpressionOp::Sqrt: *top = std::sqrt(*top); break;
            case ExpressionOp::Abs: *top = std::fabs(*top); break;
        }
    }
    return stack[0];
}

void evaluateExpression(const Expression& expression, const float* xs, double* values,
                        std::size_t count) {
    // Each instruction runs over a block of abscissae: its dispatch is paid once a block, and
    // each value still goes through the very operations, in the very order, of the one at a
    // time. A row of the stack holds one place for each abscissa of the block.
    constexpr std::size_t kBlock = 64;
    if (expression.program.empty()) {
        std::fill(values, values + count, 0.0);
        return;
    }
    std::vector<double> stack(expression.stackDepth * kBlock);
    for (std::size_t base = 0; base < count; base += kBlock) {
        const std::size_t n = std::min(kBlock, count - base);
        double* top = stack.data();  // the row on top of the stack, once something is pushed
        bool empty = true;
        const auto push = [&] {
            if (!empty) top += kBlock;
            empty = false;
        };
        const auto binary = [&](auto apply) {
            double* a = top - kBlock;
            for (std::size_t i = 0; i < n; ++i) a[i] = apply(a[i], top[i]);
            top = a;
        };
        const auto unary = [&](auto apply) {
            for (std::size_t i = 0; i < n; ++i) top[i] = apply(top[i]);
        };
        const double* constant = expression.constants.data();
        for (const ExpressionOp op : expression.program) {
            switch (op) {
                case ExpressionOp::PushX:
                    push();
                    for (std::size_t i = 0; i < n; ++i) top[i] = widen(xs[base + i]);
                    break;
                case ExpressionOp::PushConstant: {
                    push();
                    const double c = *constant++;
                    std::fill(top, top + n, c);
                    break;
                }
                case ExpressionOp::Negate: unary([](double a) { return -a; }); break;
                case ExpressionOp::Add: binary([](double a, double b) { return a + b; }); break;
                case ExpressionOp::Subtract:
                    binary([](double a, double b) { return a - b; });
                    break;
                case ExpressionOp::Multiply:
                    binary([](double a, double b) { return a * b; });
                    break;
                case ExpressionOp::Divide: binary([](double a, double b) { return a / b; }); break;
                case ExpressionOp::Power:
                    binary([](double a, double b) { return power(a, b); });
                    break;
                case ExpressionOp::Sin: unary([](double a) { return sine(a); }); break;
                case ExpressionOp::Cos: unary([](double a) { return cosine(a); }); break;
                case ExpressionOp::Tan: unary([](double a) { return tangent(a); }); break;
                case ExpressionOp::Exp: unary([](double a) { return exponential(a); }); break;
                case ExpressionOp::Ln: unary([](double a) { return naturalLogarithm(a); }); break;
                case ExpressionOp::Log10: unary([](double a) { return commonLogarithm(a); }); break;
                case ExpressionOp::Sqrt: unary([](double a) { return std::sqrt(a); }); break;
                case ExpressionOp::Abs: unary([](double a) { return std::fabs(a); }); break;
            }
        }
        std::copy(stack.data(), stack.data() + n, values + base);
    }
}

}  // namespace korzenik
