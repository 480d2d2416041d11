// SPDX-License-Identifier: GPL-3.0-or-later
// Firefox's "profiles.ini" as any program that can write the user's files might
// leave it: the catalogue must come back (possibly empty), never crash, and
// every profile it names is a folder Firefox can be handed.
#include "browser/firefox/FirefoxProfiles.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ChromeProfileInfo info = FirefoxProfiles::parse(bytes, QStringLiteral("/nonexistent"));
    for (const ChromeProfile& profile : info.profiles) {
        // `--profile` takes an absolute path, never one read as a switch.
        if (!profile.directoryName.startsWith(u'/'))
            __builtin_trap();
    }
    return 0;
}
