// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a link, as any program may open anything: Chrome's command line
// must carry exactly those bytes as its last argument, and no argument before
// it may be read as a switch other than the profile's, and a desktop entry's
// command takes them unchanged. Bytes that are UTF-8 read as their text (the
// picker shows it).
#include "browser/ChromeLauncher.h"
#include "text/ArgumentText.h"
#include "text/DesktopCommand.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString link = ArgumentText::fromBytes(bytes);
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() == bytes && link != text)
        __builtin_trap();
    const QStringList arguments = ChromeLauncher::arguments(link, QStringLiteral("Default"));
    if (ArgumentText::toBytes(arguments.last()) != bytes)
        __builtin_trap();
    if (arguments.first() != u"--profile-directory=Default")
        __builtin_trap();
    // A link Chrome could take for a switch comes after "--".
    const bool guarded = arguments.size() == 3 && arguments.at(1) == u"--";
    if (!guarded && (arguments.size() != 2 || bytes.trimmed().startsWith('-')))
        __builtin_trap();
    // The browser's entry puts them where it takes its link, unchanged.
    const auto command = DesktopCommand::expand(
        {QStringLiteral("env A=%%b \"/opt/My Browser/chrome\" --x %U --y"), {}, {}, {}}, arguments);
    if (!command || command->mid(4, arguments.size()) != arguments)
        __builtin_trap();
    return 0;
}
