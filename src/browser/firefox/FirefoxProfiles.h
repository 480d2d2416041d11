// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/ChromeProfile.h"

#include <QByteArray>

/// Firefox's profile catalogue, read from "profiles.ini" and the profile
/// manager's store beside it. Orlim only reads them; it never writes or locks
/// them. A profile's `directoryName` is its folder's absolute path, which
/// Firefox's `--profile` takes.
namespace FirefoxProfiles {

/// The "profiles.ini" file inside `dataDirectory`.
QString profilesIniURL(const QString& dataDirectory);

/// Reads the catalogue kept in `dataDirectory` afresh. Never fails: an
/// unreadable file gives the empty catalogue, a section that names no folder
/// is left out, and a store that cannot be read leaves its group as
/// "profiles.ini" lists it.
ChromeProfileInfo load(const QString& dataDirectory);

/// The catalogue held in `profilesIni` (the file's bytes), with folders and
/// the profile manager's stores below `dataDirectory`.
ChromeProfileInfo parse(const QByteArray& profilesIni, const QString& dataDirectory);

} // namespace FirefoxProfiles
