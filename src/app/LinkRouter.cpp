// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LinkRouter.h"

#include "browser/BrowserInstallation.h"
#include "browser/ChromeLauncher.h"
#include "browser/ChromeProfiles.h"
#include "platform/WindowActivation.h"
#include "rules/FeatureFlags.h"
#include "rules/RuleStore.h"
#include "rules/WrappedLinkSetting.h"
#include "text/CanonicalText.h"
#include "text/WrappedLink.h"
#include "ui/picker/PickerWindowController.h"

#include <algorithm>

LinkRouter::Browsers LinkRouter::browsersShown(const BrowserInstallations& installations)
{
    return [&installations] { return installations.shownAmong(installations.installed()); };
}

LinkRouter::Browsers LinkRouter::browsersInstalled(const BrowserInstallations& installations)
{
    return [&installations] { return installations.installed(); };
}

LinkRouter::Hidden LinkRouter::profilesHidden(const BrowserInstallations& installations)
{
    return [&installations] { return installations.choice().hidden(); };
}

LinkRouter::LinkRouter(PickerWindowController& picker, NotOpened& notOpened, Browsers browsers,
                       const ChromeLauncher& launcher, const RuleStore& rules,
                       WindowActivation& activation, Browsers installed,
                       const WrappedLinkSetting* wrappedLinks, Hidden hidden)
    : m_picker(picker), m_notOpened(notOpened), m_browsers(std::move(browsers)),
      m_launcher(launcher), m_rules(rules), m_activation(activation),
      m_installed(std::move(installed)), m_wrappedLinks(wrappedLinks), m_hidden(std::move(hidden))
{
}

void LinkRouter::route(const QStringList& urls, const QString& activationToken)
{
    bool shown = false;
    for (const QString& url : urls)
        shown |= routeOne(url, activationToken);
    if (!shown && !activationToken.isEmpty())
        m_activation.finishStartup(activationToken);
}

bool LinkRouter::routeOne(const QString& given, const QString& activationToken)
{
    WrappedLink link = WrappedLink::read(given);
    link.opensDestination = link.wrapped() && m_wrappedLinks && m_wrappedLinks->opensDestination();
    const QString& url = link.opened();
    const QList<BrowserInstallation> browsers = m_browsers();
    if (browsers.isEmpty()) {
        ChromeLauncher::fail(url, ChromeLauncher::Failure::NoBrowser, &m_notOpened);
        return false;
    }
    const auto open = [&](const BrowserInstallation& browser, const QString& profileDirectory) {
        if (m_picker.openInTurn(url, browser, profileDirectory))
            return;
        m_launcher.open(browser, {url, profileDirectory, activationToken}, &m_notOpened);
    };
    const QList<ChromeProfiles::BrowserProfiles> groups = ChromeProfiles::loadAll(browsers);
    if (std::all_of(groups.begin(), groups.end(), [](const ChromeProfiles::BrowserProfiles& g) {
            return g.profiles.isEmpty();
        })) {
        open(browsers.first(), QStringLiteral("Default"));
        return false;
    }
    if constexpr (FeatureFlags::rulesEnabled) {
        if (const auto rule = ruled(link.destination, groups)) {
            open(rule->first, rule->second);
            return false;
        }
    }
    m_picker.show(link, m_hidden ? m_hidden().shownOf(groups) : groups, activationToken);
    return true;
}

std::optional<std::pair<BrowserInstallation, QString>>
LinkRouter::ruled(const QString& url, const QList<ChromeProfiles::BrowserProfiles>& shown) const
{
    const auto rule = m_rules.match(url);
    if (!rule)
        return std::nullopt;
    // A rule that names no browser (none was served when it was read) is the first shown's.
    std::optional<ChromeProfiles::BrowserProfiles> target;
    for (const ChromeProfiles::BrowserProfiles& group : shown) {
        if (rule->browser.isEmpty() || group.browser.desktopId == rule->browser) {
            target = group;
            break;
        }
    }
    if (!target && m_installed) {
        for (const BrowserInstallation& browser : m_installed()) {
            if (browser.desktopId == rule->browser)
                target = {browser, ChromeProfiles::load(browser).profiles};
        }
    }
    if (!target)
        return std::nullopt;
    // Folder names are bytes: the browser must get the catalogue's spelling,
    // or Chrome would make a new, empty profile.
    for (const ChromeProfile& profile : target->profiles) {
        if (CanonicalText::equal(profile.directoryName, rule->profileDirectory))
            return std::pair{target->browser, profile.directoryName};
    }
    return std::nullopt;
}
