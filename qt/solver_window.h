#pragma once
// The main window: a fixed-size QDialog built control by control from the main dialog's layout
// table, hosting the toolkit-neutral CSolverDialog through the DialogHost interface.
#include <QDialog>
#include <functional>
#include <memory>
#include <string_view>

#include "app/control_table.h"
#include "app/dialog_host.h"
#include "app/solver_dialog.h"
#include "app/window_menu.h"
#include "chart/framebuffer.h"
#include "core/solver_state.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace korzenik {

class ChartView;

/// Shows a modal message box; the real one is a QMessageBox, tests put their own in its place.
using MessageBoxHandler =
    std::function<void(std::string_view text, std::string_view caption, MessageIcon icon)>;

class SolverWindow : public QDialog, public DialogHost {
    Q_OBJECT

public:
    /// The state belongs to the application and outlives the window.
    explicit SolverWindow(SolverState& state, QWidget* parent = nullptr);
    ~SolverWindow() override;

    /// False when the dialog's initialisation failed; the window should then not be run.
    bool initialised() const { return m_initialised; }

    /// The widget standing for a control of the layout table, or nullptr (always for
    /// IDC_STATIC).
    QWidget* control(int id) const { return m_controls.get(id); }
    /// The window's retained pixels, in window coordinates.
    const Framebuffer& framebuffer() const { return m_framebuffer; }
    /// Replaces the message box; an empty handler restores the real one.
    void setMessageBoxHandler(MessageBoxHandler handler) {
        m_messageBoxHandler = std::move(handler);
    }

    // DialogHost
    std::string controlText(int id) const override;
    void setControlText(int id, std::string_view text) override;
    int checkState(int id) const override;
    void setCheckState(int id, int state) override;
    void addComboItem(int id, std::string_view text) override;
    int comboItemCount(int id) const override;
    std::string comboItemText(int id, int index) const override;
    int comboSelection(int id) const override;
    void setComboSelection(int id, int index) override;
    void listAddString(std::string_view text) override;
    void listSetCurSel(int index) override;
    void listDeleteString(int index) override;
    void listDeleteFirst(int count) override;
    void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) override;
    void focusAndSelectAll(int id) override;
    void focusAndSelect(int id, int first, int count) override;
    void setControlEnabled(int id, bool enabled) override;
    std::unique_ptr<DrawingSurface> windowSurface() override;

public slots:
    /// Opens the About box modally over this window.
    void showAboutBox();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void buildControls();
    /// Gives each control the name a screen reader says, from the layout table, and each field
    /// the static text that labels it as its buddy.
    void nameControls();
    /// Tells a screen reader what the chart shows now, as the chart's description.
    void describeChart();
    /// Asks the widget for its context menu as the keyboard does: the window menu, or an edit
    /// box's own.
    void openContextMenu(QWidget* widget);
    /// The window menu, with the About entry, at a point of the screen.
    void showWindowMenu(QPoint globalPos);
    void runCommand(WindowCommand command);
    /// The control of the table that is this widget or holds it, or nullptr.
    const ControlPlan* controlOf(const QWidget* widget) const;
    QComboBox* combo(int id) const;
    QLineEdit* edit(int id) const;
    QCheckBox* checkBox(int id) const;

    ControlSet<QWidget*> m_controls;
    ChartView* m_chart = nullptr;
    QListWidget* m_results = nullptr;
    Framebuffer m_framebuffer;
    MessageBoxHandler m_messageBoxHandler;
    CSolverDialog m_dialog;
    bool m_initialised = false;
};

}  // namespace korzenik
