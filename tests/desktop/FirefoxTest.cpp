// SPDX-License-Identifier: GPL-3.0-or-later
// Debian's real Firefox ESR behind the picker, under openbox on X11 and GNOME's
// compositor on Wayland: two profiles Firefox made itself, each telling the
// page server its own language, chosen with keys in the picker.
#include "Compositor.h"

#include <QDir>

#include <csignal>

namespace {

/// A desktop the scenario runs on.
struct Desktop
{
    const char* name;
    bool wayland; // mutter headless; else openbox on Xvfb
};

class Firefox : public Compositor, public ::testing::WithParamInterface<Desktop>
{
protected:
    void SetUp() override
    {
        ProcessFixture::SetUp();
        if (!GetParam().wayland) {
            startX11({u"openbox"_s});
            return;
        }
        startCompositor({u"mutter"_s, u"--wayland"_s, u"--headless"_s, u"--no-x11"_s,
                         u"--virtual-monitor"_s, u"1280x800"_s},
                        u"wayland-0"_s, 10000);
        if (HasFatalFailure() || IsSkipped())
            return;
        m_keys = startHelper({QStringLiteral(MUTTER_KEYS_SCRIPT)}, desktopEnvironment());
        ASSERT_TRUE(nextLine(m_keys).startsWith("ready"));
    }

    void TearDown() override
    {
        // Firefox started through Orlim is no child of ours.
        for (const QString& profile : {u"de"_s, u"ja"_s}) {
            if (const pid_t firefox = firefoxOf(profile); firefox > 0) {
                ::kill(firefox, SIGTERM);
                waitFor([&] { return ::kill(firefox, 0) != 0; }, 5000);
            }
        }
        ProcessFixture::TearDown();
    }

    /// Has Firefox make a profile `name` in the folder `folder`, which asks for
    /// pages in `language` and keeps quiet: no first-run pages, no updates, no
    /// reports.
    void makeProfile(const QString& name, const QString& folder, const QByteArray& language)
    {
        QProcess firefox;
        firefox.setProcessEnvironment(environment());
        firefox.start(u"firefox-esr"_s,
                      {u"--headless"_s, u"-CreateProfile"_s, name + u' ' + path(folder)});
        ASSERT_TRUE(firefox.waitForFinished(60000) && firefox.exitCode() == 0);
        QFile prefs(path(folder + u"/user.js"));
        ASSERT_TRUE(prefs.open(QIODevice::WriteOnly));
        prefs.write(QByteArray(R"(user_pref("intl.accept_languages", "LANGUAGE");
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("browser.aboutwelcome.enabled", false);
user_pref("startup.homepage_welcome_url", "");
user_pref("browser.startup.homepage_override.mstone", "ignore");
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);
user_pref("app.update.disabledForTesting", true);
)")
                        .replace("LANGUAGE", language));
    }

    /// The Firefox running the profile in `folder`, as the profile's lock names
    /// it ("host:+pid"); 0 when none.
    pid_t firefoxOf(const QString& folder) const
    {
        return QFile::symLinkTarget(path(folder + u"/lock")).section(u'+', -1).toInt();
    }

    /// How many Firefox processes (their content processes aside) run with the
    /// profile in `folder`.
    int running(const QString& folder) const
    {
        int count = 0;
        for (const QString& pid : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
            QFile cmdline(u"/proc/"_s + pid + u"/cmdline");
            if (cmdline.open(QIODevice::ReadOnly))
                count += cmdline.readAll().split('\0').contains(path(folder).toLocal8Bit());
        }
        return count;
    }
};

} // namespace

// Firefox serves links when it is the only browser installed. A choice starts
// the profile chosen, whose pages ask in its language; a second link to it
// while it runs goes to that Firefox (no second one, no "already running"
// window); the other profile starts beside it; Shift opens a private window of
// the profile (its cookie not sent). After each choice the keys typed reach the
// page, never the window the link was clicked in.
TEST_P(Firefox, ServesTheProfileChosen)
{
    if (!installSystemEntry(u"firefox-esr.desktop"_s, u"/usr/bin/firefox-esr"_s))
        GTEST_SKIP() << "firefox-esr is not installed";
    installEntry(u"google-chrome.desktop"_s, {});
    // GTK reads the pictures of Firefox's own title bar (drawn on Wayland)
    // only with the desktop's MIME database; without it Firefox aborts.
    QFile::link(u"/usr/share/mime"_s, path(u"data-dirs/mime"_s));
    makeProfile(u"Deutsch"_s, u"de"_s, "de");
    makeProfile(u"日本語"_s, u"ja"_s, "ja");
    QProcess* server = startHelper(
        {QStringLiteral(PAGE_SERVER_SCRIPT), path(u"pages.log"_s), u"Accept-Language"_s},
        desktopEnvironment(), u"page-server.log"_s);
    const QString base =
        u"http://127.0.0.1:"_s + QString::fromLatin1(nextLine(server).mid(5).trimmed());
    const struct
    {
        const char* choice;
        const char* page; // the clicking window adds "1"
        const char* profile;
        const char* cookie; // the one the page gets; "-" for none
        const char* key;
        const char* keyCookie; // the one the key's report gets
    } rounds[] = {{"1", "/profile/de-", "de", "-", "x", "de-1"},
                  {"1", "/again-", "de", "de-1", "y", "de-1"},
                  {"2", "/profile/ja-", "ja", "-", "k", "ja-1"},
                  {"shift+1", "/private-", "de", "-", "w", "-"}};
    for (const auto& r : rounds) {
        SCOPED_TRACE(r.page);
        const QString clicking = openClickingWindow(base + QString::fromLatin1(r.page));
        type(u"o"_s);
        ASSERT_TRUE(waitFor([&] { return count(clicking, "focus-out") == 1; }, 30000))
            << "the picker took the keyboard";
        type(QString::fromLatin1(r.choice));
        const QByteArray opened = r.page + QByteArray("1\t") + r.cookie + '\t' + r.profile;
        ASSERT_TRUE(waitFor([&] { return count(u"pages.log"_s, opened) == 1; }, 60000))
            << readLog(u"pages.log"_s).toStdString();
        EXPECT_TRUE(waitFor([&] { return running(QString::fromLatin1(r.profile)) == 1; }))
            << "one Firefox runs the profile";
        // The picker holds the keyboard for Firefox 3 s at most: a Firefox
        // slower to show (a fresh profile, a busy machine) takes it as it shows.
        EXPECT_TRUE(waitFor([&] {
            return count(clicking, "focus-in") == count(clicking, "focus-out");
        })) << "the keyboard left the clicking window";
        const QByteArray typed =
            "/key/" + QByteArray(r.key) + '\t' + r.keyCookie + '\t' + r.profile;
        EXPECT_TRUE(typeUntil(QString::fromLatin1(r.key), 500,
                              [&] { return count(u"pages.log"_s, typed) > 0; }))
            << "Firefox took the keyboard\n"
            << readLog(u"pages.log"_s).toStdString();
        EXPECT_EQ(count(clicking, r.key), 0) << "no key went back to the clicking window";
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, Firefox,
                         ::testing::Values(Desktop{"UnderOpenbox", false},
                                           Desktop{"UnderMutterOnWayland", true}),
                         [](const auto& info) { return std::string(info.param.name); });
