// The real program on a real X server with a window manager, driven from
// outside as a user would: xdotool for the mouse and keys, xclip for the
// clipboard, a grab of the window for what it shows. The tests run in order
// against one running program; the last one closes it.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

#include <optional>

#include "app/window_description.h"
#include "program_driver.h"

using namespace vantrigo;
using testing::controlArea;
using testing::ProgramUnderTest;
using testing::runHelper;

namespace {

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
    // Clicks go to ALSA's null device: heard by nobody, played all the same.
    ProgramUnderTest program{QStringLiteral("pcm.!default { type null }\n")};

    // The outer frame's top-left corner on the screen.
    QPoint framePosition() {
        const QString info =
            runHelper(QStringLiteral("xwininfo"), {QStringLiteral("-id"), program.window()});
        const auto number = [&info](const char* label) {
            const QRegularExpression pattern(QString::fromLatin1(label) +
                                             QStringLiteral(":\\s+(-?\\d+)"));
            return pattern.match(info).captured(1).toInt();
        };
        const QStringList extents =
            runHelper(QStringLiteral("xprop"), {QStringLiteral("-id"), program.window(),
                                                QStringLiteral("_NET_FRAME_EXTENTS")})
                .section(QLatin1Char('='), 1)
                .split(QLatin1Char(','));
        if (extents.size() != 4) return {};
        return {number("Absolute upper-left X") - extents[0].trimmed().toInt(),
                number("Absolute upper-left Y") - extents[2].trimmed().toInt()};
    }

    void dragFrom(QPoint start, QPoint by) {
        testing::xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), program.window(),
                          QString::number(start.x()), QString::number(start.y()),
                          QStringLiteral("mousedown"), QStringLiteral("1")});
        // In steps, as a hand moves, so the window manager sees the motion.
        for (int step = 0; step < 4; ++step) {
            QTest::qWait(50);
            testing::xdotool({QStringLiteral("mousemove_relative"), QStringLiteral("--"),
                              QString::number(by.x() / 4), QString::number(by.y() / 4)});
        }
        QTest::qWait(100);
        testing::xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        QTest::qWait(300);
    }

private slots:
    void initTestCase() { QVERIFY2(program.start(), "the program's window did not appear"); }

    void opensCentredAndDrawnAsDescribed() {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QTRY_COMPARE_WITH_TIMEOUT(framePosition(),
                                  QPoint((screen.width() - window::kOuterSize.width()) / 2,
                                         (screen.height() - window::kOuterSize.height()) / 2),
                                  testing::kProgramPatienceMs);

        const QImage shot = QGuiApplication::primaryScreen()
                                ->grabWindow(program.window().toULongLong(nullptr, 0))
                                .toImage();
        QCOMPARE(shot.size(), window::kClientSize);
        const QColor background(window::kBackground);
        for (QPoint point : {QPoint(2, 2), QPoint(340, 366), QPoint(20, 200), QPoint(320, 260)}) {
            QCOMPARE(shot.pixelColor(point), background);
        }
        // The input box and the result line: white inside, edges exactly at
        // their places, the background right outside them.
        for (std::string_view name : {"编辑框1", "标签1"}) {
            const QRect area = controlArea(name);
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
        QTest::newRow("FF hexadecimal to decimal") << ConversionMode::HexToDec << "FF"
                                                   << "255";
        QTest::newRow("10 decimal to binary") << ConversionMode::DecToBin << "10"
                                              << "1010";
        QTest::newRow("777 octal to hexadecimal") << ConversionMode::OctToHex << "777"
                                                  << "1FF";
        QTest::newRow("1111 binary to octal") << ConversionMode::BinToOct << "1111"
                                              << "17";
        QTest::newRow("letters refused in decimal") << ConversionMode::DecToHex << "2x5"
                                                    << "19";
    }
    void autoCopyPutsTheResultOnTheClipboard() {
        QFETCH(ConversionMode, mode);
        QFETCH(QString, keys);
        QFETCH(QString, result);
        static bool ticked = false;
        if (!ticked) {
            program.click("选择框1");
            ticked = true;
        }
        program.clickAt(modeButtonArea(mode).center());
        program.click("编辑框1");
        program.type(keys);
        QTRY_COMPARE_WITH_TIMEOUT(testing::clipboardText(), result, testing::kProgramPatienceMs);
    }

    void enterOpensTheAboutNotice() {
        program.click("编辑框1");
        program.keys({QStringLiteral("Return")});
        const QString notice = testing::waitForWindowTitled(QStringLiteral("关于："));
        QVERIFY2(!notice.isEmpty(), "no window titled 关于： appeared");
        testing::xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), notice});
        program.keys({QStringLiteral("Escape")});
        QTRY_VERIFY_WITH_TIMEOUT(
            runHelper(QStringLiteral("xdotool"),
                      {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                       QStringLiteral("--name"), QStringLiteral("^关于：$")})
                .isEmpty(),
            testing::kProgramPatienceMs);
    }

    void dragsFromTheBackgroundAndTheResultLineMoveTheWindow() {
        const QPoint start = framePosition();
        const QPoint by(60, 40);
        dragFrom(QPoint(5, 360), by);  // the background below the buttons
        QTRY_COMPARE_WITH_TIMEOUT(framePosition(), start + by, testing::kProgramPatienceMs);
        dragFrom(controlArea("标签1").center(), -by);
        QTRY_COMPARE_WITH_TIMEOUT(framePosition(), start, testing::kProgramPatienceMs);
        dragFrom(controlArea("编辑框1").center(), by);  // the input box selects instead
        QCOMPARE(framePosition(), start);
    }

    void altF4EndsTheProgram() {
        program.click("编辑框1");
        program.keys({QStringLiteral("alt+F4")});
        const std::optional<qint64> took = program.waitForEnd();
        QVERIFY(took.has_value());
        qInfo("the program ended %lld ms after Alt+F4", static_cast<long long>(*took));
        QVERIFY(program.endedNormally());
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.printed(), QString());
    }
};

QTEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
