// SPDX-License-Identifier: GPL-3.0-or-later
// The platform services faked for unit tests, and what every unit test uses.
#pragma once

#include "browser/ChromeProfiles.h"
#include "browser/NotOpened.h"
#include "platform/ApplicationDirectory.h"
#include "platform/BrowserWindows.h"
#include "platform/ColorScheme.h"
#include "platform/DefaultBrowser.h"
#include "platform/FileLayout.h"
#include "platform/Notifications.h"
#include "platform/Platform.h"
#include "platform/ProcessLauncher.h"
#include "platform/Scheduler.h"
#include "platform/WindowActivation.h"
#include "rules/RuleStore.h"

#include "QtPrinting.h"

#include <QHash>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <map>
#include <optional>

/// A main loop whose clock moves only when a test says so.
struct FakeScheduler final : Scheduler
{
    void schedule(std::chrono::milliseconds delay, const QObject* context,
                  std::function<void()> task) override;
    /// Moves the clock forward by `ms`, running every task that falls due, in order.
    void advance(int ms);
    /// Runs everything scheduled, including what those tasks schedule.
    void runAll()
    {
        while (!m_tasks.empty())
            advance(m_tasks.rbegin()->first - m_now);
    }

    std::multimap<int, std::function<void()>> m_tasks; // by due time; equal times in order
    int m_now = 0;
};

/// HOME and XDG_CONFIG_HOME inside one temporary folder.
struct FakeFileLayout final : FileLayout
{
    explicit FakeFileLayout(QString root) : root(std::move(root)) {}
    QString homeDirectory() const override { return root + u"/home"; }
    QString configHome() const override { return root + u"/config"; }
    QString root;
};

/// An installed entry whose Exec line is `exec`.
inline ApplicationDirectory::Entry desktopEntry(const QString& name, const QString& exec)
{
    return {{exec, {}, name, {}}, {}};
}

/// Installed desktop entries by id; Google's Chrome to begin with.
struct FakeApplications final : ApplicationDirectory
{
    std::optional<Entry> find(const QString& desktopId) const override
    {
        return installed.contains(desktopId) ? std::optional(installed[desktopId]) : std::nullopt;
    }
    QStringList folders() const override { return {QStringLiteral("/fake/applications")}; }
    QHash<QString, Entry> installed{{QStringLiteral("google-chrome.desktop"),
                                     desktopEntry(QStringLiteral("Google Chrome"),
                                                  QStringLiteral("/opt/google/chrome/chrome %U"))}};
};

/// Records each start as "program|argument|...|token". Programs named in
/// `missing` do not start; those in `failing` start, then end at once with a
/// failure status.
struct FakeProcessLauncher final : ProcessLauncher
{
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& activationToken, std::function<void()> failed) override
    {
        starts.append((QStringList{program} + arguments + QStringList{activationToken}).join(u'|'));
        if (failing.contains(program) && failed)
            failed();
        return !missing.contains(program);
    }
    QStringList starts, missing, failing;
};

/// Records every message; answers as a service would, or as none.
struct FakeNotifications final : Notifications
{
    void show(const Message& message, std::function<void(const QString&)> picked,
              std::function<void()> noAction, std::function<void()> closed) override
    {
        shown.append(message.summary + u'|' + message.body + u'|' + message.actionLabel);
        available ? picks.append(std::move(picked)) : noAction();
        close = std::move(closed);
    }
    QStringList shown;
    bool available = true;
    QList<std::function<void(const QString& activationToken)>> picks; // each message's action
    std::function<void()> close; // the user dismisses the newest message
};

/// Counts the look-ups; `windows` are found (topmost first), `activeWindow`
/// has the keyboard, `activated` records activations.
struct FakeBrowserWindows final : BrowserWindows
{
    QList<Window> find(const QString&) override
    {
        ++lookups;
        return windows;
    }
    Handle active() override { return activeWindow; }
    void activate(Handle window) override { activated.append(window); }

    QList<Window> windows;
    QList<Handle> activated;
    Handle activeWindow = 0;
    int lookups = 0;
};

/// Requests complete out of order: https first, the others as long again later.
struct FakeDefaultBrowser final : DefaultBrowser
{
    static constexpr int httpsCompletesAfterMs = 10;

    explicit FakeDefaultBrowser(Scheduler& scheduler) : scheduler(scheduler) {}
    void setHandler(const QString& type, const QString& desktopId,
                    std::function<void()> done) override
    {
        requests.append(type + u'=' + desktopId);
        const bool https = type == u"x-scheme-handler/https";
        if (https)
            httpsHandler = desktopId;
        const int ms = httpsCompletesAfterMs * (https ? 1 : 2);
        if (done)
            scheduler.schedule(std::chrono::milliseconds(ms), nullptr, std::move(done));
    }
    std::optional<QString> handler(const QString& scheme) const override
    {
        ++reads;
        return scheme == u"https" ? httpsHandler : std::nullopt;
    }

    std::optional<QString> httpsHandler;
    mutable int reads = 0;
    QStringList requests; // "type=desktopId"
    Scheduler& scheduler;
};

/// Hands out "token-1", "token-2", ... and records what it presented.
struct FakeWindowActivation final : WindowActivation
{
    QString tokenFor(QWidget*) override { return u"token-" + QString::number(++tokens); }
    void present(QWidget* window, const QString& token) override
    {
        presentedWith.append(token);
        window->show();
        if (activates)
            window->activateWindow();
    }
    void finishStartup(const QString& token) override { finished.append(token); }
    bool tokenNeedsItsWindow() const override { return needsWindow; }
    bool holdsForStartedProgram() const override { return holds || needsWindow; }

    QStringList presentedWith, finished; // the token of every present(), every finishStartup()
    bool needsWindow = false;            // as on Wayland
    bool holds = false;                  // as on X11 (and Wayland)
    bool activates = true;               // false: as a compositor that keeps the keyboard elsewhere
    int tokens = 0;                      // handed out
};

/// Records each link not opened as "<link> <why, as a number>".
struct FakeNotOpened final : NotOpened
{
    void notOpened(const QString& url, ChromeLauncher::Failure why) override
    {
        told.append(url + u' ' + QString::number(int(why)));
    }
    QStringList told;
};

/// The desktop's preference, told when a test says so (once Orlim follows it).
struct FakeColorScheme final : ColorScheme
{
    void follow(std::function<void(Preference)> f) override { m_changed = std::move(f); }
    void tell(Preference preference) const { m_changed(preference); }
    std::function<void(Preference)> m_changed;
};

/// Reads and writes whole files in tests.
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

/// Every platform service faked, files in a temporary folder, and the browsers,
/// the launcher and the rules made on them.
struct FakePlatform
{
    /// Writes the served browser's "Local State" with `json`.
    void writeLocalState(const QByteArray& json) const
    {
        writeFile(ChromeProfiles::localStateURL(chromeDirectory()), json);
    }
    /// The served browser's data directory, and its profiles.
    QString chromeDirectory() const
    {
        return browsers.find().value_or(BrowserInstallation()).dataDirectory;
    }
    ChromeProfileInfo catalogue() const { return ChromeProfiles::load(*browsers.find()); }
    /// These services as the application takes them.
    Platform services()
    {
        return {&files,     &applications,     &processes,     &browserWindows, &defaultBrowser,
                &scheduler, &windowActivation, &notifications, &colorScheme};
    }

    QTemporaryDir root;
    FakeScheduler scheduler;
    FakeFileLayout files{root.path()};
    FakeApplications applications;
    FakeProcessLauncher processes;
    FakeBrowserWindows browserWindows;
    FakeDefaultBrowser defaultBrowser{scheduler};
    FakeWindowActivation windowActivation;
    FakeNotifications notifications;
    FakeColorScheme colorScheme;

    BrowserInstallations browsers{applications, files};
    ChromeLauncher launcher{processes, &browserWindows, scheduler, browsers};
    RuleStore rules{files};
};

/// Sets the environment variable `name` to `value` (unsets it for none) for
/// the object's lifetime, then restores what it was.
struct ScopedVariable
{
    ScopedVariable(const char* name, const std::optional<QByteArray>& value) : name(name)
    {
        set(value);
    }
    ~ScopedVariable() { set(saved); }
    void set(const std::optional<QByteArray>& value) const
    {
        value ? qputenv(name, *value) : qunsetenv(name);
    }
    const char* name;
    const std::optional<QByteArray> saved =
        qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
};

/// Each profile as "folder|name|fill|stroke", the colours in hex ("-" for
/// none), then "|picture" when it has one; `data`, if given, reads "~".
QStringList described(const QList<ChromeProfile>& profiles, const QString& data = {});
/// `count` profiles, "Profile 0" named "Name 0" and so on.
QList<ChromeProfile> profiles(int count);
/// Profiles as `profiles()` makes them, named `names`.
QList<ChromeProfile> named(const QStringList& names);
/// `list` as the only browser's, as a picker takes them.
inline QList<ChromeProfiles::BrowserProfiles> oneBrowser(const QList<ChromeProfile>& list,
                                                         const BrowserInstallation& browser = {})
{
    return {{browser, list}};
}
