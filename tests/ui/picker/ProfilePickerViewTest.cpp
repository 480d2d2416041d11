// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/ProfilePickerView.h"

#include "rules/FeatureFlags.h"
#include "text/WrappedLink.h"
#include "ui/look/ElidedLabel.h"
#include "ui/look/LinkLabel.h"
#include "ui/picker/ProfileRow.h"

#include "FakePlatform.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocumentFragment>

namespace {

/// A picker of `profiles` for `link`, on screen, that logs each choice
/// ("Profile 1 all private", then the site to remember) and each cancel.
struct Picker : ProfilePickerView
{
    Picker(const WrappedLink& link, const QList<ChromeProfile>& profiles)
        : ProfilePickerView(
              link, oneBrowser(profiles),
              [this](const BrowserInstallation&, const ChromeProfile& profile,
                     const std::optional<QString>& prefix, ProfilePickerModel::Manner manner) {
                  events.append(profile.directoryName + (manner.everyWaitingLink ? u" all" : u"") +
                                (manner.privateWindow ? u" private" : u"") +
                                (prefix ? u' ' + *prefix : QString()));
              },
              [this](bool all) { events.append(all ? u"drop all"_s : u"cancel"_s); })
    {
        show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(this));
    }
    QStringList events;
};

} // namespace

// Keys on the real widget (which of them count is the window's input filter's
// to say): arrows (clamped at the ends) and Return choose, digits 1-9 choose,
// Escape cancels; the pointer selects; rows past nine are
// clickable. Text from outside (the link, profile names) is shown as it is, never as markup; the
// link shows on two lines, shortened in the middle, and copies whole.
TEST(ProfilePickerView, KeysPointerTextAndDigitsOnEveryLayout)
{
    const QString link =
        u"https://evil.example/#<h1>https://bank.example</h1>/" + QString(300, u'x');
    QList<ChromeProfile> twenty = profiles(20);
    twenty[0].displayName = u"<b>Bank</b>"_s;
    Picker view(link, twenty);
    EXPECT_TRUE(view.hasFocus());
    for (const int key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up})
        QTest::keyClick(&view, Qt::Key(key));
    EXPECT_TRUE(view.rows()[1]->isSelected() && !view.rows()[0]->isSelected());
    EXPECT_GT(view.rows()[1]->y(), view.rows()[0]->y()) << "rows are laid out as a list";
    // Alt+3 is no choice; Ctrl: every waiting link; Shift: a private window.
    for (const QKeyCombination key :
         {QKeyCombination(Qt::Key_Return), QKeyCombination(Qt::Key_3), QKeyCombination(Qt::Key_9),
          QKeyCombination(Qt::Key_Escape), Qt::AltModifier | Qt::Key_3,
          Qt::ControlModifier | Qt::Key_3, Qt::ControlModifier | Qt::Key_Escape,
          Qt::ShiftModifier | Qt::Key_Return})
        QTest::keyClick(&view, key.key(), key.keyboardModifiers());
    QTest::mouseClick(view.rows()[5], Qt::LeftButton, Qt::ShiftModifier);
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 10),
                     view.rows()[4]->mapToGlobal(QPointF(20, 10)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view.rows()[4], &move);
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::mouseClick(view.rows()[10], Qt::LeftButton);
    EXPECT_EQ(view.events.join(u", "),
              u"Profile 1, Profile 2, Profile 8, cancel, Profile 2 all, drop all, "
              u"Profile 1 private, Profile 5 private, Profile 4, Profile 10"_s);

    auto* label = view.findChild<LinkLabel*>();
    EXPECT_EQ(QTextDocumentFragment::fromHtml(label->toolTip()).toPlainText(), link);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(QTextDocumentFragment::fromHtml(view.rows()[0]->findChild<ElidedLabel*>()->toolTip())
                  .toPlainText(),
              u"<b>Bank</b>"_s);
    EXPECT_EQ(label->text().count(u'\n'), 1);
    EXPECT_TRUE(label->text().startsWith(u"https://evil.example/"_s));
    EXPECT_TRUE(label->text().endsWith(u"xxx"_s) && label->text().contains(u'…'));
    label->setSelection(0, int(label->text().size()));
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), link);

    // The digit row chooses by its place on every layout (xkb numbers it 10 to
    // 18), and the keypad by its digit; Shift asks for a private window only where
    // the layout types the digit without it.
    const auto typed = [&](int key, quint32 scanCode, Qt::KeyboardModifiers modifiers) {
        view.events.clear();
        QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0);
        QApplication::sendEvent(&view, &event);
        return view.events.join(u' ');
    };
    const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier;
    // Both ends of the row. US shifted, then French (AZERTY): what it types unshifted.
    const QMap<int, QList<int>> typing{{1, {Qt::Key_Exclam, Qt::Key_Ampersand}},
                                       {9, {Qt::Key_ParenLeft, Qt::Key_Ccedilla}}};
    for (const auto& [digit, keys] : typing.asKeyValueRange()) {
        SCOPED_TRACE(digit);
        const QString plain = u"Profile "_s + QString::number(digit - 1);
        const quint32 code = quint32(9 + digit);
        EXPECT_EQ(typed(keys[0], code, shift), plain + u" private") << "US, Shift";
        EXPECT_EQ(typed(keys[1], code, none), plain) << "French";
        EXPECT_EQ(typed(Qt::Key_0 + digit, code, shift), plain) << "French, Shift types it";
    }
    EXPECT_EQ(typed(Qt::Key_3, 89, Qt::KeypadModifier), u"Profile 2"_s);
}

// A wrapped link shows its destination, its host apart, and one line naming the
// service and what opens; screen readers hear them in that order. The link as
// given is the tool tip and copies from the menu, beside the destination; the
// site to remember is the destination's. A link not wrapped shows neither.
TEST(ProfilePickerView, WrappedLink)
{
    const QString given = u"https://nam02.safelinks.protection.outlook.com/?url=https%3A%2F%2F"
                          u"Mail.Example.com%2Finbox&data=05%7C02"_s;
    for (const bool opensDestination : {false, true}) {
        Picker view(WrappedLink::read(given, opensDestination), profiles(2));
        const QString line = opensDestination
                                 ? u"Microsoft Safe Links 経由のリンク。転送先を直接開きます"_s
                                 : u"Microsoft Safe Links 経由のリンク。開くのは元のリンクです"_s;
        auto* label = view.findChild<LinkLabel*>();
        EXPECT_EQ(label->text(), u"https://Mail.Example.com/inbox"_s);
        EXPECT_EQ(view.findChild<ElidedLabel*>(u"host"_s)->text(), u"mail.example.com"_s);
        EXPECT_EQ(view.findChild<ElidedLabel*>(u"wrapped"_s)->text(), line);
        EXPECT_EQ(view.accessibleDescription(), u"どのプロファイルで開きますか？\n"
                                                u"https://Mail.Example.com/inbox\n"_s +
                                                    line);
        EXPECT_EQ(QTextDocumentFragment::fromHtml(label->toolTip()).toPlainText(), given);
        QStringList copied;
        for (QAction* action : label->actions()) {
            action->trigger();
            copied.append(action->text() + u' ' + QGuiApplication::clipboard()->text());
        }
        EXPECT_EQ(copied, (QStringList{u"コピー https://Mail.Example.com/inbox"_s,
                                       u"元のリンクをコピー "_s + given}));
        EXPECT_EQ(view.model().rememberPrefix(), u"https://Mail.Example.com"_s);
    }
    const Picker plain(given, profiles(1));
    EXPECT_FALSE(plain.findChild<ElidedLabel*>(u"host"_s) ||
                 plain.findChild<ElidedLabel*>(u"wrapped"_s));
    EXPECT_EQ(plain.findChild<LinkLabel*>()->actions().size(), 1);
}

// With rules on, the prefix field keeps every key typed into it (a digit is
// text there, not a choice), leading and trailing spaces and tabs are not
// part of the rule, and the picker coming back on screen keeps what was typed.
TEST(ProfilePickerView, ThePrefixField)
{
    if (!FeatureFlags::rulesEnabled)
        GTEST_SKIP() << "rules are off in this build";
    Picker view(u"https://Mail.Example.com:8443/x"_s, profiles(2));
    view.model().toggleRemember();
    auto* field = view.findChild<QLineEdit*>();
    ASSERT_TRUE(field && field->isVisible());
    EXPECT_EQ(field->text(), u"https://Mail.Example.com"_s) << "the site, as typed";
    field->setFocus();
    QTest::keyClicks(field, u"/2"_s);
    QTest::keyClick(field, Qt::Key_Down);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(view.events.isEmpty()) << "the keys went to the field, not to the picker";
    EXPECT_EQ(field->text(), u"https://Mail.Example.com/2"_s);
    field->setText(u"\t https://example.com/a\u3000\t"_s);
    Q_EMIT field->textEdited(field->text()); // as pasted
    view.hide();
    view.show();
    EXPECT_EQ(field->text(), u"\t https://example.com/a\u3000\t"_s) << "kept on reappearing";
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_2);
    EXPECT_EQ(view.events, QStringList{u"Profile 1 https://example.com/a"_s});
}

// One browser with profiles has no header and its rows name no browser. Among several,
// each browser's rows come under its name (a browser without profiles has
// none), and each row names its browser to screen readers. A digit past the
// last row and Return on an empty list choose nothing; the selection does not
// wrap around. Only rules builds offer to remember the link's site; an edited
// site is kept when the picker appears again.
TEST(ProfilePickerView, SeveralBrowsersAndEdges)
{
    BrowserInstallation chromium, firefox;
    chromium.shortName = u"Chromium"_s;
    firefox.name = u"Firefox ESR"_s;
    const ProfilePickerView one(u"https://a"_s, {{chromium, profiles(2)}, {firefox, {}}}, {}, {});
    EXPECT_TRUE(one.findChildren<QLabel*>(u"browser"_s).isEmpty());
    EXPECT_EQ(one.rows()[1]->accessibleName(), u"Name 1"_s);
    ProfilePickerView several(u"https://Mail.Example.com:8443/inbox"_s,
                              {{chromium, profiles(2)}, {chromium, {}}, {firefox, profiles(1)}}, {},
                              {});
    const auto headers = several.findChildren<QLabel*>(u"browser"_s);
    ASSERT_EQ(headers.size(), 2);
    EXPECT_EQ(headers[0]->text() + u", " + headers[1]->text(), u"Chromium, Firefox ESR"_s);
    EXPECT_EQ(several.rows()[2]->accessibleName(), u"Name 0, Firefox ESR"_s);
    EXPECT_TRUE(
        several.rows()[2]->accessibleDescription().startsWith(u"3, Name 0, Firefox ESR\n"_s));

    ProfilePickerModel& model = several.model();
    EXPECT_FALSE(model.handleKey(ProfilePickerModel::Key::Digit, 4));
    model.moveSelection(3);
    EXPECT_EQ(model.selectedIndex(), 2) << "no wrap-around at the last row";
    EXPECT_TRUE(ProfilePickerModel(u"x"_s, {}, {}, {}).handleKey(ProfilePickerModel::Key::Return));
    EXPECT_EQ(model.rememberSectionShown(), FeatureFlags::rulesEnabled);
    model.setRememberPrefix(u"https://Mail.Example.com/edited"_s);
    model.appear();
    EXPECT_EQ(model.rememberPrefix(), u"https://Mail.Example.com/edited"_s) << "kept";
}
