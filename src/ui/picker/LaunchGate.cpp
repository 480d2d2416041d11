// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/LaunchGate.h"

#include "platform/Scheduler.h"

LaunchGate::LaunchGate(Hooks hooks, Scheduler& scheduler, QObject* parent)
    : QObject(parent), m_hooks(std::move(hooks)), m_scheduler(scheduler)
{
}

void LaunchGate::choose(bool waitsForToken, bool holds)
{
    m_waitsForToken = waitsForToken;
    m_holds = holds;
    m_state = State::Waiting;
    if (holds) {
        m_scheduler.schedule(std::chrono::milliseconds(holdMs), this, [this, choice = ++m_choices] {
            if (choice != m_choices || m_state == State::Idle)
                return;
            if (m_state == State::Waiting)
                start(false);
            if (m_state != State::Idle)
                end();
        });
    }
    if (waitsForToken)
        launchIfReady();
    else
        start(false);
}

void LaunchGate::reset()
{
    if (m_state == State::Waiting)
        start(true);
    m_state = State::Idle;
    ++m_choices;
}

void LaunchGate::cancel()
{
    m_state = State::Idle;
    ++m_choices;
}

void LaunchGate::focusMoved()
{
    m_settled = false;
    m_scheduler.schedule(std::chrono::milliseconds(settleMs), this, [this, move = ++m_focusMoves] {
        if (move != m_focusMoves)
            return;
        m_settled = true;
        launchIfReady();
    });
}

void LaunchGate::deactivated()
{
    if (m_state == State::Holding)
        end();
}

void LaunchGate::launchIfReady()
{
    if (m_state == State::Waiting && m_settled && !m_hooks.keysHeld() && m_hooks.active())
        start(false);
}

void LaunchGate::start(bool overtaken)
{
    const bool withToken = m_hooks.launch(overtaken);
    if (overtaken)
        return;
    // Without a token no compositor hands the browser the keyboard: waiting
    // for it would only keep the picker in the way.
    if (!m_holds || (!withToken && m_waitsForToken))
        end();
    else
        m_state = State::Holding;
}

void LaunchGate::end()
{
    cancel();
    m_hooks.hide();
}
