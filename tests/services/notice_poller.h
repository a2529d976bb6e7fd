// Driving notices from a test: showNotice blocks until its box closes, so the
// test acts on the box from a timer that runs inside the notice's own loop.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <utility>

namespace vantrigo::test {

// The notices on screen now.
inline QList<QMessageBox*> openNotices() {
    QList<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box != nullptr && box->isVisible()) boxes.append(box);
    }
    return boxes;
}

// Every message box that still exists, shown or not.
inline qsizetype existingNotices() {
    qsizetype count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(widget) != nullptr) ++count;
    return count;
}

inline QMessageBox* noticeTitled(const QString& title) {
    for (QMessageBox* box : openNotices())
        if (box->windowTitle() == title) return box;
    return nullptr;
}

// Calls step every few milliseconds until it returns true. Should a notice
// still be open at the deadline, every open notice is ended, so that a test
// whose action failed to close its box fails instead of hanging.
class NoticePoller {
public:
    explicit NoticePoller(std::function<bool()> step, int giveUpMs = 60000)
        : step_(std::move(step)), deadline_(giveUpMs) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(10);
    }

    // Whether step returned true.
    bool done() const { return done_; }
    // Whether notices had to be ended at the deadline.
    bool rescued() const { return rescued_; }

private:
    void poll() {
        if (!done_) done_ = step_();
        if (deadline_.hasExpired()) {
            const QList<QMessageBox*> boxes = openNotices();
            if (!boxes.isEmpty()) rescued_ = true;
            for (QMessageBox* box : boxes) box->done(QDialog::Rejected);
        }
    }

    std::function<bool()> step_;
    QDeadlineTimer deadline_;
    QTimer timer_;
    bool done_ = false;
    bool rescued_ = false;
};

}  // namespace vantrigo::test
