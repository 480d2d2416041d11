// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/ProfileRule.h"

#include "text/CanonicalText.h"

bool operator==(const ProfileRule& a, const ProfileRule& b)
{
    return CanonicalText::equal(a.prefix, b.prefix) &&
           CanonicalText::equal(a.profileDirectory, b.profileDirectory) && a.browser == b.browser;
}
