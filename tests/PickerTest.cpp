#include "rules/FeatureFlags.h"
#include "ui/ElidedLabel.h"
#include "ui/LinkLabel.h"
#include "ui/PickerWindowController.h"
#include "ui/ProfilePickerModel.h"
#include "ui/ProfilePickerView.h"
#include "ui/ProfileRow.h"
#include "ui/Typography.h"

#include "FakePlatform.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QRawFont>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QList<ChromeProfile> profiles(int count)
{
    QList<ChromeProfile> list;
    for (int i = 0; i < count; ++i)
        list.append({u"Profile " + QString::number(i), u"Name " + QString::number(i), {}, {}, {}});
    return list;
}

/// What a picker reported, in order: "directory|prefix" ("-" for none) for a
/// choice, "cancel" for a cancel.
struct Choices
{
    QStringList events;

    ProfilePickerModel::SelectHandler select()
    {
        return [this](const ChromeProfile& profile, const std::optional<QString>& prefix) {
            events.append(profile.directoryName + u'|' + prefix.value_or(u"-"_qs));
        };
    }
    ProfilePickerModel::CancelHandler cancel()
    {
        return [this] { events.append(u"cancel"_qs); };
    }
};

/// A picker on screen (offscreen in CI) for `count` profiles.
struct ShownPicker
{
    ShownPicker(const QString& url, int count)
        : view(url, profiles(count), choices.select(), choices.cancel())
    {
        view.show();
        exposed = QTest::qWaitForWindowExposed(&view);
    }
    FakePlatform platform;
    Choices choices;
    ProfilePickerView view;
    bool exposed = false;
};

} // namespace

// Moves clamp at both ends; a digit past the last row and Return on an empty
// list choose nothing; only rows 1-9 carry numbers.
TEST(PickerModel, KeysOutsideTheList)
{
    FakePlatform platform;
    Choices choices;
    ProfilePickerModel three(u"x"_qs, profiles(3), choices.select(), choices.cancel());
    three.moveSelection(-1);
    EXPECT_EQ(three.selectedIndex(), 0);
    three.moveSelection(+5);
    EXPECT_EQ(three.selectedIndex(), 2);
    EXPECT_FALSE(three.handleKey(ProfilePickerModel::Key::Digit, 4));
    ProfilePickerModel empty(u"x"_qs, {}, choices.select(), choices.cancel());
    EXPECT_TRUE(empty.handleKey(ProfilePickerModel::Key::Return)) << "consumed";
    EXPECT_TRUE(choices.events.isEmpty());
    EXPECT_EQ(ProfilePickerModel::numberLabel(8), u"9"_qs);
    EXPECT_EQ(ProfilePickerModel::numberLabel(9), u" "_qs);
}

// The prefix to store: only while remembering; spaces (Zs) and tabs trimmed,
// line breaks kept; nothing when blank.
TEST(PickerModel, PrefixToSave)
{
    FakePlatform platform;
    Choices choices;
    ProfilePickerModel model(u"https://Mail.Example.com:8443/inbox"_qs, profiles(2),
                             choices.select(), choices.cancel());
    model.appear();
    EXPECT_EQ(model.rememberPrefix(), u"https://Mail.Example.com"_qs) << "prefilled from the link";
    EXPECT_EQ(model.prefixToSave(), std::nullopt) << "not remembering";
    model.toggleRemember();
    EXPECT_EQ(model.prefixToSave(), u"https://Mail.Example.com"_qs);

    model.setRememberPrefix(u"\t\u3000 https://x \u00a0\t"_qs);
    EXPECT_EQ(model.prefixToSave(), u"https://x"_qs);
    model.setRememberPrefix(u"\nhttps://x\n"_qs);
    EXPECT_EQ(model.prefixToSave(), u"\nhttps://x\n"_qs);
    model.setRememberPrefix(u"   "_qs);
    EXPECT_EQ(model.prefixToSave(), std::nullopt);
    model.setRememberPrefix(u" word "_qs);
    model.setPrefixFieldFocused(true);
    model.toggleRemember();
    EXPECT_FALSE(model.prefixFieldFocused()) << "unchecking takes focus from the field";
    EXPECT_EQ(model.prefixToSave(), std::nullopt) << "unchecked: none, though the field holds text";

    EXPECT_EQ(model.rememberSectionShown(), FeatureFlags::rulesEnabled);
    ProfilePickerModel noSite(u"mailto:a@b"_qs, profiles(1), choices.select(), choices.cancel());
    noSite.appear();
    EXPECT_FALSE(noSite.rememberSectionShown());
    EXPECT_TRUE(noSite.rememberPrefix().isEmpty());
}

// Keys on the real widget: arrows and Return choose, digits choose, Escape cancels.
TEST(PickerView, Keyboard)
{
    ShownPicker picker(u"https://a.example"_qs, 11);
    ASSERT_TRUE(picker.exposed);
    ProfilePickerView& view = picker.view;
    Choices& choices = picker.choices;
    EXPECT_TRUE(view.hasFocus());

    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_EQ(view.model().selectedIndex(), 1);
    EXPECT_TRUE(view.rows()[1]->isSelected());
    EXPECT_FALSE(view.rows()[0]->isSelected());
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClick(&view, Qt::Key_3);
    QTest::keyClick(&view, Qt::Key_9);
    QTest::keyClick(&view, Qt::Key_3, Qt::ControlModifier); // with a modifier: not a choice
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(choices.events,
              (QStringList{u"Profile 1|-"_qs, u"Profile 2|-"_qs, u"Profile 8|-"_qs, u"cancel"_qs}));

    ProfileRow* fifth = view.rows()[4];
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 10), fifth->mapToGlobal(QPointF(20, 10)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(fifth, &move);
    EXPECT_EQ(view.model().selectedIndex(), 4) << "the pointer moving over a row selects it";
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(choices.events.last(), u"Profile 4|-"_qs);

    QTest::mouseClick(view.rows()[10], Qt::LeftButton);
    EXPECT_EQ(choices.events.last(), u"Profile 10|-"_qs) << "rows past nine are clickable";
    EXPECT_EQ(view.rememberBox()->isVisibleTo(&view), FeatureFlags::rulesEnabled);
}

// With the remember section (rules builds): a left click on its text checks
// it; the prefix field keeps digits, arrows and Return; Escape still cancels;
// the checked prefix goes with the choice.
TEST(PickerView, PrefixFieldKeepsItsKeys)
{
    if constexpr (!FeatureFlags::rulesEnabled)
        GTEST_SKIP() << "the remember section exists only with rules on";
    ShownPicker picker(u"https://a.example/path"_qs, 3);
    ASSERT_TRUE(picker.exposed);
    ProfilePickerView& view = picker.view;
    Choices& choices = picker.choices;
    ASSERT_TRUE(view.rememberBox()->isVisible());
    EXPECT_FALSE(view.prefixField()->isVisible());
    auto* text = view.findChild<QLabel*>(u"rememberText"_qs);
    ASSERT_TRUE(text);
    QTest::mouseClick(text, Qt::RightButton);
    QTest::mouseRelease(text, Qt::LeftButton);
    EXPECT_FALSE(view.model().remember()) << "a right click or a lone release";
    QTest::mouseClick(text, Qt::LeftButton); // the text toggles its box
    EXPECT_TRUE(view.rememberBox()->isChecked());
    ASSERT_TRUE(view.prefixField()->isVisible());
    EXPECT_EQ(view.prefixField()->text(), u"https://a.example"_qs);

    view.prefixField()->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(view.model().prefixFieldFocused());
    QTest::keyClick(view.prefixField(), Qt::Key_End);
    QTest::keyClicks(view.prefixField(), u"/2"_qs);
    QTest::keyClick(view.prefixField(), Qt::Key_Down);
    QTest::keyClick(view.prefixField(), Qt::Key_Return);
    EXPECT_EQ(view.model().selectedIndex(), 0);
    EXPECT_EQ(view.prefixField()->text(), u"https://a.example/2"_qs);
    QTest::keyClick(view.prefixField(), Qt::Key_Escape);

    view.setFocus();
    QApplication::processEvents();
    QTest::keyClick(&view, Qt::Key_2);
    EXPECT_EQ(choices.events, (QStringList{u"cancel"_qs, u"Profile 1|https://a.example/2"_qs}))
        << "the field's keys chose nothing";
}

// The list follows the selection so that the selected row sits in the middle.
TEST(PickerView, ListCentresTheSelectedRow)
{
    ShownPicker picker(u"https://a.example"_qs, 20);
    ASSERT_TRUE(picker.exposed);
    ProfilePickerView& view = picker.view;
    QScrollBar* bar = view.list()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(&view, Qt::Key_Down);
    auto* scroll = view.findChild<QPropertyAnimation*>();
    ASSERT_TRUE(scroll);
    scroll->setCurrentTime(scroll->duration()); // jump to where the animation ends
    const QRect row = view.rows()[10]->geometry();
    const int viewportMiddle = bar->value() + view.list()->viewport()->height() / 2;
    EXPECT_LE(std::abs(row.center().y() - viewportMiddle), 1);
}

// Text from outside (the link, profile names) is shown as it is, never as
// markup, and the link copies exactly however it is shown.
TEST(PickerView, OutsideTextIsPlainAndTheLinkCopiesExactly)
{
    const QString hostile = u"https://evil.example/#<h1 style=\"color:red\">https://bank.example"
                            u"</h1>/" +
                            QString(300, u'x');
    ShownPicker picker(hostile, 2);
    ASSERT_TRUE(picker.exposed);
    const auto shownAs = [](const QString& toolTip) {
        QTextDocument document;
        document.setHtml(toolTip);
        return document.toPlainText();
    };
    auto* link = picker.view.findChild<LinkLabel*>();
    ASSERT_TRUE(link);
    EXPECT_EQ(shownAs(link->toolTip()), hostile);
    EXPECT_EQ(link->textFormat(), Qt::PlainText);

    ChromeProfile named{u"Default"_qs, u"<b>Bank</b>"_qs, {}, {}, {}};
    ProfileRow row(named, 0);
    auto* name = row.findChild<ElidedLabel*>();
    ASSERT_TRUE(name);
    EXPECT_EQ(shownAs(name->toolTip()), u"<b>Bank</b>"_qs);

    // Two lines, shortened in the middle.
    EXPECT_EQ(link->text().count(u'\n'), 1);
    EXPECT_TRUE(link->text().startsWith(u"https://evil.example/"_qs));
    EXPECT_TRUE(link->text().endsWith(u"xxx"_qs) && link->text().contains(u'…'));
    EXPECT_EQ(ProfilePickerView::linkLines(u"https://a.example/"_qs, link->fontMetrics(), 368),
              u"https://a.example/"_qs);
    link->setSelection(0, int(link->text().size()));
    QTest::keyClick(&picker.view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), hostile);
}

// One window for every link; a new link replaces the old without a callback;
// a choice stores the rule, then launches, then hides; no prefix, no rule.
TEST(PickerWindow, ReplacesContentAndCarriesOutTheChoice)
{
    FakePlatform platform;
    QStringList calls;
    PickerWindowController controller(
        {[&](const QString& prefix, const QString& directory) {
             calls.append(u"rule " + prefix + u' ' + directory);
         },
         [&](const QString& url, const QString& directory, const QString& token) {
             calls.append(u"launch " + url + u' ' + directory + u' ' + token +
                          (controller.window()->isVisible() ? u" visible"_qs : u" hidden"_qs));
         }});

    controller.show(u"https://first.example"_qs, profiles(2));
    QWidget* window = controller.window();
    ASSERT_TRUE(window && window->isVisible());

    controller.show(u"https://second.example"_qs, profiles(3));
    EXPECT_EQ(controller.window(), window) << "the same window object";
    ASSERT_TRUE(controller.content());
    EXPECT_EQ(controller.content()->model().url(), u"https://second.example"_qs);
    QTest::keyClick(controller.content(), Qt::Key_2);
    EXPECT_EQ(calls, QStringList{u"launch https://second.example Profile 1 token-1 visible"_qs});
    EXPECT_FALSE(window->isVisible());

    calls.clear();
    controller.show(u"https://third.example"_qs, profiles(3));
    EXPECT_TRUE(window->isVisible());
    controller.content()->model().toggleRemember();
    controller.content()->model().choose(0);
    EXPECT_EQ(calls, (QStringList{u"rule https://third.example Profile 0"_qs,
                                  u"launch https://third.example Profile 0 token-2 visible"_qs}));
    EXPECT_FALSE(window->isVisible());

    controller.show(u"https://fourth.example"_qs, profiles(1), u"clicked"_qs);
    EXPECT_EQ(platform.windowActivation.presentedWith.last(), u"clicked"_qs);
    QTest::keyClick(controller.content(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(calls.size(), 2) << "cancel drops the link";

    // Where a token is good only while its window has the keyboard (Wayland),
    // the picker stays up, taking no more input, until Chrome takes the
    // keyboard or a few seconds have passed.
    platform.windowActivation.needsWindow = true;
    calls.clear();
    for (const bool chromeTakesTheKeyboard : {true, false}) {
        controller.show(u"https://fifth.example"_qs, profiles(2));
        QTest::keyClick(controller.content(), Qt::Key_1);
        EXPECT_TRUE(window->isVisible());
        QTest::keyClick(controller.content(), Qt::Key_2);
        EXPECT_EQ(calls.size(), 1) << "one choice only";
        calls.clear();
        if (chromeTakesTheKeyboard) {
            QEvent deactivate(QEvent::WindowDeactivate);
            QApplication::sendEvent(window, &deactivate);
        } else {
            platform.scheduler.advance(PickerWindowController::tokenHoldMs - 1);
            EXPECT_TRUE(window->isVisible());
            platform.scheduler.advance(1);
        }
        EXPECT_FALSE(window->isVisible());
    }
}

// Kanji take Japanese shapes where the desktop's face is a Chinese one.
TEST(Typography, KanjiComeFromAJapaneseFace)
{
    if (!QFontDatabase::families().contains(u"Noto Sans CJK JP"_qs))
        GTEST_SKIP() << "fonts-noto-cjk is not installed";
    const QFont saved = QApplication::font();
    QApplication::setFont(QFont(u"Noto Sans CJK SC"_qs));
    for (const QFont& font : {Typography::font(Typography::Role::Headline),
                              Typography::monospaced(Typography::Role::Callout)}) {
        const QRawFont han = QRawFont::fromFont(font, QFontDatabase::SimplifiedChinese);
        EXPECT_TRUE(han.familyName().endsWith(u"CJK JP"_qs)) << han.familyName().toStdString();
    }
    QApplication::setFont(saved);
}
