// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/BrowserInstallation.h"
#include "browser/ChromeProfiles.h"
#include "browser/HiddenProfiles.h"

#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

class ChromeLauncher;
class NotOpened;
class PickerWindowController;
class RuleStore;
class WindowActivation;
class WrappedLinkSetting;

/// Where each link goes: to the served browser's "Default" profile when none
/// of the browsers shown has profiles, to a rule's profile in the rule's
/// browser when rules are on and one fits (while that browser is installed and
/// has the profile, hidden or not), and to the picker of every shown browser's
/// profiles but those the user hid otherwise. A wrapped link's destination is
/// found as it arrives, and rules match the destination. A link that needs no
/// choice never overtakes links waiting for the picker. The browsers, and the
/// profiles the picker offers, are settled once for each link, as it arrives,
/// and go with it.
class LinkRouter
{
public:
    /// The browsers the picker shows, in their order, looked up afresh: the
    /// first is the one served; none when none is installed.
    using Browsers = std::function<QList<BrowserInstallation>()>;
    /// Those the user lists in the settings, else the one served alone.
    static Browsers browsersShown(const BrowserInstallations& installations);
    /// Every installed browser, which a rule may name though it is not shown.
    static Browsers browsersInstalled(const BrowserInstallations& installations);
    /// The profiles the user hid from the picker, read afresh.
    using Hidden = std::function<HiddenProfiles()>;
    static Hidden profilesHidden(const BrowserInstallations& installations);

    /// Asks `picker` where a link needs the user, and tells `notOpened` of a
    /// link that could not be opened; asks `browsers` for each link's
    /// browsers, opens with `launcher`, matches `rules` where rules are on,
    /// and ends unused start-ups with `activation`; a rule's browser is looked
    /// for among `installed` where it is not shown (without it, only there);
    /// `wrappedLinks` says whether a wrapped link opens its destination; the
    /// picker leaves out the profiles `hidden` names.
    LinkRouter(PickerWindowController& picker, NotOpened& notOpened, Browsers browsers,
               const ChromeLauncher& launcher, const RuleStore& rules, WindowActivation& activation,
               Browsers installed = {}, const WrappedLinkSetting* wrappedLinks = nullptr,
               Hidden hidden = {});

    /// Routes `urls` one by one, in order. `activationToken` comes from the
    /// program they were clicked in, for the window or Chrome they bring up;
    /// when none of Orlim's windows comes up, the start-up it announced ends.
    void route(const QStringList& urls, const QString& activationToken = {});

private:
    /// Whether the picker came up for `given`.
    bool routeOne(const QString& given, const QString& activationToken);
    /// The browser and the catalogue's spelling of the profile the rule that
    /// fits `url` names; nothing when none fits, or its browser or profile is gone.
    std::optional<std::pair<BrowserInstallation, QString>>
    ruled(const QString& url, const QList<ChromeProfiles::BrowserProfiles>& shown) const;

    PickerWindowController& m_picker;
    NotOpened& m_notOpened;
    Browsers m_browsers;
    const ChromeLauncher& m_launcher;
    const RuleStore& m_rules;
    WindowActivation& m_activation;
    Browsers m_installed;
    const WrappedLinkSetting* m_wrappedLinks;
    Hidden m_hidden;
};
