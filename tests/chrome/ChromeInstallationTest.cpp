// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/ChromeInstallation.h"
#include "chrome/BrowserChoice.h"
#include "chrome/ChromeProfiles.h"

#include "FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The browser served: the user's choice while it is installed, else the first
// installed in the table's order (Chrome first); a choice file that cannot be
// read is no choice. Every Chromium-based browser's data directory follows
// $CHROME_CONFIG_HOME as the browsers themselves do; Snap's and Flathub's live
// in the home directory.
TEST(ChromeInstallation, TheServedBrowser)
{
    FakePlatform platform;
    auto& installed = platform.applications.installed;
    const auto entry = [](const QString& name) { return desktopEntry(name, u"/usr/bin/x %U"_s); };
    const struct
    {
        const char* name;
        QStringList installed;
        QByteArray choice; // the choice file's bytes; empty: no file
        QString served;
        QString dataDirectory; // below the test's folder
    } cases[] = {
        {"chrome first",
         {u"brave-browser.desktop"_s, u"google-chrome.desktop"_s},
         {},
         u"google-chrome.desktop"_s,
         u"config/google-chrome"_s},
        {"chosen",
         {u"brave-browser.desktop"_s, u"google-chrome.desktop"_s},
         R"({"browser": "brave-browser.desktop"})",
         u"brave-browser.desktop"_s,
         u"config/BraveSoftware/Brave-Browser"_s},
        {"chosen, since removed",
         {u"microsoft-edge.desktop"_s, u"vivaldi-stable.desktop"_s},
         R"({"browser": "brave-browser.desktop"})",
         u"microsoft-edge.desktop"_s,
         u"config/microsoft-edge"_s},
        {"unreadable choice",
         {u"chromium.desktop"_s, u"com.brave.Browser.desktop"_s},
         "{\"browser\": \"com.brave",
         u"chromium.desktop"_s,
         u"config/chromium"_s},
        {"not in the table",
         {u"chromium_chromium.desktop"_s, u"vivaldi-stable.desktop"_s},
         R"({"browser": "firefox.desktop"})",
         u"chromium_chromium.desktop"_s,
         u"home/snap/chromium/common/chromium"_s},
        {"flathub",
         {u"org.chromium.Chromium.desktop"_s, u"com.brave.Browser.desktop"_s},
         R"({"browser": "com.brave.Browser.desktop"})",
         u"com.brave.Browser.desktop"_s,
         u"home/.var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        installed.clear();
        for (const QString& id : c.installed)
            installed[id] = entry(id + u" name");
        QFile::remove(platform.browsers.choice().fileURL());
        if (!c.choice.isEmpty()) {
            QDir().mkpath(QFileInfo(platform.browsers.choice().fileURL()).path());
            writeFile(platform.browsers.choice().fileURL(), c.choice);
        }
        const auto served = platform.browsers.find();
        ASSERT_TRUE(served);
        EXPECT_EQ(served->desktopId, c.served);
        EXPECT_EQ(served->dataDirectory, platform.root.path() + u'/' + c.dataDirectory);
        EXPECT_EQ(platform.browsers.installed().size(), c.installed.size());
    }
    ASSERT_TRUE(platform.browsers.choice().choose(u"org.chromium.Chromium.desktop"_s));
    EXPECT_EQ(platform.browsers.find()->desktopId, u"org.chromium.Chromium.desktop"_s);
    installed = {{u"brave-browser.desktop"_s, desktopEntry({}, {})}};
    EXPECT_EQ(platform.browsers.find()->commandLine({u"x"_s}),
              (QStringList{u"brave-browser"_s, u"x"_s}))
        << "an entry without an Exec line runs its row's own program";
    installed.clear();
    EXPECT_FALSE(platform.browsers.find());
}

// Firefox's rows come after the Chromium family's, so Chrome stays served
// beside them unless Firefox is chosen, and Firefox alone is served. Firefox
// keeps its profiles in the folder of an older install while that exists,
// else in the XDG one; so do its Flatpak and Snap builds below their own.
TEST(ChromeInstallation, FirefoxFolders)
{
    FakePlatform platform;
    auto& installed = platform.applications.installed;
    installed[u"firefox-esr.desktop"_s] = desktopEntry({}, u"firefox-esr %u"_s);
    EXPECT_EQ(platform.browsers.find()->desktopId, u"google-chrome.desktop"_s);
    ASSERT_TRUE(platform.browsers.choice().choose(u"firefox-esr.desktop"_s));
    EXPECT_EQ(platform.browsers.find()->family, ChromeInstallation::Family::Firefox);
    const struct
    {
        QString desktopId;
        QString older;         // a folder made first, below the home directory; empty: none
        QString dataDirectory; // below the test's folder
    } cases[] = {
        {u"firefox-esr.desktop"_s, {}, u"config/mozilla/firefox"_s},
        {u"firefox.desktop"_s, u".mozilla/firefox"_s, u"home/.mozilla/firefox"_s},
        {u"org.mozilla.firefox.desktop"_s,
         {},
         u"home/.var/app/org.mozilla.firefox/config/mozilla/firefox"_s},
        {u"org.mozilla.firefox.desktop"_s, u".var/app/org.mozilla.firefox/.mozilla/firefox"_s,
         u"home/.var/app/org.mozilla.firefox/.mozilla/firefox"_s},
        {u"firefox_firefox.desktop"_s, u"snap/firefox/common/.mozilla/firefox"_s,
         u"home/snap/firefox/common/.mozilla/firefox"_s},
        {u"librewolf.desktop"_s, {}, u"home/.librewolf"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desktopId.toStdString());
        installed = {{c.desktopId, desktopEntry({}, u"x %u"_s)}};
        QDir(platform.files.homeDirectory()).removeRecursively();
        if (!c.older.isEmpty())
            QDir(platform.files.homeDirectory()).mkpath(c.older);
        EXPECT_EQ(platform.browsers.find()->dataDirectory,
                  platform.root.path() + u'/' + c.dataDirectory);
    }
}

// The browsers shown together: those listed beside the choice, in the user's
// order, once each, while installed; a file that lists none (as every file
// written before the list) shows the served one alone. Changing the choice
// keeps the list and the list keeps the choice; each browser's profiles come
// from its own catalogue.
TEST(ChromeInstallation, TheBrowsersShown)
{
    FakePlatform platform;
    auto& installed = platform.applications.installed;
    for (const QString& id : {u"brave-browser.desktop"_s, u"firefox-esr.desktop"_s})
        installed[id] = desktopEntry(id, u"x %u"_s);
    const QString file = platform.browsers.choice().fileURL();
    QDir().mkpath(QFileInfo(file).path());
    const struct
    {
        QByteArray json;
        QString shown;
    } cases[] = {
        {{}, u"google-chrome.desktop"_s},
        {R"({"browser": "brave-browser.desktop"})", u"brave-browser.desktop"_s},
        {R"({"browser": "brave-browser.desktop", "shown": ["firefox-esr.desktop",
            "google-chrome.desktop", "firefox-esr.desktop", 7, "gone.desktop"]})",
         u"firefox-esr.desktop,google-chrome.desktop"_s},
        {R"({"shown": ["gone.desktop"]})", u"google-chrome.desktop"_s},
        {R"({"shown": "firefox-esr.desktop"})", u"google-chrome.desktop"_s},
    };
    const auto shown = [&platform] {
        QStringList ids;
        for (const ChromeInstallation& browser :
             platform.browsers.shownAmong(platform.browsers.installed()))
            ids.append(browser.desktopId);
        return ids.join(u',');
    };
    for (const auto& c : cases) {
        QFile::remove(file);
        if (!c.json.isEmpty())
            writeFile(file, c.json);
        EXPECT_EQ(shown(), c.shown) << c.json.constData();
    }
    BrowserChoice& choice = platform.browsers.choice();
    ASSERT_TRUE(choice.show({u"firefox-esr.desktop"_s, u"brave-browser.desktop"_s}));
    ASSERT_TRUE(choice.choose(u"brave-browser.desktop"_s));
    EXPECT_EQ(shown(), u"firefox-esr.desktop,brave-browser.desktop"_s);
    ASSERT_TRUE(choice.show({u"google-chrome.desktop"_s}));
    EXPECT_EQ(choice.chosen(), u"brave-browser.desktop"_s);

    writeFile(platform.files.configHome() + u"/mozilla/firefox/profiles.ini",
              "[Profile0]\nName=仕事\nIsRelative=1\nPath=a.仕事\n");
    writeFile(ChromeProfiles::localStateURL(platform.files.configHome() + u"/google-chrome"),
              R"({"profile": {"info_cache": {"Default": {"name": "Me"}}}})");
    const auto grouped = [&platform] {
        QStringList rows;
        for (const ChromeProfiles::BrowserProfiles& group :
             ChromeProfiles::loadAll(platform.browsers.shownAmong(platform.browsers.installed()))) {
            for (const ChromeProfile& profile : group.profiles)
                rows.append(group.browser.desktopId + u' ' + profile.displayName);
        }
        return rows;
    };
    EXPECT_EQ(grouped(), QStringList{u"google-chrome.desktop Me"_s});
    ASSERT_TRUE(choice.show({u"firefox-esr.desktop"_s, u"google-chrome.desktop"_s}));
    EXPECT_EQ(grouped(),
              (QStringList{u"firefox-esr.desktop 仕事"_s, u"google-chrome.desktop Me"_s}));
}
