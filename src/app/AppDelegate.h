// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class LinkRouter;
class MenuBarController;
class Scheduler;

/// The application's launch-time duties: the tray item, the settings shown
/// when Orlim was started without a link or started again, and every link
/// handed to the router.
class AppDelegate : public QObject
{
    Q_OBJECT
public:
    /// How long after launch the settings open by themselves, unless a link came.
    static constexpr int settingsCheckDelayMs = 300;

    /// `showSettings` brings up the settings with the activation token given.
    AppDelegate(LinkRouter& router, MenuBarController& tray,
                std::function<void(const QString&)> showSettings, Scheduler& scheduler,
                QObject* parent = nullptr);
    ~AppDelegate() override;

    /// Installs the tray item and schedules the settings check; the settings
    /// then come up with `launchToken`, the token Orlim itself was started with.
    void applicationDidFinishLaunching(const QString& launchToken = {});
    /// Orlim was started again without a link: shows the settings.
    bool applicationShouldHandleReopen(const QString& activationToken = {});
    /// Hands `urls` to the router, with the token of the program they were
    /// clicked in.
    void openURLs(const QStringList& urls, const QString& activationToken = {});

    bool didReceiveURL() const { return m_didReceiveURL; }

private:
    LinkRouter& m_router;
    std::function<void(const QString&)> m_showSettings;
    Scheduler& m_scheduler;
    MenuBarController& m_tray;
    bool m_didReceiveURL = false;
    QString m_launchToken;
};
