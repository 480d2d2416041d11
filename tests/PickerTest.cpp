// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/FeatureFlags.h"
#include "ui/look/ElidedLabel.h"
#include "ui/look/LinkLabel.h"
#include "ui/picker/PickerWindowController.h"
#include "ui/picker/ProfilePickerView.h"
#include "ui/picker/ProfileRow.h"

#include "FakePlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTextDocument>

namespace {

const ChromeInstallation browser;

QList<ChromeProfile> profiles(int count)
{
    QList<ChromeProfile> list;
    for (int i = 0; i < count; ++i)
        list.append({u"Profile " + QString::number(i), u"Name " + QString::number(i), {}, {}, {}});
    return list;
}

} // namespace

// A digit past the last row and Return on an empty list choose nothing; only
// rows 1-9 carry numbers. Rules builds offer to remember the link's site, and
// keep an edited site when the picker appears again.
TEST(PickerModel, EdgesAndTheSiteToRemember)
{
    FakePlatform platform;
    int chosen = 0;
    const auto choose = [&](const ChromeProfile&, const std::optional<QString>&,
                            ProfilePickerModel::Manner) { ++chosen; };
    ProfilePickerModel empty(u"x"_s, {}, choose, [](bool) {});
    EXPECT_TRUE(empty.handleKey(ProfilePickerModel::Key::Return)) << "consumed";
    ProfilePickerModel model(u"https://Mail.Example.com:8443/inbox"_s, profiles(3), choose,
                             [](bool) {});
    EXPECT_FALSE(model.handleKey(ProfilePickerModel::Key::Digit, 4));
    EXPECT_EQ(chosen, 0);
    model.moveSelection(-1);
    EXPECT_EQ(model.selectedIndex(), 0) << "no wrap-around at the first row";
    model.moveSelection(2);
    model.moveSelection(1);
    EXPECT_EQ(model.selectedIndex(), 2) << "nor at the last";
    EXPECT_EQ(ProfilePickerModel::numberLabel(9), u" "_s);
    model.appear();
    EXPECT_EQ(model.rememberSectionShown(), FeatureFlags::rulesEnabled);
    model.toggleRemember();
    EXPECT_EQ(model.prefixToSave(), u"https://Mail.Example.com"_s);
    model.setRememberPrefix(u"https://Mail.Example.com/edited"_s);
    model.appear();
    EXPECT_EQ(model.rememberPrefix(), u"https://Mail.Example.com/edited"_s) << "kept";
}

// Keys on the real widget: arrows (clamped at the ends) and Return choose,
// digits 1-9 choose, Escape cancels; the pointer selects; rows past nine are
// clickable. Text from outside (the link, profile names) is shown as it is, never as markup; the
// link shows on two lines, shortened in the middle, and copies whole.
TEST(PickerView, KeysPointerAndText)
{
    FakePlatform platform;
    const QString link =
        u"https://evil.example/#<h1>https://bank.example</h1>/" + QString(300, u'x');
    QStringList events;
    QList<ChromeProfile> twenty = profiles(20);
    twenty[0].displayName = u"<b>Bank</b>"_s;
    ProfilePickerView view(
        link, twenty,
        [&](const ChromeProfile& profile, const std::optional<QString>&,
            ProfilePickerModel::Manner manner) {
            events.append(profile.directoryName + (manner.everyWaitingLink ? u" all" : u"") +
                          (manner.privateWindow ? u" private" : u""));
        },
        [&](bool all) { events.append(all ? u"drop all"_s : u"cancel"_s); });
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_TRUE(view.hasFocus());
    // A key held since before the picker came reaches it as repeats alone:
    // only the arrows act on them.
    for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_5, Qt::Key_Escape, Qt::Key_Down}) {
        QKeyEvent repeat(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&view, &repeat);
    }
    // X11 repeats a key as a release and a press of the same time, which Qt
    // does not always mark.
    for (const QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent x11(type, Qt::Key_Return, Qt::NoModifier, 36, 0, 0);
        x11.setTimestamp(500);
        QApplication::sendEvent(&view, &x11);
    }
    EXPECT_TRUE(events.isEmpty());
    for (const int key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up})
        QTest::keyClick(&view, Qt::Key(key));
    EXPECT_TRUE(view.rows()[1]->isSelected());
    EXPECT_GT(view.rows()[1]->y(), view.rows()[0]->y()) << "rows are laid out as a list";
    EXPECT_FALSE(view.rows()[0]->isSelected());
    for (const int key : {Qt::Key_Return, Qt::Key_3, Qt::Key_9, Qt::Key_Escape})
        QTest::keyClick(&view, Qt::Key(key));
    QTest::keyClick(&view, Qt::Key_3, Qt::AltModifier); // not a choice
    QTest::keyClick(&view, Qt::Key_3, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Escape, Qt::ControlModifier);
    // Ctrl or Shift held since before the picker came asks for nothing more.
    QKeyEvent heldCtrl(QEvent::KeyPress, Qt::Key_4, Qt::ControlModifier);
    QApplication::sendEvent(&view, &heldCtrl);
    QKeyEvent heldShift(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier, 10, 0, 0);
    QApplication::sendEvent(&view, &heldShift);
    // Shift pressed here: a private window, the digit known by its place.
    QTest::keyClick(&view, Qt::Key_Return, Qt::ShiftModifier);
    QKeyEvent shiftPress(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier, 50, 0, 0);
    QApplication::sendEvent(&view, &shiftPress);
    QKeyEvent shifted(QEvent::KeyPress, Qt::Key_At, Qt::ShiftModifier, 11, 0, 0);
    QApplication::sendEvent(&view, &shifted);
    QTest::mouseClick(view.rows()[5], Qt::LeftButton, Qt::ShiftModifier);
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 10),
                     view.rows()[4]->mapToGlobal(QPointF(20, 10)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view.rows()[4], &move);
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::mouseClick(view.rows()[10], Qt::LeftButton);
    EXPECT_EQ(events, (QStringList{u"Profile 1"_s, u"Profile 2"_s, u"Profile 8"_s, u"cancel"_s,
                                   u"Profile 2 all"_s, u"drop all"_s, u"Profile 3"_s,
                                   u"Profile 0"_s, u"Profile 1 private"_s, u"Profile 1 private"_s,
                                   u"Profile 5 private"_s, u"Profile 4"_s, u"Profile 10"_s}));

    const auto shownAs = [](const QString& toolTip) {
        QTextDocument document;
        document.setHtml(toolTip);
        return document.toPlainText();
    };
    auto* label = view.findChild<LinkLabel*>();
    EXPECT_EQ(shownAs(label->toolTip()), link);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(shownAs(view.rows()[0]->findChild<ElidedLabel*>()->toolTip()), u"<b>Bank</b>"_s);
    EXPECT_EQ(label->text().count(u'\n'), 1);
    EXPECT_TRUE(label->text().startsWith(u"https://evil.example/"_s));
    EXPECT_TRUE(label->text().endsWith(u"xxx"_s) && label->text().contains(u'…'));
    label->setSelection(0, int(label->text().size()));
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), link);
}

// Links wait their turn in one window, and the link shown never changes under
// the user. Escape drops one, Ctrl with a choice sends every waiting link that
// has the profile, Ctrl+Escape and closing the window drop them all; once no
// link waits, every choice starts in order, the last with the browser brought
// forward. A rule is stored at its choice, and only when asked for.
TEST(PickerWindow, LinksWaitTheirTurn)
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
         }});
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
    EXPECT_EQ(calls, (QStringList{u"rule https://b Profile 1"_s, u"launch https://a Profile 1  left"_s,
                                  u"launch https://b Profile 1  left"_s,
                                  u"launch https://d Profile 2  left"_s,
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
TEST(PickerWindow, TheHoldLosesAndFreezesNothing)
{
    FakePlatform platform;
    platform.windowActivation.needsWindow = true;
    QStringList launched;
    PickerWindowController controller(
        {[](const QString&, const QString&) {},
         [&](const ChromeInstallation&, const ChromeLauncher::Request& r) {
             launched.append(r.url + u' ' + r.profileDirectory + u' ' + r.activationToken +
                             (r.toFront ? u" front" : u" left"));
         }});
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
