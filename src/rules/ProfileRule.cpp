// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/ProfileRule.h"

#include "chrome/CanonicalText.h"

#include <QHashFunctions>

bool operator==(const ProfileRule& a, const ProfileRule& b)
{
    return CanonicalText::equal(a.prefix, b.prefix) &&
           CanonicalText::equal(a.profileDirectory, b.profileDirectory);
}

size_t qHash(const ProfileRule& rule, size_t seed)
{
    QtPrivate::QHashCombine combine;
    seed = combine(seed, CanonicalText::hash(rule.prefix));
    return combine(seed, CanonicalText::hash(rule.profileDirectory));
}
