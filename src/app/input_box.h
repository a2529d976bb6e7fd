// The one-line input box. Every character the keyboard or an input method
// produces goes through a filter before the box acts on it; the length limit
// holds for typing and pasting only, never for text set by the program, and
// never cuts a text that is already there.
#pragma once

#include <QLineEdit>

#include <cstdint>
#include <functional>

namespace vantrigo {

class InputBox final : public QLineEdit {
    Q_OBJECT

public:
    // Answers whether a typed character code may go into the box.
    using CharacterFilter = std::function<bool(std::int32_t code)>;

    // The longest text an edit control holds: the limit before one is set.
    static constexpr int kDefaultLengthLimit = 32767;

    explicit InputBox(QWidget* parent = nullptr);

    void setCharacterFilter(CharacterFilter filter) { filter_ = std::move(filter); }

    void setLengthLimit(int limit) { lengthLimit_ = limit; }
    int lengthLimit() const { return lengthLimit_; }

    // Inserts at the caret, in place of the selection, as much of the first
    // line of text as the length limit leaves room for. Unfiltered.
    void pasteText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The typed characters that pass the filter, cut to the room left.
    QString admitted(const QList<uint>& codes) const;
    // The text cut to what the limit leaves room for, beside the selection.
    QString cutToRoom(QString text) const;
    int room() const;

    CharacterFilter filter_;
    int lengthLimit_ = kDefaultLengthLimit;
};

}  // namespace vantrigo
