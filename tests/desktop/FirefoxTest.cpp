// SPDX-License-Identifier: GPL-3.0-or-later
// Debian's real Firefox ESR behind the picker, under openbox, mutter and KWin
// on X11 and GNOME's compositor on Wayland: two profiles Firefox made itself,
// each telling the page server its own language, chosen with keys in the picker.
#include "Compositor.h"

#include <QDir>

namespace {

/// A desktop the scenario runs on.
struct Desktop
{
    const char* name;
    void (Compositor::*start)();
};

void PrintTo(const Desktop& d, std::ostream* out)
{
    *out << d.name;
}

class Firefox : public Compositor, public ::testing::WithParamInterface<Desktop>
{
protected:
    void SetUp() override
    {
        ProcessFixture::SetUp();
        (this->*GetParam().start)();
    }

    /// Has Firefox make a profile `name` in the folder `folder`, which asks for
    /// pages in `language` and keeps quiet: no first-run pages, no updates, no
    /// reports.
    void makeProfile(const QString& name, const QString& folder, const QByteArray& language)
    {
        QProcess* firefox = start(
            {u"--headless"_s, u"-CreateProfile"_s, name + u' ' + path(folder)}, u"firefox-esr"_s);
        ASSERT_TRUE(firefox->waitForFinished(60000) && firefox->exitCode() == 0);
        // Firefox started through Orlim is no child of ours.
        m_browserLocks.append(path(folder + u"/lock"));
        putFile(folder + u"/user.js", QByteArray(R"(user_pref("intl.accept_languages", "LANGUAGE");
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
// page, never the window the link was clicked in, nor on X11 a window of the
// other profile or, for the private window, the profile's own.
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
    const QString base = pageServer({u"Accept-Language"_s});
    const struct
    {
        const char* choice;
        const char* page; // the clicking window adds "1"
        const char* profile;
        const char* cookie; // the one the page gets; "-" for none
        const char* key;
        const char* keyCookie; // the one the key's report gets
        bool newWindow;        // in a window of its own: the others are other profiles'
    } rounds[] = {{"1", "/profile/de-", "de", "-", "x", "de-1", true},
                  {"1", "/again-", "de", "de-1", "y", "de-1", false},
                  {"2", "/profile/ja-", "ja", "-", "k", "ja-1", true},
                  {"shift+1", "/private-", "de", "-", "w", "-", true}};
    for (const auto& r : rounds) {
        SCOPED_TRACE(r.page);
        ASSERT_NO_FATAL_FAILURE(click(
            {base, r.page, "o", r.choice, r.cookie + QByteArray("\t") + r.profile, r.key,
             r.keyCookie + QByteArray("\t") + r.profile, r.newWindow ? "firefox" : nullptr},
            [&](const QString& clicking) {
                EXPECT_TRUE(waitFor([&] { return running(QString::fromLatin1(r.profile)) == 1; }))
                    << "one Firefox runs the profile";
                // The picker holds the keyboard for Firefox 3 s at most: a Firefox
                // slower to show (a fresh profile, a busy machine) takes it as it shows.
                EXPECT_TRUE(waitFor([&] {
                    return count(clicking, "focus-in") == count(clicking, "focus-out");
                })) << "the keyboard left the clicking window";
            }));
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, Firefox,
                         ::testing::Values(Desktop{"UnderOpenbox", &Compositor::openbox},
                                           Desktop{"UnderMutterOnX11", &Compositor::mutterX11},
                                           Desktop{"UnderKWinOnX11", &Compositor::kwinX11},
                                           Desktop{"UnderMutterOnWayland", &Compositor::mutter}),
                         [](const auto& info) { return std::string(info.param.name); });
