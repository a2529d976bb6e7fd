// The real program where it cannot run at all: no display to connect to. It
// says so in one line on its standard error, prints nothing else, and ends at
// once with status 1, whatever the platform it was pointed at.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kPatienceMs = 60000;

}  // namespace

class NoDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void saysSoInOneLine_data() {
        // NAME=value sets a variable, NAME= removes it.
        QTest::addColumn<QStringList>("set");
        const QStringList none = {QStringLiteral("DISPLAY="), QStringLiteral("WAYLAND_DISPLAY="),
                                  QStringLiteral("QT_QPA_PLATFORM=")};
        QTest::newRow("no display at all") << none;
        QTest::newRow("an X display that is not there")
            << none + QStringList{QStringLiteral("DISPLAY=:9999")};
        QTest::newRow("X asked for, no display")
            << none + QStringList{QStringLiteral("QT_QPA_PLATFORM=xcb")};
        QTest::newRow("Wayland asked for, no compositor")
            << none + QStringList{QStringLiteral("QT_QPA_PLATFORM=wayland"),
                                  QStringLiteral("WAYLAND_DISPLAY=vantrigo-no-such-compositor")};
    }

    void saysSoInOneLine() {
        QFETCH(QStringList, set);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : set) {
            const QString name = entry.section(QLatin1Char('='), 0, 0);
            const QString value = entry.section(QLatin1Char('='), 1);
            if (value.isEmpty()) {
                environment.remove(name);
            } else {
                environment.insert(name, value);
            }
        }
        // A session has its runtime folder; without it libwayland adds a line of its own.
        const QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VANTRIGO_PROGRAM), {});
        QVERIFY(program.waitForFinished(kPatienceMs));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 1);
        QCOMPARE(program.readAllStandardOutput(), QByteArray());
        const QString said = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(said.endsWith(QLatin1Char('\n')) && said.count(QLatin1Char('\n')) == 1,
                 qPrintable(said));
        QVERIFY2(said.contains(QStringLiteral("display")), qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(NoDisplayTest)
#include "no_display_test.moc"
