#include "app/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>

namespace vantrigo {

bool setClipboardText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return false;

    auto* data = new QMimeData;
    data->setText(text);
    const QPointer<QMimeData> placed(data);
    clipboard->setMimeData(data, QClipboard::Clipboard);  // the clipboard owns data now
    // The platform hands back our own data only while the system clipboard
    // really serves it (on X11 it asks the server who owns the selection).
    return !placed.isNull() && clipboard->mimeData(QClipboard::Clipboard) == placed.data();
}

void onCopyTick(bool autoCopyOn, const QString& resultText) {
    if (!autoCopyOn) return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return;
    // Re-placing the same text ten times a second would flood clipboard
    // managers. text() is asked only while we own the clipboard, so that it
    // comes from our own data rather than from another program.
    if (clipboard->ownsClipboard() && clipboard->text(QClipboard::Clipboard) == resultText) return;
    setClipboardText(resultText);
}

}  // namespace vantrigo
