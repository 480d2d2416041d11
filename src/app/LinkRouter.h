// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class ChromeInstallations;
class ChromeLauncher;
class NotOpened;
class PickerWindowController;
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
    /// Asks `picker` where a link needs the user, and tells `notOpened` of a
    /// link that could not be opened; looks each link's browser up among
    /// `browsers`, opens with `launcher`, matches `rules` where rules are on,
    /// and ends unused start-ups with `activation`.
    LinkRouter(PickerWindowController& picker, NotOpened& notOpened,
               const ChromeInstallations& browsers, const ChromeLauncher& launcher,
               const RuleStore& rules, WindowActivation& activation);

    /// Routes `urls` one by one, in order. `activationToken` comes from the
    /// program they were clicked in, for the window or Chrome they bring up;
    /// when none of Orlim's windows comes up, the start-up it announced ends.
    void route(const QStringList& urls, const QString& activationToken = {});

private:
    /// Whether the picker came up for `url`.
    bool routeOne(const QString& url, const QString& activationToken);

    PickerWindowController& m_picker;
    NotOpened& m_notOpened;
    const ChromeInstallations& m_browsers;
    const ChromeLauncher& m_launcher;
    const RuleStore& m_rules;
    WindowActivation& m_activation;
};
