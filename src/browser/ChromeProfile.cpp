// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/ChromeProfile.h"

#include "text/CanonicalText.h"

bool operator==(const ChromeProfile& a, const ChromeProfile& b)
{
    return CanonicalText::equal(a.directoryName, b.directoryName) &&
           CanonicalText::equal(a.displayName, b.displayName) && a.pictureURL == b.pictureURL &&
           a.fillColor == b.fillColor && a.strokeColor == b.strokeColor;
}
