// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/LaunchGate.h"

#include "FakePlatform.h"

// Each path through the gate, on the fake clock: what it started ("start", or
// "overtaken" by a new link) and when the picker went ("hide"), with "|"
// where the test acted after the gate had done what it does by itself.
TEST(LaunchGate, WaitsHoldsAndEnds)
{
    FakePlatform platform;
    QStringList log;
    bool token = true;
    bool active = true;
    LaunchGate gate({[&](bool overtaken) {
                         log.append(overtaken ? u"overtaken"_s : u"start"_s);
                         return token;
                     },
                     [&] { log.append(u"hide"_s); }, [&] { return active; }},
                    platform.scheduler);
    const auto after = [&](const std::function<void()>& steps) {
        log.clear();
        steps();
        platform.scheduler.runAll();
        return log.join(u' ');
    };
    const auto mark = [&] { log.append(u"|"_s); };
    const int settle = LaunchGate::settleMs;
    // Wayland: not before every key is up and the focus has settled; then held
    // until the browser has the keyboard.
    EXPECT_EQ(after([&] {
                  gate.focusMoved();
                  gate.keyPressed(10);
                  gate.choose(true, true);
                  platform.scheduler.advance(settle);
                  mark();
                  gate.keyReleased(10);
                  EXPECT_TRUE(gate.refusesInput());
                  gate.deactivated();
              }),
              u"| start hide"_s);
    // Nor before the focus has settled, nor while the picker is not active.
    EXPECT_EQ(after([&] {
                  gate.focusMoved();
                  gate.choose(true, true);
                  platform.scheduler.advance(settle - 1);
                  mark();
              }),
              u"| start hide"_s);
    EXPECT_EQ(after([&] {
                  active = false;
                  gate.choose(true, true);
                  platform.scheduler.advance(settle);
                  mark();
                  active = true;
                  gate.focusMoved();
                  platform.scheduler.advance(settle);
                  gate.deactivated();
              }),
              u"| start hide"_s);
    // A key released in another window is forgotten with the keyboard; one
    // never released starts the choice at the bound.
    EXPECT_EQ(after([&] {
                  gate.keyPressed(38);
                  gate.deactivated();
                  gate.keyPressed(10);
                  gate.choose(true, true);
                  platform.scheduler.advance(LaunchGate::holdMs - 1);
                  mark();
              }),
              u"| start hide"_s);
    // No token on Wayland: nothing to wait for.
    token = false;
    gate.keyReleased(10);
    EXPECT_EQ(after([&] {
                  gate.choose(true, true);
                  mark();
              }),
              u"start hide |"_s);
    // X11: at once, held until the browser is active or the bound.
    EXPECT_EQ(after([&] {
                  gate.choose(false, true);
                  mark();
              }),
              u"start | hide"_s);
    // A new link: a waiting choice goes out overtaken, once, and nothing is
    // held for it.
    EXPECT_EQ(after([&] {
                  gate.keyPressed(11);
                  gate.choose(true, true);
                  gate.reset();
                  EXPECT_FALSE(gate.refusesInput());
              }),
              u"overtaken"_s);
    // Elsewhere (offscreen): at once, and gone.
    EXPECT_EQ(after([&] { gate.choose(false, false); }), u"start hide"_s);
}
