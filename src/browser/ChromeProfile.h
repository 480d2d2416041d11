// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

/// One profile as its browser's catalogue lists it; named for Chrome, it serves
/// every browser Orlim opens links in.
struct ChromeProfile
{
    QString directoryName;             // the profile's folder name; its identity
    QString displayName;               // the name shown to the user
    std::optional<QUrl> pictureURL;    // the profile picture, when the file existed
    std::optional<qint64> fillColor;   // packed ARGB fill of the letter avatar
    std::optional<qint64> strokeColor; // packed ARGB ring and letter colour

    friend bool operator==(const ChromeProfile& a, const ChromeProfile& b);
};

/// The result of one catalogue load. Every kind of read failure gives the empty
/// catalogue.
struct ChromeProfileInfo
{
    QList<ChromeProfile> profiles;
    std::optional<QString> lastUsedDirectory;
};
