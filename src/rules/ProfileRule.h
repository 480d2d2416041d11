// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

/// Links that begin with `prefix` open in the Chrome profile `profileDirectory`.
struct ProfileRule
{
    QString prefix;
    QString profileDirectory;

    const QString& id() const { return prefix; }

    friend bool operator==(const ProfileRule& a, const ProfileRule& b);
};

size_t qHash(const ProfileRule& rule, size_t seed = 0);

using ProfileRules = QList<ProfileRule>;
