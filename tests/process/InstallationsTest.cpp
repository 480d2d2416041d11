// SPDX-License-Identifier: GPL-3.0-or-later
// Which Chrome Orlim serves, found through real desktop entries: its profiles
// are listed and links reach it, and only it.
#include "ProcessFixture.h"

#include <QFile>
#include <QRegularExpression>

using Installations = ProcessFixture;

// Every installed browser is listed by its entry's name, in the table's order
// with the served one marked; the real Chromium's entry and the profiles it
// made itself, where Debian's Chromium is installed.
TEST_F(Installations, EveryBrowserIsListed)
{
    installEntry(u"brave-browser.desktop"_s, FAKE_CHROME_EXECUTABLE " %U");
    QString out;
    EXPECT_EQ(run({u"--list-browsers"_s}, &out), 0);
    EXPECT_EQ(out, u"google-chrome.desktop\tgoogle-chrome\tserved\n"
                   u"brave-browser.desktop\tbrave-browser\n"_s);
    installEntry(u"brave-browser.desktop"_s, {});
    installEntry(u"google-chrome.desktop"_s, {});
    if (!installSystemEntry(u"chromium.desktop"_s, u"/usr/bin/chromium"_s))
        GTEST_SKIP() << "Debian's chromium is not installed";
    makeChromiumProfiles(3);
    // A profile hidden from the picker is listed as ever: a rule may name it.
    putFile(u"config/orlim/browser.json"_s, R"({"hidden": {"chromium.desktop": ["Profile 1"]}})");
    EXPECT_EQ(run({u"--list-browsers"_s}, &out), 0);
    EXPECT_EQ(out, u"chromium.desktop\tChromium Web Browser\tserved\n"_s);
    EXPECT_EQ(run({u"--list-profiles"_s}, &out), 0);
    EXPECT_EQ(out, u"Default\tYour Chromium\nProfile 1\tPerson 1\nProfile 2\tPerson 2\n"_s);

    // Firefox ESR beside it is listed after it, and served where it is the only
    // browser; its profiles, made by Firefox itself, are listed by their folders.
    if (!installSystemEntry(u"firefox-esr.desktop"_s, u"/usr/bin/firefox-esr"_s))
        GTEST_SKIP() << "Debian's firefox-esr is not installed";
    for (const QString& name : {u"仕事"_s, u"Work"_s})
        ASSERT_TRUE(start({u"--headless"_s, u"-CreateProfile"_s, name}, u"/usr/bin/firefox-esr"_s)
                        ->waitForFinished(60000))
            << "Firefox did not make " << name.toStdString();
    EXPECT_EQ(run({u"--list-browsers"_s}, &out), 0);
    EXPECT_EQ(out, u"chromium.desktop\tChromium Web Browser\tserved\n"
                   u"firefox-esr.desktop\tFirefox ESR\n"_s);
    QFile::remove(path(u"data-dirs/applications/chromium.desktop"_s));
    EXPECT_EQ(run({u"--list-profiles"_s}, &out), 0);
    // Firefox names each folder by a random prefix and the profile's name.
    const QString folder = QRegularExpression::escape(path(u"config/mozilla/firefox/"_s)) + u"\\w+";
    EXPECT_TRUE(QRegularExpression(u"^%1\\.仕事\t仕事\n%1\\.Work\tWork\n$"_s.arg(folder))
                    .match(out)
                    .hasMatch())
        << out.toStdString();
}

// A link that cannot be opened, with no browser at all (one started with, one
// handed over to the running Orlim, which still succeeds) and with an entry
// whose program `env` cannot find, is told on stderr in one line that does not
// show it (the desktop tests show the user's side).
TEST_F(Installations, LinksThatCannotBeOpenedAreShown)
{
    installEntry(u"google-chrome.desktop"_s, {});
    QString out, err;
    EXPECT_EQ(run({u"--list-profiles"_s}, &out, &err), 1);
    EXPECT_EQ(err, u"orlim: no supported browser is installed (Chrome, Chromium, Brave, Edge, "
                   u"Vivaldi, Firefox, LibreWolf or Waterfox)\n"_s);
    EXPECT_TRUE(out.isEmpty());

    const auto told = [&](const QString& why) {
        return QString::fromUtf8(readLog(u"orlim.log"_s))
            .count(u"a link could not be opened: "_s + why);
    };
    startHelper({QStringLiteral(ORLIM_EXECUTABLE), u"https://secret.example/?token=42"_s},
                environment(), u"orlim.log"_s);
    ASSERT_TRUE(waitFor([&] { return told(u"no supported browser is installed"_s) == 1; }));
    EXPECT_EQ(run({u"https://second.example"_s}), 0) << "handed over";
    EXPECT_TRUE(waitFor([&] { return told(u"no supported browser is installed"_s) == 2; }));
    ASSERT_TRUE(stopOrlims());
    // A running Orlim learns of a new entry only once the desktop's index of
    // applications does; a fresh one reads it at once.
    installEntry(u"google-chrome.desktop"_s, "env ORLIM_TEST=1 /nonexistent/chrome %U");
    startHelper({QStringLiteral(ORLIM_EXECUTABLE), u"https://third.example"_s}, environment(),
                u"orlim.log"_s);
    EXPECT_TRUE(waitFor([&] { return told(u"the browser could not be started"_s) == 1; }));
    ASSERT_TRUE(stopOrlims());
    const QString log = QString::fromUtf8(readLog(u"orlim.log"_s));
    EXPECT_EQ(told(u"no supported browser is installed"_s), 2) << log.toStdString();
    EXPECT_EQ(told(u"the browser could not be started"_s), 1) << log.toStdString();
    EXPECT_FALSE(log.contains(u"example"_s));
    EXPECT_FALSE(QFile::exists(path(u"chrome.log"_s)));
}
