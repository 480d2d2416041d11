// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/ProfilePickerView.h"

#include "rules/FeatureFlags.h"
#include "ui/look/ElidedLabel.h"
#include "ui/look/LinkLabel.h"
#include "ui/picker/ProfileRow.h"

#include "FakePlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocument>

// Keys on the real widget (which of them count is the window's input filter's
// to say): arrows (clamped at the ends) and Return choose, digits 1-9 choose,
// Escape cancels; the pointer selects; rows past nine are
// clickable. Text from outside (the link, profile names) is shown as it is, never as markup; the
// link shows on two lines, shortened in the middle, and copies whole.
TEST(ProfilePickerView, KeysPointerAndText)
{
    FakePlatform platform;
    const QString link =
        u"https://evil.example/#<h1>https://bank.example</h1>/" + QString(300, u'x');
    QStringList events;
    QList<ChromeProfile> twenty = profiles(20);
    twenty[0].displayName = u"<b>Bank</b>"_s;
    ProfilePickerView view(
        link, oneBrowser(twenty),
        [&](const ChromeInstallation&, const ChromeProfile& profile, const std::optional<QString>&,
            ProfilePickerModel::Manner manner) {
            events.append(profile.directoryName + (manner.everyWaitingLink ? u" all" : u"") +
                          (manner.privateWindow ? u" private" : u""));
        },
        [&](bool all) { events.append(all ? u"drop all"_s : u"cancel"_s); });
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
    QTest::keyClick(&view, Qt::Key_3, Qt::AltModifier); // not a choice
    QTest::keyClick(&view, Qt::Key_3, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Escape, Qt::ControlModifier);
    // Shift: a private window.
    QTest::keyClick(&view, Qt::Key_Return, Qt::ShiftModifier);
    QTest::mouseClick(view.rows()[5], Qt::LeftButton, Qt::ShiftModifier);
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 10),
                     view.rows()[4]->mapToGlobal(QPointF(20, 10)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view.rows()[4], &move);
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::mouseClick(view.rows()[10], Qt::LeftButton);
    EXPECT_EQ(events, (QStringList{u"Profile 1"_s, u"Profile 2"_s, u"Profile 8"_s, u"cancel"_s,
                                   u"Profile 2 all"_s, u"drop all"_s, u"Profile 1 private"_s,
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

// The digit row chooses by its place on every layout (xkb numbers it 10 to
// 18), and the keypad by its digit; Shift asks for a private window only where
// the layout types the digit without it.
TEST(ProfilePickerView, DigitsOnEveryLayout)
{
    QStringList chosen;
    ProfilePickerView view(
        u"https://example.com"_s, oneBrowser(profiles(10)),
        [&](const ChromeInstallation&, const ChromeProfile& profile, const std::optional<QString>&,
            ProfilePickerModel::Manner manner) {
            chosen.append(profile.directoryName.mid(8) + (manner.privateWindow ? u"p" : u""));
        },
        [](bool) {});
    const auto typed = [&](int key, quint32 scanCode, Qt::KeyboardModifiers modifiers) {
        chosen.clear();
        QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0);
        QApplication::sendEvent(&view, &event);
        return chosen.join(u' ');
    };
    const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier;
    // US, then French (AZERTY): what the digit row types, unshifted and shifted.
    const int us[] = {Qt::Key_Exclam,    Qt::Key_At,       Qt::Key_NumberSign,
                      Qt::Key_Dollar,    Qt::Key_Percent,  Qt::Key_AsciiCircum,
                      Qt::Key_Ampersand, Qt::Key_Asterisk, Qt::Key_ParenLeft};
    const int french[] = {Qt::Key_Ampersand,  Qt::Key_Eacute,     Qt::Key_QuoteDbl,
                          Qt::Key_Apostrophe, Qt::Key_ParenLeft,  Qt::Key_Minus,
                          Qt::Key_Egrave,     Qt::Key_Underscore, Qt::Key_Ccedilla};
    for (int digit = 1; digit <= 9; ++digit) {
        SCOPED_TRACE(digit);
        const QString plain = QString::number(digit - 1);
        const quint32 code = quint32(9 + digit);
        EXPECT_EQ(typed(Qt::Key_0 + digit, code, none), plain) << "US";
        EXPECT_EQ(typed(us[digit - 1], code, shift), plain + u'p') << "US, Shift";
        EXPECT_EQ(typed(french[digit - 1], code, none), plain) << "French";
        EXPECT_EQ(typed(Qt::Key_0 + digit, code, shift), plain) << "French, Shift types it";
        EXPECT_EQ(typed(Qt::Key_0 + digit, 0, shift), plain + u'p') << "no place known";
    }
    EXPECT_EQ(typed(Qt::Key_3, 89, Qt::KeypadModifier), u"2"_s);
    EXPECT_EQ(typed(Qt::Key_Agrave, 19, none), QString()) << "0: no row of its own";
    EXPECT_EQ(typed(Qt::Key_Eacute, 11, Qt::AltModifier), QString());
}

// With rules on, the prefix field keeps every key typed into it (a digit is
// text there, not a choice), leading and trailing spaces and tabs are not
// part of the rule, and the picker coming back on screen keeps what was typed.
TEST(ProfilePickerView, ThePrefixField)
{
    if (!FeatureFlags::rulesEnabled)
        GTEST_SKIP() << "rules are off in this build";
    FakePlatform platform;
    QStringList chosen;
    const QList<ChromeProfile> profiles{{u"Default"_s, u"A"_s, {}, {}, {}},
                                        {u"Profile 1"_s, u"B"_s, {}, {}, {}}};
    ProfilePickerView view(
        u"https://example.com/x"_s, oneBrowser(profiles),
        [&](const ChromeInstallation&, const ChromeProfile& profile,
            const std::optional<QString>& prefix, ProfilePickerModel::Manner) {
            chosen.append(profile.directoryName + u' ' + prefix.value_or(u"-"_s));
        },
        [](bool) {});
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.model().toggleRemember();
    auto* field = view.findChild<QLineEdit*>();
    ASSERT_TRUE(field && field->isVisible());
    EXPECT_EQ(field->text(), u"https://example.com"_s);
    field->setFocus();
    QTest::keyClicks(field, u"/2"_s);
    QTest::keyClick(field, Qt::Key_Down);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(chosen.isEmpty()) << "the keys went to the field, not to the picker";
    EXPECT_TRUE(view.rows()[0]->isSelected());
    EXPECT_EQ(field->text(), u"https://example.com/2"_s);
    field->setText(u"\t https://example.com/a\u3000\t"_s);
    Q_EMIT field->textEdited(field->text()); // as pasted
    view.hide();
    view.show();
    EXPECT_EQ(field->text(), u"\t https://example.com/a\u3000\t"_s) << "kept on reappearing";
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_2);
    EXPECT_EQ(chosen, QStringList{u"Profile 1 https://example.com/a"_s});
}

// One browser with profiles has no header and its rows name no browser. Among several,
// each browser's rows come under its name (a browser without profiles has
// none), and each row names its browser to screen readers.
TEST(ProfilePickerView, SeveralBrowsers)
{
    ChromeInstallation chromium, firefox;
    chromium.shortName = u"Chromium"_s;
    firefox.name = u"Firefox ESR"_s;
    const auto headers = [](const ProfilePickerView& view) {
        QStringList texts;
        for (const QLabel* label : view.findChildren<QLabel*>(u"browser"_s))
            texts.append(label->text());
        return texts;
    };
    const ProfilePickerView one(u"https://a"_s, {{chromium, profiles(2)}, {firefox, {}}}, {}, {});
    EXPECT_EQ(headers(one), QStringList());
    EXPECT_EQ(one.rows()[1]->accessibleName(), u"Name 1"_s);
    const ProfilePickerView several(
        u"https://a"_s, {{chromium, profiles(2)}, {chromium, {}}, {firefox, profiles(1)}}, {}, {});
    EXPECT_EQ(headers(several), (QStringList{u"Chromium"_s, u"Firefox ESR"_s}));
    EXPECT_EQ(several.rows()[2]->accessibleName(), u"Name 0, Firefox ESR"_s);
    EXPECT_TRUE(
        several.rows()[2]->accessibleDescription().startsWith(u"3, Name 0, Firefox ESR\n"_s));
}
