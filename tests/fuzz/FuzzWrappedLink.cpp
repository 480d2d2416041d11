// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a link: unwrapping never fails, and answers either the link
// exactly as given, or a shorter http or https destination named by a service.
#include "text/ArgumentText.h"
#include "text/WrappedLink.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString given =
        ArgumentText::fromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const WrappedLink link = WrappedLink::read(given);
    if (link.given != given || link.opened() != given)
        __builtin_trap();
    if (!link.wrapped()) {
        if (link.destination != given || !link.host.isEmpty())
            __builtin_trap();
        return 0;
    }
    const bool web = link.destination.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
                     link.destination.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
    if (!web || link.host.isEmpty() || link.destination.size() >= given.size())
        __builtin_trap();
    return 0;
}
