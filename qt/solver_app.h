#pragma once
// The application: sets up the name, version and icon, owns the one solver state of the process
// and runs the main window once.
#include <QApplication>

#include "core/solver_state.h"

namespace korzenik {

class CSolverApp : public QApplication {
public:
    CSolverApp(int& argc, char** argv);

    /// Runs the main window modally until it is closed. Returns false: the process then ends,
    /// asking nothing and saving nothing.
    bool InitInstance();

private:
    SolverState m_state;
};

}  // namespace korzenik
