// The real window with its real services under load, on the X server of the
// x11_server fixture: clicks on ALSA's null device (a private HOME with its
// .asoundrc) and the X clipboard. The loads, one after another:
// 100,000 input changes as fast as the window takes them, a key held down (by
// the X server's own key repeat and by a fast stream of repeated presses), a
// one-megabyte paste, and the same paste into a window whose first guard tick
// has not come yet, which takes 32767 characters.
//
// Through each load a 100 ms probe timer on the window's event loop measures
// how late the window's timers get: never more than a second. The threads
// and device handles stay bounded during the load, both are back where they
// were once the clicks have played out, resident memory comes back to within
// a few megabytes, and nothing is printed. The figures are printed per load.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <memory>

#include "app/click_sound.h"
#include "app/converter_window.h"
#include "app/input_box.h"
#include "load_support.h"

using namespace vantrigo;
using namespace vantrigo::testing;

namespace {

constexpr int kChanges = 100000;
constexpr qint64 kLatenessBoundMs = 1000;
// Keys are pressed in slices of this length; the event loop runs between them.
constexpr qint64 kSliceMs = 20;
// The loads' own threads and device handles: the mixer's thread, the
// clipboard transfer, one open sound stream.
constexpr int kExtraThreads = 2;
constexpr int kExtraDeviceHandles = 1;
// Resident memory that may stay after a load; the sanitizers' own bookkeeping
// keeps freed memory, so there the figure is only printed.
constexpr long kMemorySlackKiB = 4 * 1024;
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kMemoryComesBack = false;
#else
constexpr bool kMemoryComesBack = true;
#endif
constexpr qsizetype kPasteBytes = 1 << 20;

// One megabyte (in UTF-8) of ASCII digits, full-width digits and Chinese:
// the full-width digit folds to a digit, the Chinese character ends the
// number, so the text reads as a small number in every base.
QString megabyteText() {
    const QString unit = QStringLiteral("1１中");
    const qsizetype unitBytes = unit.toUtf8().size();
    return unit.repeated((kPasteBytes + unitBytes - 1) / unitBytes);
}

}  // namespace

class StressTest : public QObject {
    Q_OBJECT

public:
    explicit StressTest(std::filesystem::path scratch) : scratch_(std::move(scratch)) {}

private:
    std::filesystem::path scratch_;
    std::unique_ptr<ConverterWindow> window_;
    LatenessProbe probe_;
    int changes_ = 0;
    ProcessFigures start_;
    ProcessFigures before_;
    std::unique_ptr<PrintCatcher> catcher_;

    static QLineEdit* inputOf(ConverterWindow& window) {
        return window.findChild<QLineEdit*>(QStringLiteral("编辑框1"));
    }
    QLineEdit* input() { return inputOf(*window_); }
    QLabel* result() { return window_->findChild<QLabel*>(QStringLiteral("标签1")); }
    QCheckBox* autoCopy() { return window_->findChild<QCheckBox*>(QStringLiteral("选择框1")); }

    void chooseDecToHex() {
        const std::string_view name = modeInfo(ConversionMode::DecToHex).buttonName;
        QTest::mouseClick(
            window_->findChild<QRadioButton*>(QString::fromUtf8(name.data(), name.size())),
            Qt::LeftButton);
    }

    // The result line shows the checked mode's conversion of the input.
    bool resultFollowsInput() {
        const ModeInfo& mode = modeInfo(ConversionMode::DecToHex);
        return result()->text().toStdString() == mode.write(mode.read(window_->inputText()));
    }

    // Presses the keys in turn, as fast as the window takes them, until
    // `count` more changes of the input have happened.
    void pressUntil(QWidget* target, int count, const QList<Qt::Key>& keys) {
        const int wanted = changes_ + count;
        qsizetype next = 0;
        QTimer driver;
        driver.setInterval(0);
        connect(&driver, &QTimer::timeout, this, [&] {
            QElapsedTimer slice;
            slice.start();
            while (changes_ < wanted && slice.elapsed() < kSliceMs) {
                QTest::keyClick(target, keys[next++ % keys.size()]);
            }
        });
        driver.start();
        QTRY_VERIFY_WITH_TIMEOUT(changes_ >= wanted, kPatienceMs);
    }

    // Presses of a held key as the window system repeats them, `count` of
    // them as fast as the window takes them.
    void repeatKey(QWidget* target, Qt::Key key, const QString& text, int count) {
        int sent = 0;
        QTimer driver;
        driver.setInterval(0);
        connect(&driver, &QTimer::timeout, this, [&] {
            QElapsedTimer slice;
            slice.start();
            while (sent < count && slice.elapsed() < kSliceMs) {
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text, true);
                QCoreApplication::sendEvent(target, &press);
                ++sent;
            }
        });
        driver.start();
        QTRY_VERIFY_WITH_TIMEOUT(sent >= count, kPatienceMs);
    }

    void beginLoad() {
        settle();
        before_ = figuresOf();
        catcher_ = std::make_unique<PrintCatcher>(scratch_ / "stderr");
        probe_.start();
    }

    // Ends the load begun last and checks the bounds.
    void endLoad(const char* load) {
        probe_.stop();
        settle();
        const ProcessFigures after = figuresOf();
        const QString printed = catcher_->finish();
        catcher_.reset();
        const ProcessFigures& peak = probe_.peak();
        std::printf(
            "%s: %d changes so far; worst tick %lld ms late over %d ticks; threads %d, %d at "
            "most, %d after; device handles %d, %d at most, %d after; descriptors %d, %d at "
            "most, %d after; resident %ld KiB, %ld KiB after (%+ld KiB)\n",
            load, changes_, static_cast<long long>(probe_.worstLateMs()), probe_.ticks(),
            before_.threads, peak.threads, after.threads, before_.deviceHandles, peak.deviceHandles,
            after.deviceHandles, before_.descriptors, peak.descriptors, after.descriptors,
            before_.residentKiB, after.residentKiB, after.residentKiB - before_.residentKiB);
        std::fflush(stdout);

        QCOMPARE(printed, QString());
        QVERIFY(probe_.worstLateMs() <= kLatenessBoundMs);
        QVERIFY(peak.threads <= before_.threads + kExtraThreads);
        QVERIFY(peak.deviceHandles <= before_.deviceHandles + kExtraDeviceHandles);
        QVERIFY(after.threads <= before_.threads);
        QVERIFY(after.deviceHandles <= before_.deviceHandles);
        if (kMemoryComesBack) QVERIFY(after.residentKiB - before_.residentKiB <= kMemorySlackKiB);
    }

    // Lets every click play out and the event loop catch up.
    static void settle() {
        QVERIFY(waitForSoundsToEnd(std::chrono::milliseconds(kPatienceMs)));
        QTest::qWait(500);
    }

    // Another program copies the text: xclip serves it from the background
    // until someone else takes the clipboard.
    void copyElsewhere(const QString& text) {
        const std::filesystem::path file = scratch_ / "paste.txt";
        std::ofstream(file, std::ios::binary) << text.toStdString();
        QClipboard* clipboard = QGuiApplication::clipboard();
        QSignalSpy changed(clipboard, &QClipboard::changed);
        QVERIFY(QProcess::startDetached(
            QStringLiteral("xclip"),
            {QStringLiteral("-i"), QStringLiteral("-selection"), QStringLiteral("clipboard"),
             QString::fromStdString(file.string())}));
        QTRY_VERIFY_WITH_TIMEOUT(!changed.isEmpty() && !clipboard->ownsClipboard(), kPatienceMs);
    }

    // Takes the clipboard back, which ends xclip.
    static void takeClipboardBack() {
        QGuiApplication::clipboard()->setText(QString());
        QTRY_VERIFY_WITH_TIMEOUT(QGuiApplication::clipboard()->ownsClipboard(), kPatienceMs);
    }

    static QElapsedTimer started() {
        QElapsedTimer clock;
        clock.start();
        return clock;
    }

private slots:
    void initTestCase() {
        window_ = std::make_unique<ConverterWindow>();
        connect(input(), &QLineEdit::textChanged, this, [this] { ++changes_; });
        window_->showCentred();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QTest::mouseClick(autoCopy(), Qt::LeftButton);
        QVERIFY(autoCopy()->isChecked());
        chooseDecToHex();
        // The first clicks open the sound device and start the mixer: that
        // belongs to the program, not to a load.
        pressUntil(input(), 200, {Qt::Key_4, Qt::Key_2, Qt::Key_Backspace, Qt::Key_Backspace});
        settle();
        start_ = figuresOf();
    }

    void hundredThousandChanges() {
        beginLoad();
        const QElapsedTimer clock = started();
        pressUntil(input(), kChanges,
                   {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5, Qt::Key_6, Qt::Key_7,
                    Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace,
                    Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace});
        std::printf("%d changes in %lld ms\n", kChanges, static_cast<long long>(clock.elapsed()));
        QVERIFY(resultFollowsInput());
        endLoad("100,000 changes");
    }

    void holdingAKeyDown() {
        chooseDecToHex();
        window_->activateWindow();
        input()->setFocus();
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::focusWidget() == input(), kPatienceMs);
        int presses = 0;
        int repeats = 0;
        KeyCounter counter(&presses, &repeats);  // its end removes it from the box
        input()->installEventFilter(&counter);

        beginLoad();
        // The X server's own repeat, for as long as a user might hold a key.
        for (const char* key : {"1", "BackSpace"}) {
            QCOMPARE(runBeside(QStringLiteral("xdotool"),
                               {QStringLiteral("keydown"), QString::fromLatin1(key)}),
                     0);
            QTest::qWait(2000);
            QCOMPARE(runBeside(QStringLiteral("xdotool"),
                               {QStringLiteral("keyup"), QString::fromLatin1(key)}),
                     0);
        }
        std::printf("keys held on the X server: %d presses, %d of them repeats\n", presses,
                    repeats);
        // A repeat far faster than any keyboard's: the digits fill the box to
        // its limit and the rest are refused, then Backspace empties it.
        repeatKey(input(), Qt::Key_1, QStringLiteral("1"), 20000);
        QCOMPARE(input()->text(), QStringLiteral("1111111111"));
        repeatKey(input(), Qt::Key_Backspace, QStringLiteral("\b"), 20000);
        QCOMPARE(input()->text(), QString());
        QVERIFY(resultFollowsInput());
        endLoad("keys held down");
    }

    void megabytePaste() {
        if (autoCopy()->isChecked()) QTest::mouseClick(autoCopy(), Qt::LeftButton);
        chooseDecToHex();
        const QString text = megabyteText();
        copyElsewhere(text);

        beginLoad();
        const QElapsedTimer clock = started();
        QTest::keyClick(input(), Qt::Key_Insert, Qt::ShiftModifier);
        std::printf("a paste of %lld bytes took %lld ms\n",
                    static_cast<long long>(text.toUtf8().size()),
                    static_cast<long long>(clock.elapsed()));
        // As much as the limit of a decimal input leaves room for.
        QCOMPARE(input()->text(), text.left(10));
        QVERIFY(resultFollowsInput());
        QTest::qWait(1000);  // ticks with the pasted text
        endLoad("one-megabyte paste");
        takeClipboardBack();
    }

    void pasteBeforeTheFirstTick() {
        const QString text = megabyteText();
        copyElsewhere(text);

        beginLoad();
        {
            // Nothing has run on the event loop yet: no tick, no limit.
            ConverterWindow fresh;
            QLineEdit* box = inputOf(fresh);
            int freshChanges = 0;
            connect(box, &QLineEdit::textChanged, this, [&] { ++freshChanges; });
            const QElapsedTimer clock = started();
            QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
            std::printf("a paste of %lld bytes into a fresh window took %lld ms\n",
                        static_cast<long long>(text.toUtf8().size()),
                        static_cast<long long>(clock.elapsed()));
            QCOMPARE(box->text(), text.left(InputBox::kDefaultLengthLimit));

            fresh.showCentred();
            QVERIFY(QTest::qWaitForWindowExposed(&fresh));
            QTest::qWait(1000);  // ticks: the long text stands, as it reads as a small number
            QCOMPARE(box->text().size(), InputBox::kDefaultLengthLimit);
            // Holding Backspace on it: each change converts the long text anew.
            repeatKey(box, Qt::Key_Backspace, QStringLiteral("\b"), 500);
            QCOMPARE(box->text().size(), InputBox::kDefaultLengthLimit - 500);
            QCOMPARE(freshChanges, 501);
        }
        takeClipboardBack();
        endLoad("paste before the first tick");
    }

    void cleanupTestCase() {
        window_.reset();
        settle();
        const ProcessFigures end = figuresOf();
        std::printf(
            "whole run: threads %d -> %d, device handles %d -> %d, resident %ld -> %ld KiB\n",
            start_.threads, end.threads, start_.deviceHandles, end.deviceHandles,
            start_.residentKiB, end.residentKiB);
    }

private:
    // Counts the key presses that reach a control, and the repeated ones.
    class KeyCounter : public QObject {
    public:
        KeyCounter(int* presses, int* repeats) : presses_(presses), repeats_(repeats) {}

        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::KeyPress) {
                ++*presses_;
                if (static_cast<QKeyEvent*>(event)->isAutoRepeat()) ++*repeats_;
            }
            return false;
        }

    private:
        int* presses_;
        int* repeats_;
    };
};

int main(int argc, char** argv) {
    // Before Qt starts: the clicks read HOME's .asoundrc when they first play.
    const NullSoundHome home;
    QApplication app(argc, argv);
    StressTest test(home.dir());
    return QTest::qExec(&test, argc, argv);
}

#include "stress_test.moc"
