#include "qt/about_box.h"

#include <QPushButton>

#include "app/control_table.h"
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

    ControlSet<QWidget*> controls;
    controls.build(layout, [this](const ControlPlan& c) { return createControl(c, this); });
    controls.stack([](QWidget* widget) { widget->raise(); });
    m_ok = qobject_cast<QPushButton*>(controls.get(res::IDOK));
    if (m_ok) connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    if (QWidget* first = controls.get(firstTabStop(layout))) first->setFocus();
}

}  // namespace korzenik
