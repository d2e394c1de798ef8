// korzenik: the tool's window.
#include "qt/solver_app.h"

int main(int argc, char** argv) {
    korzenik::CSolverApp app(argc, argv);
    app.InitInstance();
    return 0;
}
