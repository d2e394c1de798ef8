// The floor for the window's start-up: a Qt 6 dialog built from the main dialog's layout table
// with the same controls, texts, icon and face colour as the tool's window, but no dialog
// application behind it and no framebuffer. KORZENIK_QUIT_AFTER_FIRST_FRAME makes it quit after
// its first frame, as it does the tool.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

#include "app/control_table.h"
#include "app/res/dialog_template.h"
#include "app/window.h"
#include "qt/controls.h"
#include "qt/first_frame.h"

int main(int argc, char** argv) {
    using namespace korzenik;
    QApplication app(argc, argv);
    quitAfterFirstFrameIfAsked(app);
    app.setWindowIcon(applicationIcon());
    QDialog dialog;
    dialog.setWindowTitle(toQString(res::kMainDialog.caption));
    dialog.setFixedSize(kClientWidth, kClientHeight);
    dialog.setPalette(facePalette());
    ControlSet<QWidget*> controls;
    controls.build(res::kMainDialog, [&dialog](const ControlPlan& c) {
        QWidget* widget = createControl(c, &dialog);
        // What the tool's start writes into them: the catalogue's labels and three zeros.
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (std::string_view label : res::functionItems()) combo->addItem(toQString(label));
            combo->setCurrentIndex(-1);
        }
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->setText(QStringLiteral("0"));
        return widget;
    });
    controls.stack([](QWidget* widget) { widget->raise(); });
    dialog.exec();
    return 0;
}
