#include "qt/about_box.h"

#include <QPushButton>
#include <vector>

#include "app/res/resource.h"
#include "qt/controls.h"

namespace korzenik {

CAboutBox::CAboutBox(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    const res::DialogTemplate& layout = res::kAboutBox;
    setWindowTitle(toQString(layout.caption));
    setFixedSize(layout.w * res::kPixelsPerDialogUnit, layout.h * res::kPixelsPerDialogUnit);
    setModal(true);
    centreOnRealFrame(this, owner);

    std::vector<QWidget*> widgets;
    for (const res::ControlTemplate& c : layout.controls) {
        QWidget* widget = createControl(c, this);
        widgets.push_back(widget);
        if (c.id == res::IDOK) m_ok = qobject_cast<QPushButton*>(widget);
    }
    stackControls(layout, widgets.data());
    if (m_ok) {
        connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
        m_ok->setFocus();
    }
}

}  // namespace korzenik
