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

LinkRouter::LinkRouter(PickerWindowController& picker, NotOpened& notOpened,
                       const ChromeInstallations& browsers, const ChromeLauncher& launcher,
                       const RuleStore& rules, WindowActivation& activation)
    : m_picker(picker), m_notOpened(notOpened), m_browsers(browsers), m_launcher(launcher),
      m_rules(rules), m_activation(activation)
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
    const auto browser = m_browsers.find();
    if (!browser) {
        ChromeLauncher::fail(url, ChromeLauncher::Failure::NoBrowser, &m_notOpened);
        return false;
    }
    const auto open = [&](const QString& profileDirectory) {
        if (m_picker.openInTurn(url, *browser, profileDirectory))
            return;
        m_launcher.open(*browser, {url, profileDirectory, activationToken}, &m_notOpened);
    };
    const ChromeProfileInfo catalogue = ChromeProfiles::load(*browser);
    if (catalogue.profiles.isEmpty()) {
        open(QStringLiteral("Default"));
        return false;
    }
    if constexpr (FeatureFlags::rulesEnabled) {
        if (const auto rule = m_rules.match(url)) {
            const auto known = std::find_if(
                catalogue.profiles.begin(), catalogue.profiles.end(), [&](const ChromeProfile& p) {
                    return CanonicalText::equal(p.directoryName, rule->profileDirectory);
                });
            // Folder names are bytes: Chrome must get the catalogue's spelling,
            // or it would make a new, empty profile.
            if (known != catalogue.profiles.end()) {
                open(known->directoryName);
                return false;
            }
        }
    }
    m_picker.show(url, *browser, catalogue.profiles, activationToken);
    return true;
}
