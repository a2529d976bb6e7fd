// The result line: a label the user cannot focus or select, which moves the
// window when pressed with the left button.
#pragma once

#include <QLabel>

namespace vantrigo {

class ResultLine final : public QLabel {
    Q_OBJECT

public:
    explicit ResultLine(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace vantrigo
