// Start-up: the window is built hidden, shown centred, and the event loop
// runs until it is closed. No command line, files or settings are read.
#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "converter_window.h"

namespace {

// Messages Qt prints while it connects to the display. A failure to connect
// is fatal inside Qt and would abort; it becomes one line and status 1.
std::vector<std::pair<QtMsgType, QString>> startupMessages;
QtMessageHandler defaultHandler = nullptr;

void holdStartupMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtFatalMsg) {
        startupMessages.emplace_back(type, text);
        return;
    }
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    std::fprintf(stderr, "vantrigo: cannot connect to a display (DISPLAY=%s, WAYLAND_DISPLAY=%s)\n",
                 display ? display : "", wayland ? wayland : "");
    std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    // Before the window exists: it names the desktop entry the window belongs to.
    QGuiApplication::setDesktopFileName(QStringLiteral(VANTRIGO_APP_ID));
    defaultHandler = qInstallMessageHandler(holdStartupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(defaultHandler);
    for (const auto& [type, text] : std::exchange(startupMessages, {})) {
        defaultHandler(type, QMessageLogContext(), text);
    }

    std::unique_ptr<vantrigo::ConverterWindow> window;
    try {
        window = std::make_unique<vantrigo::ConverterWindow>();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Vantrigo"),
                              QStringLiteral("The window could not be built: %1")
                                  .arg(QString::fromLocal8Bit(error.what())));
        return -1;
    }
    // Closing the window ends the program at once, notices still open or not.
    QObject::connect(window.get(), &vantrigo::ConverterWindow::closed, &app, &QApplication::quit);
    window->showCentred();
    return app.exec();
}
