#pragma once
// The Qt widget of each kind of control of the layout table, shared by the main window and the
// About box, and the application icon.
#include <QIcon>
#include <QPalette>
#include <QRect>
#include <QString>
#include <string_view>

#include "app/control_table.h"

class QWidget;

namespace korzenik {

/// The application's palette with the face colour that the window's framebuffer starts with,
/// for the window, its controls and its boxes alike.
QPalette facePalette();

/// Keeps a top-level window's frame centred over another window's frame, or on the work area of
/// its screen when `over` is null, from its first showing until the window manager has told
/// the frame's real size.
void centreOnRealFrame(QWidget* window, QWidget* over);

/// Text of the layout tables and the app layer (UTF-8) as a QString.
QString toQString(std::string_view text);

QRect toQRect(const PixelRect& r);

/// A widget behaving like the control's kind, placed at its rectangle, showing its caption. A
/// white rectangle becomes a plain white widget; an icon shows the application icon. Push
/// buttons are never default or auto-default unless the control is the default button.
QWidget* createControl(const ControlPlan& control, QWidget* parent);

/// The application icon (16 x 16 and 32 x 32), from the resources compiled into the library.
QIcon applicationIcon();

/// Puts the toolkit's own texts (an edit box's menu, standard buttons) in the desktop's
/// language, as the system's own controls are, when Qt's translation for it is installed.
void translateToolkitTexts();

/// The window menu's Close entry in the desktop's language, with its mnemonic: the toolkit's
/// translation of the English text when it has one.
QString windowMenuCloseText(std::string_view english);

}  // namespace korzenik
