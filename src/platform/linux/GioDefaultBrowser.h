// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DefaultBrowser.h"

class Scheduler;

/// Default handlers for x-scheme-handler/<scheme> MIME types, as GIO reads and
/// writes them in mimeapps.list.
class GioDefaultBrowser final : public DefaultBrowser
{
public:
    explicit GioDefaultBrowser(Scheduler& scheduler) : m_scheduler(scheduler) {}

    void setHandler(const QString& type, const QString& desktopId,
                    std::function<void()> done) override;
    std::optional<QString> handler(const QString& scheme) const override;

private:
    Scheduler& m_scheduler;
};
