// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/PickerWindowController.h"

#include "ui/picker/ProfilePickerView.h"
#include "ui/picker/ProfileRow.h"

#include "FakePlatform.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

namespace {

const ChromeInstallation browser;

} // namespace

// Links wait their turn in one window, and the link shown never changes under
// the user. Escape drops one, Ctrl with a choice sends every waiting link that
// has the profile, Ctrl+Escape and closing the window drop them all; once no
// link waits, every choice starts in order, the last with the browser brought
// forward. A rule is stored at its choice, and only when asked for.
TEST(PickerWindowController, LinksWaitTheirTurn)
{
    FakePlatform platform;
    QStringList calls;
    PickerWindowController controller(
        {[&](const QString& prefix, const QString& directory) {
             calls.append(u"rule " + prefix + u' ' + directory);
         },
         [&](const ChromeInstallation&, const ChromeLauncher::Request& r) {
             calls.append(u"launch " + r.url + u' ' + r.profileDirectory + u' ' +
                          r.activationToken + (r.toFront ? u" front" : u" left") +
                          (r.privateWindow ? u" private" : u""));
         }},
        {platform.windowActivation}, platform.scheduler);
    const auto shown = [&] { return controller.content()->model().url(); };
    for (const char16_t* url : {u"https://a", u"https://b", u"https://c", u"https://d"})
        controller.show(QString::fromUtf16(url), browser, profiles(3));
    QWidget* window = controller.window();
    EXPECT_EQ(shown(), u"https://a"_s);
    EXPECT_EQ(controller.content()->waitingLabel()->text(), u"ほかに 3 件のリンクが待っています"_s);
    QTest::keyClick(controller.content(), Qt::Key_2);
    EXPECT_EQ(shown(), u"https://b"_s);
    EXPECT_EQ(controller.window(), window);
    controller.content()->model().toggleRemember();
    controller.content()->model().choose(1);
    QTest::keyClick(controller.content(), Qt::Key_Escape);
    EXPECT_EQ(shown(), u"https://d"_s);
    EXPECT_TRUE(controller.content()->waitingLabel()->isHidden());
    controller.show(u"https://e"_s, browser, profiles(3), u"clicked"_s);
    EXPECT_EQ(shown(), u"https://d"_s) << "a new link waits";
    EXPECT_EQ(platform.windowActivation.presentedWith.last(), u"clicked"_s) << "and raises it";
    QTest::keyClick(controller.content(), Qt::Key_3);
    QTest::keyClick(controller.content(), Qt::Key_1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(
        calls,
        (QStringList{u"rule https://b Profile 1"_s, u"launch https://a Profile 1  left"_s,
                     u"launch https://b Profile 1  left"_s, u"launch https://d Profile 2  left"_s,
                     u"launch https://e Profile 0 token-1 front"_s}));
    calls.clear();

    // Ctrl+Shift+2 sends f, g and i, privately; h was not offered that
    // profile and keeps its turn.
    controller.show(u"https://f"_s, browser, profiles(3));
    controller.show(u"https://g"_s, browser, profiles(2));
    controller.show(u"https://h"_s, browser, profiles(1));
    controller.show(u"https://i"_s, browser, profiles(2));
    QTest::keyClick(controller.content(), Qt::Key_2, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(shown(), u"https://h"_s);
    QTest::keyClick(controller.content(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(calls, (QStringList{u"launch https://f Profile 1  left private"_s,
                                  u"launch https://g Profile 1  left private"_s,
                                  u"launch https://i Profile 1  left private"_s,
                                  u"launch https://h Profile 0 token-2 front"_s}));
    for (const char16_t* url : {u"https://j", u"https://k", u"https://l"})
        controller.show(QString::fromUtf16(url), browser, profiles(3), u"t"_s);
    QTest::keyClick(controller.content(), Qt::Key_Escape, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(calls.size(), 4) << "nothing dropped was started";
    controller.show(u"https://m"_s, browser, profiles(3));
    controller.show(u"https://n"_s, browser, profiles(3));
    controller.show(u"https://o"_s, browser, profiles(3));
    QTest::keyClick(controller.content(), Qt::Key_1);
    EXPECT_TRUE(calls.size() == 4 && window->isVisible()) << "nothing starts while links wait";
    window->close();
    controller.show(u"https://p"_s, browser, profiles(3));
    EXPECT_EQ(shown(), u"https://p"_s) << "nothing was left waiting";
    EXPECT_EQ(calls.mid(4), QStringList{u"launch https://m Profile 0 token-3 front"_s})
        << "what was chosen before the window closed still starts";
    QTest::keyClick(controller.content(), Qt::Key_Escape);

    // On X11 the picker stays up after a choice, taking no input, until the
    // browser's window takes the keyboard; a link that comes meanwhile takes
    // the picker at once, and a digit still held then chooses nothing there.
    platform.windowActivation.holds = true;
    controller.show(u"https://q"_s, browser, profiles(2));
    QTest::keyPress(controller.content(), Qt::Key_2);
    EXPECT_TRUE(window->isVisible());
    controller.show(u"https://r"_s, browser, profiles(2));
    EXPECT_EQ(shown(), u"https://r"_s);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(controller.content(), &repeat);
    QTest::keyClick(controller.content(), Qt::Key_1);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(window, &deactivate);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(calls.mid(5), (QStringList{u"launch https://q Profile 1 token-4 front"_s,
                                         u"launch https://r Profile 0 token-5 front"_s}));
}

// While the picker holds for the browser: a choice not yet launched when the
// next link takes the window still goes out, without a token and left where
// it is, so the new picker keeps the keyboard; keys are physical, so Shift
// let go before its digit holds nothing back; the pointer moves no highlight.
TEST(PickerWindowController, TheHoldLosesAndFreezesNothing)
{
    FakePlatform platform;
    platform.windowActivation.needsWindow = true;
    QStringList launched;
    PickerWindowController controller(
        {[](const QString&, const QString&) {},
         [&](const ChromeInstallation&, const ChromeLauncher::Request& r) {
             launched.append(r.url + u' ' + r.profileDirectory + u' ' + r.activationToken +
                             (r.toFront ? u" front" : u" left"));
         }},
        {platform.windowActivation}, platform.scheduler);
    const auto launchesSoon = [&](qsizetype count) {
        for (int i = 0; i < 4 && launched.size() < count; ++i) {
            QCoreApplication::processEvents();
            platform.scheduler.advance(LaunchGate::settleMs);
        }
        return launched.size() == count;
    };
    const auto key = [&](QEvent::Type type, int key, quint32 scanCode,
                         Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(type, key, modifiers, scanCode, 0, 0);
        QApplication::sendEvent(controller.content(), &event);
    };
    controller.show(u"https://a.example"_s, browser, profiles(3));
    QWidget* window = controller.window();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    key(QEvent::KeyPress, Qt::Key_2, 11);
    controller.show(u"https://b.example"_s, browser, profiles(3));
    EXPECT_EQ(launched, QStringList{u"https://a.example Profile 1  left"_s});
    EXPECT_TRUE(window->isVisible());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    key(QEvent::KeyPress, Qt::Key_Shift, 50);
    key(QEvent::KeyPress, Qt::Key_Exclam, 10, Qt::ShiftModifier);
    key(QEvent::KeyRelease, Qt::Key_Shift, 50, Qt::ShiftModifier);
    key(QEvent::KeyPress, Qt::Key_3, 12);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5),
                     controller.content()->rows()[2]->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(controller.content()->rows()[2], &move);
    EXPECT_TRUE(controller.content()->rows()[0]->isSelected()) << "the pointer moved nothing";
    key(QEvent::KeyRelease, Qt::Key_3, 12);
    EXPECT_FALSE(launchesSoon(2)) << "the 1 is still down";
    key(QEvent::KeyRelease, Qt::Key_1, 10);
    EXPECT_TRUE(launchesSoon(2)) << "the key that chose is up: its release is known by its place";
    EXPECT_EQ(launched.last(), u"https://b.example Profile 0 token-1 front"_s);
}
