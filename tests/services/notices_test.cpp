// The instructions and about notices: what each box shows, that the main
// window stays usable while one is open, that further notices open on top,
// and that every way of closing a box makes its call return.
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include "app/notices.h"
#include "notice_poller.h"

namespace vantrigo {
namespace {

using test::existingNotices;
using test::NoticePoller;
using test::noticeTitled;
using test::openNotices;

// The texts as the user must see them, the full-width forms written as code
// points: colon U+FF1A, comma U+FF0C, full stop U+3002, hyphen U+FF0D.
const QString kInstructionsTitle = QStringLiteral(u"说明\uFF1A");
const QString kInstructionsText =
    QStringLiteral(u"Vantrigo\uFF1A方便进制的转换\uFF0C可自动转换\u3002");
const QString kAboutTitle = QStringLiteral(u"关于\uFF1A");
const QString kAboutText = QStringLiteral(u"作者\uFF1ATolvasen    2013\uFF0D6\uFF0D23  ");

enum class Opener { Instructions, About, Notice };

void open(Opener opener, const QString& text, const QString& title) {
    switch (opener) {
        case Opener::Instructions:
            showInstructions();
            break;
        case Opener::About:
            showAbout();
            break;
        case Opener::Notice:
            showNotice(text, title);
            break;
    }
}

// What a test saw of a box while it was open.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
    Qt::TextFormat textFormat = Qt::AutoText;
    bool hasParent = true;
    Qt::WindowModality modality = Qt::ApplicationModal;
    bool anyModalWidget = true;
};

SeenBox look(QMessageBox* box) {
    SeenBox seen;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* button : box->buttons()) seen.buttons.append(box->standardButton(button));
    seen.textFormat = box->textFormat();
    seen.hasParent = box->parentWidget() != nullptr;
    seen.modality = box->windowModality();
    seen.anyModalWidget = QApplication::activeModalWidget() != nullptr;
    return seen;
}

enum class Closing { OkButton, Return, KeypadEnter, Escape, CloseButton };

void closeBy(Closing closing, QMessageBox* box) {
    QWindow* window = box->windowHandle();
    switch (closing) {
        case Closing::OkButton:
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            break;
        case Closing::Return:
            QTest::keyClick(window, Qt::Key_Return);
            break;
        case Closing::KeypadEnter:
            QTest::keyClick(window, Qt::Key_Enter, Qt::KeypadModifier);
            break;
        case Closing::Escape:
            QTest::keyClick(window, Qt::Key_Escape);
            break;
        case Closing::CloseButton: {
            // What the window manager's close button delivers to the window.
            QCloseEvent event;
            QCoreApplication::sendEvent(window, &event);
            break;
        }
    }
}

// A stand-in for the main window: an input box, a push button and a timer.
class MainWindowStandIn : public QWidget {
public:
    MainWindowStandIn() : input(new QLineEdit(this)), button(new QPushButton("button", this)) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(input);
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this] { ++clicks; });
        connect(&timer, &QTimer::timeout, this, [this] { ++ticks; });
        timer.start(100);
    }

    QLineEdit* input;
    QPushButton* button;
    QTimer timer;
    int clicks = 0;
    int ticks = 0;
};

}  // namespace

class NoticesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(openNotices().isEmpty()); }

    void showsItsContent_data() {
        QTest::addColumn<Opener>("opener");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("instructions")
            << Opener::Instructions << kInstructionsTitle << kInstructionsText;
        QTest::newRow("about") << Opener::About << kAboutTitle << kAboutText;
        QTest::newRow("markup shown as it stands")
            << Opener::Notice << QStringLiteral("<i>T</i>") << QStringLiteral("<b>1 &lt; 2</b>");
        QTest::newRow("empty") << Opener::Notice << QString() << QString();
    }

    void showsItsContent() {
        QFETCH(Opener, opener);
        QFETCH(QString, title);
        QFETCH(QString, text);

        SeenBox seen;
        NoticePoller poller([&] {
            const QList<QMessageBox*> boxes = openNotices();
            if (boxes.size() != 1) return false;
            seen = look(boxes.first());
            closeBy(Closing::OkButton, boxes.first());
            return true;
        });
        open(opener, text, title);

        QVERIFY(poller.done());
        QVERIFY(!poller.rescued());
        QCOMPARE(seen.title, title);
        QCOMPARE(seen.text, text);
        QCOMPARE(seen.icon, QMessageBox::Information);
        QCOMPARE(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
        QCOMPARE(seen.textFormat, Qt::PlainText);
        QVERIFY(!seen.hasParent);
        QCOMPARE(seen.modality, Qt::NonModal);
        QVERIFY(!seen.anyModalWidget);
        QCOMPARE(existingNotices(), 0);  // destroyed, not only hidden
    }

    void everyWayOfClosingReturns_data() {
        QTest::addColumn<Closing>("closing");
        QTest::newRow("OK button") << Closing::OkButton;
        QTest::newRow("Enter") << Closing::Return;
        QTest::newRow("keypad Enter") << Closing::KeypadEnter;
        QTest::newRow("Escape") << Closing::Escape;
        QTest::newRow("close button") << Closing::CloseButton;
    }

    void everyWayOfClosingReturns() {
        QFETCH(Closing, closing);
        NoticePoller poller([&] {
            const QList<QMessageBox*> boxes = openNotices();
            if (boxes.size() != 1 || !QTest::qWaitForWindowExposed(boxes.first())) return false;
            closeBy(closing, boxes.first());
            return true;
        });
        showAbout();
        QVERIFY(poller.done());
        QVERIFY2(!poller.rescued(), "the box stayed open");
        QCOMPARE(existingNotices(), 0);
    }

    void mainWindowStaysUsable() {
        MainWindowStandIn mainWindow;
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        mainWindow.input->setFocus();
        QWindow* window = mainWindow.windowHandle();
        const QPoint buttonCentre =
            mainWindow.button->mapTo(&mainWindow, mainWindow.button->rect().center());

        int ticksAtOpen = -1;
        QString typedWhileOpen;
        int clicksWhileOpen = -1;
        NoticePoller poller([&] {
            QMessageBox* box = noticeTitled(kInstructionsTitle);
            if (box == nullptr) return false;
            if (ticksAtOpen < 0) {
                ticksAtOpen = mainWindow.ticks;
                // Input as the window system delivers it, which a modal box would block.
                QTest::keyClick(window, '4');
                QTest::keyClick(window, '2');
                QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, buttonCentre);
                typedWhileOpen = mainWindow.input->text();
                clicksWhileOpen = mainWindow.clicks;
            }
            if (mainWindow.ticks < ticksAtOpen + 3) return false;
            box->done(QDialog::Accepted);
            return true;
        });
        showInstructions();

        QVERIFY(poller.done());
        QVERIFY(!poller.rescued());
        QCOMPARE(typedWhileOpen, QStringLiteral("42"));
        QCOMPARE(clicksWhileOpen, 1);
        QVERIFY(mainWindow.ticks >= ticksAtOpen + 3);
    }

    void furtherNoticesOpenOnTop() {
        QStringList returned;  // the order in which the calls came back
        bool bothOpen = false;
        bool secondActive = false;
        bool firstOpenAfterSecond = false;

        NoticePoller outer([&] {
            QMessageBox* first = noticeTitled(kInstructionsTitle);
            if (first == nullptr || !QTest::qWaitForWindowActive(first)) return false;
            // As a click on the about button while the first notice is open.
            NoticePoller inner([&] {
                QMessageBox* second = noticeTitled(kAboutTitle);
                if (second == nullptr || !QTest::qWaitForWindowActive(second)) return false;
                bothOpen = openNotices().size() == 2 && noticeTitled(kInstructionsTitle) != nullptr;
                secondActive = QApplication::activeWindow() == second;
                second->done(QDialog::Accepted);
                return true;
            });
            showAbout();
            returned << "about";
            firstOpenAfterSecond = openNotices() == QList<QMessageBox*>{first};
            first->done(QDialog::Accepted);
            return inner.done() && !inner.rescued();
        });
        showInstructions();
        returned << "instructions";

        QVERIFY(outer.done());
        QVERIFY(!outer.rescued());
        QVERIFY(bothOpen);
        QVERIFY(secondActive);
        QVERIFY(firstOpenAfterSecond);
        QCOMPARE(returned, (QStringList{"about", "instructions"}));
        QCOMPARE(existingNotices(), 0);
    }

    void manyNoticesLeaveNothingBehind() {
        const qsizetype widgetsBefore = QApplication::topLevelWidgets().size();
        int closed = 0;
        for (int round = 0; round < 40; ++round) {
            NoticePoller poller([&] {
                const QList<QMessageBox*> boxes = openNotices();
                if (boxes.isEmpty()) return false;
                boxes.first()->done(QDialog::Accepted);
                ++closed;
                return true;
            });
            round % 2 == 0 ? showInstructions() : showAbout();
        }
        QCOMPARE(closed, 40);
        QCOMPARE(QApplication::topLevelWidgets().size(), widgetsBefore);
    }
};

}  // namespace vantrigo

QTEST_MAIN(vantrigo::NoticesTest)
#include "notices_test.moc"
