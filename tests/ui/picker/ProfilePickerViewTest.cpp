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
#include <QLineEdit>
#include <QTextDocument>

// Keys on the real widget: arrows (clamped at the ends) and Return choose,
// digits 1-9 choose, Escape cancels; the pointer selects; rows past nine are
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
        u"https://example.com/x"_s, profiles,
        [&](const ChromeProfile& profile, const std::optional<QString>& prefix,
            ProfilePickerModel::Manner) {
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
