#include "script/script_host.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>

#include "app/control_table.h"
#include "app/res/resource.h"
#include "app/res/strings.h"
#include "app/window.h"
#include "core/utf8.h"
#include "script/json_lines.h"
#include "script/png_writer.h"
#include "script/script_line.h"
#include "script/svg_writer.h"

namespace korzenik::script {

namespace {

/// The name under which the transcript reports a control: its word, else its number.
std::string controlName(int id) {
    if (const std::string_view word = controlWord(id); !word.empty()) return std::string(word);
    std::array<char, 16> buf{};
    return std::string(buf.data(), std::to_chars(buf.data(), buf.data() + buf.size(), id).ptr);
}

/// Characters that are valid but act on a terminal or on the order text is shown in: the C1
/// controls (U+009B starts an escape sequence on some terminals), the bidirectional embeddings,
/// overrides and isolates, and the byte-order mark.
bool isHiddenControl(char32_t c) {
    return (c >= 0x80 && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

}  // namespace

std::string quoteUntrusted(std::string_view text) {
    constexpr std::size_t kShown = 60;  // characters, an escape counting as one
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "'";
    std::size_t i = 0;
    std::size_t shown = 0;
    for (; i < text.size() && shown < kShown; ++shown) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const Utf8Character character = decodeUtf8(text.substr(i));
        const std::size_t n = character.size;
        if (byte == 0) {
            out += "\\0";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte == '\\') {
            out += "\\\\";
        } else if (byte == '\'') {
            out += "\\'";
        } else if (byte < 0x20 || byte == 0x7F || n == 0) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else if (const char32_t c = character.code; isHiddenControl(c)) {
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
            i += n;
            continue;
        } else {
            out.append(text.substr(i, n));
            i += n;
            continue;
        }
        ++i;
    }
    out += '\'';
    if (i < text.size()) {
        std::array<char, 24> buf{};
        out += " (cut: ";
        out.append(buf.data(), std::to_chars(buf.data(), buf.data() + buf.size(), text.size()).ptr);
        out += " bytes in all)";
    }
    return out;
}

ScriptSession::ScriptSession(EventSink sink)
    : m_sink(std::move(sink)),
      m_drawing(kWindowWidth, kWindowHeight),
      m_controls(this, m_drawing),
      m_dialog(m_controls, m_state) {
    paintWindowFace(m_drawing);
    m_dialog.OnInitDialog();
}

void ScriptSession::lineAppended(std::string_view text) { m_sink(appendEvent(text)); }
void ScriptSession::lineSelected(int index) { m_sink(selectEvent(index)); }
void ScriptSession::lineDeleted(int index) { m_sink(deleteEvent(index)); }
void ScriptSession::focusedAndSelected(int id) { m_sink(focusEvent(controlName(id))); }
void ScriptSession::focusedWithSelection(int id, int first, int count) {
    m_sink(focusEvent(controlName(id), first, count));
}

void ScriptSession::messageShown(const MessageBoxRequest& box) {
    m_sink(messageEvent(messageIconName(box.icon), box.caption, box.text));
    m_controls.dismissMessage();  // OK at once
}

void ScriptSession::reportState() {
    DialogSnapshot s;
    s.function = m_controls.controlText(res::IDC_FUNCTION);
    s.expression = m_controls.controlText(res::IDC_EXPRESSION);
    s.start = m_controls.controlText(res::IDC_START);
    s.end = m_controls.controlText(res::IDC_END);
    s.precision = m_controls.controlText(res::IDC_PRECISION);
    s.autoState = m_controls.checkState(res::IDC_AUTO);
    s.xmin = m_controls.controlText(res::IDC_XMIN);
    s.xmax = m_controls.controlText(res::IDC_XMAX);
    s.ymin = m_controls.controlText(res::IDC_YMIN);
    s.ymax = m_controls.controlText(res::IDC_YMAX);
    s.lines = m_controls.lines();
    s.selected = m_controls.selectedLine();
    m_sink(stateEvent(s));
}

bool ScriptSession::runLine(std::string_view line, std::string* err) {
    ScriptStep step;
    if (!parseScriptLine(line, &step, err)) return false;
    const std::string_view arg = step.argument;
    switch (step.action) {
        case StepAction::None: break;
        case StepAction::Pick:
            if (!m_controls.pickItem(step.control, arg)) {
                *err = "no " + std::string(step.word) + " is labelled " + quoteUntrusted(arg);
                return false;
            }
            // Whatever changes the drop-down's choice tells the dialog, as a window does.
            if (step.control == res::IDC_FUNCTION) m_dialog.OnFunctionChanged();
            break;
        case StepAction::Type:
            // Typed as a student types: never into a field the dialog has disabled.
            if (!m_controls.isEnabled(step.control)) {
                *err = "cannot type into " + quoteUntrusted(step.word) + ": the field is disabled";
                return false;
            }
            m_controls.typeText(step.control, arg);
            break;
        case StepAction::Tick: m_controls.setChecked(step.control, step.on); break;
        case StepAction::Press:
            if (step.control == res::IDC_CONFIRM) m_dialog.OnConfirm();
            if (step.control == res::IDC_COMPUTE) m_dialog.OnCompute();
            break;
        // The About box opens and is closed with OK; it changes nothing and shows no message.
        case StepAction::About: break;
        case StepAction::State: reportState(); break;
        case StepAction::Png:
        case StepAction::Svg: {
            std::string why;
            const std::string path(arg);
            if (step.action == StepAction::Png ? !writePng(path, m_controls.window(), &why)
                                               : !writeSvg(path, m_drawing, m_controls, &why)) {
                *err = "cannot write " + quoteUntrusted(arg) + ": " + why;
                return false;
            }
            break;
        }
    }
    return true;
}

LineReader::Status LineReader::next(std::string* line) {
    line->clear();
    int c = std::getc(m_in);
    if (c == EOF) return std::ferror(m_in) ? Status::ReadError : Status::End;
    ++m_lineNumber;
    while (c != EOF && c != '\n') {
        // One byte past the limit may be the \r of a line end, so the check waits for it.
        if (line->size() > kMaxLine) return Status::TooLong;
        line->push_back(static_cast<char>(c));
        c = std::getc(m_in);
    }
    if (c == EOF && std::ferror(m_in)) return Status::ReadError;
    if (!line->empty() && line->back() == '\r') line->pop_back();
    // Editors on Windows start a UTF-8 file with a byte-order mark; it is no part of the script.
    if (m_lineNumber == 1 && line->rfind("\xEF\xBB\xBF", 0) == 0) line->erase(0, 3);
    if (line->size() > kMaxLine) return Status::TooLong;
    return Status::Line;
}

}  // namespace korzenik::script
