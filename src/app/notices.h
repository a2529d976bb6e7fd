// The instructions and about notices.
#pragma once

#include <QString>

namespace vantrigo {

// An information box with one OK button, owned by no window and not modal:
// the main window stays usable while it is open, and further notices open on
// top. Runs its own event loop and returns when the box is closed, by OK,
// Enter, Escape or its close button; the box is gone by then. The text is
// shown as plain text. Open notices do not keep the program running: when the
// last other window closes the application quits, and QCoreApplication::exit
// ends the loop of every open notice at once.
void showNotice(const QString& text, const QString& title);

void showInstructions();
void showAbout();

}  // namespace vantrigo
