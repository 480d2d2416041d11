// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chrome/ChromeInstallation.h"
#include "chrome/ChromeLauncher.h"
#include "chrome/ChromeProfile.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class MenuBarController;

/// The application's launch-time duties and the routing of every link: to
/// the browser's "Default" profile when it has none, to a rule's profile when
/// rules are on and one fits, and to the picker otherwise. The browser served
/// is settled once for each link, as it arrives, and goes with it.
class AppDelegate : public QObject
{
    Q_OBJECT
public:
    /// How long after launch the settings open by themselves, unless a link came.
    static constexpr int settingsCheckDelayMs = 300;

    /// Where routing and launch hand over. The defaults are the shared picker
    /// and settings windows, and the notice of a link that could not be
    /// opened; tests put in their own.
    struct Windows
    {
        std::function<void(const QString& url, const ChromeInstallation& browser,
                           const QList<ChromeProfile>& profiles, const QString& activationToken)>
            showPicker;
        std::function<void(const QString& activationToken)> showSettings;
        ChromeLauncher::FailureHandler showNotOpened;
    };

    explicit AppDelegate(QObject* parent = nullptr);
    AppDelegate(Windows windows, QObject* parent = nullptr);
    ~AppDelegate() override;

    /// Installs the tray item and schedules the settings check; the settings
    /// then come up with `launchToken`, the token Orlim itself was started with.
    void applicationDidFinishLaunching(const QString& launchToken = {});
    /// Orlim was started again without a link: shows the settings.
    bool applicationShouldHandleReopen(const QString& activationToken = {});
    /// Routes `urls` one by one, in order. `activationToken` comes from the
    /// program they were clicked in, for the window or Chrome they bring up;
    /// when none of Orlim's windows comes up, the start-up it announced ends.
    void openURLs(const QStringList& urls, const QString& activationToken = {});

    bool didReceiveURL() const { return m_didReceiveURL; }

private:
    /// Whether the picker came up for the link.
    bool handleIncoming(const QString& urlString, const QString& activationToken);

    Windows m_windows;
    std::unique_ptr<MenuBarController> m_menuBar;
    bool m_didReceiveURL = false;
    QString m_launchToken;
};
