// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chrome/ChromeInstallation.h"
#include "chrome/ChromeLauncher.h"
#include "chrome/ChromeProfile.h"

#include <QStringList>
#include <functional>

class RuleStore;
class WindowActivation;

/// Where each link goes: to the browser's "Default" profile when it has none,
/// to a rule's profile when rules are on and one fits, and to the picker
/// otherwise. A link that needs no choice never overtakes links waiting for
/// the picker. The browser served is settled once for each link, as it
/// arrives, and goes with it.
class LinkRouter
{
public:
    /// Where links that need the user go: the picker, and the notice of a
    /// link that could not be opened (see `NotOpened`).
    struct Windows
    {
        std::function<void(const QString& url, const ChromeInstallation& browser,
                           const QList<ChromeProfile>& profiles, const QString& activationToken)>
            showPicker;
        ChromeLauncher::FailureHandler notOpened;
        /// Takes a link that needs no choice when links wait for the picker,
        /// to open it in its turn; false (or none): nothing waits.
        std::function<bool(const QString& url, const ChromeInstallation& browser,
                           const QString& profileDirectory)>
            openInTurn;
    };

    /// Looks each link's browser up among `browsers`, opens with `launcher`,
    /// matches `rules` where rules are on, and ends unused start-ups with
    /// `activation`.
    LinkRouter(Windows windows, const ChromeInstallations& browsers, const ChromeLauncher& launcher,
               const RuleStore& rules, WindowActivation& activation);

    /// Routes `urls` one by one, in order. `activationToken` comes from the
    /// program they were clicked in, for the window or Chrome they bring up;
    /// when none of Orlim's windows comes up, the start-up it announced ends.
    void route(const QStringList& urls, const QString& activationToken = {});

private:
    /// Whether the picker came up for `url`.
    bool routeOne(const QString& url, const QString& activationToken);

    Windows m_windows;
    const ChromeInstallations& m_browsers;
    const ChromeLauncher& m_launcher;
    const RuleStore& m_rules;
    WindowActivation& m_activation;
};
