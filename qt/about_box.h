#pragma once
// The About box: name, version and credits, laid out from its table. OK, Enter, Escape and the
// close button all end it.
#include <QDialog>

class QPushButton;

namespace korzenik {

class CAboutBox : public QDialog {
    Q_OBJECT

public:
    /// The owner is the main window; the box opens centred over it.
    explicit CAboutBox(QWidget* owner);

    QPushButton* okButton() const { return m_ok; }

private:
    QPushButton* m_ok = nullptr;
};

}  // namespace korzenik
