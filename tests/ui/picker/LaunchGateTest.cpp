// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/LaunchGate.h"

#include "FakePlatform.h"

namespace {

/// A gate on the fake clock, with a log of what it did: "start", or
/// "overtaken" by a new link, and "hide" when the picker went; "|" marks where
/// the case stopped acting and the gate was left to itself.
struct Gate
{
    FakePlatform platform;
    QStringList log;
    bool token = true;
    bool active = true;
    bool keysHeld = false;
    LaunchGate gate{{[this](bool overtaken) {
                         log.append(overtaken ? u"overtaken"_s : u"start"_s);
                         return token;
                     },
                     [this] { log.append(u"hide"_s); }, [this] { return active; },
                     [this] { return keysHeld; }},
                    platform.scheduler};

    void settle()
    {
        gate.focusMoved();
        platform.scheduler.advance(LaunchGate::settleMs);
    }
    void mark() { log.append(u"|"_s); }
};

} // namespace

// Each path through the gate, one fresh gate per case.
TEST(LaunchGate, WaitsHoldsAndEnds)
{
    constexpr int settle = LaunchGate::settleMs;
    const struct
    {
        const char* what;
        std::function<void(Gate&)> steps;
        const char16_t* log;
    } cases[] = {
        {"Wayland: not before every key is up; held until the browser has the keyboard",
         [](Gate& g) {
             g.settle();
             g.keysHeld = true;
             g.gate.choose(true, true);
             g.platform.scheduler.advance(settle);
             g.mark();
             g.keysHeld = false;
             g.gate.keysReleased();
             EXPECT_TRUE(g.gate.refusesInput());
             g.gate.deactivated();
             g.mark();
         },
         u"| start hide |"},
        {"nor before the focus has settled",
         [](Gate& g) {
             g.gate.focusMoved();
             g.gate.choose(true, true);
             g.platform.scheduler.advance(settle - 1);
             g.mark();
         },
         u"| start hide"},
        {"nor while the picker is not active",
         [](Gate& g) {
             g.active = false;
             g.settle();
             g.gate.choose(true, true);
             g.platform.scheduler.advance(settle);
             g.mark();
             g.active = true;
             g.settle();
             g.gate.deactivated();
         },
         u"| start hide"},
        {"a key never released starts the choice at the bound",
         [](Gate& g) {
             g.settle();
             g.keysHeld = true;
             g.gate.choose(true, true);
             g.platform.scheduler.advance(LaunchGate::holdMs - 1);
             g.mark();
         },
         u"| start hide"},
        {"no token on Wayland: nothing to wait for",
         [](Gate& g) {
             g.token = false;
             g.settle();
             g.gate.choose(true, true);
             g.mark();
         },
         u"start hide |"},
        {"X11: at once, held until the browser is active or the bound",
         [](Gate& g) {
             g.gate.choose(false, true);
             g.mark();
         },
         u"start | hide"},
        {"a new link: a waiting choice goes out overtaken, once, and nothing is held",
         [](Gate& g) {
             g.settle();
             g.keysHeld = true;
             g.gate.choose(true, true);
             g.gate.reset();
             EXPECT_FALSE(g.gate.refusesInput());
         },
         u"overtaken"},
        {"elsewhere (offscreen): at once, and gone", [](Gate& g) { g.gate.choose(false, false); },
         u"start hide"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Gate g;
        c.steps(g);
        g.platform.scheduler.runAll();
        EXPECT_EQ(g.log.join(u' '), QString::fromUtf16(c.log));
    }
}
