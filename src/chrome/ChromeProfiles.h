#pragma once

#include "chrome/ChromeProfile.h"

#include <QByteArray>

/// Chrome's profile catalogue, read from Chrome's "Local State" file. Orlim only
/// reads that file; it never writes or locks it.
namespace ChromeProfiles {

/// Chrome's data directory for the current user.
QString chromeDirectory();
/// The "Local State" file inside it.
QString localStateURL();

/// Reads "Local State" afresh and returns the profiles in Chrome's order. Never
/// fails: an unreadable or malformed file gives the empty catalogue, and a bad
/// field of one entry gives that field's fallback.
ChromeProfileInfo load();

/// The catalogue held in `localState` (the file's bytes), with picture files
/// looked up below `chromeDirectory`.
ChromeProfileInfo parse(const QByteArray& localState, const QString& chromeDirectory);

} // namespace ChromeProfiles
