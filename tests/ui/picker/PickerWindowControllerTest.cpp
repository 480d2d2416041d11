// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/PickerWindowController.h"

#include "ui/picker/ProfilePickerView.h"
#include "ui/picker/ProfileRow.h"

#include "FakePlatform.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

/// A browser whose program is its desktop id.
BrowserInstallation browserNamed(const QString& desktopId)
{
    BrowserInstallation browser;
    browser.desktopId = desktopId;
    browser.command.exec = desktopId + u" %U";
    browser.privateSwitch = u"--incognito"_s;
    return browser;
}

const BrowserInstallation chrome = browserNamed(u"google-chrome.desktop"_s);
const BrowserInstallation firefox = browserNamed(u"firefox.desktop"_s);

/// A picker on the real launcher and rule store, whose launches read
/// "<link> <profile>[ in <browser>][ private][ front <token>]", with "https://"
/// and "Profile " left out and the browser named when not Chrome, after the
/// rules stored, "rule <prefix> <profile>[ in <browser>]".
struct Picker
{
    FakePlatform platform;
    FakeNotOpened notOpened;
    PickerWindowController controller{platform.launcher,
                                      platform.rules,
                                      notOpened,
                                      {platform.windowActivation},
                                      platform.scheduler};

    QStringList calls() const
    {
        QStringList calls;
        for (const ProfileRule& rule : platform.rules.load())
            calls.append(u"rule " + rule.prefix + u' ' + rule.profileDirectory +
                         (rule.browser == chrome.desktopId ? QString() : u" in " + rule.browser));
        for (const QString& start : platform.processes.starts) {
            const QStringList words = start.split(u'|');
            const QString& token = words.last();
            calls.append(QString(words[words.size() - 2] + u' ' +
                                 words[1].mid(QStringLiteral("--profile-directory=").size()) +
                                 (words[0] == chrome.desktopId ? QString() : u" in " + words[0]) +
                                 (words.contains(u"--incognito") ? u" private" : u"") +
                                 (token.isEmpty() ? QString() : u" front " + token))
                             .remove(u"https://"_s)
                             .remove(u"Profile "_s));
        }
        return calls;
    }
    /// Shows "https://<letter>" for each letter, with three profiles unless told.
    void links(const QString& letters,
               const ProfilePickerModel::Groups& groups = oneBrowser(profiles(3), chrome))
    {
        for (const QChar letter : letters)
            controller.show(QString(u"https://"_s + letter), groups);
    }
    ProfilePickerView* view() const { return controller.content(); }
    QWidget* window() const { return controller.window(); }
    void key(QEvent::Type type, int key, quint32 scanCode, Qt::KeyboardModifiers modifiers = {},
             ulong time = 0, bool repeat = false, const QString& text = {}) const
    {
        QKeyEvent event(type, key, modifiers, scanCode, 0, 0, text, repeat);
        event.setTimestamp(time);
        QApplication::sendEvent(view(), &event);
    }
    void press(int key) const { QTest::keyClick(view(), Qt::Key(key)); }
    /// Through the window system's path, where Qt makes double-clicks.
    void click(QTest::MouseAction action, QWidget* target,
               Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::mouseEvent(action, window()->windowHandle(), Qt::LeftButton, modifiers,
                          target->mapTo(window(), target->rect().center()));
    }
    /// Two clicks at `target`'s place, the second at once, `moved` away: a
    /// double-click when it did not move. What the first brings is laid out
    /// under the pointer between the two, as on a desktop.
    void doubleClick(QWidget* target, QPoint moved = {}) const
    {
        const QPoint at = target->mapTo(window(), target->rect().center());
        QTest::mouseClick(window()->windowHandle(), Qt::LeftButton, {}, at);
        QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
        QCoreApplication::processEvents();
        QTest::mouseClick(window()->windowHandle(), Qt::LeftButton, {}, at + moved);
    }
    QWidget* row(int index) const { return view()->rows().at(index); }
    QPushButton* cancel() const { return view()->findChild<QPushButton*>(); }
    /// Escape until the picker is gone, so that every choice starts.
    void finish() const
    {
        for (int i = 0; i < 10 && window() && window()->isVisible(); ++i)
            press(Qt::Key_Escape);
    }
};

struct Case
{
    const char* what;
    std::function<void(Picker&)> steps;
    QStringList calls;
};

void run(const Case& c)
{
    SCOPED_TRACE(c.what);
    Picker p;
    c.steps(p);
    p.finish();
    EXPECT_EQ(p.calls(), c.calls);
    EXPECT_TRUE(p.notOpened.told.isEmpty());
}

} // namespace

// Input counts only for the link the user saw when it began; a quick,
// deliberate choice per link still counts.
TEST(PickerWindowController, InputCountsForTheLinkShown)
{
    using QTest::MouseClick, QTest::MousePress, QTest::MouseRelease;
    const Case cases[] = {
        {"a double-click on a row, or two as quick but too far apart, chooses for one link",
         [](Picker& p) {
             p.links(u"abc"_s);
             p.doubleClick(p.row(1));
             EXPECT_TRUE(p.view()->newLinkFlagged());
             p.doubleClick(p.row(1), {0, 12});
         },
         {u"a 1"_s, u"b 1 front token-1"_s}},
        {"a double-click on キャンセル drops one link, so does a click, or a press without one "
         "after a Ctrl-click that was not its; a Ctrl-click drops every link",
         [](Picker& p) {
             p.links(u"abcdefg"_s);
             p.doubleClick(p.cancel());
             EXPECT_FALSE(p.cancel()->isDown()) << "the next link's button was never pressed";
             p.press(Qt::Key_1);
             p.click(MouseClick, p.cancel());
             p.press(Qt::Key_1);
             p.key(QEvent::KeyPress, Qt::Key_Control, 37);
             QTest::mouseClick(p.window()->windowHandle(), Qt::RightButton, Qt::ControlModifier,
                               p.cancel()->mapTo(p.window(), p.cancel()->rect().center()));
             p.cancel()->click(); // as an accessibility action does
             p.click(MouseClick, p.row(0));
             p.click(MouseClick, p.cancel(), Qt::ControlModifier);
             EXPECT_FALSE(p.window()->isVisible());
         },
         {u"b 0"_s, u"d 0"_s, u"f 0 front token-1"_s}},
        {"a key held, or a press released, across the change of link chooses nothing for the next",
         [](Picker& p) {
             p.links(u"abc"_s);
             p.key(QEvent::KeyPress, Qt::Key_Return, 36, {}, 100);
             p.key(QEvent::KeyRelease, Qt::Key_Return, 36, {}, 200); // X11's repeat
             p.key(QEvent::KeyPress, Qt::Key_Return, 36, {}, 200);
             p.key(QEvent::KeyPress, Qt::Key_2, 11, {}, 230, true);
             p.click(MousePress, p.row(1));
             p.press(Qt::Key_3);
             p.click(MouseRelease, p.row(1));
         },
         {u"a 0"_s, u"b 2 front token-1"_s}},
        {"a letter held across the change of link finds nothing in the next",
         [](Picker& p) {
             const auto names = oneBrowser(named({u"Anna"_s, u"Bob"_s, u"Carl"_s}), chrome);
             p.links(u"ab"_s, names);
             p.key(QEvent::KeyPress, Qt::Key_C, 54, {}, 100, false, u"c"_s);
             p.press(Qt::Key_Return);
             p.key(QEvent::KeyPress, Qt::Key_C, 54, {}, 130, true, u"c"_s);
             p.press(Qt::Key_Return);
         },
         {u"a 2"_s, u"b 0 front token-1"_s}},
        {"held arrows repeat, and held keys type on in the prefix field",
         [](Picker& p) {
             p.links(u"a"_s);
             for (int i = 0; i < 2; ++i) {
                 p.key(QEvent::KeyPress, Qt::Key_Down, 116, {}, 0, true);
                 QKeyEvent x(QEvent::KeyPress, Qt::Key_X, {}, u"x"_s, true);
                 QApplication::sendEvent(p.view()->prefixField(), &x);
             }
             EXPECT_TRUE(p.view()->prefixField()->text().endsWith(u"xx"_s));
             p.press(Qt::Key_Return);
         },
         {u"a 2 front token-1"_s}},
        {"Shift or Ctrl held since before the picker counts for nothing; Shift pressed in it "
         "lasts, and the row chosen says so",
         [](Picker& p) {
             p.links(u"abcd"_s);
             p.key(QEvent::KeyPress, Qt::Key_Exclam, 10, Qt::ShiftModifier);
             p.key(QEvent::KeyPress, Qt::Key_2, 11, Qt::ControlModifier);
             p.key(QEvent::KeyPress, Qt::Key_Shift, 50);
             p.key(QEvent::KeyPress, Qt::Key_Exclam, 10, Qt::ShiftModifier);
             p.key(QEvent::KeyPress, Qt::Key_At, 11, Qt::ShiftModifier);
             EXPECT_EQ(p.view()->rows()[1]->accessibleName(), u"Name 1, プライベート"_s);
             EXPECT_TRUE(p.view()->rows()[1]->findChild<QLabel*>(u"private"_s)) << "says so";
         },
         {u"a 0"_s, u"b 1"_s, u"c 0 private"_s, u"d 1 private front token-1"_s}},
        {"several browsers: digits and arrows count across them, a choice opens the row's browser, "
         "Ctrl (+Shift: private) sends the waiting links that browser has the profile for",
         [](Picker& p) {
             p.platform.applications.installed[firefox.desktopId] = {};
             const ProfilePickerModel::Groups both{{chrome, profiles(3)}, {firefox, profiles(2)}};
             p.links(u"ab"_s, both);
             p.links(u"e"_s, {{chrome, profiles(3)}, {firefox, profiles(3).mid(1)}});
             p.links(u"c"_s);
             BrowserInstallation moved = firefox; // its desktop entry changed since "a"
             moved.command.exec = u"firefox-moved %U"_s;
             p.links(u"d"_s, oneBrowser(profiles(2), moved));
             p.key(QEvent::KeyPress, Qt::Key_Control, 37);
             p.key(QEvent::KeyPress, Qt::Key_Shift, 50, Qt::ControlModifier);
             p.key(QEvent::KeyPress, Qt::Key_Dollar, 13, Qt::ControlModifier | Qt::ShiftModifier);
             for (const int key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down})
                 p.press(key);
             p.press(Qt::Key_Return);
             p.press(Qt::Key_1);
         },
         {u"a 0 in firefox.desktop private"_s, u"b 0 in firefox.desktop private"_s,
          u"d 0 in firefox-moved private"_s, u"e 2 in firefox.desktop"_s, u"c 0 front token-1"_s}},
        {"a link that needs no choice waits its turn, and is not the user's to drop; a rule is "
         "stored at its choice, if asked for; choices made before the window closed start",
         [](Picker& p) {
             p.platform.applications.installed[firefox.desktopId] = {};
             p.links(u"a"_s);
             EXPECT_TRUE(p.controller.openInTurn(u"https://r"_s, chrome, u"Default"_s));
             p.links(u"b"_s, {{chrome, profiles(3)}, {firefox, profiles(2)}});
             p.links(u"c"_s);
             EXPECT_TRUE(p.controller.openInTurn(u"https://s"_s, chrome, u"Default"_s));
             EXPECT_EQ(p.view()->waitingLabel()->text(), u"ほかに 2 件のリンクが待っています"_s)
                 << "those that need no choice are not asked about";
             p.press(Qt::Key_1);
             EXPECT_TRUE(p.view()->waitingLabel()->isVisibleTo(p.window())) << "one still waits";
             p.view()->model().toggleRemember();
             p.view()->model().choose(4);
             p.window()->close();
         },
         {u"rule https://b Profile 1 in firefox.desktop"_s, u"a 0"_s, u"r Default"_s,
          u"b 1 in firefox.desktop"_s, u"s Default front token-1"_s}},
        {"X11: the picker stays, taking no input, the row chosen marked, until the browser is "
         "active; a link that comes meanwhile takes it at once, leaving the browser chosen "
         "before where it is",
         [](Picker& p) {
             p.platform.windowActivation.holds = true;
             p.links(u"q"_s);
             p.press(Qt::Key_2);
             EXPECT_TRUE(p.window()->isVisible());
             QInputMethodEvent commit; // moves nothing either
             commit.setCommitString(u"Name 0"_s);
             QApplication::sendEvent(p.view(), &commit);
             const QList<ProfileRow*>& rows = p.view()->rows();
             EXPECT_TRUE(rows[1]->isChosen() && rows[1]->isSelected() && !rows[0]->isSelected() &&
                         !rows[1]->findChild<QLabel*>(u"private"_s))
                 << "the row chosen stays marked, and only it";
             p.links(u"r"_s);
             EXPECT_EQ(p.view()->model().url(), u"https://r"_s);
             p.platform.scheduler.runAll();
             EXPECT_EQ(p.platform.browserWindows.lookups, 2)
                 << "the earlier browser stays where it is";
             p.links(u"s"_s);
             p.press(Qt::Key_1);
             p.press(Qt::Key_Escape);
             p.links(u"c"_s);
             p.press(Qt::Key_3);
             QEvent deactivate(QEvent::WindowDeactivate);
             QApplication::sendEvent(p.window(), &deactivate);
             EXPECT_FALSE(p.window()->isVisible());
         },
         {u"q 1 front token-1"_s, u"r 0 front token-2"_s, u"c 2 front token-3"_s}},
    };
    for (const Case& c : cases)
        run(c);
}

// The picker tells when its window comes up and when it goes, closed by the
// desktop too, but not as it ends with the window up (nothing is to come up
// while Orlim ends).
TEST(PickerWindowController, TellsWhenItsWindowIsUp)
{
    QList<bool> ups;
    {
        Picker p;
        QObject::connect(&p.controller, &PickerWindowController::up,
                         [&](bool up) { ups.append(up); });
        p.links(u"a"_s);
        p.window()->close();
        p.links(u"b"_s);
    }
    EXPECT_EQ(ups, (QList<bool>{true, false, true}));
}

// While the picker holds for the browser: a link that needs no choice goes
// out before the choice still waiting, left where it is; a choice not yet
// launched when the next link takes the window still goes out, without a
// token and left where it is, so the new picker keeps the keyboard; keys are physical, so Shift
// let go before its digit holds nothing back, and a key released in another
// window is forgotten; the pointer moves no highlight. The picker says how
// many links wait behind the one shown, none when none does, and past a
// thousand that there are many; none is dropped.
TEST(PickerWindowController, TheHoldLosesAndFreezesNothing)
{
    Picker p;
    p.platform.windowActivation.needsWindow = true;
    const auto launchesSoon = [&](qsizetype count) {
        for (int i = 0; i < 4 && p.calls().size() < count; ++i) {
            QCoreApplication::processEvents();
            p.platform.scheduler.advance(LaunchGate::settleMs);
        }
        return p.calls().size() == count;
    };
    p.controller.show(u"https://a.example"_s, oneBrowser(profiles(3), chrome));
    QWidget* window = p.window();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    p.key(QEvent::KeyPress, Qt::Key_2, 11);
    EXPECT_TRUE(p.controller.openInTurn(u"https://r.example"_s, chrome, u"Default"_s));
    p.controller.show(u"https://b.example"_s, oneBrowser(profiles(3), chrome));
    EXPECT_EQ(p.calls(), (QStringList{u"r.example Default"_s, u"a.example 1"_s}));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    // A key released in another window is forgotten with the keyboard.
    p.key(QEvent::KeyPress, Qt::Key_A, 38);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(window, &deactivate);
    p.key(QEvent::KeyPress, Qt::Key_Shift, 50);
    p.key(QEvent::KeyPress, Qt::Key_Exclam, 10, Qt::ShiftModifier);
    p.key(QEvent::KeyRelease, Qt::Key_Shift, 50, Qt::ShiftModifier);
    p.key(QEvent::KeyPress, Qt::Key_3, 12);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), p.row(2)->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(p.row(2), &move);
    EXPECT_TRUE(p.view()->rows()[0]->isSelected()) << "the pointer moved nothing";
    p.key(QEvent::KeyRelease, Qt::Key_3, 12);
    EXPECT_FALSE(launchesSoon(3)) << "the 1 is still down";
    p.key(QEvent::KeyRelease, Qt::Key_1, 10);
    EXPECT_TRUE(launchesSoon(3)) << "the key that chose is up: its release is known by its place";
    EXPECT_EQ(p.calls().last(), u"b.example 0 private front token-1"_s);

    const auto said = [&] {
        return p.view()->waitingLabel()->isVisible() ? p.view()->waitingLabel()->text() : u"-"_s;
    };
    p.links(u"a"_s);
    EXPECT_EQ(said(), u"-"_s);
    p.links(QString(1001, u'm'), oneBrowser(profiles(1), chrome));
    EXPECT_TRUE(said().startsWith(u"ほかに 1001 件のリンクが待っています（1000 件を超えました"_s));
    p.press(Qt::Key_1);
    EXPECT_EQ(said(), u"ほかに 1000 件のリンクが待っています"_s);
}
