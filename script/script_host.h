#pragma once
// The headless host of korzenik-script: one session of the main dialog held in memory, driven by
// the lines of a script as a user would drive the window, with everything the user would see
// reported as JSON Lines events as it happens. Message boxes are dismissed with OK as soon as
// they are shown.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/memory_dialog.h"
#include "app/solver_dialog.h"
#include "chart/drawing_record.h"
#include "core/solver_state.h"

namespace korzenik::script {

/// The script language, a line each: what the usage text and the manual page list.
inline constexpr std::string_view kLanguageSummary =
    "  function LABEL          pick the drop-down item with exactly this text\n"
    "  expression F            type the function F (after 'function Własna funkcja')\n"
    "  start|end|precision T   type T into the field (the whole rest of the line)\n"
    "  auto on|off             tick or clear Auto\n"
    "  confirm / compute       press Zatwierdź / Licz\n"
    "  about                   open the About box and close it with OK\n"
    "  state                   report the dialog as it stands\n"
    "  png PATH                save the window's pixels as a PNG picture\n"
    "  svg PATH                save the window's picture as an SVG drawing\n"
    "  # comment, blank line   skipped\n";

class ScriptSession : private DialogListener {
public:
    /// Receives each event line, without its newline, as it happens.
    using EventSink = std::function<void(std::string_view line)>;

    /// A freshly started dialog: initialised, nothing typed, nothing pressed.
    explicit ScriptSession(EventSink sink);
    ScriptSession(const ScriptSession&) = delete;
    ScriptSession& operator=(const ScriptSession&) = delete;

    /// Performs one script line (without its line end). Returns false, saying why in *err, when
    /// the line cannot be performed; the session is then as the lines before left it.
    bool runLine(std::string_view line, std::string* err);

    MemoryDialog& controls() { return m_controls; }
    const SolverState& state() const { return m_state; }

private:
    void lineAppended(std::string_view text) override;
    void lineSelected(int index) override;
    void lineDeleted(int index) override;
    void messageShown(const MessageBoxRequest& box) override;
    void focusedAndSelected(int id) override;
    void focusedWithSelection(int id, int first, int count) override;
    void reportState();

    /// The dialog held in memory, whose window's drawing is recorded too.
    class RecordedDialog final : public MemoryDialog {
    public:
        RecordedDialog(DialogListener* listener, DrawingRecord& drawing)
            : MemoryDialog(listener), m_drawing(drawing) {}
        std::unique_ptr<DrawingSurface> windowSurface() override {
            return m_drawing.recordThrough(MemoryDialog::windowSurface());
        }

    private:
        DrawingRecord& m_drawing;
    };

    EventSink m_sink;
    /// Everything drawn on the window since it opened that still shows, for `svg`.
    DrawingRecord m_drawing;
    RecordedDialog m_controls;
    SolverState m_state;
    CSolverDialog m_dialog;
};

/// A text from outside (a script line, a path) made safe to put into a message: single-quoted,
/// at most about 60 characters of it, with control bytes, NUL and bytes that are not UTF-8
/// written as escapes (\0, \t, \x1b, \xff), the C1 controls, the bidirectional overrides and
/// isolates and the byte-order mark as \u escapes (\u009b, \u202e), and a note of how long it
/// was when it was cut.
std::string quoteUntrusted(std::string_view text);

/// Reads a script a line at a time, so that a session runs while its script is still being
/// written and memory stays flat however long it is. Line ends are \n, with or without \r; a
/// UTF-8 byte-order mark at the very start is skipped.
class LineReader {
public:
    /// Longest line taken, its line end not counted.
    static constexpr std::size_t kMaxLine = 64 * 1024;

    enum class Status { Line, End, TooLong, ReadError };

    explicit LineReader(std::FILE* in) : m_in(in) {}

    /// The next line in *line. TooLong when a line exceeds kMaxLine (it is not read further);
    /// ReadError with errno as the stream left it.
    Status next(std::string* line);
    /// Number of the line last returned, from 1.
    std::uint64_t lineNumber() const { return m_lineNumber; }

private:
    std::FILE* m_in;
    std::uint64_t m_lineNumber = 0;
};

}  // namespace korzenik::script
