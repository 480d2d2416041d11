// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppDelegate.h"

#include "chrome/CanonicalText.h"
#include "chrome/ChromeLauncher.h"
#include "chrome/ChromeProfiles.h"
#include "platform/Platform.h"
#include "platform/Scheduler.h"
#include "platform/WindowActivation.h"
#include "rules/FeatureFlags.h"
#include "rules/RuleStore.h"
#include "ui/notice/LinkNotice.h"
#include "ui/picker/PickerWindowController.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/tray/MenuBarController.h"

namespace {

/// The one picker of the application: a choice stores its rule and starts
/// its browser, and a link that cannot be opened is shown to the user.
PickerWindowController& sharedPicker()
{
    static auto* controller = new PickerWindowController(
        {&RuleStore::upsert,
         [](const ChromeInstallation& browser, const ChromeLauncher::Request& request) {
             ChromeLauncher::openChosen(browser, request, &LinkNotice::show);
         }});
    return *controller;
}

AppDelegate::Windows sharedWindows()
{
    return {[](const QString& url, const ChromeInstallation& browser,
               const QList<ChromeProfile>& profiles,
               const QString& token) { sharedPicker().show(url, browser, profiles, token); },
            [](const QString& token) { SettingsWindowController::shared().show(token); },
            &LinkNotice::show};
}

} // namespace

AppDelegate::AppDelegate(QObject* parent) : AppDelegate(sharedWindows(), parent) {}

AppDelegate::AppDelegate(Windows windows, QObject* parent)
    : QObject(parent), m_windows(std::move(windows)),
      m_menuBar(std::make_unique<MenuBarController>([this] { m_windows.showSettings({}); }))
{
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching(const QString& launchToken)
{
    m_launchToken = launchToken;
    m_menuBar->install();
    Platform::current().scheduler->schedule(std::chrono::milliseconds(settingsCheckDelayMs), this,
                                            [this] {
                                                if (!m_didReceiveURL)
                                                    m_windows.showSettings(m_launchToken);
                                            });
}

bool AppDelegate::applicationShouldHandleReopen(const QString& activationToken)
{
    m_windows.showSettings(activationToken);
    return true;
}

void AppDelegate::openURLs(const QStringList& urls, const QString& activationToken)
{
    bool shown = false;
    for (const QString& url : urls)
        shown |= handleIncoming(url, activationToken);
    if (!shown && !activationToken.isEmpty())
        Platform::current().windowActivation->finishStartup(activationToken);
}

bool AppDelegate::handleIncoming(const QString& urlString, const QString& activationToken)
{
    m_didReceiveURL = true;
    const auto browser = ChromeInstallation::find();
    if (!browser) {
        ChromeLauncher::fail(urlString, ChromeLauncher::Failure::NoBrowser,
                             m_windows.showNotOpened);
        return false;
    }
    const auto open = [&](const QString& profileDirectory) {
        ChromeLauncher::open(*browser, {urlString, profileDirectory, activationToken},
                             m_windows.showNotOpened);
    };
    const ChromeProfileInfo catalogue = ChromeProfiles::load(*browser);
    if (catalogue.profiles.isEmpty()) {
        open(QStringLiteral("Default"));
        return false;
    }
    if constexpr (FeatureFlags::rulesEnabled) {
        if (const auto rule = RuleStore::match(urlString)) {
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
    m_windows.showPicker(urlString, *browser, catalogue.profiles, activationToken);
    return true;
}
