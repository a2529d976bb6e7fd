// How the window's pieces look: fonts, colours, the thin sunken edge and the
// program's icon. Shared by the window and by the bare baseline window of the
// start-up benchmark, so that both draw exactly alike.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>

#include <string_view>

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

}  // namespace vantrigo::window
