#pragma once
// The main dialog, written once for every host: the members bound to the controls, the data
// exchange, and the two commands.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/dialog_host.h"
#include "core/solver_state.h"

namespace korzenik {

/// The results list box as the commands use it.
class ResultsList {
public:
    void attach(DialogHost* host) { m_host = host; }
    bool attached() const { return m_host != nullptr; }
    void appendLine(std::string_view text);
    void selectLine(int index);
    /// Deletes the first count lines at once.
    void deleteFirstLines(std::int32_t count);

private:
    DialogHost* m_host = nullptr;
};

/// The root announcement of Compute for an approximation x.
std::string rootMessage(float x);

/// A line of the results list as a screen reader should say it: "x = 1.33333, f(x) = -2.222222"
/// for "x=1.33333      |      f(x)=-2.222222".
std::string spokenLine(std::string_view line);

/// The lines a press added, spoken one after the other.
std::string spokenLines(std::span<const std::string> lines);

/// The endpoint test of Confirm on a function value: |value| within |precision|, compared as
/// squares, one factor of the value's square rounded to single precision. The sign of the
/// precision plays no part; a NaN on either side makes it false.
bool endpointWithinPrecision(double value, float precision);

/// Enables the typed function's field exactly while the drop-down shows the typed function's
/// item. Whatever changes the drop-down's selection calls it after.
void enableExpressionField(DialogHost& host);

class CSolverDialog {
public:
    /// The state lives for the whole process and is handed in, never re-initialised here.
    CSolverDialog(DialogHost& host, SolverState& state);

    /// Fills the drop-down with the catalogue's labels and writes the members into the controls.
    bool OnInitDialog();
    /// The user picked an item of the drop-down.
    void OnFunctionChanged() { enableExpressionField(m_host); }
    /// "&Zatwierdź": select, maybe reset, draw, test the ends, commit or adopt.
    void OnConfirm();
    /// "&Licz": one step, or with Auto up to the step limit.
    void OnCompute();

    /// true: controls to members, validating numbers; false: members to controls.
    bool UpdateData(bool saveAndValidate);

    /// What the chart shows, in words for a screen reader: the function and interval of the last
    /// Confirm that drew it, both axes' extremes, the steps drawn over it since it was last
    /// wiped, and the last approximation listed.
    std::string chartDescription() const;

    static constexpr std::int32_t stepLimit = 200;

    // Members bound to controls, in declaration order.
    ResultsList m_resultsList;
    float m_precision = 0;
    std::string m_xMaxText;
    std::string m_xMinText;
    std::string m_yMaxText;
    std::string m_yMinText;
    float m_end = 0;
    float m_start = 0;
    std::int32_t m_auto = 0;
    std::string m_functionLabel;
    std::string m_expression;  ///< the typed function, read when its item is chosen

private:
    /// The bindings in their fixed order; false when a number was refused (the exchange
    /// stops at that binding).
    bool DoDataExchange(bool saveAndValidate);
    void exchangeText(bool save, int id, std::string& member);
    bool exchangeNumber(bool save, int id, float& member);
    void exchangeCheck(bool save, int id, std::int32_t& member);
    void exchangeLabel(bool save, int id, std::string& member);
    /// Writes a control's text only when it differs from what the control shows.
    void writeText(int id, std::string_view text);

    /// |f(x)| within |m_precision|, compared as squares. With no function chosen the evaluation
    /// raises noFunctionFlag.
    bool isEndpointRoot(float x, std::int32_t& noFunctionFlag) const;
    void emptyResultsList();
    /// Reads the typed function at a Confirm and records it; false, after one message and with
    /// the focus on the place in its field, when it does not read.
    bool selectTypedFunction();

    DialogHost& m_host;
    SolverState& m_state;

    /// What the chart shows, as chartDescription() tells it.
    struct ChartShown {
        bool drawn = false;
        std::string function;  ///< the drop-down's label, empty for none
        std::string start;     ///< the interval's ends as the fields show them
        std::string end;
        std::int32_t steps = 0;
        std::string lastLine;  ///< the results list's, empty when it is
    };
    ChartShown m_chart;
};

}  // namespace korzenik
