// The real program on a real X server with a window manager, driven from
// outside as a user would: xdotool for the mouse and keys, xclip for the
// clipboard, a grab of the window for what it shows. The tests run in order
// against one running program; the last one closes it.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include "app/window_description.h"

using namespace vantrigo;

namespace {

constexpr int kWaitMs = 20000;  // generous: the machine may be busy

// Runs a helper program to its end and gives its standard output.
QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kWaitMs)) {
        process.kill();
        process.waitForFinished();
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QPoint centreOf(const QRect& area) { return area.center(); }

const window::ControlEntry& entry(std::string_view name) {
    for (const auto& control : window::kControls) {
        if (control.name == name) return control;
    }
    qFatal("no control named %s", name.data());
}

QRect modeButtonArea(ConversionMode mode) {
    for (const auto& control : window::kControls) {
        if (control.control == window::Control::ModeButton && control.mode == mode) {
            return control.geometry;
        }
    }
    return {};
}

}  // namespace

Q_DECLARE_METATYPE(ConversionMode)

class EndToEndTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home;
    QProcess program;
    QString window;  // the X id of the program's top-level window

    void xdotool(const QStringList& arguments) { run(QStringLiteral("xdotool"), arguments); }

    void clickAt(QPoint point) {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                 QString::number(point.x()), QString::number(point.y()), QStringLiteral("click"),
                 QStringLiteral("1")});
    }

    QString clipboard() {
        return run(QStringLiteral("xclip"),
                   {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")});
    }

    // The outer frame's top-left corner on the screen.
    QPoint framePosition() {
        const QString info = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window});
        const auto number = [&info](const char* label) {
            const QRegularExpression pattern(QString::fromLatin1(label) + QStringLiteral(":\\s+(-?\\d+)"));
            return pattern.match(info).captured(1).toInt();
        };
        const QStringList extents =
            run(QStringLiteral("xprop"), {QStringLiteral("-id"), window, QStringLiteral("_NET_FRAME_EXTENTS")})
                .section(QLatin1Char('='), 1)
                .split(QLatin1Char(','));
        if (extents.size() != 4) return {};
        return {number("Absolute upper-left X") - extents[0].trimmed().toInt(),
                number("Absolute upper-left Y") - extents[2].trimmed().toInt()};
    }

    void dragFrom(QPoint start, QPoint by) {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                 QString::number(start.x()), QString::number(start.y()),
                 QStringLiteral("mousedown"), QStringLiteral("1")});
        // In steps, as a hand moves, so the window manager sees the motion.
        for (int step = 0; step < 4; ++step) {
            QTest::qWait(50);
            xdotool({QStringLiteral("mousemove_relative"), QStringLiteral("--"),
                     QString::number(by.x() / 4), QString::number(by.y() / 4)});
        }
        QTest::qWait(100);
        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        QTest::qWait(300);
    }

private slots:
    void initTestCase() {
        QVERIFY(home.isValid());
        // Clicks go to ALSA's null device: heard by nobody, played all the same.
        QFile asoundrc(home.filePath(QStringLiteral(".asoundrc")));
        QVERIFY(asoundrc.open(QIODevice::WriteOnly));
        asoundrc.write("pcm.!default { type null }\n");
        asoundrc.close();
        QDir(home.path()).mkdir(QStringLiteral("runtime"));
        QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(VANTRIGO_PROGRAM), {});
        QVERIFY(program.waitForStarted(kWaitMs));

        window = run(QStringLiteral("timeout"),
                     {QString::number(kWaitMs / 1000), QStringLiteral("xdotool"),
                      QStringLiteral("search"), QStringLiteral("--sync"),
                      QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                      QString::number(program.processId())})
                     .section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(!window.isEmpty(), "the program's window did not appear");
    }

    void cleanupTestCase() {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }

    void opensCentredAndDrawnAsDescribed() {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QTRY_COMPARE_WITH_TIMEOUT(framePosition(),
                                  QPoint((screen.width() - window::kOuterSize.width()) / 2,
                                         (screen.height() - window::kOuterSize.height()) / 2),
                                  kWaitMs);

        const QImage shot =
            QGuiApplication::primaryScreen()->grabWindow(window.toULongLong(nullptr, 0)).toImage();
        QCOMPARE(shot.size(), window::kClientSize);
        const QColor background(window::kBackground);
        for (QPoint point : {QPoint(2, 2), QPoint(340, 366), QPoint(20, 200), QPoint(320, 260)}) {
            QCOMPARE(shot.pixelColor(point), background);
        }
        // The input box and the result line: white inside, edges exactly at
        // their places, the background right outside them.
        for (std::string_view name : {"编辑框1", "标签1"}) {
            const QRect area = entry(name).geometry;
            QCOMPARE(shot.pixelColor(area.center()), QColor(Qt::white));
            QCOMPARE(shot.pixelColor(area.left() - 1, area.center().y()), background);
            QVERIFY(shot.pixelColor(area.left(), area.center().y()) != background);
            QVERIFY(shot.pixelColor(area.center().x(), area.top()) != background);
            QCOMPARE(shot.pixelColor(area.right() + 1, area.center().y()), background);
            QCOMPARE(shot.pixelColor(area.center().x(), area.bottom() + 1), background);
        }
    }

    void autoCopyPutsTheResultOnTheClipboard_data() {
        QTest::addColumn<ConversionMode>("mode");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("result");
        QTest::newRow("FF hexadecimal to decimal") << ConversionMode::HexToDec << "FF" << "255";
        QTest::newRow("10 decimal to binary") << ConversionMode::DecToBin << "10" << "1010";
        QTest::newRow("777 octal to hexadecimal") << ConversionMode::OctToHex << "777" << "1FF";
        QTest::newRow("1111 binary to octal") << ConversionMode::BinToOct << "1111" << "17";
        QTest::newRow("letters refused in decimal") << ConversionMode::DecToHex << "2x5" << "19";
    }
    void autoCopyPutsTheResultOnTheClipboard() {
        QFETCH(ConversionMode, mode);
        QFETCH(QString, keys);
        QFETCH(QString, result);
        static bool ticked = false;
        if (!ticked) {
            clickAt(centreOf(entry("选择框1").geometry));
            ticked = true;
        }
        clickAt(centreOf(modeButtonArea(mode)));
        clickAt(centreOf(entry("编辑框1").geometry));
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), keys});
        QTRY_COMPARE_WITH_TIMEOUT(clipboard(), result, kWaitMs);
    }

    void enterOpensTheAboutNotice() {
        clickAt(centreOf(entry("编辑框1").geometry));
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        const QString notice = run(QStringLiteral("timeout"),
                                   {QString::number(kWaitMs / 1000), QStringLiteral("xdotool"),
                                    QStringLiteral("search"), QStringLiteral("--sync"),
                                    QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                    QStringLiteral("^关于：$")});
        QVERIFY2(!notice.isEmpty(), "no window titled 关于： appeared");
        xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), notice.section(QLatin1Char('\n'), 0, 0)});
        xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        QTRY_VERIFY_WITH_TIMEOUT(
            run(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                 QStringLiteral("^关于：$")})
                .isEmpty(),
            kWaitMs);
    }

    void dragsFromTheBackgroundAndTheResultLineMoveTheWindow() {
        const QPoint start = framePosition();
        const QPoint by(60, 40);
        dragFrom(QPoint(5, 360), by);  // the background below the buttons
        QTRY_COMPARE_WITH_TIMEOUT(framePosition(), start + by, kWaitMs);
        dragFrom(centreOf(entry("标签1").geometry), -by);
        QTRY_COMPARE_WITH_TIMEOUT(framePosition(), start, kWaitMs);
        dragFrom(centreOf(entry("编辑框1").geometry), by);  // the input box selects instead
        QCOMPARE(framePosition(), start);
    }

    void altF4EndsTheProgram() {
        clickAt(centreOf(entry("编辑框1").geometry));
        QElapsedTimer clock;
        clock.start();
        xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")});
        QVERIFY(program.waitForFinished(kWaitMs));
        qInfo("the program ended %lld ms after Alt+F4", static_cast<long long>(clock.elapsed()));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
