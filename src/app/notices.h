// The instructions and about notices.
#pragma once

#include <QString>

namespace vantrigo {

// An information box with one OK button, owned by no window and not modal:
// the main window stays usable while it is open. Returns when the box is
// closed, by OK, Enter, Escape or its close button.
void showNotice(const QString& text, const QString& title);

void showInstructions();
void showAbout();

}  // namespace vantrigo
