// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/BrowserInstallation.h"
#include "browser/HiddenProfiles.h"

#include "FakePlatform.h"

#include <QDir>
#include <QFile>

// The browser served: the user's choice while it is installed, else the first
// installed in the table's order (the launcher's test holds the whole order);
// a choice file that cannot be read is no choice. Every
// Chromium-based browser's data directory follows $CHROME_CONFIG_HOME as the
// browsers themselves do; Snap's and Flathub's live in the home directory.
// Firefox keeps its profiles in the folder of an older install while that
// exists, else in the XDG one; so do its Flatpak and Snap builds below their own.
TEST(BrowserInstallation, TheServedBrowserAndThoseShown)
{
    FakePlatform platform;
    auto& installed = platform.applications.installed;
    const QString choiceFile = platform.browsers.choice().fileURL();
    const struct
    {
        const char *installed, *choice, *served, *dataDirectory; // choice: the file; "": none
        const char* older = "";                                  // a folder made first below home
    } cases[] = {
        {"brave-browser google-chrome", "", "google-chrome", "config/google-chrome"},
        {"brave-browser google-chrome", R"({"browser": "brave-browser.desktop"})", "brave-browser",
         "config/BraveSoftware/Brave-Browser"},
        {"chromium com.brave.Browser", "{\"browser\": \"com.brave", "chromium", "config/chromium"},
        {"chromium_chromium vivaldi-stable", R"({"browser": "firefox.desktop"})",
         "chromium_chromium", "home/snap/chromium/common/chromium"},
        {"org.chromium.Chromium com.brave.Browser", R"({"browser": "com.brave.Browser.desktop"})",
         "com.brave.Browser", "home/.var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser"},
        {"firefox-esr google-chrome", R"({"browser": "firefox-esr.desktop"})", "firefox-esr",
         "config/mozilla/firefox"},
        {"firefox", "", "firefox", "home/.mozilla/firefox", ".mozilla/firefox"},
        {"org.mozilla.firefox", "", "org.mozilla.firefox",
         "home/.var/app/org.mozilla.firefox/config/mozilla/firefox"},
        {"org.mozilla.firefox", "", "org.mozilla.firefox",
         "home/.var/app/org.mozilla.firefox/.mozilla/firefox",
         ".var/app/org.mozilla.firefox/.mozilla/firefox"},
        {"firefox_firefox", "", "firefox_firefox", "home/snap/firefox/common/.mozilla/firefox",
         "snap/firefox/common/.mozilla/firefox"},
        {"librewolf", "", "librewolf", "home/.librewolf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dataDirectory);
        installed.clear();
        for (const QString& id : QString::fromUtf8(c.installed).split(u' '))
            installed[id + u".desktop"] = desktopEntry(id, u"/usr/bin/x %U"_s);
        QFile::remove(choiceFile);
        if (*c.choice)
            writeFile(choiceFile, c.choice);
        QDir(platform.files.homeDirectory()).removeRecursively();
        if (*c.older)
            QDir(platform.files.homeDirectory()).mkpath(QString::fromUtf8(c.older));
        const BrowserInstallation served = platform.browsers.find().value_or(BrowserInstallation());
        EXPECT_EQ(served.desktopId, QString::fromUtf8(c.served) + u".desktop");
        EXPECT_EQ(served.dataDirectory, platform.root.filePath(QString::fromUtf8(c.dataDirectory)));
    }
    installed = {{u"brave-browser.desktop"_s, desktopEntry({}, {})}};
    EXPECT_EQ(platform.browsers.find()->commandLine({u"x"_s}),
              (QStringList{u"brave-browser"_s, u"x"_s}))
        << "an entry without an Exec line runs its row's own program";

    // The browsers shown together: those listed, in the user's order, once
    // each, while installed, the first served; a file that lists none installed
    // shows the table's first alone. An older file's browser served, kept
    // apart, comes first: the last word an older Orlim wrote. Writing the list
    // drops it, and keeps the hidden profiles, as hiding keeps the list.
    for (const QString& id : {u"google-chrome"_s, u"brave-browser"_s, u"firefox-esr"_s})
        installed[id + u".desktop"] = desktopEntry(id, u"x %u"_s);
    const std::pair<const char*, const char*> lists[] = {
        // the file, the browsers shown
        {"", "google-chrome.desktop"},
        {R"({"browser": "brave-browser.desktop"})", "brave-browser.desktop"},
        {R"({"browser": "brave-browser.desktop", "shown": ["firefox-esr.desktop",
            "google-chrome.desktop", "firefox-esr.desktop", 7, "gone.desktop"]})",
         "brave-browser.desktop,firefox-esr.desktop,google-chrome.desktop"},
        {R"({"browser": "google-chrome.desktop", "shown": ["firefox-esr.desktop",
            "google-chrome.desktop"]})",
         "google-chrome.desktop,firefox-esr.desktop"},
        {R"({"shown": ["gone.desktop"]})", "google-chrome.desktop"},
        {R"({"shown": "firefox-esr.desktop"})", "google-chrome.desktop"},
    };
    for (const auto& [json, shown] : lists) {
        QFile::remove(choiceFile);
        if (*json)
            writeFile(choiceFile, json);
        QStringList ids;
        for (const BrowserInstallation& browser :
             platform.browsers.shownAmong(platform.browsers.installed()))
            ids.append(browser.desktopId);
        EXPECT_EQ(ids.join(u','), QString::fromUtf8(shown)) << json;
    }
    BrowserChoice& choice = platform.browsers.choice();
    HiddenProfiles hidden;
    hidden.set(u"brave-browser.desktop"_s, u"Profile 1"_s, true);
    ASSERT_TRUE(choice.hide(hidden));
    ASSERT_TRUE(choice.show({u"firefox-esr.desktop"_s, u"brave-browser.desktop"_s}));
    EXPECT_EQ(choice.shown(), (QStringList{u"firefox-esr.desktop"_s, u"brave-browser.desktop"_s}));
    EXPECT_EQ(platform.browsers.find()->desktopId, u"firefox-esr.desktop"_s);
    EXPECT_EQ(choice.hidden(), hidden);
    ASSERT_TRUE(choice.hide({}));
    EXPECT_EQ(choice.shown().size(), 2);
}

// Each text that lists the browsers served names every one of the table's:
// the desktop entry (in both its languages), the manual, the package's
// description and the store's.
TEST(BrowserInstallation, EveryListNamesEachBrowser)
{
    const QString root = QStringLiteral(ORLIM_TEST_DATA "/../../");
    for (const char* file : {"data/orlim.desktop", "data/orlim.1.in", "CMakeLists.txt",
                             "data/io.github.orlim.Orlim.metainfo.xml.in"}) {
        QFile text(root + QString::fromLatin1(file));
        ASSERT_TRUE(text.open(QIODevice::ReadOnly)) << file;
        const QList<QByteArray> lines = text.readAll().split('\n');
        for (const QByteArray& line : lines) {
            if (!line.startsWith("Comment") && !line.startsWith("orlim \\-"))
                continue;
            for (const QString& name : BrowserInstallations::names())
                EXPECT_TRUE(line.contains(name.toUtf8())) << file << ": " << line.constData();
        }
        for (const QString& name : BrowserInstallations::names())
            EXPECT_TRUE(lines.join('\n').contains(name.toUtf8()))
                << file << ": " << name.toStdString();
    }
}
