#include "app/input_box.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <memory>

#include "app/window_looks.h"

namespace vantrigo {

namespace {

constexpr uint kBackspace = 8;
constexpr uint kDelete = 127;

// Keys that edit or move without producing a character, whatever text the
// platform attaches to them (X11 gives Delete the text "\x7f").
bool isEditingKey(int key) {
    switch (key) {
        case Qt::Key_Delete:
        case Qt::Key_Insert:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        default:
            return false;
    }
}

// The character codes a key press types, as a Windows keyboard translates
// them: Ctrl with a letter gives its control code (Ctrl+C is 3, Ctrl+V 22),
// so the box's own shortcuts go through the filter like any character.
QList<uint> typedCodes(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers();
    const int key = event.key();
    if (isEditingKey(key)) return {};
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z) return {uint(key - Qt::Key_A + 1)};
        if (key == Qt::Key_BracketLeft) return {27};
        if (key == Qt::Key_Backslash) return {28};
        if (key == Qt::Key_BracketRight) return {29};
        if (key == Qt::Key_Backspace) return {kDelete};
        return {};  // Ctrl+arrows, Ctrl+Insert and the like edit
    }
    if (mods & Qt::AltModifier) return {};  // menu keys, never typed into the box
    if (key == Qt::Key_Backspace) return {kBackspace};
    return event.text().toUcs4();
}

// The text up to the first line break: a one-line box takes no more of a paste.
QString firstLine(const QString& text) {
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
}

}  // namespace

InputBox::InputBox(QWidget* parent) : QLineEdit(parent) {
    // The limit is ours, so the control's own stays at its maximum.
    setMaxLength(kDefaultLengthLimit);
    setAcceptDrops(false);
}

int InputBox::room() const {
    const auto kept = text().size() - selectedText().size();
    return std::max(0, lengthLimit_ - int(kept));
}

QString InputBox::cutToRoom(QString text) const {
    qsizetype fit = std::min<qsizetype>(text.size(), room());
    if (fit > 0 && fit < text.size() && text.at(fit - 1).isHighSurrogate()) --fit;
    text.truncate(fit);
    return text;
}

QString InputBox::admitted(const QList<uint>& codes) const {
    QString typed;
    for (uint code : codes) {
        if (filter_ && !filter_(std::int32_t(code))) continue;
        if (code < 32 || code == kDelete) continue;  // control codes type nothing
        const auto character = char32_t(code);
        typed += QString::fromUcs4(&character, 1);
    }
    return cutToRoom(typed);
}

void InputBox::pasteText(const QString& text) {
    const QString fits = cutToRoom(firstLine(text));
    if (!fits.isEmpty()) insert(fits);
}

void InputBox::keyPressEvent(QKeyEvent* event) {
    const QList<uint> codes = typedCodes(*event);
    if (codes.isEmpty()) {
        // Shift+Insert pastes within the limit; other keys edit as usual.
        if (event->matches(QKeySequence::Paste)) {
            pasteText(QGuiApplication::clipboard()->text());
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (codes == QList<uint>{kBackspace}) {
        if (!filter_ || filter_(kBackspace)) QLineEdit::keyPressEvent(event);
        return;
    }
    const QString typed = admitted(codes);
    if (!typed.isEmpty()) insert(typed);
}

void InputBox::inputMethodEvent(QInputMethodEvent* event) {
    if (event->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent judged(event->preeditString(), event->attributes());
    judged.setCommitString(admitted(event->commitString().toUcs4()), event->replacementStart(),
                           event->replacementLength());
    QLineEdit::inputMethodEvent(&judged);
    event->accept();
}

void InputBox::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    // The menu's Paste goes through the length limit as well.
    if (auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, this, &QLineEdit::paste);
        connect(paste, &QAction::triggered, this,
                [this] { pasteText(QGuiApplication::clipboard()->text()); });
    }
    menu->exec(event->globalPos());
}

void InputBox::mouseReleaseEvent(QMouseEvent* event) {
    // A middle click pastes the X11 selection, within the limit.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        pasteText(QGuiApplication::clipboard()->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void InputBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    window::paintStaticEdge(painter, *this);
}

}  // namespace vantrigo
