// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chrome/ChromeInstallation.h"
#include "chrome/ChromeLauncher.h"
#include "chrome/ChromeProfile.h"

#include <QStringList>
#include <functional>

class WindowActivation;

/// Where each link goes: to the browser's "Default" profile when it has none,
/// to a rule's profile when rules are on and one fits, and to the picker
/// otherwise. The browser served is settled once for each link, as it
/// arrives, and goes with it.
class LinkRouter
{
public:
    /// Where links that need the user go: the picker, and the notice of a
    /// link that could not be opened.
    struct Windows
    {
        std::function<void(const QString& url, const ChromeInstallation& browser,
                           const QList<ChromeProfile>& profiles, const QString& activationToken)>
            showPicker;
        ChromeLauncher::FailureHandler showNotOpened;
    };

    LinkRouter(Windows windows, WindowActivation& activation);

    /// Routes `urls` one by one, in order. `activationToken` comes from the
    /// program they were clicked in, for the window or Chrome they bring up;
    /// when none of Orlim's windows comes up, the start-up it announced ends.
    void route(const QStringList& urls, const QString& activationToken = {});

private:
    /// Whether the picker came up for `url`.
    bool routeOne(const QString& url, const QString& activationToken);

    Windows m_windows;
    WindowActivation& m_activation;
};
