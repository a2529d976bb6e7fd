#include "app/result_line.h"

#include <QMouseEvent>
#include <QWindow>

namespace vantrigo {

ResultLine::ResultLine(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
}

void ResultLine::mousePressEvent(QMouseEvent* event) {
    // The press moves the window and goes no further.
    if (event->button() == Qt::LeftButton) {
        if (QWindow* handle = window()->windowHandle()) handle->startSystemMove();
    }
    event->accept();
}

}  // namespace vantrigo
