// SPDX-License-Identifier: GPL-3.0-or-later
// In-process figures: the profile catalogue and rule matching, on files shaped
// like the real ones, read from a temporary XDG_CONFIG_HOME, and the picker
// built off screen.
#include "app/Application.h"
#include "browser/BrowserInstallation.h"
#include "browser/ChromeProfiles.h"
#include "browser/firefox/FirefoxProfiles.h"
#include "platform/Notifications.h"
#include "platform/Platform.h"
#include "rules/RuleStore.h"
#include "rules/RulesFile.h"
#include "text/WrappedLink.h"
#include "ui/notice/LinkNotice.h"
#include "ui/picker/ProfilePickerView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

double p95(const std::vector<double>& samples)
{
    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    return sorted.empty() ? 0 : sorted[std::size_t(0.95 * double(sorted.size() - 1))];
}

/// The desktop's own services, reading the folders `main()` points them at.
const Platform& platform()
{
    static const Platform services = Platform::forThisSystem();
    return services;
}

QTemporaryDir& configHome()
{
    static QTemporaryDir dir;
    return dir;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(path.section(u'/', 0, -2));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

/// A profile entry with the members Chrome writes.
QJsonObject chromeEntry(int i)
{
    const QString n = QString::number(i);
    const auto text = [](const QString& s) { return QJsonValue(s); };
    return QJsonObject{
        {u"active_time"_s, 1733400000.0 + i},
        {u"avatar_icon"_s, u"chrome://theme/IDR_PROFILE_AVATAR_26"_s},
        {u"background_apps"_s, false},
        {u"default_avatar_fill_color"_s, -14654801 - i},
        {u"default_avatar_stroke_color"_s, -1},
        {u"force_signin_profile_locked"_s, false},
        {u"gaia_given_name"_s, text(u"User " + n)},
        {u"gaia_id"_s, text(u"10" + n.rightJustified(19, u'0'))},
        {u"gaia_name"_s, text(u"User " + n + u" Example")},
        {u"gaia_picture_file_name"_s,
         text(i % 3 == 0 ? u"Google Profile Picture.png"_s : QString())},
        {u"hosted_domain"_s, u"NO_HOSTED_DOMAIN"_s},
        {u"is_consented_primary_account"_s, true},
        {u"is_ephemeral"_s, false},
        {u"is_using_default_avatar"_s, i % 3 != 0},
        {u"is_using_default_name"_s, false},
        {u"managed_user_id"_s, QString()},
        {u"metrics_bucket_index"_s, i + 1},
        {u"name"_s, text(u"Profile name " + n)},
        {u"profile_highlight_color"_s, -14654801},
        {u"shortcut_name"_s, text(u"User " + n)},
        {u"signin.with_credential_provider"_s, false},
        {u"user_name"_s, text(u"user" + n + u"@example.com")},
    };
}

void writeLocalState(int profiles)
{
    QJsonObject cache;
    QJsonArray order;
    for (int i = 0; i < profiles; ++i) {
        const QString directory = i == 0 ? u"Default"_s : QString(u"Profile " + QString::number(i));
        cache.insert(directory, chromeEntry(i));
        order.append(directory);
    }
    QJsonObject profile{{u"info_cache"_s, cache},
                        {u"last_active_profiles"_s, QJsonArray{u"Default"_s}},
                        {u"last_used"_s, u"Default"_s},
                        {u"metrics"_s, QJsonObject{{u"next_bucket_index"_s, profiles + 1}}},
                        {u"profile_counts_reported"_s, u"13378000000000000"_s},
                        {u"profiles_order"_s, order}};
    QJsonObject root{{u"profile"_s, profile},
                     {u"browser"_s, QJsonObject{{u"enabled_labs_experiments"_s, QJsonArray{}}}},
                     {u"user_experience_metrics"_s, QJsonObject{{u"low_entropy_source3"_s, 1234}}}};
    writeFile(configHome().path() + u"/google-chrome/Local State", QJsonDocument(root).toJson());
}

void catalogueLoad(benchmark::State& state)
{
    writeLocalState(int(state.range(0)));
    // The browser measured is set up here, whatever the machine has installed.
    BrowserInstallation chrome;
    chrome.desktopId = u"google-chrome.desktop"_s;
    chrome.dataDirectory = configHome().path() + u"/google-chrome";
    for (auto _ : state) {
        const ChromeProfileInfo info = ChromeProfiles::load(chrome);
        benchmark::DoNotOptimize(info);
        if (info.profiles.size() != state.range(0))
            state.SkipWithError("wrong profile count");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(catalogueLoad)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity()
    ->ComputeStatistics("p95", p95);

/// Firefox's profiles.ini with `profiles` profiles as -CreateProfile writes
/// them; with `grouped`, one of them holds the profile manager's store, which
/// lists them all (names, avatars, theme colours) as Firefox fills it.
QString writeFirefoxProfiles(int profiles, bool grouped)
{
    const QString folder = configHome().path() + (grouped ? u"/grouped" : u"/firefox");
    QByteArray ini;
    for (int i = grouped ? profiles - 1 : 0; i < profiles; ++i)
        ini += "[Profile" + QByteArray::number(i) + "]\nName=プロファイル " +
               QByteArray::number(i) + "\nIsRelative=1\nPath=x" + QByteArray::number(i) + ".p\n" +
               (grouped ? "StoreID=5a1e\n\n" : "\n");
    writeFile(FirefoxProfiles::profilesIniURL(folder), ini + "[General]\nVersion=2\n");
    if (!grouped)
        return folder;
    const QString store = folder + u"/Profile Groups/5a1e.sqlite";
    QDir().mkpath(folder + u"/Profile Groups");
    QFile::remove(store);
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(store).constData(), &db);
    QByteArray sql = "CREATE TABLE Profiles (id INTEGER NOT NULL, path TEXT NOT NULL UNIQUE, "
                     "name TEXT NOT NULL, avatar TEXT NOT NULL, themeId TEXT NOT NULL, "
                     "themeFg TEXT NOT NULL, themeBg TEXT NOT NULL, PRIMARY KEY(id)); BEGIN;";
    for (int i = 0; i < profiles; ++i)
        sql += "INSERT INTO Profiles VALUES (" + QByteArray::number(i + 1) + ", 'x" +
               QByteArray::number(i) + ".p', 'Profile " + QByteArray::number(i) +
               "', 'flower', 'default-theme@mozilla.org', 'rgb(21,20,26)', 'rgb(240,240,244)');";
    sql += "COMMIT;";
    sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return folder;
}

void firefoxCatalogueLoad(benchmark::State& state)
{
    const QString folder = writeFirefoxProfiles(int(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        const ChromeProfileInfo info = FirefoxProfiles::load(folder);
        benchmark::DoNotOptimize(info);
        if (info.profiles.size() != state.range(0))
            state.SkipWithError("wrong profile count");
    }
}
// Profiles in profiles.ini (0), or in the profile manager's store (1).
BENCHMARK(firefoxCatalogueLoad)
    ->Args({10, 0})
    ->Args({1000, 0})
    ->Args({10, 1})
    ->Args({1000, 1})
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("p95", p95);

void ruleMatchMiss(benchmark::State& state)
{
    ProfileRules rules;
    for (int i = 0; i < state.range(0); ++i)
        rules.append({QString(u"https://site-" + QString::number(i) + u".example.com/path"),
                      QString(u"Profile " + QString::number(i % 7))});
    writeFile(configHome().path() + u"/orlim/rules.json", RulesFile::encode(rules));
    const RuleStore store(*platform().files);
    for (auto _ : state) {
        const auto rule = store.match(u"https://nowhere.example.org/some/page?q=1"_s);
        benchmark::DoNotOptimize(rule);
        if (rule)
            state.SkipWithError("unexpected match");
    }
}
BENCHMARK(ruleMatchMiss)->Arg(1000)->Unit(benchmark::kMicrosecond)->ComputeStatistics("p95", p95);

/// What every link pays before its browser starts: the served browser looked
/// up (the table's last row installed, so every row is tried), its profiles
/// read, and its command expanded.
void linkRouting(benchmark::State& state)
{
    writeFile(configHome().path() + u"/data/applications/vivaldi-stable.desktop",
              "[Desktop Entry]\nType=Application\nName=Vivaldi\nExec=/bin/true %U\n");
    const BrowserInstallations browsers(*platform().applications, *platform().files);
    for (auto _ : state) {
        const auto browser = browsers.find();
        if (!browser || !browsers.isInstalled(*browser)) {
            state.SkipWithError("the browser is not found");
            break;
        }
        const ChromeProfileInfo info = ChromeProfiles::load(*browser);
        const auto command =
            browser->commandLine({u"--profile-directory=Default"_s, u"https://example.com/"_s});
        benchmark::DoNotOptimize(info);
        benchmark::DoNotOptimize(command);
    }
}
BENCHMARK(linkRouting)->Unit(benchmark::kMicrosecond)->ComputeStatistics("p95", p95);

/// 10,000 wrapped links as mail and chat carry them, each unwrapped: Safe
/// Links with its data, Proofpoint v2 and v3, Google's and Facebook's
/// redirects, and Proofpoint around Safe Links around Google.
void wrappedLinks(benchmark::State& state)
{
    const auto escaped = [](const QString& link) {
        return QString::fromLatin1(QUrl::toPercentEncoding(link));
    };
    QStringList links;
    for (int i = 0; links.size() < 10000; ++i) {
        const QString destination = u"https://site-" + QString::number(i) +
                                    u".example.com/reports/2026/q" + QString::number(i % 4) +
                                    u"?id=" + QString::number(i) + u"&lang=ja#summary";
        const QString safeLinks =
            u"https://nam02.safelinks.protection.outlook.com/?url=" + escaped(destination) +
            u"&data=05%7C02%7Cuser%40contoso.com%7C1f2e3d4c5b6a%7C72f988bf86f141af91ab2d7cd011db47"
            u"%7C1%7C0%7C638700000000000000%7CUnknown%7CTWFpbGZsb3d8eyJWIjoiMC4wLjAwMDAifQ%3D%3D"
            u"%7C0%7C%7C%7C&sdata=AbCdEf%2BgHiJkLmNoPq%3D&reserved=0";
        const QString v2 = QString::fromLatin1(QUrl::toPercentEncoding(destination, "/", "-_"))
                               .replace(u'%', u'-')
                               .replace(u'/', u'_');
        const QString nested = u"https://nam02.safelinks.protection.outlook.com/?url=" +
                               escaped(u"https://www.google.com/url?q=" + escaped(destination)) +
                               u"&data=05%7C02&reserved=0";
        links << safeLinks
              << u"https://urldefense.proofpoint.com/v2/url?u=" + v2 +
                     u"&d=DwMFaQ&c=euGZstcaTDllvimEN8b7jXrwqOf-v5A_CdpgnVfiiMM&r=abc&m=def&s=ghi&e="
              << u"https://urldefense.com/v3/__" + QString(destination).replace(u'#', u'*') +
                     u"__;Iw!!BhdT!hJ3kLmNoPqRsTuVwXyZ$"
              << u"https://www.google.com/url?q=" + escaped(destination) +
                     u"&sa=D&source=editors&ust=1700000000000000&usg=AOvVaw0abc"
              << u"https://l.facebook.com/l.php?u=" + escaped(destination) + u"&h=AT0xyz&s=1"
              << u"https://urldefense.com/v3/__" + QString(nested).replace(u'%', u'*') + u"__;" +
                     QString::fromLatin1(QByteArray(nested.count(u'%'), '%')
                                             .toBase64(QByteArray::Base64UrlEncoding |
                                                       QByteArray::OmitTrailingEquals)) +
                     u"!!BhdT!x$";
    }
    links.resize(10000);
    for (auto _ : state) {
        qsizetype found = 0;
        for (const QString& link : std::as_const(links))
            found += WrappedLink::read(link).wrapped();
        if (found != links.size())
            state.SkipWithError("a link was not unwrapped");
    }
}
BENCHMARK(wrappedLinks)->Unit(benchmark::kMillisecond)->ComputeStatistics("p95", p95);

/// A link to the picker on screen, as the running Orlim takes it: the browsers
/// shown looked up, 200 Chrome profiles read, those the user hid (every
/// `hidden`th) left out, and the picker built and shown (off screen). The user
/// then closes it, for the next link's own picker.
void linkToPicker(benchmark::State& state)
{
    const QString entry = configHome().path() + u"/data/applications/google-chrome.desktop";
    writeFile(entry, "[Desktop Entry]\nType=Application\nName=Chrome\nExec=/bin/true %U\n");
    writeLocalState(200);
    QJsonArray hidden;
    for (int i = 1; state.range(0) > 0 && i < 200; i += int(state.range(0)))
        hidden.append(QString(u"Profile " + QString::number(i)));
    writeFile(
        configHome().path() + u"/orlim/browser.json",
        QJsonDocument(QJsonObject{{u"hidden"_s, QJsonObject{{u"google-chrome.desktop"_s, hidden}}}})
            .toJson());
    Platform services = Platform::forThisSystem();
    services.settleDesktop();
    Application orlim(services);
    for (auto _ : state) {
        orlim.delegate().openURLs({u"https://example.com/"_s}, {});
        QWidget* window = orlim.picker().window();
        if (!window || !window->isVisible() || orlim.picker().waiting() != 0 ||
            orlim.picker().content()->model().profiles().size() != 200 - hidden.size()) {
            state.SkipWithError("the picker is not up");
            break;
        }
        window->close();
        QCoreApplication::processEvents();
    }
    QFile::remove(entry);
    QFile::remove(configHome().path() + u"/orlim/browser.json");
}
// None hidden (0), or every fourth: 50 of the 200.
BENCHMARK(linkToPicker)
    ->ArgName("hiddenEvery")
    ->Arg(0)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("p95", p95);

/// The picker for a link built and painted, ten profiles: one browser's, or
/// two browsers' five each under their names.
void pickerBuilt(benchmark::State& state)
{
    BrowserInstallation chromium, firefox;
    chromium.shortName = u"Chromium"_s;
    firefox.shortName = u"Firefox"_s;
    QList<ChromeProfile> ten;
    for (int i = 0; i < 10; ++i)
        ten.append({u"Profile " + QString::number(i), u"Name " + QString::number(i), {}, {}, {}});
    const ProfilePickerModel::Groups groups =
        state.range(0) == 1
            ? ProfilePickerModel::Groups{{chromium, ten}}
            : ProfilePickerModel::Groups{{chromium, ten.mid(0, 5)}, {firefox, ten.mid(5)}};
    for (auto _ : state) {
        ProfilePickerView view(u"https://example.com/"_s, groups, {}, {});
        const QPixmap picture = view.grab();
        benchmark::DoNotOptimize(picture);
    }
}
BENCHMARK(pickerBuilt)
    ->ArgName("browsers")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("p95", p95);

/// A desktop without a notification service: every message leaves the user
/// the window, as on a session with no bus.
struct NoNotificationService final : Notifications
{
    void show(const Message&, std::function<void(const QString&)>, std::function<void()> noAction,
              std::function<void()>) override
    {
        QTimer::singleShot(0, qApp, std::move(noAction));
    }
};

/// A link not opened handed to the notice, with the window of links not
/// opened on screen and already listing `range(0)` links, until the main loop
/// has nothing left to do for it (painted and flushed to the display): what a
/// failure keeps the next link's hand-over waiting. Run it on a real display
/// (QT_QPA_PLATFORM=xcb) to see what the window costs there.
void linkNotOpened(benchmark::State& state)
{
    Platform services = platform();
    services.settleDesktop();
    NoNotificationService notifications;
    LinkNotice notice({*services.windowActivation}, notifications);
    const auto settle = [] {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    };
    int n = 0;
    const auto fail = [&] {
        notice.notOpened(u"https://lost.example/"_s + QString::number(++n),
                         ChromeLauncher::Failure::DidNotStart);
        settle();
    };
    for (qint64 i = 0; i <= state.range(0); ++i)
        fail();
    if (!notice.window() || !notice.window()->isVisible())
        state.SkipWithError("the window did not come up");
    for (auto _ : state)
        fail();
}
BENCHMARK(linkNotOpened)
    ->ArgName("listed")
    ->Arg(0)
    ->Arg(300)
    ->Arg(900)
    ->Arg(2000)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("XDG_CONFIG_HOME", configHome().path().toUtf8());
    qputenv("XDG_DATA_HOME", QString(configHome().path() + u"/data").toUtf8());
    qputenv("XDG_DATA_DIRS", QString(configHome().path() + u"/none").toUtf8());
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
