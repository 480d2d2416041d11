// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/BrowserInstallation.h"
#include "browser/ChromeProfile.h"

#include <QByteArray>

/// Chrome's profile catalogue, read from Chrome's "Local State" file; named for
/// Chrome, it reads every browser's (Firefox's through `FirefoxProfiles`). Orlim
/// only reads those files; it never writes or locks them.
namespace ChromeProfiles {

/// The "Local State" file inside `chromeDirectory`.
QString localStateURL(const QString& chromeDirectory);

/// Reads `browser`'s "Local State" (Firefox's catalogue for a browser of
/// that family, `FirefoxProfiles`) afresh and returns the profiles in the
/// browser's order. Never fails: an unreadable or malformed file gives the
/// empty catalogue, and a bad field of one entry gives that field's fallback.
ChromeProfileInfo load(const BrowserInstallation& browser);

/// One browser's profiles, as a picker of several browsers groups them.
struct BrowserProfiles
{
    BrowserInstallation browser;
    QList<ChromeProfile> profiles; // empty: the browser opens links in its default
};

/// Each of `browsers`' catalogue, read afresh, in their order.
QList<BrowserProfiles> loadAll(const QList<BrowserInstallation>& browsers);

/// The catalogue held in `localState` (the file's bytes), with picture files
/// looked up below `chromeDirectory`.
ChromeProfileInfo parse(const QByteArray& localState, const QString& chromeDirectory);

} // namespace ChromeProfiles
