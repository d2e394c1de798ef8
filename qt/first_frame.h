#pragma once
// A hook for start-up benchmarks: with the environment variable KORZENIK_QUIT_AFTER_FIRST_FRAME
// set, the application leaves its event loops (the dialog's modal one included) right after the
// first window has painted and shown its first frame. Without the variable nothing changes.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

namespace korzenik {

class QuitAfterFirstFrame : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType()) {
            m_seen = true;
            // Queued: the rest of the window paints and is flushed to the screen first.
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        }
        return false;
    }

private:
    bool m_seen = false;
};

inline void quitAfterFirstFrameIfAsked(QCoreApplication& app) {
    if (qEnvironmentVariableIsEmpty("KORZENIK_QUIT_AFTER_FIRST_FRAME")) return;
    app.installEventFilter(new QuitAfterFirstFrame(&app));
}

}  // namespace korzenik
