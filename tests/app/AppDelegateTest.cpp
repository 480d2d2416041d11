// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppDelegate.h"
#include "app/LinkRouter.h"
#include "ui/picker/PickerWindowController.h"
#include "ui/tray/MenuBarController.h"

#include "FakePlatform.h"

// The settings open 0.3 s after a launch without a link, never after one with
// a link, and on every reopen; the check does nothing once the delegate is gone.
TEST(AppDelegate, SettingsCheck)
{
    FakePlatform platform;
    QStringList shown;
    FakeNotOpened notOpened;
    PickerWindowController picker(platform.launcher, platform.rules, notOpened,
                                  {platform.windowActivation}, platform.scheduler);
    LinkRouter router(picker, notOpened, LinkRouter::browsersShown(platform.browsers),
                      platform.launcher, platform.rules, platform.windowActivation);
    MenuBarController tray({}, platform.defaultBrowser, Desktop::Other);
    const auto settings = [&](const QString& token) { shown.append(u"settings " + token); };
    {
        AppDelegate delegate(router, tray, settings, platform.scheduler);
        delegate.applicationDidFinishLaunching(u"started"_s);
        platform.scheduler.advance(299);
        EXPECT_TRUE(shown.isEmpty());
        platform.scheduler.advance(1);
        delegate.applicationDidFinishLaunching();
    }
    platform.scheduler.runAll();
    AppDelegate delegate(router, tray, settings, platform.scheduler);
    delegate.openURLs({u"https://early"_s});
    delegate.applicationDidFinishLaunching();
    platform.scheduler.runAll();
    delegate.applicationShouldHandleReopen(u"again"_s);
    EXPECT_EQ(shown, (QStringList{u"settings started"_s, u"settings again"_s}));
}
