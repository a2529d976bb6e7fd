// The end of the real program while it is busy: clicks still playing, two
// notices open, and the window closed (Alt+F4) or the program asked to end by
// a signal. It ends at once, with status 0, printing nothing (so also no
// sanitizer report), whatever the sound device does: plays, never opens, or
// stops taking samples in the middle of a write.
#include <QTest>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "program_driver.h"

using namespace vantrigo::testing;

namespace {

enum class Device {
    Plays,              // ALSA's null device
    NeverOpens,         // a FIFO nobody reads: opening it waits for a reader forever
    StopsTakingSamples  // a FIFO whose reader never reads: writes stop once it is full
};

enum class Ending { CloseWindow, Terminate, Interrupt, HangUp };

// "At once", generously for a loaded machine and the sanitizers' own work at
// exit; a device that does not let go may add half a second.
constexpr qint64 kAtOnceMs = 10000;

// The device's output goes through ALSA's file plugin into HOME/fifo.
const QString kNullDevice = QStringLiteral("pcm.!default { type null }\n");
const QString kFifoDevice = QStringLiteral(R"(pcm.!default {
    type file
    slave.pcm "null"
    file "@HOME@/fifo"
    format "raw"
}
)");

int signalOf(Ending ending) {
    switch (ending) {
        case Ending::Terminate:
            return SIGTERM;
        case Ending::Interrupt:
            return SIGINT;
        case Ending::HangUp:
            return SIGHUP;
        case Ending::CloseWindow:
            break;
    }
    return 0;
}

// Whether a thread of the process sleeps in the kernel function named.
bool threadSleepsIn(qint64 pid, const QString& function) {
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile wchan(tasks.filePath(task + QStringLiteral("/wchan")));
        if (wchan.open(QIODevice::ReadOnly) && wchan.readAll() == function.toLatin1()) return true;
    }
    return false;
}

// Whether the kernel names the functions threads sleep in (it may hide them).
bool sleepsAreNamed(qint64 pid) {
    QFile wchan(QStringLiteral("/proc/%1/wchan").arg(pid));
    return wchan.open(QIODevice::ReadOnly) && wchan.readAll() != "0";
}

}  // namespace

Q_DECLARE_METATYPE(Device)
Q_DECLARE_METATYPE(Ending)

class ShutdownTest : public QObject {
    Q_OBJECT

private slots:
    void endsAtOnceWhileBusy_data() {
        QTest::addColumn<Device>("device");
        QTest::addColumn<Ending>("ending");
        QTest::newRow("playing, window closed") << Device::Plays << Ending::CloseWindow;
        QTest::newRow("playing, SIGTERM") << Device::Plays << Ending::Terminate;
        QTest::newRow("playing, SIGINT") << Device::Plays << Ending::Interrupt;
        QTest::newRow("playing, SIGHUP") << Device::Plays << Ending::HangUp;
        QTest::newRow("device never opens, window closed")
            << Device::NeverOpens << Ending::CloseWindow;
        QTest::newRow("device never opens, SIGTERM") << Device::NeverOpens << Ending::Terminate;
        QTest::newRow("device stops taking samples, window closed")
            << Device::StopsTakingSamples << Ending::CloseWindow;
        QTest::newRow("device stops taking samples, SIGTERM")
            << Device::StopsTakingSamples << Ending::Terminate;
    }

    void endsAtOnceWhileBusy() {
        QFETCH(Device, device);
        QFETCH(Ending, ending);
        ProgramUnderTest program(device == Device::Plays ? kNullDevice : kFifoDevice);
        const std::string fifo =
            (std::filesystem::path(program.home().toStdString()) / "fifo").string();
        int reader = -1;
        if (device != Device::Plays) QCOMPARE(::mkfifo(fifo.c_str(), 0600), 0);
        if (device == Device::StopsTakingSamples) {
            reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            QVERIFY(reader >= 0);
        }
        QVERIFY(program.start());

        program.click("编辑框1");
        program.type(QStringLiteral("12345"));
        if (device == Device::StopsTakingSamples) {
            // Clicks without a pause until the FIFO is full (to within a page,
            // which a write may not split): the mixer's thread then hangs in
            // its next write.
            const int capacity = ::fcntl(reader, F_GETPIPE_SZ);
            const long page = ::sysconf(_SC_PAGESIZE);
            int queued = 0;
            QVERIFY(QTest::qWaitFor(
                [&] {
                    program.keys({QStringLiteral("1"), QStringLiteral("BackSpace")}, 100);
                    return ::ioctl(reader, FIONREAD, &queued) == 0 && queued + page > capacity;
                },
                kProgramPatienceMs));
            program.keys({QStringLiteral("1"), QStringLiteral("BackSpace")}, 100);
        }
        if (device == Device::NeverOpens && sleepsAreNamed(program.pid())) {
            QTRY_VERIFY_WITH_TIMEOUT(
                threadSleepsIn(program.pid(), QStringLiteral("wait_for_partner")),
                kProgramPatienceMs);
        }

        // Enter opens the about notice; the instructions button a second one
        // on top, inside the first one's loop. Both are moved off the window.
        program.keys({QStringLiteral("Return")});
        const QString about = waitForWindowTitled(QStringLiteral("关于："));
        QVERIFY(!about.isEmpty());
        xdotool({QStringLiteral("windowmove"), QStringLiteral("--sync"), about, QStringLiteral("0"),
                 QStringLiteral("0")});
        program.click("按钮1");
        const QString instructions = waitForWindowTitled(QStringLiteral("说明："));
        QVERIFY(!instructions.isEmpty());
        xdotool({QStringLiteral("windowmove"), QStringLiteral("--sync"), instructions,
                 QStringLiteral("0"), QStringLiteral("500")});

        // Fresh clicks, still sounding when the end comes.
        program.click("编辑框1");
        program.type(QStringLiteral("6789"));
        if (ending == Ending::CloseWindow) {
            program.activate();
            program.keys({QStringLiteral("alt+F4")});
        } else {
            program.signal(signalOf(ending));
        }
        const std::optional<qint64> tookMs = program.waitForEnd();
        if (reader >= 0) ::close(reader);
        QVERIFY2(tookMs.has_value(), "the program did not end");
        std::printf("%s: ended in %lld ms\n", QTest::currentDataTag(),
                    static_cast<long long>(*tookMs));
        QVERIFY(*tookMs < kAtOnceMs);
        QVERIFY(program.endedNormally());
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.printed(), QString());
    }
};

QTEST_GUILESS_MAIN(ShutdownTest)
#include "shutdown_test.moc"
