#include "chrome/ChromeProfiles.h"
#include "FakePlatform.h"
#include <gtest/gtest.h>
TEST(ChromeProfiles, Smoke) { FakePlatform p; EXPECT_TRUE(ChromeProfiles::load().profiles.isEmpty()); }
