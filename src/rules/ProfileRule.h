// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

/// Links that begin with `prefix` open in the Chrome profile `profileDirectory`.
struct ProfileRule
{
    QString prefix;
    QString profileDirectory;

    friend bool operator==(const ProfileRule& a, const ProfileRule& b);
};

using ProfileRules = QList<ProfileRule>;
