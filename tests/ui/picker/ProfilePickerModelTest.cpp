// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/ProfilePickerModel.h"

#include "rules/FeatureFlags.h"

#include "FakePlatform.h"

// A digit past the last row and Return on an empty list choose nothing; only
// rows 1-9 carry numbers. Only rules builds offer to remember the link's site;
// an edited site is kept when the picker appears again.
TEST(ProfilePickerModel, EdgesAndTheSiteToRemember)
{
    int chosen = 0;
    const auto choose = [&](const ChromeInstallation&, const ChromeProfile&,
                            const std::optional<QString>&,
                            ProfilePickerModel::Manner) { ++chosen; };
    ProfilePickerModel empty(u"x"_s, {}, choose, [](bool) {});
    EXPECT_TRUE(empty.handleKey(ProfilePickerModel::Key::Return)) << "consumed";
    ProfilePickerModel model(u"https://Mail.Example.com:8443/inbox"_s, oneBrowser(profiles(3)),
                             choose, [](bool) {});
    EXPECT_FALSE(model.handleKey(ProfilePickerModel::Key::Digit, 4));
    EXPECT_EQ(chosen, 0);
    model.moveSelection(2);
    model.moveSelection(1);
    EXPECT_EQ(model.selectedIndex(), 2) << "no wrap-around at the last row";
    EXPECT_EQ(model.rememberSectionShown(), FeatureFlags::rulesEnabled);
    model.setRememberPrefix(u"https://Mail.Example.com/edited"_s);
    model.appear();
    EXPECT_EQ(model.rememberPrefix(), u"https://Mail.Example.com/edited"_s) << "kept";
}
