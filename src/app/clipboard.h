// Copying the result line to the system clipboard.
#pragma once

#include <QString>

namespace vantrigo {

// Puts the text on the clipboard in place of whatever it held; the empty text
// puts an empty text there. Returns whether the text was put there.
bool setClipboardText(const QString& text);

// A tick of the copy timer: while auto-copy is on, the result goes to the
// clipboard.
void onCopyTick(bool autoCopyOn, const QString& resultText);

}  // namespace vantrigo
