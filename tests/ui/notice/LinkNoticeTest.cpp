// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/notice/LinkNotice.h"

#include "ui/look/Typography.h"
#include "ui/notice/LostLinkList.h"
#include "ui/notice/LostLinks.h"

#include "FakePlatform.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

using enum ChromeLauncher::Failure;

QString clipboard()
{
    return QGuiApplication::clipboard()->text();
}

/// The window's list, and a click on its `row`.
QAbstractItemView* list(const LinkNotice& notice)
{
    return notice.window()->findChild<QAbstractItemView*>(u"links"_s);
}
void click(const LinkNotice& notice, int row)
{
    QAbstractItemView* view = list(notice);
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    ASSERT_FALSE(rect.isEmpty()) << row;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}
QString headline(const LinkNotice& notice)
{
    return notice.window()->findChild<QLabel*>(u"headline"_s)->text();
}

} // namespace

// Without a notification service: a failure brings the window up, without
// the keyboard, once no picker asks (one that has the keyboard yet or not) and
// no window of Orlim's has the keyboard; later ones join its list in order,
// whether the window is up or minimised, never taking the keyboard from the
// picker. Each row copies its own link on a click; Return copies the current
// one, the newest as the window came up. Closed, it forgets them; the next
// failure, alone, brings it up again.
TEST(LinkNotice, WithoutAServiceTheWindowKeepsEveryLink)
{
    FakePlatform platform;
    platform.notifications.available = false;
    LinkNotice notice({platform.windowActivation}, platform.notifications);
    notice.pickerUp(true);
    notice.notOpened(u"https://a"_s, NoBrowser);
    EXPECT_FALSE(notice.window()) << "not while a picker is up, with the keyboard or not yet";
    QWidget settings; // has the keyboard, as the settings (or the picker once it has it)
    settings.show();
    settings.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&settings));
    notice.notOpened(u"https://b"_s, DidNotStart);
    notice.pickerUp(false);
    EXPECT_FALSE(notice.window()) << "not while a window of Orlim's has the keyboard";
    {
        QWidget elsewhere; // the keyboard goes on, and away; the settings stay open
        elsewhere.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return notice.window() && notice.window()->isVisible(); }));
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((notice.window()->frameGeometry().center() - centre).manhattanLength(), 10)
        << "placed for the size it shows at";
    notice.notOpened(u"https://c <b>&\"'"_s, DidNotStart);
    const QStringList links{u"https://a"_s, u"https://b"_s, u"https://c <b>&\"'"_s};
    EXPECT_EQ(notice.links(), links);
    EXPECT_TRUE(platform.windowActivation.presentedWith.isEmpty());

    QTest::keyClick(list(notice), Qt::Key_Return);
    EXPECT_EQ(clipboard(), links[1]) << "the newest as it came up is current";
    for (const int row : {0, 1, 2, 0}) {
        click(notice, row);
        EXPECT_EQ(clipboard(), links[row]) << row;
    }
    notice.window()->showMinimized();
    notice.notOpened(u"https://d"_s, DidNotStart);
    EXPECT_TRUE(notice.window()->isMinimized());
    notice.window()->showNormal();

    notice.window()->findChild<QPushButton*>(u"close"_s)->click();
    notice.notOpened(u"https://e"_s, BrowserGone);
    EXPECT_TRUE(notice.window()->isVisible()) << "a single failure brings it up";
    EXPECT_EQ(notice.links(), QStringList{u"https://e"_s}) << "the others forgotten once closed";

    // Past the rows listed, the oldest leave the list but not the window: it
    // says how many more there are, and "copy all" copies them.
    QString all = u"https://e\n"_s;
    for (int i = 0; i <= LostLinks::listed; ++i) {
        notice.notOpened(u"https://m/"_s + QString::number(i), NoBrowser);
        all += u"https://m/"_s + QString::number(i) + u'\n';
    }
    EXPECT_EQ(headline(notice), u"1002 件のリンクを開けませんでした"_s);
    const auto* said = notice.window()->findChild<QLabel*>(u"more"_s);
    EXPECT_TRUE(said->isVisibleTo(notice.window()));
    EXPECT_TRUE(said->text().contains(u"2 件"_s)) << said->text().toStdString();
    notice.window()->findChild<QPushButton*>(u"copyAll"_s)->click();
    EXPECT_EQ(clipboard(), all);

    // Those kept for "copy all" are bounded; past the bound they are only counted.
    LostLinks lost(&LinkNotice::reason);
    for (int i = 0; i < LostLinks::listed + LostLinks::keptEarlier + 3; ++i)
        lost.append(u"https://l/"_s + QString::number(i), NoBrowser);
    EXPECT_EQ(lost.total(), 101003);
    EXPECT_EQ(lost.urls().at(100000), u"https://l/100003"_s) << "then the oldest listed";
}

// With a service: each failure updates the message, which counts the links
// since the user dismissed it and names the newest; each message's action
// brings the window up with the token and copies its own link once, when the
// window has the keyboard (or on the user's Return where the desktop keeps the
// keyboard elsewhere). Of two copies pending, the newest asked for wins; a copy
// whose window closed first never lands, but its link is listed again, once.
TEST(LinkNotice, TheActionCopiesItsOwnLink)
{
    FakePlatform platform;
    platform.windowActivation.activates = false;
    LinkNotice notice({platform.windowActivation}, platform.notifications);
    for (const char16_t* url : {u"https://a", u"https://b", u"https://c"})
        notice.notOpened(QString::fromUtf16(url), DidNotStart);
    EXPECT_EQ(platform.notifications.shown.last(),
              u"3 件のリンクを開けませんでした|ブラウザを起動できませんでした。\nhttps://c|"
              u"リンクをコピー"_s);
    EXPECT_FALSE(notice.window()) << "the notification alone tells";
    const auto& picks = platform.notifications.picks;
    ASSERT_EQ(picks.size(), 3);

    QGuiApplication::clipboard()->setText(u"copied elsewhere"_s);
    picks[0](u"token-a"_s);
    notice.window()->showMinimized();
    picks[1](u"token-b"_s);
    EXPECT_FALSE(notice.window()->isMinimized()) << "the action brings it back";
    EXPECT_EQ(platform.windowActivation.presentedWith, (QStringList{u"token-a"_s, u"token-b"_s}));
    EXPECT_EQ(clipboard(), u"copied elsewhere"_s) << "nothing before the keyboard";
    notice.window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(notice.window()));
    EXPECT_EQ(clipboard(), u"https://b"_s) << "the newest asked for";
    QGuiApplication::clipboard()->setText(u"copied elsewhere"_s);
    QWidget other;
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    notice.window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(notice.window()));
    EXPECT_EQ(clipboard(), u"copied elsewhere"_s) << "copied once, not at each activation";
    QTest::keyClick(list(notice), Qt::Key_Return);
    EXPECT_EQ(clipboard(), u"https://b"_s) << "the asked link is current";
    platform.notifications.close();
    notice.notOpened(u"https://x"_s, NoBrowser);
    EXPECT_TRUE(platform.notifications.shown.last().startsWith(u"リンクを開けませんでした|"_s))
        << "dismissed, the three are not counted again";
    EXPECT_EQ(headline(notice), u"4 件のリンクを開けませんでした"_s) << "refreshed while open";
    EXPECT_EQ(platform.notifications.shown.last().section(u'|', 1),
              u"対応するブラウザ（Chrome、Chromium、Brave、Edge、Vivaldi、Firefox、LibreWolf、"
              u"Waterfox）がインストールされていません。\nhttps://x|リンクをコピー"_s);
    // That reason, the longest, shows whole: wrapped, its row a line taller
    // than one whose reason fits on a line.
    const auto* rows = static_cast<const LostLinkList*>(list(notice));
    EXPECT_GE(rows->heightFor(1) - LostLinkList(rows->width(), {u"短い"_s}, {}).heightFor(1),
              QFontMetrics(Typography::font(Typography::Role::Caption)).height());

    // Closed before it had the keyboard: brought up later, it copies nothing.
    notice.window()->close();
    QGuiApplication::clipboard()->setText(u"copied elsewhere"_s);
    picks[2](u"token-c"_s);
    EXPECT_EQ(notice.links(), QStringList{u"https://c"_s}) << "listed again";
    notice.window()->close();
    notice.window()->show();
    notice.window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(notice.window()));
    EXPECT_EQ(clipboard(), u"copied elsewhere"_s);

    // Past the rows listed, a link asked for again is still kept: not twice.
    notice.notOpened(u"https://old"_s, NoBrowser);
    const auto old = picks.last();
    for (int i = 0; i < LostLinks::listed; ++i)
        notice.notOpened(u"https://m/"_s + QString::number(i), NoBrowser);
    old(u"token-old"_s);
    EXPECT_EQ(headline(notice), u"1001 件のリンクを開けませんでした"_s);
    EXPECT_EQ(notice.links().count(u"https://old"_s), 1);
}
