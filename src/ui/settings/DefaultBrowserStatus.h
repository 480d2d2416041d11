// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class DefaultBrowser;
class Scheduler;

/// Whether the desktop opens web links with Orlim, and the follow-up after the
/// user asks to make it so: the status is read again every half second, at most
/// nine times, until it reads true.
class DefaultBrowserStatus : public QObject
{
    Q_OBJECT
public:
    static constexpr int followUpCount = 8;
    static constexpr int followUpIntervalMs = 500;

    /// Reads `browser`'s handlers; `scheduler` times the follow-up.
    DefaultBrowserStatus(DefaultBrowser& browser, Scheduler& scheduler, QObject* parent = nullptr);

    bool isDefaultBrowser() const { return m_isDefaultBrowser; }

    /// Reads the status now (AppActions::isDefaultBrowser).
    void refresh();
    /// Reads the status; unless it is true or `remaining` is below 1, reads it
    /// again after the interval with `remaining` - 1. Tasks are tied to this
    /// object and end with it.
    void poll(int remaining);
    /// Asks the desktop to make Orlim the browser, then follows the change.
    void makeDefault();

Q_SIGNALS:
    void changed(bool isDefaultBrowser);

private:
    DefaultBrowser& m_browser;
    Scheduler& m_scheduler;
    bool m_isDefaultBrowser = false;
};
