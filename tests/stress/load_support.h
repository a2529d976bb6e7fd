// Helpers of the tests that load the window in this process: a timer that
// measures how late the event loop gets, a catch of everything printed, a
// private ALSA configuration, and external programs run without blocking the
// event loop.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "process_figures.h"

namespace vantrigo::testing {

// Reached only when something is wrong; the machine may be busy.
inline constexpr int kPatienceMs = 300000;

// A 100 ms timer on the event loop under test, like the window's own: the
// largest gap between two of its ticks beyond the interval is how late the
// window's timers get. Each tick also samples the process figures.
class LatenessProbe : public QObject {
public:
    static constexpr int kIntervalMs = 100;

    LatenessProbe() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(kIntervalMs);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { sample(); });
    }

    void start() {
        worstLateMs_ = 0;
        ticks_ = 0;
        peak_ = figuresOf();
        clock_.start();
        timer_.start();
    }

    // The time since the last tick counts too: a load that ends while the
    // loop is held up is not let off.
    void stop() {
        sample();
        timer_.stop();
    }

    qint64 worstLateMs() const { return worstLateMs_; }
    int ticks() const { return ticks_; }
    // The largest figures seen at the ticks.
    const ProcessFigures& peak() const { return peak_; }

private:
    void sample() {
        worstLateMs_ = std::max(worstLateMs_, clock_.restart() - kIntervalMs);
        peak_.widen(figuresOf());
        ++ticks_;
    }

    QTimer timer_;
    QElapsedTimer clock_;
    qint64 worstLateMs_ = 0;
    int ticks_ = 0;
    ProcessFigures peak_;
};

// Catches what the process prints on its standard error and every Qt message
// from construction to finish(), which gives them back.
class PrintCatcher {
public:
    explicit PrintCatcher(const std::filesystem::path& file) : file_(file) {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int caught = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ::dup2(caught, STDERR_FILENO);
        ::close(caught);
        messages().clear();
        previous_ = qInstallMessageHandler(&PrintCatcher::record);
    }

    ~PrintCatcher() { restore(); }

    PrintCatcher(const PrintCatcher&) = delete;
    PrintCatcher& operator=(const PrintCatcher&) = delete;

    QString finish() {
        restore();
        std::ifstream in(file_);
        const std::string printed((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
        return messages().join(QLatin1Char('\n')) + QString::fromLocal8Bit(printed.c_str());
    }

private:
    static QStringList& messages() {
        static QStringList caught;
        return caught;
    }

    static void record(QtMsgType, const QMessageLogContext&, const QString& text) {
        messages().append(text);
    }

    void restore() {
        if (saved_ < 0) return;
        qInstallMessageHandler(previous_);
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
    }

    std::filesystem::path file_;
    int saved_ = -1;
    QtMessageHandler previous_ = nullptr;
};

// A private folder as HOME whose .asoundrc routes ALSA's "default" to the
// null device, and a runtime folder for Qt; made before anything reads them.
class NullSoundHome {
public:
    NullSoundHome() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vantrigo-stress-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) dir_ = pattern;
        std::ofstream(dir_ / ".asoundrc") << "pcm.!default { type null }\n";
        std::filesystem::create_directory(dir_ / "runtime");
        std::filesystem::permissions(dir_ / "runtime", std::filesystem::perms::owner_all);
        ::setenv("HOME", dir_.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (dir_ / "runtime").c_str(), 1);
    }

    ~NullSoundHome() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    NullSoundHome(const NullSoundHome&) = delete;
    NullSoundHome& operator=(const NullSoundHome&) = delete;

    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
};

// Runs a program to its end while the event loop goes on; its exit status,
// or -1 when it did not run or end.
inline int runBeside(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(kPatienceMs)) return -1;
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, kPatienceMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace vantrigo::testing
