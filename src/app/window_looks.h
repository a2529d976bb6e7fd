// How the window's pieces look: fonts, colours, the thin sunken edge and the
// program's icon. Shared by the window and by the bare baseline window of the
// start-up benchmark, so that both draw exactly alike.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>

#include <string_view>

#include "app/window_description.h"

class QPainter;
class QWidget;

namespace vantrigo::window {

// Minimise and close, no maximise; the size is fixed by the window itself.
inline constexpr Qt::WindowFlags kWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

QString fromUtf8(std::string_view text);

// "宋体" at the given pixel size, in normal weight.
QFont songTi(int pixels);

// The icon at 16, 32 and 48 pixels, and twice those sizes on a dense screen.
QIcon programIcon();

// Text in textColour on a filled background of its own.
void setColours(QWidget* control, QRgb textColour, QRgb background);

// The thin sunken edge of an edit box, around the widget's rectangle.
void paintStaticEdge(QPainter& painter, const QWidget& widget);

// Moves the window to the centre of the primary screen by its outer size.
void centreOnPrimaryScreen(QWidget& window);

// The main window's title, icon, fixed size and background.
void applyWindowLooks(QWidget& window);

// The looks of a control of that kind: font, colours, frame, alignment and
// pointer. The control is of the kind's Qt class or derived from it.
void applyLooks(QWidget& control, Control kind);

// The control's object name (a mode button's from the mode table), its place
// in the client area, and the focus rule: no control is a focus stop, only a
// click gives one the focus.
void placeControl(QWidget& control, const ControlEntry& entry);

}  // namespace vantrigo::window
