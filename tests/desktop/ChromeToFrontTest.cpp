// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end tests of the keyboard's way from the window a link was clicked
// in, to the picker, to the Chrome that opens the link: under Wayland
// compositors run headless (GNOME's mutter, KDE's KWin; keys typed through
// mutter's remote-desktop interface and KWin's fake input) and under X11 window
// managers on Xvfb (mutter, KWin, openbox; keys typed with xdotool); and what a
// click chooses.
#include "Compositor.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QThread>

#include <ostream>

namespace {

class ChromeToFront;

/// A scenario and the desktop it runs on.
struct Case
{
    const char* name;
    void (ChromeToFront::*desktop)();
    void (ChromeToFront::*scenario)();
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

class ChromeToFront : public Compositor, public ::testing::WithParamInterface<Case>
{
public:
    /// Debian's real Chromium, running natively on the desktop, comes to the
    /// front with the link in the chosen profile: started by the choice, with
    /// Orlim started by a link without a token; then running, for a link
    /// without a token and for one with a token, each clicked in a fresh
    /// window. The first choice is Shift+2, a private window of the second
    /// profile: the page gets none of the profile's cookies (the switches
    /// themselves are the launcher's unit tests'). The keys typed after the choice (on X11, once
    /// the browser's window is active) reach the page in the chosen profile, and none goes back to
    /// the window the link was clicked in. On X11 no window of another profile open before a
    /// choice ever has the keyboard: the private window's and Profile 2's stay behind.
    void realChromiumComesToTheFront()
    {
        const auto pages = useRealChromium(3);
        if (!pages)
            GTEST_SKIP() << "Debian's chromium is not installed";
        const struct
        {
            const char *page, *open, *choice, *key;
            const char* profile; // whose cookie the page gets; "-" for none
        } rounds[] = {{"/clicked-1-", "n", "shift+2", "x", "-"},
                      {"/clicked-2-", "n", "3", "y", "Profile 2"},
                      {"/clicked-3-", "o", "1", "k", "Default"}};
        for (const auto& r : rounds) {
            SCOPED_TRACE(r.page);
            ASSERT_NO_FATAL_FAILURE(
                click({*pages, r.page, r.open, r.choice, r.profile, r.key, r.profile, "Chromium"},
                      [&](const QString&) {
                          // On X11 the keyboard reaches the chosen profile's window only
                          // once Orlim raises it, or the browser raises it itself.
                          EXPECT_TRUE(!onX11() || waitFor([&] {
                              return windows({u"--class"_s, u"Chromium"_s}).contains(active());
                          })) << "Chromium is in front";
                      }));
        }
    }

    /// Only input in the window with the keyboard may set the clipboard on
    /// Wayland, and the compositor keeps the selection of the newest input:
    /// while another program holds the clipboard, three links whose browser
    /// fails at once, handed over one after another, are one notification
    /// that counts them; its action, with the token the shell made for the
    /// click (GNOME 46 and later) or with none, brings up Orlim's window with
    /// the keyboard, and Return there copies the newest link over the other
    /// program's copy (read back with wl-paste, or xclip on X11).
    void aLinkNotOpenedIsCopied()
    {
        const QString paste = onX11() ? u"xclip"_s : u"wl-paste"_s;
        if (QStandardPaths::findExecutable(paste).isEmpty())
            GTEST_SKIP() << paste.toStdString() << " is not installed";
        installEntry(u"google-chrome.desktop"_s, "/bin/false %U");
        QProcess* server = startHelper({QStringLiteral(NOTIFICATION_SERVER_SCRIPT)}, environment(),
                                       u"server.log"_s);
        ASSERT_EQ(nextLine(server).trimmed(), "ready");
        // The shell makes a token for the action from the user's last input;
        // the clicking window's "o" stands for that click, its token kept in a file.
        const QString keeper = putFile(u"keep-token"_s,
                                       "#!/bin/sh\nprintf %s \"$XDG_ACTIVATION_TOKEN\" > "
                                       "\"$1.part\" && mv \"$1.part\" \"$1\"\n",
                                       true);
        openClickingWindow(path(u"token"_s), keeper);
        // The clipboard, read and written as other programs do.
        const QString read = onX11() ? u"xclip -selection clipboard -o"_s : u"wl-paste -n"_s;
        const QString write =
            onX11() ? u"printf %s \"$0\" | xclip -selection clipboard"_s : u"wl-copy \"$0\""_s;
        const auto clipboard = [&] {
            QByteArray text;
            tool(u"/bin/sh"_s, {u"-c"_s, read}, &text);
            return QString::fromUtf8(text);
        };
        const QString elsewhere = u"copied elsewhere"_s;
        int round = 0;
        // X11 has no tokens for a notification's action.
        for (const bool withToken : onX11() ? QList<bool>{false} : QList<bool>{true, false}) {
            SCOPED_TRACE(withToken ? "with a token" : "without a token");
            ++round;
            ASSERT_EQ(tool(u"/bin/sh"_s, {u"-c"_s, write, elsewhere}), 0);
            ASSERT_TRUE(waitFor([&] { return clipboard() == elsewhere; }));
            const QString base = u"https://lost.example/"_s + QString::number(round) + u"?a=1&b=";
            if (round == 1) {
                startHelper({QStringLiteral(ORLIM_EXECUTABLE), base + u'1'}, environment(),
                            u"orlim.log"_s);
                ASSERT_TRUE(waitUntilListening());
            }
            for (const QChar n : round == 1 ? u"23"_s : u"123"_s)
                ASSERT_EQ(run({base + n}), 0);
            // Each start fails as its process ends, in whatever order they
            // end: the message that counts three names the last told.
            QJsonObject shown;
            QList<int> ids;
            while (!shown[u"summary"_s].toString().startsWith(u"3 件"_s)) {
                const QByteArray line = nextLine(server);
                ASSERT_FALSE(line.isEmpty()) << readLog(u"orlim.log"_s).toStdString();
                shown = QJsonDocument::fromJson(line).object();
                ids.append(shown[u"id"_s].toInt());
            }
            EXPECT_EQ(ids, QList<int>(ids.size(), ids.first())) << "one notification";
            const QString newest = shown[u"body"_s].toString().section(u'\n', -1);
            EXPECT_TRUE(newest.startsWith(base)) << newest.toStdString();
            QByteArray token = "-";
            if (withToken) {
                type(u"o"_s);
                const QString file = u"token"_s + QString::number(round);
                ASSERT_TRUE(waitFor([&] { return !readLog(file).isEmpty(); }));
                token = readLog(file);
            }
            server->write("invoke " + QByteArray::number(ids.first()) + ' ' + token + '\n');
            server->waitForBytesWritten(5000);
            // Reading the clipboard takes the keyboard for a moment on
            // Wayland: it is read once a key.
            bool copied = false;
            for (int i = 0; i < 30 && !copied; ++i) {
                QThread::msleep(500);
                type(u"Return"_s);
                QThread::msleep(200);
                copied = clipboard() == newest;
            }
            EXPECT_TRUE(copied) << clipboard().toStdString() << " for " << newest.toStdString();
            type(u"alt+F4"_s);
        }
    }

    /// A start that fails while the picker asks for the next link shows the
    /// window of links not opened (no notification service) without taking
    /// the keyboard: the next key still chooses in the picker.
    void aFailureLeavesThePickerTheKeyboard()
    {
        writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {}}}})");
        // The browser records its start, then fails once the test says so.
        putFile(u"browser"_s,
                "#!/bin/sh\necho \"$*\" >> \"$0.starts\"\n"
                "until [ -e \"$0.fails\" ]; do sleep 0.05; done\nexit 1\n",
                true);
        installEntry(u"google-chrome.desktop"_s, path(u"browser"_s).toUtf8() + " %U");
        const QString clicking = openClickingWindow(u"https://asked.example/"_s);
        startHelper({QStringLiteral(ORLIM_EXECUTABLE), u"https://asked.example/first"_s},
                    environment(), u"orlim.log"_s);
        ASSERT_TRUE(pickerTakesTheKeyboard(clicking, {}, 1));
        type(u"1"_s);
        ASSERT_TRUE(waitFor([&] { return readLog(u"browser.starts"_s).contains("first"); }));
        // Once the picker has gone, the next link's picker takes the keyboard;
        // then the first start fails.
        ASSERT_TRUE(pickerTakesTheKeyboard(clicking, u"o"_s, 2));
        putFile(u"browser.fails"_s, {});
        ASSERT_TRUE(waitFor([&] {
            return readLog(u"orlim.log"_s).contains("could not be opened");
        })) << readLog(u"orlim.log"_s).toStdString();
        QThread::msleep(500); // time for the window of links not opened to come up, were it to
        type(u"2"_s);
        EXPECT_TRUE(waitFor([&] { return readLog(u"browser.starts"_s).contains("example/1"); }))
            << "the picker kept the keyboard\n"
            << readLog(u"browser.starts"_s).toStdString();
    }

    /// A picker closed by the desktop (Alt+F4) drops its link, and the next
    /// link brings it back with the keyboard. Then three links in a burst,
    /// chosen with keys, the last two in one step (Ctrl+3): the picker keeps
    /// the keyboard from the first choice to the last, each link starts once in
    /// its profile, and the browser (a stand-in) has the keyboard after the
    /// last choice.
    void aBurstChosenWithKeys()
    {
        installEntry(u"google-chrome.desktop"_s, DESKTOP_WINDOW_EXECUTABLE " %U");
        writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {},
                                                       "Profile 2": {}}}})");
        const QString clicking = openClickingWindow(u"https://burst.example/"_s);
        ASSERT_TRUE(pickerTakesTheKeyboard(clicking, u"o"_s, 1));
        type(u"alt+F4"_s);
        ASSERT_TRUE(pickerTakesTheKeyboard(clicking, u"o"_s, 2)) << "a closed picker comes back";
        EXPECT_EQ(run({u"https://burst.example/3"_s, u"https://burst.example/4"_s}), 0);
        for (const QString& key : {u"2"_s, u"ctrl+3"_s})
            type(key);
        const QString profile = u"--profile-directory="_s;
        EXPECT_EQ(waitForChrome(3),
                  (QList<QStringList>{{profile + u"Profile 1", u"https://burst.example/2"_s},
                                      {profile + u"Profile 2", u"https://burst.example/3"_s},
                                      {profile + u"Profile 2", u"https://burst.example/4"_s}}));
        EXPECT_TRUE(waitFor([&] { return count(u"chrome.log.focus"_s, "focus-in") > 0; }))
            << "the browser took the keyboard";
        EXPECT_EQ(count(clicking, "focus-in"), 2) << "the keyboard never went back";
        EXPECT_EQ(count(clicking, "2") + count(clicking, "3"), 0)
            << readLog(clicking).toStdString();
    }

    /// A double-click on a row with a second link waiting chooses for the
    /// first link only: its second click falls on the second link's picker,
    /// which stays until Escape drops that link. Only the first, and a link
    /// given later, start.
    void aDoubleClickChoosesForTheLinkShownOnly()
    {
        writeLocalState(R"({"profile": {"profiles_order": ["Default", "Profile 1"],
            "info_cache": {"Default": {}, "Profile 1": {}}}})");
        const QString clicking = openClickingWindow(u"https://clicked.example/"_s);
        ASSERT_TRUE(pickerTakesTheKeyboard(clicking, u"o"_s, 1));
        ASSERT_EQ(run({u"https://waiting.example/"_s}), 0);
        // Well inside the second row of the 400 x 520 picker.
        const int x = 200, y = 155;
        if (onX11()) {
            ASSERT_EQ(xdotool({u"mousemove"_s, u"--window"_s,
                               QString::fromLatin1(titled(u"Orlim"_s).value(0)), QString::number(x),
                               QString::number(y)}),
                      0);
            ASSERT_EQ(xdotool({u"click"_s, u"--repeat"_s, u"2"_s, u"--delay"_s, u"80"_s, u"1"_s}),
                      0);
        } else {
            // The picker fills the monitor, below Orlim's own 34-pixel title bar.
            m_keys->write("double-click " + QByteArray::number(x) + ' ' +
                          QByteArray::number(34 + y) + '\n');
            ASSERT_TRUE(nextLine(m_keys).startsWith("clicked"));
        }
        type(u"Escape"_s);
        ASSERT_TRUE(pickerTakesTheKeyboard(clicking, u"o"_s, 2))
            << "Escape dropped the waiting link, and only it";
        type(u"1"_s);
        EXPECT_EQ(waitForChrome(2),
                  (QList<QStringList>{
                      {u"--profile-directory=Default"_s, u"https://clicked.example/2"_s},
                      {u"--profile-directory=Profile 1"_s, u"https://clicked.example/1"_s}}));
    }

    /// The desktop switched between light and dark through the portal while
    /// the picker is open: the picker turns, without a restart. The preference
    /// is read with ReadOne, and with Read alone as portals before version 2
    /// serve it; no preference brings back Qt's own light palette.
    void thePickerFollowsTheDesktopsStyle()
    {
        if (QStandardPaths::findExecutable(u"import"_s).isEmpty())
            GTEST_SKIP() << "imagemagick is not installed";
        writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {}}}})");
        // Whether the picker's mean brightness, 0 (black) to 1 (white), as the X
        // server shows it, becomes that of a `dark` or a light palette.
        const auto becomes = [&](bool dark) {
            return waitFor([&] {
                const QString window = QString::fromLatin1(titled(u"Orlim"_s).value(0));
                const QString measure = u"import -window \"$0\" png:- | convert png:- "
                                        u"-colorspace gray -format '%[fx:mean]' info:"_s;
                QByteArray mean;
                bool ok = false;
                const double value =
                    window.isEmpty() || tool(u"/bin/sh"_s, {u"-c"_s, measure, window}, &mean) != 0
                        ? 0
                        : mean.toDouble(&ok);
                return ok && (dark ? value < 0.35 : value > 0.65);
            });
        };
        for (const bool readOne : {true, false}) {
            SCOPED_TRACE(readOne ? "ReadOne" : "Read");
            // 1 is dark, 2 light, 0 no preference.
            QProcess* portal = startHelper(
                {QStringLiteral(PORTAL_SCRIPT), readOne ? u"readone"_s : u"read"_s, u"1"_s},
                environment(), u"portal.log"_s);
            ASSERT_EQ(nextLine(portal).trimmed(), "ready");
            start({u"https://style.example/"_s});
            ASSERT_TRUE(becomes(true)) << readLog(u"compositor.log"_s).toStdString();
            for (const auto& [set, dark] : {std::pair{"set 2\n", false}, std::pair{"set 1\n", true},
                                            std::pair{"set 0\n", false}}) {
                portal->write(set);
                portal->waitForBytesWritten(5000);
                EXPECT_TRUE(becomes(dark)) << set;
            }
            stopOrlims();
            portal->terminate();
            portal->waitForFinished(5000);
        }
    }

    /// mutter on a monitor the size of the picker (with its title bar), so
    /// that the picker, which the compositor keeps on screen, fills it.
    void mutterPickerSized() { mutter(u"400x554"_s); }

    void SetUp() override
    {
        ProcessFixture::SetUp();
        (this->*GetParam().desktop)();
    }
};

using C = ChromeToFront;

/// Every scenario under each desktop it is run on.
const Case cases[] = {
    {"MutterRealChromiumComesToTheFront", &C::mutter, &C::realChromiumComesToTheFront},
    {"MutterABurstChosenWithKeys", &C::mutter, &C::aBurstChosenWithKeys},
    {"MutterALinkNotOpenedIsCopiedOverAnotherProgramsCopy", &C::mutter, &C::aLinkNotOpenedIsCopied},
    {"MutterAFailureLeavesThePickerTheKeyboard", &C::mutter,
     &C::aFailureLeavesThePickerTheKeyboard},
    {"KWinRealChromiumComesToTheFront", &C::kwin, &C::realChromiumComesToTheFront},
    {"KWinALinkNotOpenedIsCopiedOverAnotherProgramsCopy", &C::kwin, &C::aLinkNotOpenedIsCopied},
    {"X11RealChromiumComesToTheFrontUnderMutter", &C::mutterX11, &C::realChromiumComesToTheFront},
    {"X11RealChromiumComesToTheFrontUnderKWin", &C::kwinX11, &C::realChromiumComesToTheFront},
    {"X11RealChromiumComesToTheFrontUnderOpenbox", &C::openbox, &C::realChromiumComesToTheFront},
    {"X11AFailureLeavesThePickerTheKeyboardUnderOpenbox", &C::openbox,
     &C::aFailureLeavesThePickerTheKeyboard},
    {"X11ALinkNotOpenedIsCopiedUnderMutter", &C::mutterX11, &C::aLinkNotOpenedIsCopied},
    {"X11ALinkNotOpenedIsCopiedUnderOpenbox", &C::openbox, &C::aLinkNotOpenedIsCopied},
    {"X11ALinkNotOpenedIsCopiedUnderKWin", &C::kwinX11, &C::aLinkNotOpenedIsCopied},
    {"X11ABurstChosenWithKeysUnderOpenbox", &C::openbox, &C::aBurstChosenWithKeys},
    {"MutterADoubleClickChoosesForTheLinkShownOnly", &C::mutterPickerSized,
     &C::aDoubleClickChoosesForTheLinkShownOnly},
    {"X11ADoubleClickChoosesForTheLinkShownOnlyUnderOpenbox", &C::openbox,
     &C::aDoubleClickChoosesForTheLinkShownOnly},
    {"X11ThePickerFollowsTheDesktopsStyleUnderMutter", &C::mutterX11,
     &C::thePickerFollowsTheDesktopsStyle},
};

} // namespace

TEST_P(ChromeToFront, Runs)
{
    (this->*GetParam().scenario)();
}

INSTANTIATE_TEST_SUITE_P(Desktops, ChromeToFront, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });
