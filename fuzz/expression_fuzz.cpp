// The reader of typed functions and their evaluation on any text. Besides crashes and undefined
// behaviour it checks what the dialog relies on:
// - a problem lies within the text (a character is at least a byte), and its token is a piece
//   of the text;
// - a read program is well formed: its stack never runs dry nor past its stated depth, which is
//   within the evaluator's places, and each constant pushed is one it holds;
// - the place an edit box selects (UTF-16 units) lies within the text too, and the message
//   naming the problem is made for every problem;
// - the work is bounded by the length limit: a text past it is refused without being read, and
//   one input gets a second of CPU time at most.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/function_messages.h"
#include "core/expression.h"
#include "fuzz/cpu_budget.h"

using korzenik::Expression;
using korzenik::ExpressionError;
using korzenik::ExpressionOp;

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

void checkProgram(const Expression& e) {
    std::size_t depth = 0;
    std::size_t constants = 0;
    for (const ExpressionOp op : e.program) {
        if (op == ExpressionOp::PushX || op == ExpressionOp::PushConstant) {
            ++depth;
            if (op == ExpressionOp::PushConstant) ++constants;
            check(depth <= e.stackDepth);
        } else if (op >= ExpressionOp::Add && op <= ExpressionOp::Power) {
            check(depth >= 2);
            --depth;
        } else {
            check(depth >= 1);
        }
    }
    check(depth == 1 && constants == e.constants.size() && e.stackDepth <= 128);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const korzenik::fuzz::CpuBudget budget(1);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const korzenik::ExpressionReading r = korzenik::readExpression(text);
    if (!r.ok()) {
        check(r.problem.unitPosition + r.problem.unitLength <= size);
        check(r.problem.unitPosition >= r.problem.position);
        check(!korzenik::expressionProblemMessage(r.problem).empty());
    }
    if (r.problem.error == ExpressionError::TooLong) {
        check(size > korzenik::kExpressionMaxLength);
        return 0;
    }
    if (!r.ok()) {
        check(r.problem.position + r.problem.length <= size);
        check(text.find(r.problem.token) != std::string_view::npos);
        check(r.expression.program.empty());
        return 0;
    }
    checkProgram(r.expression);
    for (const float x : {0.0f, -1.5f, 2.0f, 1e30f, -3.4e38f}) {
        (void)korzenik::evaluateExpression(r.expression, x);
    }
    return 0;
}
