// The yardstick for the window's start-up: an empty Qt 6 dialog with the same client size, run
// modally like the tool's window. KORZENIK_QUIT_AFTER_FIRST_FRAME makes it quit after its first
// frame, as it does the tool.
#include <QApplication>
#include <QDialog>

#include "app/window.h"
#include "qt/first_frame.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    korzenik::quitAfterFirstFrameIfAsked(app);
    QDialog dialog;
    dialog.setFixedSize(korzenik::kClientWidth, korzenik::kClientHeight);
    dialog.exec();
    return 0;
}
