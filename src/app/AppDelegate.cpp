// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppDelegate.h"

#include "app/LinkRouter.h"
#include "platform/Scheduler.h"
#include "ui/tray/MenuBarController.h"

AppDelegate::AppDelegate(LinkRouter& router, MenuBarController& tray,
                         std::function<void(const QString&)> showSettings, Scheduler& scheduler,
                         QObject* parent)
    : QObject(parent), m_router(router), m_showSettings(std::move(showSettings)),
      m_scheduler(scheduler), m_tray(tray)
{
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching(const QString& launchToken)
{
    m_launchToken = launchToken;
    m_tray.install();
    m_scheduler.schedule(std::chrono::milliseconds(settingsCheckDelayMs), this, [this] {
        if (!m_didReceiveURL)
            m_showSettings(m_launchToken);
    });
}

bool AppDelegate::applicationShouldHandleReopen(const QString& activationToken)
{
    m_showSettings(activationToken);
    return true;
}

void AppDelegate::openURLs(const QStringList& urls, const QString& activationToken)
{
    m_didReceiveURL |= !urls.isEmpty();
    m_router.route(urls, activationToken);
}
