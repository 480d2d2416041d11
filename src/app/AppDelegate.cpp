#include "app/AppDelegate.h"

#include "chrome/CanonicalText.h"
#include "chrome/ChromeLauncher.h"
#include "chrome/ChromeProfiles.h"
#include "platform/Platform.h"
#include "platform/Scheduler.h"
#include "rules/FeatureFlags.h"
#include "rules/RuleStore.h"
#include "ui/MenuBarController.h"
#include "ui/PickerWindowController.h"
#include "ui/SettingsWindowController.h"

namespace {

AppDelegate::Windows sharedWindows()
{
    return {[](const QString& url, const QList<ChromeProfile>& profiles) {
                PickerWindowController::shared().show(url, profiles);
            },
            [] { SettingsWindowController::shared().show(); }};
}

} // namespace

AppDelegate::AppDelegate(QObject* parent) : AppDelegate(sharedWindows(), parent) {}

AppDelegate::AppDelegate(Windows windows, QObject* parent)
    : QObject(parent), m_windows(std::move(windows)),
      m_menuBar(std::make_unique<MenuBarController>(m_windows.showSettings))
{
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching()
{
    m_menuBar->install();
    Platform::current().scheduler->schedule(std::chrono::milliseconds(settingsCheckDelayMs), this,
                                            [this] {
                                                if (!m_didReceiveURL)
                                                    m_windows.showSettings();
                                            });
}

bool AppDelegate::applicationShouldHandleReopen()
{
    m_windows.showSettings();
    return true;
}

void AppDelegate::openURLs(const QStringList& urls)
{
    for (const QString& url : urls)
        handleIncoming(url);
}

void AppDelegate::handleIncoming(const QString& urlString)
{
    m_didReceiveURL = true;
    const ChromeProfileInfo catalogue = ChromeProfiles::load();
    if (catalogue.profiles.isEmpty()) {
        ChromeLauncher::open(urlString, QStringLiteral("Default"));
        return;
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
                ChromeLauncher::open(urlString, known->directoryName);
                return;
            }
        }
    }
    m_windows.showPicker(urlString, catalogue.profiles);
}
