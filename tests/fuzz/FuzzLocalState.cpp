// SPDX-License-Identifier: GPL-3.0-or-later
// Chrome's "Local State" as any program that can write the user's files might
// leave it: the catalogue must come back (possibly empty), never crash.
#include "browser/ChromeProfiles.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ChromeProfileInfo info = ChromeProfiles::parse(bytes, QStringLiteral("/nonexistent"));
    for (const ChromeProfile& profile : info.profiles) {
        // Pictures are only named when the file exists; nothing exists here.
        if (profile.pictureURL)
            __builtin_trap();
    }
    return 0;
}
