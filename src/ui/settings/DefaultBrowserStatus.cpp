// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/DefaultBrowserStatus.h"

#include "actions/AppActions.h"
#include "platform/Scheduler.h"

#include <QPointer>

DefaultBrowserStatus::DefaultBrowserStatus(DefaultBrowser& browser, Scheduler& scheduler,
                                           QObject* parent)
    : QObject(parent), m_browser(browser), m_scheduler(scheduler)
{
}

void DefaultBrowserStatus::refresh()
{
    const bool isDefault = AppActions::isDefaultBrowser(m_browser);
    const bool changedValue = isDefault != m_isDefaultBrowser;
    m_isDefaultBrowser = isDefault;
    if (changedValue)
        Q_EMIT changed(isDefault);
}

void DefaultBrowserStatus::poll(int remaining)
{
    refresh();
    if (m_isDefaultBrowser || remaining < 1)
        return;
    m_scheduler.schedule(std::chrono::milliseconds(followUpIntervalMs), this,
                         [this, remaining] { poll(remaining - 1); });
}

void DefaultBrowserStatus::makeDefault()
{
    QPointer<DefaultBrowserStatus> self(this);
    AppActions::setAsDefaultBrowser(m_browser, [self] {
        if (self)
            self->poll(followUpCount);
    });
}
