// The clipboard copy on a real X server, checked from other programs: xclip
// reads the CLIPBOARD selection and plays the program that copies something
// else. The copy ticks come from a 100 ms timer, as in the window.
#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "app/clipboard.h"

namespace vantrigo {
namespace {

constexpr int kWaitMs = 30000;
const QString kElsewhere = QStringLiteral("copied elsewhere");

bool waitUntilEnded(QProcess& process) {
    // The event loop must run: while we own the clipboard, it is we who
    // answer the other program.
    return QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, kWaitMs);
}

// The text another program reads from the clipboard, or a description of
// its failure, which no test expects.
QString readElsewhere() {
    QProcess xclip;
    xclip.start("xclip", {"-o", "-selection", "clipboard"});
    if (!waitUntilEnded(xclip)) {
        xclip.kill();
        xclip.waitForFinished();
        return "(xclip -o did not end)";
    }
    if (xclip.exitStatus() != QProcess::NormalExit || xclip.exitCode() != 0)
        return "(no text: " + QString::fromUtf8(xclip.readAllStandardError()).trimmed() + ")";
    return QString::fromUtf8(xclip.readAllStandardOutput());
}

// Another program copying a text: xclip in the foreground serves the
// selection until someone else takes it, and then ends.
class OtherProgram {
public:
    OtherProgram() = default;
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    ~OtherProgram() {
        if (xclip_.state() != QProcess::NotRunning) {
            xclip_.kill();
            xclip_.waitForFinished();
        }
    }

    bool copy(const QString& text) {
        xclip_.start("xclip", {"-i", "-quiet", "-selection", "clipboard"});
        if (!xclip_.waitForStarted(kWaitMs)) return false;
        xclip_.write(text.toUtf8());
        xclip_.closeWriteChannel();
        return true;
    }

    // It ends by itself only once another owner has taken the clipboard.
    bool endedAfterLosingClipboard() {
        return waitUntilEnded(xclip_) && xclip_.exitStatus() == QProcess::NormalExit &&
               xclip_.exitCode() == 0;
    }

private:
    QProcess xclip_;
};

}  // namespace

class ClipboardX11Test : public QObject {
    Q_OBJECT

public:
    ClipboardX11Test() { connect(&copyTimer_, &QTimer::timeout, this, &ClipboardX11Test::tick); }

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY(QGuiApplication::clipboard() != nullptr);
    }

    void init() {
        autoCopyOn_ = false;
        resultText_.clear();
        ticks_ = 0;
        copyTimer_.start(100);
    }

    void cleanup() { copyTimer_.stop(); }

    void autoCopyPutsTheResultThere_data() {
        QTest::addColumn<QString>("result");
        QTest::newRow("hexadecimal") << QStringLiteral("7FFFFFFF");
        QTest::newRow("decimal") << QStringLiteral("2147483647");
        QTest::newRow("binary") << QString(31, u'1');
        QTest::newRow("empty") << QString();
        QTest::newRow("not ASCII") << QStringLiteral(u"十六转十");
    }

    void autoCopyPutsTheResultThere() {
        QFETCH(QString, result);
        copyTimer_.stop();
        OtherProgram other;
        QVERIFY(other.copy(kElsewhere));
        QTRY_COMPARE_WITH_TIMEOUT(readElsewhere(), kElsewhere, kWaitMs);

        copyTimer_.start(100);
        resultText_ = result;
        autoCopyOn_ = true;
        QTRY_COMPARE_WITH_TIMEOUT(readElsewhere(), result, kWaitMs);
        QVERIFY(other.endedAfterLosingClipboard());
    }

    void followsTheResult() {
        resultText_ = "1F";
        autoCopyOn_ = true;
        QTRY_COMPARE_WITH_TIMEOUT(readElsewhere(), QStringLiteral("1F"), kWaitMs);
        resultText_ = "31";
        QTRY_COMPARE_WITH_TIMEOUT(readElsewhere(), QStringLiteral("31"), kWaitMs);
        resultText_.clear();
        QTRY_COMPARE_WITH_TIMEOUT(readElsewhere(), QString(), kWaitMs);
    }

    void copyElsewhereIsReplacedAtTheNextTick() {
        copyTimer_.stop();
        resultText_ = "1F";
        autoCopyOn_ = true;
        tick();
        QCOMPARE(readElsewhere(), QStringLiteral("1F"));

        OtherProgram other;
        QVERIFY(other.copy(kElsewhere));
        QTRY_COMPARE_WITH_TIMEOUT(readElsewhere(), kElsewhere, kWaitMs);
        tick();
        QCOMPARE(readElsewhere(), QStringLiteral("1F"));
        QVERIFY(other.endedAfterLosingClipboard());
    }

    void timerKeepsReplacingCopiesElsewhere() {
        resultText_ = "377";
        autoCopyOn_ = true;
        QTRY_COMPARE_WITH_TIMEOUT(readElsewhere(), QStringLiteral("377"), kWaitMs);
        for (int round = 0; round < 3; ++round) {
            OtherProgram other;
            QVERIFY(other.copy(kElsewhere + QString::number(round)));
            QVERIFY(other.endedAfterLosingClipboard());
            QCOMPARE(readElsewhere(), QStringLiteral("377"));
        }
    }

    void unchangedResultIsNotPlacedAgain() {
        resultText_ = "FF";
        autoCopyOn_ = true;
        QTRY_COMPARE_WITH_TIMEOUT(readElsewhere(), QStringLiteral("FF"), kWaitMs);

        QSignalSpy changes(QGuiApplication::clipboard(), &QClipboard::dataChanged);
        const int from = ticks_;
        QTRY_VERIFY_WITH_TIMEOUT(ticks_ >= from + 5, kWaitMs);
        QCOMPARE(changes.count(), 0);
        QCOMPARE(readElsewhere(), QStringLiteral("FF"));

        resultText_ = "FE";
        QTRY_COMPARE_WITH_TIMEOUT(readElsewhere(), QStringLiteral("FE"), kWaitMs);
        QVERIFY(changes.count() >= 1);
    }

    void autoCopyOffLeavesTheLastText() {
        resultText_ = "1F";
        autoCopyOn_ = true;
        QTRY_COMPARE_WITH_TIMEOUT(readElsewhere(), QStringLiteral("1F"), kWaitMs);

        autoCopyOn_ = false;
        resultText_ = "77";
        int from = ticks_;
        QTRY_VERIFY_WITH_TIMEOUT(ticks_ >= from + 5, kWaitMs);
        QCOMPARE(readElsewhere(), QStringLiteral("1F"));

        OtherProgram other;
        QVERIFY(other.copy(kElsewhere));
        QTRY_COMPARE_WITH_TIMEOUT(readElsewhere(), kElsewhere, kWaitMs);
        from = ticks_;
        QTRY_VERIFY_WITH_TIMEOUT(ticks_ >= from + 5, kWaitMs);
        QCOMPARE(readElsewhere(), kElsewhere);
    }

    void setClipboardTextReportsPlacing_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("text") << QStringLiteral("3F");
        QTest::newRow("empty") << QString();
    }

    void setClipboardTextReportsPlacing() {
        QFETCH(QString, text);
        copyTimer_.stop();
        OtherProgram other;
        QVERIFY(other.copy(kElsewhere));
        QTRY_COMPARE_WITH_TIMEOUT(readElsewhere(), kElsewhere, kWaitMs);

        QVERIFY(setClipboardText(text));
        QVERIFY(QGuiApplication::clipboard()->ownsClipboard());
        QCOMPARE(readElsewhere(), text);
        QVERIFY(other.endedAfterLosingClipboard());
    }

private:
    void tick() {
        ++ticks_;
        onCopyTick(autoCopyOn_, resultText_);
    }

    QTimer copyTimer_;
    bool autoCopyOn_ = false;
    QString resultText_;
    int ticks_ = 0;
};

}  // namespace vantrigo

QTEST_MAIN(vantrigo::ClipboardX11Test)
#include "clipboard_x11_test.moc"
