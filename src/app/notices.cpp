#include "app/notices.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QObject>

namespace vantrigo {
namespace {

struct NoticeContent {
    const char8_t* title;
    const char8_t* text;
};

constexpr NoticeContent kInstructions{u8"说明：", u8"Vantrigo：方便进制的转换，可自动转换。"};
constexpr NoticeContent kAbout{u8"关于：", u8"作者：Tolvasen    2013－6－23  "};

void showContent(const NoticeContent& content) {
    showNotice(QString::fromUtf8(content.text), QString::fromUtf8(content.title));
}

}  // namespace

void showNotice(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok);
    // QMessageBox makes itself modal; a notice must leave the main window usable.
    box.setWindowModality(Qt::NonModal);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    // A notice left open must not keep the program alive once the main window
    // has closed: the quit that follows ends this loop too.
    box.setAttribute(Qt::WA_QuitOnClose, false);

    QEventLoop loop;
    QObject::connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
    box.show();
    box.activateWindow();
    loop.exec();
}

void showInstructions() {
    showContent(kInstructions);
}

void showAbout() {
    showContent(kAbout);
}

}  // namespace vantrigo
