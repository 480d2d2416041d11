// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

/// Links that begin with `prefix` open in the profile `profileDirectory` of
/// the browser whose desktop-file ID is `browser`. A rule written before rules
/// named a browser has none until the store fills in the one served.
struct ProfileRule
{
    QString prefix;
    QString profileDirectory;
    QString browser = {};

    friend bool operator==(const ProfileRule& a, const ProfileRule& b);
};

using ProfileRules = QList<ProfileRule>;
