// korzenik: the tool's window.
#include "qt/first_frame.h"
#include "qt/solver_app.h"

int main(int argc, char** argv) {
    korzenik::CSolverApp app(argc, argv);
    korzenik::quitAfterFirstFrameIfAsked(app);
    app.InitInstance();
    return 0;
}
