// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/ProfilePickerView.h"

#include "rules/FeatureFlags.h"
#include "text/WrappedLink.h"
#include "ui/look/ElidedLabel.h"
#include "ui/look/LinkLabel.h"
#include "ui/picker/ProfileRow.h"
#include "ui/picker/TypeToFind.h"

#include "FakePlatform.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocumentFragment>
#include <QToolTip>

namespace {

/// A picker of `groups`' profiles for `link`, on screen, that logs each choice
/// ("Profile 1 all private", then the site to remember) and each cancel, and
/// finds names typed, its pause timed on `scheduler`.
struct Picker : ProfilePickerView
{
    Picker(const WrappedLink& link, const ProfilePickerModel::Groups& groups)
        : ProfilePickerView(
              link, groups,
              [this](const BrowserInstallation&, const ChromeProfile& profile,
                     const std::optional<QString>& prefix, ProfilePickerModel::Manner manner) {
                  events.append(profile.directoryName + (manner.everyWaitingLink ? u" all" : u"") +
                                (manner.privateWindow ? u" private" : u"") +
                                (prefix ? u' ' + *prefix : QString()));
              },
              [this](bool all) { events.append(all ? u"drop all"_s : u"cancel"_s); })
    {
        findByTyping(scheduler);
        show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(this));
    }
    FakeScheduler scheduler;
    QStringList events;
};

/// A tool tip's text as the user reads it.
QString plainTip(const QString& toolTip)
{
    return QTextDocumentFragment::fromHtml(toolTip).toPlainText().remove(u'\u200B');
}

} // namespace

// Keys on the real widget (which of them count is the window's input filter's
// to say): arrows (clamped at the ends) and Return choose, digits 1-9 choose
// (the row chosen is highlighted), Escape cancels; the pointer selects; rows
// past nine are clickable. Text from outside (the link, profile names) is shown as it is, never as
// markup; the link shows on two lines, shortened in the middle, and copies whole.
TEST(ProfilePickerView, KeysPointerTextAndDigitsOnEveryLayout)
{
    const QString link =
        u"https://evil.example/#<h1>https://bank.example</h1>/" + QString(300, u'x');
    QList<ChromeProfile> twenty = profiles(20);
    twenty[0].displayName = u"<b>Bank</b>"_s;
    Picker view(link, oneBrowser(twenty));
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
              u"Profile 2 private, Profile 5 private, Profile 4, Profile 10"_s);

    auto* label = view.findChild<LinkLabel*>();
    EXPECT_EQ(plainTip(label->toolTip()), link);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
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
        Picker view(WrappedLink::read(given, opensDestination), oneBrowser(profiles(2)));
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
        EXPECT_EQ(plainTip(label->toolTip()), given);
        QStringList copied;
        for (QAction* action : label->actions()) {
            action->trigger();
            copied.append(action->text() + u' ' + QGuiApplication::clipboard()->text());
        }
        EXPECT_EQ(copied, (QStringList{u"コピー https://Mail.Example.com/inbox"_s,
                                       u"元のリンクをコピー "_s + given}));
        EXPECT_EQ(view.model().rememberPrefix(), u"https://Mail.Example.com"_s);
    }
    const Picker plain(given, oneBrowser(profiles(1)));
    EXPECT_FALSE(plain.findChild<ElidedLabel*>(u"host"_s) ||
                 plain.findChild<ElidedLabel*>(u"wrapped"_s));
    EXPECT_EQ(plain.findChild<LinkLabel*>()->actions().size(), 1);
}

// With rules on, the prefix field keeps every key typed into it (a digit is
// text there, not a choice, and a letter finds no profile), leading and trailing spaces and tabs
// are not part of the rule, and the picker coming back on screen keeps what was typed.
TEST(ProfilePickerView, ThePrefixField)
{
    if (!FeatureFlags::rulesEnabled)
        GTEST_SKIP() << "rules are off in this build";
    Picker view(u"https://Mail.Example.com:8443/x"_s, oneBrowser(profiles(2)));
    view.model().toggleRemember();
    auto* field = view.findChild<QLineEdit*>();
    ASSERT_TRUE(field && field->isVisible());
    EXPECT_EQ(field->text(), u"https://Mail.Example.com"_s) << "the site, as typed";
    field->setFocus();
    QTest::keyClicks(field, u"/n2"_s);
    QTest::keyClick(field, Qt::Key_Down);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(view.events.isEmpty() && view.typeToFind()->text().isEmpty())
        << "the keys went to the field, not to the picker";
    EXPECT_EQ(field->text(), u"https://Mail.Example.com/n2"_s);
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

namespace {

/// Feeds `steps` to `view`: each character a key typed, but ⌫ Backspace, ⎋
/// Escape, ⏎ Return (⇧⏎ with Shift), … the pause, ‥ just short of it, and
/// 〔text〕 the input method's commit, 〈text〉 its text still composed. Returns the highlighted
/// row's name, the text shown ("-" for none) and the choices, "|" between them.
QString typing(Picker& view, const QString& steps)
{
    const QMap<QChar, Qt::Key> keys{
        {u'⌫', Qt::Key_Backspace}, {u'⎋', Qt::Key_Escape}, {u'⏎', Qt::Key_Return}};
    Qt::KeyboardModifiers modifiers;
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QChar step = steps[i];
        if (step == u'〔' || step == u'〈') {
            const qsizetype end = steps.indexOf(step == u'〔' ? u'〕' : u'〉', i);
            const QString text = steps.mid(i + 1, end - i - 1);
            QInputMethodEvent input(step == u'〈' ? text : QString(), {});
            if (step == u'〔')
                input.setCommitString(text);
            QApplication::sendEvent(&view, &input);
            i = end;
        } else if (step == u'…' || step == u'‥') {
            view.scheduler.advance(TypeToFind::pauseMs - (step == u'‥'));
        } else if (step == u'⇧') {
            modifiers = Qt::ShiftModifier;
        } else {
            const bool named = keys.contains(step);
            QKeyEvent key(QEvent::KeyPress, named ? int(keys[step]) : step.toUpper().unicode(),
                          std::exchange(modifiers, {}), named ? QString() : QString(step));
            QApplication::sendEvent(&view, &key);
        }
    }
    const QLabel* shown = view.typeToFind()->shown();
    return view.model().profiles()[view.model().selectedIndex()].displayName + u'|' +
           (shown->isVisible() ? shown->text() : u"-"_s) + u'|' + view.events.join(u", ");
}

} // namespace

// Letters typed move the highlight to the first name they begin, else the
// first that holds them, whatever the case and accents; kana as typed; the
// same letter again steps on; digits, Return and Escape keep their meaning.
// Among several browsers (≫), the browser's name before the profile's counts;
// inside a name, only the profile's own.
TEST(ProfilePickerView, TypingFindsAProfileByItsName)
{
    BrowserInstallation chromium, firefox;
    chromium.shortName = u"Chromium"_s;
    firefox.name = u"Firefox ESR"_s;
    firefox.shortName = u"Firefox"_s;
    const auto one = oneBrowser(named({u"Personal"_s, u"Work"_s, u"Élise"_s, u"Anna"_s, u"Alex"_s,
                                       u"わたしの"_s, u"がっこう"_s, u"Straße"_s}),
                                chromium);
    const ProfilePickerModel::Groups two{{chromium, named({u"Work"_s, u"Home"_s})},
                                         {firefox, named({u"work"_s, u"Travel"_s})}};
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"wO", u"Work|検索: wO|"},
        {u"ELI", u"Élise|検索: ELI|"},
        {u"lis", u"Élise|検索: lis|"},
        {u" strasse", u"Straße|検索: strasse|"},
        {u"aa", u"Alex|検索: aa|"},
        {u"aaa", u"Anna|検索: aaa|"},
        {u"〔わた〕", u"わたしの|検索: わた|"},
        {u"〔ｗｏ〕", u"Work|検索: ｗｏ|"},
        {u"w〈わ〉…", u"Work|検索: wわ|"}, // composing outlasts the pause
        {u"〔ワタ〕", u"Personal|「ワタ」に一致するプロファイルはありません|"},
        {u"か", u"Personal|「か」に一致するプロファイルはありません|"},
        {u"wx", u"Work|「wx」に一致するプロファイルはありません|"},
        {u"ch", u"Personal|「ch」に一致するプロファイルはありません|"}, // one browser: not its name
        {u"wx⌫", u"Work|検索: w|"},
        {u"al⌫⌫⌫⌫", u"Anna|-|"},
        {u"p…w", u"Work|検索: w|"},
        {u"p‥e", u"Personal|検索: pe|"},
        {u"wo…", u"Work|-|"},
        {u"wo3", u"Élise|検索: wo|Profile 2"},
        {u"〔３〕", u"Élise|-|Profile 2"},
        {u"wo⇧⏎", u"Work|検索: wo|Profile 1 private"},
        {u"wo⎋", u"Work|-|"},
        {u"wo⎋⎋", u"Work|-|cancel"},
        {u"≫fi", u"work|検索: fi|"},
        {u"≫firefox wo", u"work|検索: firefox wo|"},
        {u"≫firefox esr t", u"Travel|検索: firefox esr t|"},
        {u"≫me", u"Home|検索: me|"},
        {u"≫x", u"Work|「x」に一致するプロファイルはありません|"},
    };
    for (const auto& [steps, outcome] : cases) {
        const QString typed = QString::fromUtf16(steps);
        SCOPED_TRACE(typed.toStdString());
        Picker view(u"https://a"_s, typed.startsWith(u'≫') ? two : one);
        EXPECT_EQ(typing(view, typed.mid(typed.startsWith(u'≫'))), QString::fromUtf16(outcome));
    }
}

// Over a row, its number, avatar and name alike, one tool tip: the name
// whole, then the private window's hint. A 100 KB link's tool tip is wrapped
// within the screen and keeps both ends.
TEST(ProfilePickerView, ToolTipsWithinTheScreen)
{
    const QString link = u"https://example.com/?q=" + QString(100'000, u'x') + u"&end";
    Picker view(link, oneBrowser(named({u"Bank " + QString(80, u'n')})));
    const auto shownOver = [](QWidget* widget) -> QWidget* {
        const QPoint at = widget->rect().center();
        QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &help);
        const QWidgetList tips = QApplication::topLevelWidgets();
        const auto tip = std::find_if(tips.begin(), tips.end(), [](QWidget* w) {
            return w->inherits("QTipLabel") && w->isVisible();
        });
        return tip == tips.end() ? nullptr : *tip;
    };
    ProfileRow* row = view.rows()[0];
    for (QWidget* part : row->findChildren<QWidget*>()) {
        SCOPED_TRACE(part->metaObject()->className());
        ASSERT_TRUE(shownOver(part));
        EXPECT_EQ(QToolTip::text(), row->toolTip());
    }
    EXPECT_EQ(plainTip(row->toolTip()),
              u"Bank " + QString(80, u'n') +
                  u"\nShift を押しながら選ぶと、プライベート ウィンドウで開きます");
    const QWidget* tip = shownOver(view.findChild<LinkLabel*>());
    ASSERT_TRUE(tip);
    EXPECT_TRUE(tip->screen()->geometry().contains(tip->frameGeometry()));
    const QString plain = plainTip(QToolTip::text());
    EXPECT_TRUE(plain.startsWith(u"https://example.com/?q=xx"_s) && plain.endsWith(u"x&end"_s) &&
                plain.contains(u'…'));
    QToolTip::hideText();
}
