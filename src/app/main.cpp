// Start-up: the window is built hidden, shown centred, and the event loop
// runs until it is closed. No command line, files or settings are read.
#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "app/converter_window.h"

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

// The requests to end that the program honours like a close of its window:
// from the session or a service manager, and Ctrl+C or a hang-up of the
// terminal it was started from.
constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler only writes a byte to this socket; the event loop reads it.
int endSignalSocket = -1;

extern "C" void noteEndSignal(int) {
    const int savedErrno = errno;
    const char byte = 0;
    // A full socket already holds a request to end.
    [[maybe_unused]] const ssize_t written = ::write(endSignalSocket, &byte, 1);
    errno = savedErrno;
}

// From now on each of kEndSignals closes the window on the event loop. If the
// socket cannot be made the signals keep their default action.
void closeOnEndSignals(QWidget& window) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0) return;
    endSignalSocket = ends[1];
    auto* notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, socket = ends[0]] {
        char bytes[64];
        while (::read(socket, bytes, sizeof bytes) > 0) {
        }
        window.close();
    });
    struct sigaction action = {};
    action.sa_handler = noteEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndSignals) sigaction(signal, &action, nullptr);
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
    closeOnEndSignals(*window);
    window->showCentred();
    return app.exec();
}
