// The two commands of the main dialog. Confirm takes the function, interval and precision from
// the controls, decides whether the iteration starts over, draws the chart and settles the
// interval; Compute runs the chord method on what Confirm settled. Both reach the window only
// through the host, so every toolkit runs exactly this code.

#include "app/solver_dialog.h"

#include <initializer_list>
#include <memory>
#include <utility>

#include "app/function_messages.h"
#include "app/res/dialog_template.h"
#include "app/res/resource.h"
#include "app/res/strings.h"
#include "chart/axes.h"
#include "chart/chart_scale.h"
#include "chart/curve.h"
#include "core/false_position.h"
#include "core/function_catalogue.h"
#include "core/number_format.h"
#include "core/precision.h"

namespace korzenik {

void ResultsList::appendLine(std::string_view text) {
    if (m_host) m_host->listAddString(text);
}

void ResultsList::selectLine(int index) {
    if (m_host) m_host->listSetCurSel(index);
}

void ResultsList::deleteFirstLines(std::int32_t count) {
    if (m_host && count > 0) m_host->listDeleteFirst(count);
}

std::string rootMessage(float x) {
    std::string text;
    text.reserve(64);
    text += res::kRootMessage;
    appendFixed(text, widen(x), 5);
    return text;
}

std::string spokenLine(std::string_view line) {
    std::string out;
    bool parted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        // The first bar with the blanks around it parts the two values as a comma does.
        if (line[i] == '|' && !parted) {
            parted = true;
            while (!out.empty() && out.back() == ' ') out.pop_back();
            while (i + 1 < line.size() && line[i + 1] == ' ') ++i;
            out += ", ";
        } else if (line[i] == '=') {
            out += " = ";
        } else {
            out += line[i];
        }
    }
    return out;
}

std::string spokenLines(std::span<const std::string> lines) {
    std::string out;
    for (const std::string& line : lines) {
        if (!out.empty()) out += ". ";
        out += spokenLine(line);
    }
    return out;
}

namespace {

/// The text with %1, %2, ... replaced by the values in their order.
std::string filled(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t n = i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '1') : 0;
        if (text[i] == '%' && i + 1 < text.size() && n < values.size()) {
            out += values.begin()[n];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::string CSolverDialog::chartDescription() const {
    if (!m_chart.drawn) return std::string(res::kChartEmpty);
    std::string text =
        m_chart.function.empty()
            ? filled(res::kChartWithoutFunction, {m_chart.start, m_chart.end})
            : filled(res::kChartOfFunction, {m_chart.function, m_chart.start, m_chart.end});
    text += filled(res::kChartAxes, {m_xMinText, m_xMaxText, m_yMinText, m_yMaxText});
    text += m_chart.steps > 0 ? filled(res::kChartSteps, {std::to_string(m_chart.steps)})
                              : std::string(res::kChartNoSteps);
    if (!m_chart.lastLine.empty()) {
        text += filled(res::kChartLastLine, {spokenLine(m_chart.lastLine)});
    }
    return text;
}

CSolverDialog::CSolverDialog(DialogHost& host, SolverState& state) : m_host(host), m_state(state) {}

bool CSolverDialog::OnInitDialog() {
    for (std::string_view label : res::functionItems()) {
        m_host.addComboItem(res::IDC_FUNCTION, label);
    }
    UpdateData(false);
    enableExpressionField(m_host);
    return true;
}

void enableExpressionField(DialogHost& host) {
    const int selected = host.comboSelection(res::IDC_FUNCTION);
    host.setControlEnabled(res::IDC_EXPRESSION,
                           selected >= 0 && res::functionIndexOfItem(host.comboItemText(
                                                res::IDC_FUNCTION, selected)) == kOwnFunction);
}

bool endpointWithinPrecision(double value, float precision) {
    const double p = widen(precision);
    return p * p >= widen(single(value)) * value;
}

bool CSolverDialog::isEndpointRoot(float x, std::int32_t& noFunctionFlag) const {
    return endpointWithinPrecision(chosenFunction(m_state).at(x, noFunctionFlag), m_precision);
}

bool CSolverDialog::selectTypedFunction() {
    ExpressionReading reading = readExpression(m_expression);
    if (!reading.ok()) {
        const ExpressionProblem& problem = reading.problem;
        m_host.messageBox(expressionProblemMessage(problem), res::kFunctionErrorCaption,
                          MessageIcon::Exclamation);
        m_host.focusAndSelect(res::IDC_EXPRESSION, static_cast<int>(problem.unitPosition),
                              static_cast<int>(problem.unitLength));
        return false;
    }
    selectOwnFunction(m_state, m_expression, std::move(reading.expression));
    return true;
}

void CSolverDialog::emptyResultsList() {
    // The list holds one line for each step since the last reset.
    m_resultsList.deleteFirstLines(m_state.iterationCounter - 1);
}

void CSolverDialog::OnConfirm() {
    // A refused number was reported and its field focused: the press ends there, so the fields
    // keep what the student typed and no message speaks of values nobody entered.
    if (!UpdateData(true)) return;
    // A typed function that does not read is reported like a refused number: nothing else
    // happens in the press, and the state keeps the function of the previous Confirm.
    const FunctionIndex chosen = res::functionIndexOfItem(m_functionLabel);
    if (chosen == kOwnFunction && !selectTypedFunction()) return;
    m_state.noFunctionFlag = 0;
    const bool noneChosen = chosen != kOwnFunction && selectFunction(m_state, chosen);
    if (noneChosen) {
        m_host.messageBox(res::kNoFunctionText, res::kNoFunctionCaption, MessageIcon::Exclamation);
    }

    const std::unique_ptr<DrawingSurface> surface = m_host.windowSurface();
    if (resetDue(m_state, m_start, m_end)) {
        clearChart(*surface);
        emptyResultsList();
        resetSolverState(m_state);
        m_chart.steps = 0;
        m_chart.lastLine.clear();
    }

    // The chart is drawn from the numbers as typed; what is tested and settled below is what the
    // fields show after they were written back with six significant digits.
    const float start = m_start;
    const float end = m_end;
    const ChartScale scale =
        computeChartScale(start, end, chosenFunction(m_state), m_state.noFunctionFlag);
    drawAxes(*surface, scale, m_state.noFunctionFlag);
    m_xMinText = formatFixed(widen(start), 1);
    m_xMaxText = formatFixed(widen(end), 1);
    m_yMaxText = formatFixed(widen(scale.max), 1);
    m_yMinText = formatFixed(widen(scale.min), 1);
    UpdateData(false);
    drawCurve(*surface, scale, chosenFunction(m_state), m_state.noFunctionFlag);
    UpdateData(true);
    m_chart.drawn = true;
    // A typed function is told by its text, as the catalogue's are by their labels.
    m_chart.function = chosen == kOwnFunction ? "f(x) = " + m_expression : m_functionLabel;
    m_chart.start = formatDialogNumber(m_start);
    m_chart.end = formatDialogNumber(m_end);

    const bool hitStart = isEndpointRoot(m_start, m_state.noFunctionFlag);
    if (hitStart) {
        m_state.stage = Stage::RootAtEnd;
        m_host.messageBox(res::kRootAtStartText, res::kRootFoundCaption, MessageIcon::Information);
    }
    const bool hitEnd = isEndpointRoot(m_end, m_state.noFunctionFlag);
    if (hitEnd) {
        m_state.stage = Stage::RootAtEnd;
        m_host.messageBox(res::kRootAtEndText, res::kRootFoundCaption, MessageIcon::Information);
    }

    const bool sameEnds = sameSingle(m_start, m_end);
    if (!sameEnds && !hitStart && !hitEnd && m_state.stage == Stage::Open) {
        commitInterval(m_state, m_start, m_end, m_precision);
    } else {
        if (sameEnds && !hitStart && !hitEnd) {
            m_host.messageBox(res::kSameEndsText, res::kBadRangeCaption, MessageIcon::Exclamation);
        }
        adoptInterval(m_state, m_start, m_end, m_precision);
    }
}

void CSolverDialog::OnCompute() {
    // The overlay is scaled to the interval of the previous exchange, before this press reads the
    // fields; the bracket itself is the one Confirm settled.
    const ChartScale scale =
        computeChartScale(m_start, m_end, chosenFunction(m_state), m_state.noFunctionFlag);
    if (!UpdateData(true)) return;  // reported and focused; no step on numbers never read
    if (!bracketChangesSign(m_state, m_state.noFunctionFlag)) {
        m_host.messageBox(res::kNoSignChangeText, res::kBadRangeCaption, MessageIcon::Exclamation);
        return;
    }

    bool stop = false;
    while (!stop) {
        // The step that begins past the limit still runs; it is the last of the press.
        if (m_auto == 0 || m_state.iterationCounter > stepLimit) stop = true;
        StepOutcome outcome = falsePositionStep(m_state);
        if (outcome.undefined || outcome.noChordZero) {
            // A typed function without a finite value where the step needs one: said once, and
            // the press ends with nothing listed or drawn for the step.
            m_host.messageBox(outcome.undefined ? undefinedValueMessage(outcome.undefinedAt)
                                                : std::string(res::kNoChordZeroText),
                              res::kFunctionErrorCaption, MessageIcon::Exclamation);
            return;
        }
        m_resultsList.appendLine(outcome.resultLine);
        m_resultsList.selectLine(m_state.iterationCounter - 1);
        if (outcome.converged) {
            stop = true;
            m_host.messageBox(rootMessage(outcome.approximation), res::kSolutionCaption,
                              MessageIcon::Information);
        } else {
            const std::unique_ptr<DrawingSurface> surface = m_host.windowSurface();
            drawIterationStep(*surface, scale, outcome.chordA, outcome.chordB,
                              outcome.approximation, chosenFunction(m_state));
            ++m_chart.steps;
        }
        m_chart.lastLine = std::move(outcome.resultLine);
        ++m_state.iterationCounter;
    }
}

}  // namespace korzenik
