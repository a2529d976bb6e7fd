// The window as assistive technology sees it, on the offscreen platform: the
// name and role of every control, and the events that announce a new result.
#include <QAccessible>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

// The platform's side, to turn accessibility on as a screen reader does.
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <map>
#include <memory>
#include <vector>

#include "app/converter_window.h"
#include "app/input_box.h"
#include "app/window_description.h"

using namespace vantrigo;

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const QString kInputName = QStringLiteral("待转换的数");
const QString kResultName = QStringLiteral("转换结果");

// What each kind of control is to assistive technology.
const std::map<window::Control, QAccessible::Role> kRoles = {
    {window::Control::AutoCopyBox, QAccessible::CheckBox},
    {window::Control::ModeButton, QAccessible::RadioButton},
    {window::Control::AboutButton, QAccessible::Button},
    {window::Control::InstructionsButton, QAccessible::Button},
    {window::Control::ResultLine, QAccessible::StaticText},
    {window::Control::ArrowLabel, QAccessible::StaticText},
    {window::Control::InputBox, QAccessible::EditableText},
};

// The name a control must have: its caption, or a name of its own where
// it shows none.
QString expectedName(const window::ControlEntry& entry) {
    switch (entry.control) {
        case window::Control::ModeButton:
            return fromUtf8(modeInfo(entry.mode).caption);
        case window::Control::InputBox:
            return kInputName;
        case window::Control::ResultLine:
            return kResultName;
        default:
            return fromUtf8(entry.text);
    }
}

QString controlName(const window::ControlEntry& entry) {
    return entry.control == window::Control::ModeButton ? fromUtf8(modeInfo(entry.mode).buttonName)
                                                       : fromUtf8(entry.name);
}

struct Announcement {
    QAccessible::Event type;
    QObject* object;
    QString name;
    QString value;
};

// Every event the window raises while recording, with the name and value of
// its source as they were when it was raised.
std::vector<Announcement> announcements;

void record(QAccessibleEvent* event) {
    QAccessibleInterface* source = event->accessibleInterface();
    announcements.push_back({event->type(), event->object(),
                             source ? source->text(QAccessible::Name) : QString(),
                             source ? source->text(QAccessible::Value) : QString()});
}

WindowServices silentServices() {
    return {[] {}, [](bool, const QString&) {}, [] {}, [] {}};
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ConverterWindow> window;

    InputBox* input() { return window->findChild<InputBox*>(QStringLiteral("编辑框1")); }
    QLabel* result() { return window->findChild<QLabel*>(QStringLiteral("标签1")); }
    QAccessibleInterface* accessible(QObject* object) {
        return QAccessible::queryAccessibleInterface(object);
    }
    std::vector<Announcement> announcementsOf(QObject* object, QAccessible::Event type) {
        std::vector<Announcement> found;
        for (const Announcement& each : announcements) {
            if (each.object == object && each.type == type) found.push_back(each);
        }
        return found;
    }

private slots:
    void initTestCase() {
        // Stands in for a screen reader: the platform turns accessibility on
        // and its reports go to the handler.
        QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility();
        QVERIFY(platform != nullptr);
        QVERIFY(!QAccessible::isActive());
        platform->setActive(true);
        QVERIFY(QAccessible::isActive());
        QAccessible::installUpdateHandler(record);
    }

    void init() {
        window = std::make_unique<ConverterWindow>(silentServices());
        window->showCentred();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        announcements.clear();
    }
    void cleanup() { window.reset(); }

    void windowIsNamedByItsTitle() {
        QAccessibleInterface* top = accessible(window.get());
        QVERIFY(top != nullptr);
        QCOMPARE(top->role(), QAccessible::Window);
        QCOMPARE(top->text(QAccessible::Name), fromUtf8(window::kTitle));
    }

    void everyControlHasANameAndARole_data() {
        QTest::addColumn<QString>("object");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        for (const window::ControlEntry& entry : window::kControls) {
            if (entry.geometry.isEmpty()) continue;  // the timers
            QTest::newRow(controlName(entry).toUtf8().constData())
                << controlName(entry) << int(kRoles.at(entry.control)) << expectedName(entry);
        }
    }
    void everyControlHasANameAndARole() {
        QFETCH(QString, object);
        QFETCH(int, role);
        QFETCH(QString, name);
        auto* control = window->findChild<QWidget*>(object);
        QVERIFY(control != nullptr);
        QAccessibleInterface* iface = accessible(control);
        QVERIFY(iface != nullptr);
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QVERIFY(!iface->state().invisible);
        // Reachable from the window, as a screen reader walks the tree.
        QAccessibleInterface* top = accessible(window.get());
        QVERIFY(top->indexOfChild(iface) >= 0);
        QCOMPARE(iface->parent()->object(), window.get());
    }

    void allControlsAreInTheTree() {
        QCOMPARE(accessible(window.get())->childCount(), 18);  // twenty less the timers
    }

    void checkedStatesAreExposed() {
        for (const ModeInfo& mode : kConversionModes) {
            auto* button = window->findChild<QRadioButton*>(fromUtf8(mode.buttonName));
            QCOMPARE(bool(accessible(button)->state().checked), mode.mode == window::kInitialMode);
        }
        auto* autoCopy = window->findChild<QWidget*>(QStringLiteral("选择框1"));
        QVERIFY(accessible(autoCopy)->state().checkable);
        QVERIFY(!accessible(autoCopy)->state().checked);
    }

    // Each new result is announced as a change of the result line's name,
    // which carries the result; its value is the result alone.
    void typingAnnouncesTheResult_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("results");
        QTest::newRow("one digit") << "F" << QStringList{"15"};
        QTest::newRow("two digits") << "FF" << QStringList{"15", "255"};
        QTest::newRow("refused key") << "G" << QStringList{};
    }
    void typingAnnouncesTheResult() {
        QFETCH(QString, keys);
        QFETCH(QStringList, results);
        QTest::keyClicks(input(), keys);

        const auto names = announcementsOf(result(), QAccessible::NameChanged);
        QCOMPARE(int(names.size()), int(results.size()));
        for (int i = 0; i < results.size(); ++i) {
            QCOMPARE(names[std::size_t(i)].name, kResultName + QStringLiteral("：") + results[i]);
            QCOMPARE(names[std::size_t(i)].value, results[i]);
        }
        const QString shown = results.isEmpty() ? QString() : results.last();
        QCOMPARE(result()->text(), shown);
        QCOMPARE(accessible(result())->text(QAccessible::Value), shown);
        // The box keeps its own name; its value is what was typed.
        QCOMPARE(accessible(input())->text(QAccessible::Name), kInputName);
        QCOMPARE(accessible(input())->text(QAccessible::Value), input()->text());
    }

    void emptiedResultIsAnnouncedToo() {
        QTest::keyClicks(input(), QStringLiteral("A"));
        announcements.clear();
        auto* decToHex = window->findChild<QRadioButton*>(
            fromUtf8(modeInfo(ConversionMode::DecToHex).buttonName));
        QTest::mouseClick(decToHex, Qt::LeftButton);  // a new mode empties the result
        const auto names = announcementsOf(result(), QAccessible::NameChanged);
        QVERIFY(!names.empty());
        QCOMPARE(names.back().name, kResultName);
        QCOMPARE(names.back().value, QString());
    }

    // The names are for assistive technology only: nothing shown changes.
    void namesShowNothing() {
        QCOMPARE(result()->text(), QString());
        QCOMPARE(input()->text(), QString());
        QCOMPARE(input()->placeholderText(), QString());
        QCOMPARE(input()->toolTip(), QString());
        QCOMPARE(result()->toolTip(), QString());
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
