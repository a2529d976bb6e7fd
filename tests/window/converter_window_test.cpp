// The main window on the offscreen platform, with recorders in place of the
// sound, the clipboard and the notices.
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "app/converter_window.h"
#include "app/input_box.h"
#include "app/window_description.h"

using namespace vantrigo;

namespace {

struct Recorder {
    int clicks = 0;
    int copyTicks = 0;
    bool lastAutoCopy = false;
    QString lastCopied;
    int instructions = 0;
    int abouts = 0;

    WindowServices services() {
        return {[this] { ++clicks; },
                [this](bool on, const QString& text) {
                    ++copyTicks;
                    lastAutoCopy = on;
                    lastCopied = text;
                },
                [this] { ++instructions; }, [this] { ++abouts; }};
    }
};

QString buttonName(ConversionMode mode) {
    return QString::fromUtf8(modeInfo(mode).buttonName.data());
}

}  // namespace

Q_DECLARE_METATYPE(ConversionMode)

class ConverterWindowTest : public QObject {
    Q_OBJECT

private:
    Recorder recorder;
    std::unique_ptr<ConverterWindow> window;

    InputBox* input() { return window->findChild<InputBox*>(QStringLiteral("编辑框1")); }
    QLabel* result() { return window->findChild<QLabel*>(QStringLiteral("标签1")); }
    QCheckBox* autoCopy() { return window->findChild<QCheckBox*>(QStringLiteral("选择框1")); }
    QPushButton* aboutButton() { return window->findChild<QPushButton*>(QStringLiteral("按钮2")); }
    QPushButton* instructionsButton() {
        return window->findChild<QPushButton*>(QStringLiteral("按钮1"));
    }
    QRadioButton* modeButton(ConversionMode mode) {
        return window->findChild<QRadioButton*>(buttonName(mode));
    }
    void chooseMode(ConversionMode mode) { QTest::mouseClick(modeButton(mode), Qt::LeftButton); }
    // Waits for a guard tick to set the mode's limit (the timers run for real).
    void waitForTick() {
        const int ticks = recorder.copyTicks;
        QTRY_VERIFY_WITH_TIMEOUT(recorder.copyTicks > ticks + 1, 5000);
    }

private slots:
    void init() {
        recorder = {};
        window = std::make_unique<ConverterWindow>(recorder.services());
        window->showCentred();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    void startState() {
        QCOMPARE(window->windowTitle(), QStringLiteral("Vantrigo－BY：Tolvasen"));
        QCOMPARE(window->size(), QSize(343, 369));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(window->palette().color(QPalette::Window), QColor(242, 234, 219));
        QVERIFY(!window->windowIcon().isNull());

        for (const auto& mode : kConversionModes) {
            QCOMPARE(modeButton(mode.mode)->isChecked(), mode.mode == ConversionMode::HexToDec);
            QCOMPARE(modeButton(mode.mode)->text(), QString::fromUtf8(mode.caption.data()));
        }
        QVERIFY(!autoCopy()->isChecked());
        QCOMPARE(input()->text(), QString());
        QCOMPARE(result()->text(), QString());
        QCOMPARE(QApplication::focusWidget(), nullptr);
        QCOMPARE(input()->lengthLimit(), InputBox::kDefaultLengthLimit);
        QCOMPARE(recorder.clicks, 0);
    }

    // Every control at its place, with its name, in the description's order.
    void controlsFollowTheDescription() {
        QList<QWidget*> created;
        for (QObject* child : window->children()) {
            if (auto* widget = qobject_cast<QWidget*>(child)) created << widget;
        }
        QCOMPARE(created.size(), 18);  // twenty entries, two of them timers
        int next = 0;
        for (const auto& entry : window::kControls) {
            if (entry.geometry.isEmpty()) continue;
            QWidget* widget = created.at(next++);
            const QString name = entry.control == window::Control::ModeButton
                                     ? buttonName(entry.mode)
                                     : QString::fromUtf8(entry.name.data(), entry.name.size());
            QCOMPARE(widget->objectName(), name);
            QCOMPARE(widget->geometry(), entry.geometry);
            QVERIFY(widget->isVisible());
            QVERIFY(widget->focusPolicy() == Qt::ClickFocus ||
                    widget->focusPolicy() == Qt::NoFocus);
        }
        QCOMPARE(input()->palette().color(QPalette::Text), QColor(255, 0, 0));
        QCOMPARE(result()->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        QCOMPARE(result()->font().pixelSize(), 14);
        QCOMPARE(aboutButton()->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(aboutButton()->isDefault() && instructionsButton()->isDefault());
    }

    void typing_data() {
        QTest::addColumn<ConversionMode>("mode");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("changes");
        QTest::newRow("F under HexToDec") << ConversionMode::HexToDec << "F" << "15" << 1;
        QTest::newRow("FF under HexToDec") << ConversionMode::HexToDec << "FF" << "255" << 2;
        QTest::newRow("ff under HexToDec") << ConversionMode::HexToDec << "ff" << "255" << 2;
        QTest::newRow("255 under DecToHex") << ConversionMode::DecToHex << "255" << "FF" << 3;
        QTest::newRow("255 under DecToOct") << ConversionMode::DecToOct << "255" << "377" << 3;
        QTest::newRow("255 under DecToBin") << ConversionMode::DecToBin << "255" << "11111111" << 3;
        QTest::newRow("17 under OctToDec") << ConversionMode::OctToDec << "17" << "15" << 2;
        QTest::newRow("101 under BinToHex") << ConversionMode::BinToHex << "101" << "5" << 3;
        QTest::newRow("letters refused under DecToHex")
            << ConversionMode::DecToHex << "1a2G -.3" << "7B" << 3;
        QTest::newRow("8 and 9 refused under OctToHex")
            << ConversionMode::OctToHex << "1897" << "F" << 2;
        QTest::newRow("2 refused under BinToDec") << ConversionMode::BinToDec << "121" << "3" << 2;
        QTest::newRow("space refused under HexToDec") << ConversionMode::HexToDec << " " << "" << 0;
    }
    void typing() {
        QFETCH(ConversionMode, mode);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(int, changes);
        if (mode != ConversionMode::HexToDec) chooseMode(mode);
        const int clicksBefore = recorder.clicks;
        QTest::keyClicks(input(), keys);
        QCOMPARE(result()->text(), shown);
        QCOMPARE(recorder.clicks - clicksBefore, changes);
    }

    void controlCharactersAreRefused_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Ctrl+A") << int(Qt::Key_A) << int(Qt::ControlModifier);
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << int(Qt::ControlModifier);
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier);
        QTest::newRow("Ctrl+X") << int(Qt::Key_X) << int(Qt::ControlModifier);
        QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << int(Qt::ControlModifier);
        QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << int(Qt::ShiftModifier);
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
        QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier);
    }
    void controlCharactersAreRefused() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QGuiApplication::clipboard()->setText(QStringLiteral("99"));
        QTest::mouseClick(input(), Qt::LeftButton);
        QTest::keyClicks(input(), QStringLiteral("12"));
        input()->selectAll();
        const int clicks = recorder.clicks;
        QTest::keyClick(input(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(input()->text(), QStringLiteral("12"));
        QCOMPARE(input()->selectedText(), QStringLiteral("12"));  // Ctrl+X cut nothing
        QCOMPARE(recorder.clicks, clicks);
        QCOMPARE(QApplication::focusWidget(), input());
    }

    void inputMethodCommitsAreJudged_data() {
        QTest::addColumn<QString>("commit");
        QTest::addColumn<QString>("entered");
        QTest::newRow("ASCII digits") << QStringLiteral("12") << QStringLiteral("12");
        QTest::newRow("full-width digit") << QStringLiteral("１") << QString();
        QTest::newRow("hanzi") << QStringLiteral("十") << QString();
        QTest::newRow("mixed") << QStringLiteral("1２3") << QStringLiteral("13");
    }
    void inputMethodCommitsAreJudged() {
        QFETCH(QString, commit);
        QFETCH(QString, entered);
        chooseMode(ConversionMode::DecToHex);
        const int clicks = recorder.clicks;
        QInputMethodEvent event;
        event.setCommitString(commit);
        QApplication::sendEvent(input(), &event);
        QCOMPARE(input()->text(), entered);
        QCOMPARE(recorder.clicks - clicks, entered.isEmpty() ? 0 : 1);
    }

    // Pasted text skips the filter and reaches the readers as GBK bytes.
    void pasteBypassesTheFilter_data() {
        QTest::addColumn<ConversionMode>("mode");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("full-width 12") << ConversionMode::DecToHex << "１２" << "C";
        QTest::newRow("full-width minus 5") << ConversionMode::DecToHex << "－５" << "FFFFFFFB";
        QTest::newRow("no GBK form reads as ?") << ConversionMode::DecToHex << "😀7" << "0";
        QTest::newRow("prefixed hex") << ConversionMode::HexToDec << "0x1F" << "31";
        QTest::newRow("first line only") << ConversionMode::DecToHex << "12\n34" << "C";
    }
    void pasteBypassesTheFilter() {
        QFETCH(ConversionMode, mode);
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        if (mode != ConversionMode::HexToDec) chooseMode(mode);
        QGuiApplication::clipboard()->setText(pasted);
        const int clicks = recorder.clicks;
        QTest::keyClick(input(), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(result()->text(), shown);
        QCOMPARE(recorder.clicks - clicks, 1);
    }

    // One change event per change, whatever made it.
    void everyEditIsOneChange() {
        chooseMode(ConversionMode::DecToHex);
        QTest::mouseClick(input(), Qt::LeftButton);
        int clicks = recorder.clicks;
        QTest::keyClicks(input(), QStringLiteral("1234"));
        QCOMPARE(recorder.clicks - clicks, 4);

        clicks = recorder.clicks;
        QTest::keyClick(input(), Qt::Key_Home);
        QTest::keyClick(input(), Qt::Key_Delete);
        QCOMPARE(input()->text(), QStringLiteral("234"));
        QTest::keyClick(input(), Qt::Key_End);
        QTest::keyClick(input(), Qt::Key_Backspace);
        QCOMPARE(input()->text(), QStringLiteral("23"));
        QTest::keyClick(input(), Qt::Key_Home, Qt::ShiftModifier);
        QTest::keyClick(input(), Qt::Key_Delete, Qt::ShiftModifier);  // cut
        QCOMPARE(input()->text(), QString());
        QCOMPARE(result()->text(), QStringLiteral("0"));
        QCOMPARE(recorder.clicks - clicks, 3);

        clicks = recorder.clicks;
        QTest::keyClick(input(), Qt::Key_Backspace);  // nothing left to delete
        QCOMPARE(recorder.clicks, clicks);
        window->setInputText("");  // the program's own write: one change, even unchanged
        QCOMPARE(recorder.clicks - clicks, 1);
    }

    void modeClickEmptiesEverything() {
        QTest::keyClicks(input(), QStringLiteral("FF"));
        QCOMPARE(result()->text(), QStringLiteral("255"));
        for (ConversionMode mode : {ConversionMode::DecToHex, ConversionMode::DecToHex}) {
            const int clicks = recorder.clicks;
            chooseMode(mode);  // a second time on the checked button as well
            QVERIFY(modeButton(mode)->isChecked());
            QCOMPARE(input()->text(), QString());
            QCOMPARE(result()->text(), QString());
            QCOMPARE(recorder.clicks - clicks, 1);
            QTest::keyClicks(input(), QStringLiteral("7"));
        }
    }

    void guardTickReplacesAndLimits() {
        QGuiApplication::clipboard()->setText(QStringLiteral("FFFFFFFF"));
        QTest::keyClick(input(), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(result()->text(), QStringLiteral("-1"));
        const int clicks = recorder.clicks;
        QTRY_COMPARE_WITH_TIMEOUT(input()->text(), QStringLiteral("7FFFFFFF"), 5000);
        QCOMPARE(result()->text(), QStringLiteral("2147483647"));
        QCOMPARE(recorder.clicks - clicks, 1);
        QCOMPARE(input()->lengthLimit(), 8);
        waitForTick();
        QCOMPARE(recorder.clicks - clicks, 1);  // the replacement stands
    }

    void lengthLimitHoldsForTypingAndPasting() {
        chooseMode(ConversionMode::DecToHex);
        waitForTick();
        QCOMPARE(input()->lengthLimit(), 10);
        QTest::keyClicks(input(), QStringLiteral("123456789012"));
        QCOMPARE(input()->text(), QStringLiteral("1234567890"));

        input()->clear();
        QTest::keyClicks(input(), QStringLiteral("12345"));
        QGuiApplication::clipboard()->setText(QStringLiteral("67890123"));
        QTest::keyClick(input(), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(input()->text(), QStringLiteral("1234567890"));  // the paste cut to fit

        // The program's own text is never limited, and a longer text stays:
        // typing finds no room even after one Backspace.
        window->setInputText("000000000012");
        QCOMPARE(input()->text(), QStringLiteral("000000000012"));
        QTest::keyClick(input(), Qt::Key_End);
        QTest::keyClick(input(), Qt::Key_Backspace);
        QTest::keyClicks(input(), QStringLiteral("5"));
        QCOMPARE(input()->text(), QStringLiteral("00000000001"));
    }

    void limitOfThePreviousBaseHoldsUntilTheNextTick() {
        chooseMode(ConversionMode::BinToHex);
        waitForTick();
        QCOMPARE(input()->lengthLimit(), 31);
        chooseMode(ConversionMode::HexToDec);
        waitForTick();
        QCOMPARE(input()->lengthLimit(), 8);
    }

    void enterClicksTheFocusedOrTheFirstDefaultButton() {
        QTest::keyClick(window.get(), Qt::Key_Return);  // nothing has the focus yet
        QCOMPARE(recorder.abouts, 1);
        QTest::mouseClick(input(), Qt::LeftButton);
        QTest::keyClick(input(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(recorder.abouts, 2);
        QCOMPARE(input()->text(), QString());

        QTest::mouseClick(instructionsButton(), Qt::LeftButton);
        QCOMPARE(recorder.instructions, 1);
        QCOMPARE(QApplication::focusWidget(), instructionsButton());
        QTest::keyClick(instructionsButton(), Qt::Key_Return);
        QCOMPARE(recorder.instructions, 2);
        QCOMPARE(recorder.abouts, 2);
    }

    void keysMoveNoFocusAndCheckNothing() {
        QRadioButton* hexToOct = modeButton(ConversionMode::HexToOct);
        QTest::mouseClick(hexToOct, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), hexToOct);
        const int clicks = recorder.clicks;
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Right, Qt::Key_Down,
                            Qt::Key_Left, Qt::Key_Up, Qt::Key_Escape, Qt::Key_F1}) {
            QTest::keyClick(hexToOct, key);
            QCOMPARE(QApplication::focusWidget(), hexToOct);
            QVERIFY(hexToOct->isChecked());
        }
        QCOMPARE(recorder.clicks, clicks);
        QTest::keyClick(hexToOct, Qt::Key_Space);  // Space clicks it again
        QCOMPARE(recorder.clicks - clicks, 1);

        QTest::mouseClick(input(), Qt::LeftButton);
        QTest::keyClicks(input(), QStringLiteral("12"));
        QTest::keyClick(input(), Qt::Key_Left);  // in the box arrows move the caret
        QCOMPARE(input()->cursorPosition(), 1);
        QTest::keyClick(input(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), input());
    }

    void copyTickReadsTheBoxAndTheResult() {
        QTRY_VERIFY_WITH_TIMEOUT(recorder.copyTicks > 0, 5000);
        QVERIFY(!recorder.lastAutoCopy);
        chooseMode(ConversionMode::DecToBin);
        QTest::keyClicks(input(), QStringLiteral("5"));
        QTest::mouseClick(autoCopy(), Qt::LeftButton);
        QVERIFY(autoCopy()->isChecked());
        QTRY_VERIFY_WITH_TIMEOUT(recorder.lastAutoCopy, 5000);
        QCOMPARE(recorder.lastCopied, QStringLiteral("101"));
    }

    void closingSignalsTheEnd() {
        QSignalSpy closed(window.get(), &ConverterWindow::closed);
        window->close();
        QCOMPARE(closed.count(), 1);
    }
};

QTEST_MAIN(ConverterWindowTest)
#include "converter_window_test.moc"
