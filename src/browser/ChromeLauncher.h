// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/BrowserInstallation.h"
#include "platform/BrowserWindows.h"

#include <QString>
#include <QStringList>
#include <functional>

class BrowserInstallations;
class NotOpened;
class ProcessLauncher;
class QObject;
class Scheduler;

/// Hands one link to the browser in one profile and brings the browser forward;
/// named for Chrome, it starts every browser Orlim serves.
/// This is the only place where Orlim starts another program.
class ChromeLauncher
{
public:
    /// Look-ups of a running Chrome after the first one, and the pause between them.
    static constexpr int activationRetries = 20;
    static constexpr int activationIntervalMs = 50;

    /// Why a link could not be opened.
    enum class Failure {
        NoBrowser,   // none of the browsers Orlim serves is installed
        BrowserGone, // the link's browser was removed before the choice
        DidNotStart, // its command could not be read, or its program could not run
    };
    /// Told when a link could not be opened; null: nobody is.
    using FailureHandler = NotOpened*;

    /// One link to open.
    struct Request
    {
        QString url = {};
        QString profileDirectory = {};
        /// For the browser's window (see `WindowActivation`); may be empty.
        QString activationToken = {};
        /// Whether to bring the browser's window forward once it appears.
        bool toFront = true;
        /// Bringing it forward stops when this goes; null: it never stops early.
        const QObject* owner = nullptr;
        /// Whether to open the link in a private window of the profile.
        bool privateWindow = false;
    };

    /// Starts programs with `processes`; on X11 (`windows`, else null) brings the
    /// browser's window forward, looking again on `scheduler`'s clock until it
    /// appears; asks `installations` whether a chosen link's browser is still there.
    /// It outlives the look-ups it schedules (the application keeps it to the end).
    ChromeLauncher(ProcessLauncher& processes, BrowserWindows* windows, Scheduler& scheduler,
                   const BrowserInstallations& installations)
        : m_processes(processes), m_windows(windows), m_scheduler(scheduler),
          m_installations(installations)
    {
    }

    /// The browser's arguments for `url` in `profileDirectory`: the profile switch,
    /// `privateSwitch` where given, then the link. A link that the browser would
    /// take for a switch (it begins with "-" once leading white space is dropped)
    /// goes after the "--" terminator. Firefox's family takes the profile's folder
    /// (`--profile <path>`, none for a key that is not one: its default profile)
    /// and knows no terminator: a link it would take for a switch gets no
    /// arguments at all, which is no command.
    static QStringList arguments(const QString& url, const QString& profileDirectory,
                                 const QString& privateSwitch = {},
                                 BrowserInstallation::Family family = {});

    /// Starts `browser`, as it was just looked up, as its desktop entry starts it, with
    /// `arguments()` where the entry takes a link, without waiting for it, then brings forward
    /// the window that appeared or changed since the start, once there is one (polling for about a
    /// second): a window of another profile, there before and unchanged, stays where it is. A start
    /// that fails, at once or as soon as it is seen to, tells `failed` and writes one line on
    /// stderr (never the link: links can carry secrets).
    void open(const BrowserInstallation& browser, const Request& request,
              const FailureHandler& failed) const;

    /// The same for a link chosen a while after its browser was looked up: a
    /// browser removed since is told as `Failure::BrowserGone`.
    void openChosen(const BrowserInstallation& browser, const Request& request,
                    const FailureHandler& failed) const;

    /// Writes why a link was dropped on stderr and tells `failed`.
    static void fail(const QString& url, Failure why, const FailureHandler& failed);

private:
    void activate(const QString& windowClass, const QList<BrowserWindows::Window>& before,
                  int retriesRemaining, const QObject* owner) const;

    ProcessLauncher& m_processes;
    BrowserWindows* m_windows;
    Scheduler& m_scheduler;
    const BrowserInstallations& m_installations;
};
