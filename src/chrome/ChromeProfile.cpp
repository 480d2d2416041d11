// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/ChromeProfile.h"

#include "chrome/CanonicalText.h"

#include <QHashFunctions>

bool operator==(const ChromeProfile& a, const ChromeProfile& b)
{
    return CanonicalText::equal(a.directoryName, b.directoryName) &&
           CanonicalText::equal(a.displayName, b.displayName) && a.pictureURL == b.pictureURL &&
           a.fillColor == b.fillColor && a.strokeColor == b.strokeColor;
}

size_t qHash(const ChromeProfile& profile, size_t seed)
{
    QtPrivate::QHashCombine combine;
    seed = combine(seed, CanonicalText::hash(profile.directoryName));
    seed = combine(seed, CanonicalText::hash(profile.displayName));
    seed = combine(seed, profile.pictureURL ? qHash(*profile.pictureURL) : size_t(0));
    seed = combine(seed, profile.fillColor ? qHash(*profile.fillColor) : size_t(0));
    seed = combine(seed, profile.strokeColor ? qHash(*profile.strokeColor) : size_t(0));
    return seed;
}
