// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/LaunchGate.h"

#include "FakePlatform.h"

#include <map>

namespace {

/// Runs a fresh gate on the fake clock through `script`, one step a letter, then
/// leaves it to itself; returns its log: "start", or "overtaken" by a new link,
/// "hide" when the picker went, "refuses"/"takes" for input asked with R, and
/// "|" where the script put it.
QString run(std::string_view script)
{
    FakeScheduler scheduler;
    QStringList log;
    bool token = true, active = true, keysHeld = false;
    LaunchGate gate{{[&](bool overtaken) {
                         log.append(overtaken ? u"overtaken"_s : u"start"_s);
                         return token;
                     },
                     [&] { log.append(u"hide"_s); }, [&] { return active; },
                     [&] { return keysHeld; }},
                    scheduler};
    const auto wait = [&](int ms) { return [&scheduler, ms] { scheduler.advance(ms); }; };
    // f focus moved, S/s the settle time or 1 ms short of it, H 1 ms short of the hold,
    // W/X choose on Wayland/X11, K/k a key held/released, a the picker (in)active,
    // t no token, d deactivated, r a new link.
    const std::map<char, std::function<void()>> steps{
        {'f', [&] { gate.focusMoved(); }},
        {'S', wait(LaunchGate::settleMs)},
        {'s', wait(LaunchGate::settleMs - 1)},
        {'H', wait(LaunchGate::holdMs - 1)},
        {'W', [&] { gate.choose(true, true); }},
        {'X', [&] { gate.choose(false, true); }},
        {'K', [&] { keysHeld = true; }},
        {'k', [&] { keysHeld = false, gate.keysReleased(); }},
        {'a', [&] { active = !active; }},
        {'t', [&] { token = false; }},
        {'d', [&] { gate.deactivated(); }},
        {'r', [&] { gate.reset(); }},
        {'R', [&] { log.append(gate.refusesInput() ? u"refuses"_s : u"takes"_s); }},
        {'|', [&] { log.append(u"|"_s); }}};
    for (const char step : script)
        steps.at(step)();
    scheduler.runAll();
    return log.join(u' ');
}

} // namespace

// Each path through the gate.
TEST(LaunchGate, WaitsHoldsAndEnds)
{
    // What, the script, the log.
    const char* const cases[][3] = {
        {"Wayland: not before every key is up; held until the browser has the keyboard",
         "fSKWS|kRd|", "| start refuses hide |"},
        {"nor before the focus has settled", "fWs|", "| start hide"},
        {"nor while the picker is not active", "afSWS|afSd", "| start hide"},
        {"a key never released starts the choice at the bound", "fSKWH|", "| start hide"},
        {"no token on Wayland: nothing to wait for", "tfSW|", "start hide |"},
        {"X11: at once, held until the browser is active or the bound", "X|", "start | hide"},
        {"a new link: a waiting choice goes out overtaken, once, and nothing is held", "fSKWrR",
         "overtaken takes"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c[1]), QString::fromUtf8(c[2])) << c[0];
}
