// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class Scheduler;

/// When the picker's choice may start the browser, and when the picker may go.
///
///   idle --choose--> waiting --ready--> holding --browser active, or bound--> idle
///
/// idle     No choice. The focus is tracked; the keys held are the picker's
///          input's (`PickerInput`), asked through `keysHeld`.
/// waiting  A choice made, not yet started. Where the desktop's token is good
///          only while the picker has the keyboard (Wayland), it waits until
///          no key pressed in the picker is still down, the focus has not
///          moved for `settleMs` and the picker is active: Qt makes a token of
///          its own on every focus change, and the compositor refuses a token
///          older than the user's last input. Elsewhere it starts at once.
/// holding  Started. The picker stays up, taking no input, until the browser
///          takes the keyboard (`deactivated()`), so that keys typed meanwhile
///          reach the browser. Where the desktop asks for no such wait, or
///          Wayland gave no token, the picker goes at once instead.
///
/// Waiting and holding both end `holdMs` after the choice at the latest: a
/// choice still waiting (a key never released) starts then, and the picker
/// goes. A new link (`reset()`) in any state starts a waiting choice at once,
/// overtaken (without a token, left where it is), and the gate is idle again.
/// Input is refused whenever the gate is not idle.
class LaunchGate : public QObject
{
    Q_OBJECT
public:
    static constexpr int holdMs = 3000;
    static constexpr int settleMs = 150;

    struct Hooks
    {
        /// Starts the choice; returns whether a token went with it.
        std::function<bool(bool overtaken)> launch;
        /// Takes the picker off the screen.
        std::function<void()> hide;
        /// Whether the picker is the active window.
        std::function<bool()> active;
        /// Whether a key pressed in the picker is still down.
        std::function<bool()> keysHeld;
    };

    /// Times the settling and the hold on `scheduler`.
    LaunchGate(Hooks hooks, Scheduler& scheduler, QObject* parent = nullptr);

    /// A choice was made. `waitsForToken`: the desktop's token is good only
    /// while the picker has the keyboard; `holds`: the picker stays up for the
    /// started browser.
    void choose(bool waitsForToken, bool holds);
    /// A new link took the picker.
    void reset();
    /// The picker went (cancelled, or hidden): nothing is waited for.
    void cancel();

    /// The last key held in the picker came up.
    void keysReleased() { launchIfReady(); }
    void focusMoved();
    void deactivated();

    bool refusesInput() const { return m_state != State::Idle; }

private:
    enum class State { Idle, Waiting, Holding };

    void launchIfReady();
    void start(bool overtaken);
    void end();

    Hooks m_hooks;
    Scheduler& m_scheduler;
    State m_state = State::Idle;
    bool m_waitsForToken = false;
    bool m_holds = false;
    bool m_settled = false;
    int m_focusMoves = 0;
    int m_choices = 0;
};
