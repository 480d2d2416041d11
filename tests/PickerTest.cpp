// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/FeatureFlags.h"
#include "ui/ElidedLabel.h"
#include "ui/LinkLabel.h"
#include "ui/PickerWindowController.h"
#include "ui/ProfilePickerView.h"
#include "ui/ProfileRow.h"

#include "FakePlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QTextDocument>

namespace {

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
    const auto choose = [&](const ChromeProfile&, const std::optional<QString>&) { ++chosen; };
    ProfilePickerModel empty(u"x"_qs, {}, choose, [] {});
    EXPECT_TRUE(empty.handleKey(ProfilePickerModel::Key::Return)) << "consumed";
    ProfilePickerModel model(u"https://Mail.Example.com:8443/inbox"_qs, profiles(3), choose, [] {});
    EXPECT_FALSE(model.handleKey(ProfilePickerModel::Key::Digit, 4));
    EXPECT_EQ(chosen, 0);
    EXPECT_EQ(ProfilePickerModel::numberLabel(9), u" "_qs);
    model.appear();
    EXPECT_EQ(model.rememberSectionShown(), FeatureFlags::rulesEnabled);
    model.toggleRemember();
    EXPECT_EQ(model.prefixToSave(), u"https://Mail.Example.com"_qs);
    model.setRememberPrefix(u"https://Mail.Example.com/edited"_qs);
    model.appear();
    EXPECT_EQ(model.rememberPrefix(), u"https://Mail.Example.com/edited"_qs) << "kept";
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
    twenty[0].displayName = u"<b>Bank</b>"_qs;
    ProfilePickerView view(
        link, twenty,
        [&](const ChromeProfile& profile, const std::optional<QString>&) {
            events.append(profile.directoryName);
        },
        [&] { events.append(u"cancel"_qs); });
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_TRUE(view.hasFocus());
    for (const int key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up})
        QTest::keyClick(&view, Qt::Key(key));
    EXPECT_TRUE(view.rows()[1]->isSelected());
    EXPECT_GT(view.rows()[1]->y(), view.rows()[0]->y()) << "rows are laid out as a list";
    EXPECT_FALSE(view.rows()[0]->isSelected());
    for (const int key : {Qt::Key_Return, Qt::Key_3, Qt::Key_9, Qt::Key_Escape})
        QTest::keyClick(&view, Qt::Key(key));
    QTest::keyClick(&view, Qt::Key_3, Qt::ControlModifier); // with a modifier: not a choice
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 10),
                     view.rows()[4]->mapToGlobal(QPointF(20, 10)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view.rows()[4], &move);
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::mouseClick(view.rows()[10], Qt::LeftButton);
    EXPECT_EQ(events, (QStringList{u"Profile 1"_qs, u"Profile 2"_qs, u"Profile 8"_qs, u"cancel"_qs,
                                   u"Profile 4"_qs, u"Profile 10"_qs}));

    const auto shownAs = [](const QString& toolTip) {
        QTextDocument document;
        document.setHtml(toolTip);
        return document.toPlainText();
    };
    auto* label = view.findChild<LinkLabel*>();
    EXPECT_EQ(shownAs(label->toolTip()), link);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(shownAs(view.rows()[0]->findChild<ElidedLabel*>()->toolTip()), u"<b>Bank</b>"_qs);
    EXPECT_EQ(label->text().count(u'\n'), 1);
    EXPECT_TRUE(label->text().startsWith(u"https://evil.example/"_qs));
    EXPECT_TRUE(label->text().endsWith(u"xxx"_qs) && label->text().contains(u'…'));
    label->setSelection(0, int(label->text().size()));
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), link);
}

// One window for every link; a new link replaces the old without a callback;
// a choice stores the rule, then launches, then hides; no prefix, no rule.
// Where a token is good only while its window has the keyboard (Wayland), the
// picker stays up, taking no more input, until Chrome takes the keyboard; or,
// at the latest, until the hold time has passed, launching then should the
// key that chose never have been released.
TEST(PickerWindow, ReplacesContentAndCarriesOutTheChoice)
{
    FakePlatform platform;
    QStringList calls;
    PickerWindowController controller(
        {[&](const QString& prefix, const QString& directory) {
             calls.append(u"rule " + prefix + u' ' + directory);
         },
         [&](const QString& url, const QString& directory, const QString& token) {
             calls.append(u"launch " + url + u' ' + directory + u' ' + token);
         }});
    controller.show(u"https://first.example"_qs, profiles(2));
    QWidget* window = controller.window();
    controller.show(u"https://second.example"_qs, profiles(3));
    EXPECT_EQ(controller.window(), window);
    QTest::keyClick(controller.content(), Qt::Key_2);
    EXPECT_FALSE(window->isVisible());
    controller.show(u"https://third.example"_qs, profiles(3), u"clicked"_qs);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(platform.windowActivation.presentedWith.last(), u"clicked"_qs);
    controller.content()->model().toggleRemember();
    controller.content()->model().choose(0);
    controller.show(u"https://fourth.example"_qs, profiles(1));
    QTest::keyClick(controller.content(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(calls, (QStringList{u"launch https://second.example Profile 1 token-1"_qs,
                                  u"rule https://third.example Profile 0"_qs,
                                  u"launch https://third.example Profile 0 token-2"_qs}));

    platform.windowActivation.needsWindow = true;
    for (const bool released : {true, false}) {
        controller.show(u"https://fifth.example"_qs, profiles(2));
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyPress(controller.content(), Qt::Key_1);
        if (released) {
            QTest::keyRelease(controller.content(), Qt::Key_1);
            EXPECT_EQ(calls.size(), 3) << "not before the focus has settled";
            EXPECT_TRUE(QTest::qWaitFor([&] {
                platform.scheduler.advance(PickerWindowController::settleMs);
                return calls.size() == 4;
            }));
            QTest::keyClick(controller.content(), Qt::Key_2);
            EXPECT_TRUE(window->isVisible());
            QEvent deactivate(QEvent::WindowDeactivate);
            QApplication::sendEvent(window, &deactivate);
        } else {
            platform.scheduler.advance(PickerWindowController::tokenHoldMs - 1);
            EXPECT_TRUE(window->isVisible());
            platform.scheduler.advance(1);
        }
        EXPECT_FALSE(window->isVisible());
    }
    EXPECT_EQ(calls.size(), 5) << "one launch each";
}

// While the picker holds for Chrome: a choice not yet launched still goes out,
// once, when the next link takes the window; a key whose release went to
// another window (the Alt of Alt+Tab) is forgotten with the keyboard, so the
// next choice waits for nothing; the pointer moves no highlight.
TEST(PickerWindow, TheHoldLosesAndFreezesNothing)
{
    FakePlatform platform;
    platform.windowActivation.needsWindow = true;
    QStringList launched;
    PickerWindowController controller(
        {[](const QString&, const QString&) {},
         [&](const QString& url, const QString& directory, const QString&) {
             launched.append(url + u' ' + directory);
         }});
    const auto launchesSoon = [&](qsizetype count) {
        for (int i = 0; i < 4 && launched.size() < count; ++i) {
            QCoreApplication::processEvents();
            platform.scheduler.advance(PickerWindowController::settleMs);
        }
        return launched.size() == count;
    };
    controller.show(u"https://a.example"_qs, profiles(3));
    QWidget* window = controller.window();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyPress(controller.content(), Qt::Key_2);
    controller.show(u"https://b.example"_qs, profiles(3));
    EXPECT_EQ(launched, QStringList{u"https://a.example Profile 1"_qs});
    // Offscreen windows lose the activation when their content is replaced.
    const auto activate = [&] {
        QCoreApplication::processEvents();
        QApplication::setActiveWindow(window);
    };
    activate();

    QTest::keyPress(controller.content(), Qt::Key_A); // released in another window
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(window, &deactivate);
    activate(); // and back
    QTest::keyPress(controller.content(), Qt::Key_3);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5),
                     controller.content()->rows()[2]->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(controller.content()->rows()[2], &move);
    EXPECT_TRUE(controller.content()->rows()[0]->isSelected()) << "the pointer moved nothing";
    QTest::keyRelease(controller.content(), Qt::Key_3);
    EXPECT_TRUE(launchesSoon(2)) << "the key released elsewhere held the choice back";
    EXPECT_EQ(launched.last(), u"https://b.example Profile 2"_qs);
    platform.scheduler.advance(PickerWindowController::tokenHoldMs);
    EXPECT_EQ(launched.size(), 2) << "once";
}
