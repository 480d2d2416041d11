// SPDX-License-Identifier: GPL-3.0-or-later
// Which Chrome Orlim serves, found through real desktop entries: its profiles
// are listed and links reach it, and only it.
#include "ProcessFixture.h"

#include <QDir>
#include <QFile>

using Installations = ProcessFixture;

TEST_F(Installations, TheFirstInstalledChromeIsServed)
{
    const QByteArray chrome = FAKE_CHROME_EXECUTABLE " %U";
    // As users edit entries: an `env` prefix and flags of their own, a path
    // with a space.
    const QString spaced = path(u"opt/My Browser/chrome"_s);
    QDir().mkpath(path(u"opt/My Browser"_s));
    ASSERT_TRUE(QFile::copy(QStringLiteral(FAKE_CHROME_EXECUTABLE), spaced));
    const QByteArray edited =
        "env ORLIM_TEST=1 \"" + spaced.toUtf8() + "\" --ozone-platform-hint=auto %U";
    // The Flathub entry runs flatpak; the stand-in records flatpak's arguments.
    const QByteArray flatpak =
        FAKE_CHROME_EXECUTABLE " run --command=/app/bin/chrome "
                               "--file-forwarding com.google.Chrome @@u %U @@";
    const QStringList flatpakRun{u"run"_s, u"--command=/app/bin/chrome"_s, u"--file-forwarding"_s,
                                 u"com.google.Chrome"_s};
    const QString flathubData = u"home/.var/app/com.google.Chrome/config/google-chrome"_s;
    const struct
    {
        const char* name;
        QList<std::pair<QString, QByteArray>> entries;
        QString dataDirectory; // whose profiles are listed
        QStringList leading;   // before Orlim's own arguments
    } cases[] = {
        {"stable", {{u"google-chrome.desktop"_s, chrome}}, u"config/google-chrome"_s, {}},
        {"beta", {{u"google-chrome-beta.desktop"_s, chrome}}, u"config/google-chrome-beta"_s, {}},
        {"flathub before beta",
         {{u"google-chrome-beta.desktop"_s, chrome}, {u"com.google.Chrome.desktop"_s, flatpak}},
         flathubData,
         flatpakRun},
        {"edited",
         {{u"google-chrome.desktop"_s, edited}},
         u"config/google-chrome"_s,
         {u"--ozone-platform-hint=auto"_s}},
    };
    int starts = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* id :
             {"google-chrome.desktop", "com.google.Chrome.desktop", "google-chrome-beta.desktop"})
            installEntry(QString::fromLatin1(id), {});
        for (const auto& [id, exec] : c.entries)
            installEntry(id, exec);
        QString out;
        writeLocalState(R"({"profile": {"info_cache": {"Profile 7": {"name": ")" +
                            QByteArray(c.name) + R"("}}}})",
                        c.dataDirectory);
        EXPECT_EQ(run({u"--list-profiles"_s}, &out), 0);
        EXPECT_EQ(out, u"Profile 7\t" + QString::fromLatin1(c.name) + u'\n');
        QFile::remove(path(c.dataDirectory + u"/Local State"));

        // No profiles: the link opens in "Default" of the same Chrome.
        QProcess* running = start({u"--"_s, u"-x"_s});
        const QStringList own{u"--profile-directory=Default"_s, u"--"_s, u"-x"_s};
        EXPECT_EQ(waitForChrome(starts + 1).value(starts), c.leading + own);
        ++starts;
        running->terminate();
        running->waitForFinished(5000);
    }
}

// Every installed browser is listed by its entry's name, in the table's order
// with the served one marked; the user's choice, kept in Orlim's own file,
// serves Brave before Chrome from the next start on; the real Chromium's entry
// and the profiles it made itself, where Debian's Chromium is installed.
TEST_F(Installations, TheBrowsersAndTheChoice)
{
    installEntry(u"brave-browser.desktop"_s, FAKE_CHROME_EXECUTABLE " %U");
    installEntry(u"google-chrome.desktop"_s, FAKE_CHROME_EXECUTABLE " %U");
    writeLocalState(R"({"profile": {"info_cache": {"Profile 3": {"name": "Brave's"}}}})",
                    u"config/BraveSoftware/Brave-Browser"_s);
    QString out;
    EXPECT_EQ(run({u"--list-browsers"_s}, &out), 0);
    EXPECT_EQ(out, u"google-chrome.desktop\tgoogle-chrome\tserved\n"
                   u"brave-browser.desktop\tbrave-browser\n"_s);
    QDir().mkpath(path(u"config/orlim"_s));
    QFile choice(path(u"config/orlim/browser.json"_s));
    ASSERT_TRUE(choice.open(QIODevice::WriteOnly));
    choice.write(R"({"browser": "brave-browser.desktop"})");
    choice.close();
    EXPECT_EQ(run({u"--list-browsers"_s}, &out), 0);
    EXPECT_TRUE(out.contains(u"brave-browser.desktop\tbrave-browser\tserved\n"_s));
    EXPECT_EQ(run({u"--list-profiles"_s}, &out), 0);
    EXPECT_EQ(out, u"Profile 3\tBrave's\n"_s);

    installEntry(u"brave-browser.desktop"_s, {});
    installEntry(u"google-chrome.desktop"_s, {});
    if (!installSystemChromium())
        GTEST_SKIP() << "Debian's chromium is not installed";
    makeChromiumProfiles(3);
    EXPECT_EQ(run({u"--list-browsers"_s}, &out), 0);
    EXPECT_EQ(out, u"chromium.desktop\tChromium Web Browser\tserved\n"_s);
    EXPECT_EQ(run({u"--list-profiles"_s}, &out), 0);
    EXPECT_EQ(out, u"Default\tYour Chromium\nProfile 1\tPerson 1\nProfile 2\tPerson 2\n"_s);
}

// A link that cannot be opened is shown to the user: with no browser at all,
// and with an entry whose program `env` cannot find, the desktop's
// notification service gets the link, and one line on stderr that does not
// show it says why. Handing a link to the running Orlim still succeeds.
TEST_F(Installations, LinksThatCannotBeOpenedAreShown)
{
    installEntry(u"google-chrome.desktop"_s, {});
    QString out, err;
    EXPECT_EQ(run({u"--list-profiles"_s}, &out, &err), 1);
    EXPECT_EQ(err, u"orlim: no supported browser is installed (Chrome, Chromium, Brave, Edge or "
                   u"Vivaldi)\n"_s);
    EXPECT_TRUE(out.isEmpty());

    startSessionBus();
    QProcess* server =
        startHelper({QStringLiteral(NOTIFICATION_SERVER_SCRIPT)}, environment(), u"server.log"_s);
    ASSERT_EQ(nextLine(server).trimmed(), "ready");
    QProcess* running =
        startHelper({QStringLiteral(ORLIM_EXECUTABLE), u"https://secret.example/?token=42"_s},
                    environment(), u"orlim.log"_s);
    const QByteArray shown = nextLine(server);
    EXPECT_TRUE(shown.contains("https://secret.example/?token=42")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("\"copy\"")) << shown.toStdString();

    installEntry(u"google-chrome.desktop"_s, "env ORLIM_TEST=1 /nonexistent/chrome %U");
    EXPECT_EQ(run({u"https://second.example"_s}), 0) << "handed over";
    EXPECT_TRUE(nextLine(server).contains("https://second.example"));
    running->terminate();
    ASSERT_TRUE(running->waitForFinished(5000));
    const QString log = QString::fromUtf8(readLog(u"orlim.log"_s));
    EXPECT_EQ(log.count(u"a link could not be opened: no supported browser is installed"_s), 1)
        << log.toStdString();
    EXPECT_EQ(log.count(u"a link could not be opened: the browser could not be started"_s), 1)
        << log.toStdString();
    EXPECT_FALSE(log.contains(u"example"_s));
    EXPECT_FALSE(QFile::exists(path(u"chrome.log"_s)));
}
