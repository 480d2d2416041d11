// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LinkRouter.h"

#include "chrome/ChromeInstallation.h"
#include "chrome/ChromeLauncher.h"
#include "chrome/ChromeProfiles.h"
#include "platform/CanonicalText.h"
#include "platform/WindowActivation.h"
#include "rules/FeatureFlags.h"
#include "rules/RuleStore.h"
#include "ui/picker/PickerWindowController.h"

#include <algorithm>

LinkRouter::Browsers LinkRouter::browsersShown(const ChromeInstallations& installations)
{
    return [&installations] { return installations.shownAmong(installations.installed()); };
}

LinkRouter::LinkRouter(PickerWindowController& picker, NotOpened& notOpened, Browsers browsers,
                       const ChromeLauncher& launcher, const RuleStore& rules,
                       WindowActivation& activation)
    : m_picker(picker), m_notOpened(notOpened), m_browsers(std::move(browsers)),
      m_launcher(launcher), m_rules(rules), m_activation(activation)
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

bool LinkRouter::routeOne(const QString& url, const QString& activationToken)
{
    const QList<ChromeInstallation> browsers = m_browsers();
    if (browsers.isEmpty()) {
        ChromeLauncher::fail(url, ChromeLauncher::Failure::NoBrowser, &m_notOpened);
        return false;
    }
    const ChromeInstallation& served = browsers.first();
    const auto open = [&](const QString& profileDirectory) {
        if (m_picker.openInTurn(url, served, profileDirectory))
            return;
        m_launcher.open(served, {url, profileDirectory, activationToken}, &m_notOpened);
    };
    const QList<ChromeProfiles::BrowserProfiles> groups = ChromeProfiles::loadAll(browsers);
    if (std::all_of(groups.begin(), groups.end(), [](const ChromeProfiles::BrowserProfiles& g) {
            return g.profiles.isEmpty();
        })) {
        open(QStringLiteral("Default"));
        return false;
    }
    if constexpr (FeatureFlags::rulesEnabled) {
        // Rules name a profile of the browser served.
        const QList<ChromeProfile>& profiles = groups.first().profiles;
        if (const auto rule = m_rules.match(url)) {
            const auto known =
                std::find_if(profiles.begin(), profiles.end(), [&](const ChromeProfile& p) {
                    return CanonicalText::equal(p.directoryName, rule->profileDirectory);
                });
            // Folder names are bytes: Chrome must get the catalogue's spelling,
            // or it would make a new, empty profile.
            if (known != profiles.end()) {
                open(known->directoryName);
                return false;
            }
        }
    }
    m_picker.show(url, groups, activationToken);
    return true;
}
