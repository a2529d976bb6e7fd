// The real program when its surroundings fail: a sound device that is missing,
// unknown, refuses the stream or hangs, and a clipboard that nobody owns or
// whose owner does not answer. Each is silent: the window converts and copies
// as ever, nothing is printed, and closing it ends the program with status 0.
#include <QTest>

#include <signal.h>
#include <sys/stat.h>

#include <cstdio>

#include "program_driver.h"

using namespace vantrigo::testing;

namespace {

// Under HexToDec "FF" shows "255", which auto-copy puts on the clipboard.
const QString kTyped = QStringLiteral("FF");
const QString kConverted = QStringLiteral("255");

// Ticks auto-copy, types into the input box, and waits for the result on the
// clipboard.
bool convertsAndCopies(ProgramUnderTest& program, const QString& typed, const QString& result) {
    program.click("选择框1");
    program.click("编辑框1");
    program.type(typed);
    return QTest::qWaitFor([&] { return clipboardText() == result; }, kProgramPatienceMs);
}

bool closesCleanly(ProgramUnderTest& program) {
    program.activate();
    program.keys({QStringLiteral("alt+F4")});
    return program.waitForEnd().has_value() && program.endedNormally() && program.exitCode() == 0;
}

// Another program that copies a text: xclip, which serves it in the
// background until someone else takes the clipboard. Its pid, or 0.
qint64 copyElsewhere(const QString& text) {
    const QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("copied.txt")));
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly)) return 0;
    file.write(text.toUtf8());
    file.close();
    QProcess xclip;
    xclip.setProgram(QStringLiteral("xclip"));
    xclip.setArguments({QStringLiteral("-i"), QStringLiteral("-quiet"),
                        QStringLiteral("-selection"), QStringLiteral("clipboard")});
    xclip.setStandardInputFile(file.fileName());
    xclip.setStandardOutputFile(QProcess::nullDevice());
    xclip.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!xclip.startDetached(&pid)) return 0;
    // It owns the clipboard once another program reads the text from it.
    if (!QTest::qWaitFor([&] { return clipboardText() == text; }, kProgramPatienceMs)) return 0;
    return pid;
}

}  // namespace

class FaultsTest : public QObject {
    Q_OBJECT

private slots:
    void soundDeviceFaultsAreSilent_data() {
        QTest::addColumn<QString>("asoundrc");
        QTest::addColumn<bool>("fifo");
        // This machine's own configuration: on a machine without a sound card
        // there is no device at all.
        QTest::newRow("the machine's own device") << QString() << false;
        QTest::newRow("missing card")
            << QStringLiteral("pcm.!default { type hw card \"VantrigoNoSuchCard\" }\n") << false;
        QTest::newRow("unknown plugin")
            << QStringLiteral("pcm.!default { type vantrigo_no_such_plugin }\n") << false;
        QTest::newRow("stream refused") << QStringLiteral(R"(pcm.!default {
    type file
    slave.pcm "null"
    file "@HOME@/no-such-folder/out.raw"
    format "raw"
}
)") << false;
        // A FIFO nobody reads: opening the device waits forever.
        QTest::newRow("device never answers") << QStringLiteral(R"(pcm.!default {
    type file
    slave.pcm "null"
    file "@HOME@/fifo"
    format "raw"
}
)") << true;
    }

    void soundDeviceFaultsAreSilent() {
        QFETCH(QString, asoundrc);
        QFETCH(bool, fifo);
        ProgramUnderTest program(asoundrc);
        if (fifo) {
            QCOMPARE(
                ::mkfifo(QDir(program.home()).filePath(QStringLiteral("fifo")).toLocal8Bit(), 0600),
                0);
        }
        QVERIFY(program.start());
        QVERIFY(convertsAndCopies(program, kTyped, kConverted));
        program.keys({QStringLiteral("BackSpace"), QStringLiteral("BackSpace")});
        program.type(QStringLiteral("12"));
        QTRY_COMPARE_WITH_TIMEOUT(clipboardText(), QStringLiteral("18"), kProgramPatienceMs);
        QVERIFY(closesCleanly(program));
        QCOMPARE(program.printed(), QString());
    }

    // Shift+Insert with no owner of the clipboard pastes nothing.
    void pasteWithoutAClipboardOwner() {
        const qint64 owner = copyElsewhere(QStringLiteral("4242"));
        QVERIFY(owner > 0);
        ::kill(static_cast<pid_t>(owner), SIGKILL);  // its selection goes with it
        QTRY_COMPARE_WITH_TIMEOUT(clipboardText(), QString(), kProgramPatienceMs);

        ProgramUnderTest program(QStringLiteral("pcm.!default { type null }\n"));
        QVERIFY(program.start());
        program.click("编辑框1");
        program.keys({QStringLiteral("shift+Insert")});
        QVERIFY(convertsAndCopies(program, QStringLiteral("A"), QStringLiteral("10")));
        QVERIFY(closesCleanly(program));
        QCOMPARE(program.printed(), QString());
    }

    // An owner that has stopped answering: the paste gives up after the
    // platform's wait and brings nothing, and the copy takes the clipboard
    // from it all the same.
    void clipboardOwnerThatDoesNotAnswer() {
        const qint64 owner = copyElsewhere(QStringLiteral("4242"));
        QVERIFY(owner > 0);
        ::kill(static_cast<pid_t>(owner), SIGSTOP);

        ProgramUnderTest program(QStringLiteral("pcm.!default { type null }\n"));
        QVERIFY(program.start());
        program.click("编辑框1");
        QElapsedTimer clock;
        clock.start();
        program.keys({QStringLiteral("shift+Insert")});
        const bool copied = convertsAndCopies(program, QStringLiteral("A"), QStringLiteral("10"));
        // The platform waits up to 5 s for the owner; each read of the
        // clipboard by the test waits up to 2 s while the owner holds it.
        std::printf("owner stopped: the result was on the clipboard %lld ms after the paste\n",
                    static_cast<long long>(clock.elapsed()));
        ::kill(static_cast<pid_t>(owner), SIGKILL);
        QVERIFY(copied);
        QVERIFY(closesCleanly(program));
        QCOMPARE(program.printed(), QString());
    }
};

QTEST_GUILESS_MAIN(FaultsTest)
#include "faults_test.moc"
