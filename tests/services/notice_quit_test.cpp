// Closing the main window while notices are open ends the program at once:
// the notices do not keep it running, and the loop of every open notice ends
// with the main loop. A program of its own, as it runs the main loop.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include "app/notices.h"
#include "notice_poller.h"

namespace vantrigo {

class NoticeQuitTest : public QObject {
    Q_OBJECT

private slots:
    void closingMainWindowEndsEveryNotice() {
        QVERIFY(QApplication::quitOnLastWindowClosed());
        QWidget mainWindow;
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));

        QStringList returned;  // the order in which the notice calls came back
        bool aboutOpening = false;
        bool mainClosed = false;
        int noticesAtClose = 0;

        // Two notices, the second opened while the first is open, each from
        // its own event as a button click would open it.
        QTimer::singleShot(0, &mainWindow, [&] {
            showInstructions();
            returned << "instructions";
        });
        QTimer poll;
        connect(&poll, &QTimer::timeout, &mainWindow, [&] {
            const qsizetype open = test::openNotices().size();
            if (open == 1 && !aboutOpening) {
                aboutOpening = true;
                QTimer::singleShot(0, &mainWindow, [&] {
                    showAbout();
                    returned << "about";
                });
            } else if (open == 2 && !mainClosed) {
                mainClosed = true;
                noticesAtClose = static_cast<int>(open);
                mainWindow.close();
            }
        });
        poll.start(10);

        // Should the program keep running, end it so that the test fails.
        bool gaveUp = false;
        QTimer::singleShot(60000, &mainWindow, [&] {
            gaveUp = true;
            QCoreApplication::exit(1);
        });

        const int status = QApplication::exec();
        poll.stop();

        QVERIFY2(!gaveUp, "the program kept running after its main window closed");
        QCOMPARE(status, 0);
        QVERIFY(mainClosed);
        QCOMPARE(noticesAtClose, 2);
        QCOMPARE(returned, (QStringList{"about", "instructions"}));
        QCOMPARE(test::existingNotices(), 0);
    }
};

}  // namespace vantrigo

QTEST_MAIN(vantrigo::NoticeQuitTest)
#include "notice_quit_test.moc"
