// The real program in a process of its own on the X server of the x11_server
// fixture, with a private HOME whose .asoundrc the test chooses, driven from
// outside as a user would (xdotool) and read from outside (xclip, /proc).
// What it prints is kept in files and read once it has ended.
#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>

#include <optional>
#include <string_view>

#include "app/window_description.h"
#include "process_figures.h"

namespace vantrigo::testing {

// Generous: reached only when something is wrong on a busy machine.
inline constexpr int kProgramPatienceMs = 60000;

// Runs a helper program to its end and gives its standard output; one that
// takes longer than the patience is ended, with what it gave so far.
inline QString runHelper(const QString& program, const QStringList& arguments,
                         int patienceMs = kProgramPatienceMs) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(patienceMs)) {
        process.kill();
        process.waitForFinished();
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

inline void xdotool(const QStringList& arguments) {
    runHelper(QStringLiteral("xdotool"), arguments);
}

// The X id of the first visible window whose title is exactly `title`, once
// one is there; empty if none comes.
inline QString waitForWindowTitled(const QString& title) {
    return runHelper(QStringLiteral("timeout"),
                     {QString::number(kProgramPatienceMs / 1000), QStringLiteral("xdotool"),
                      QStringLiteral("search"), QStringLiteral("--sync"),
                      QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                      QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')})
        .section(QLatin1Char('\n'), 0, 0);
}

// The clipboard's text as another program reads it. An owner that does not
// answer gives nothing; callers that wait for a text ask again.
inline QString clipboardText() {
    constexpr int kReadPatienceMs = 2000;
    return runHelper(
        QStringLiteral("xclip"),
        {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")},
        kReadPatienceMs);
}

inline QRect controlArea(std::string_view name) {
    for (const auto& control : window::kControls) {
        if (control.name == name) return control.geometry;
    }
    return {};
}

class ProgramUnderTest {
public:
    // `asoundrc` is the text of HOME/.asoundrc; "@HOME@" stands for HOME.
    explicit ProgramUnderTest(QString asoundrc) {
        asoundrc.replace(QStringLiteral("@HOME@"), home_.path());
        QFile file(home_.filePath(QStringLiteral(".asoundrc")));
        if (file.open(QIODevice::WriteOnly)) file.write(asoundrc.toUtf8());
        QDir(home_.path()).mkdir(QStringLiteral("runtime"));
        QFile::setPermissions(
            home_.filePath(QStringLiteral("runtime")),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    ~ProgramUnderTest() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    QString home() const { return home_.path(); }

    // Starts the program and waits for its window. False if it does not come.
    bool start() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home_.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           home_.filePath(QStringLiteral("runtime")));
        process_.setProcessEnvironment(environment);
        process_.setStandardOutputFile(home_.filePath(QStringLiteral("stdout")));
        process_.setStandardErrorFile(home_.filePath(QStringLiteral("stderr")));
        process_.start(QStringLiteral(VANTRIGO_PROGRAM), {});
        if (!process_.waitForStarted(kProgramPatienceMs)) return false;
        window_ = runHelper(QStringLiteral("timeout"),
                            {QString::number(kProgramPatienceMs / 1000), QStringLiteral("xdotool"),
                             QStringLiteral("search"), QStringLiteral("--sync"),
                             QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                             QString::number(pid())})
                      .section(QLatin1Char('\n'), 0, 0);
        return !window_.isEmpty();
    }

    qint64 pid() const { return process_.processId(); }
    const QString& window() const { return window_; }

    // A click at the middle of the control of that name in the description.
    void click(std::string_view control) { clickAt(controlArea(control).center()); }

    // A click at that point of the window's client area.
    void clickAt(QPoint point) {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window_,
                 QString::number(point.x()), QString::number(point.y()), QStringLiteral("click"),
                 QStringLiteral("1")});
    }

    void type(const QString& keys) {
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), keys});
    }

    // Presses each key in turn: xdotool's names, such as "Return" or "alt+F4".
    void keys(const QStringList& names, int delayMs = 20) {
        xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"),
                            QString::number(delayMs)} +
                names);
    }

    void activate() {
        xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window_});
    }

    void signal(int number) { ::kill(static_cast<pid_t>(pid()), number); }

    // Waits for the end; the time it took, or nothing if it did not end.
    std::optional<qint64> waitForEnd() {
        QElapsedTimer clock;
        clock.start();
        if (!process_.waitForFinished(kProgramPatienceMs)) return std::nullopt;
        return clock.elapsed();
    }

    bool endedNormally() const { return process_.exitStatus() == QProcess::NormalExit; }
    int exitCode() const { return process_.exitCode(); }

    // What it printed: read once it has ended.
    QString printed() const {
        QString text;
        for (const char* name : {"stdout", "stderr"}) {
            QFile file(home_.filePath(QLatin1String(name)));
            if (file.open(QIODevice::ReadOnly)) text += QString::fromLocal8Bit(file.readAll());
        }
        return text;
    }

    ProcessFigures figures() const { return figuresOf(static_cast<pid_t>(pid())); }

private:
    QTemporaryDir home_;
    QProcess process_;
    QString window_;
};

}  // namespace vantrigo::testing
