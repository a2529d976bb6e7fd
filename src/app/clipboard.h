// Copying the result line to the system clipboard.
#pragma once

#include <QString>

namespace vantrigo {

// Puts the text on the system clipboard (X11 CLIPBOARD selection, or the
// Wayland clipboard) in place of whatever it held; the empty text puts an
// empty text there. Returns whether the clipboard now serves this text.
bool setClipboardText(const QString& text);

// A tick of the copy timer: while auto-copy is on, the result goes to the
// clipboard. A clipboard that already holds exactly this text from us is left
// as it is, so clipboard managers see no change at every tick; anything
// copied elsewhere is replaced at the next tick.
void onCopyTick(bool autoCopyOn, const QString& resultText);

}  // namespace vantrigo
