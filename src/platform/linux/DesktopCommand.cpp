// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/DesktopCommand.h"

#include <optional>

namespace DesktopCommand {
namespace {

/// `argument` with its field codes removed; nothing when it held only those.
std::optional<QString> expand(const QString& argument)
{
    QString out;
    bool hadCode = false;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        if (argument.at(i) != u'%' || i + 1 == argument.size()) {
            out += argument.at(i);
        } else if (argument.at(++i) == u'%') {
            out += u'%';
        } else {
            hadCode = true;
        }
    }
    if (hadCode && out.isEmpty())
        return std::nullopt;
    return out;
}

bool opensForwarding(const QString& argument)
{
    return argument == u"@@" || argument == u"@@u";
}

} // namespace

QStringList withoutFieldCodes(const QStringList& arguments)
{
    QStringList out;
    for (const QString& argument : arguments) {
        const auto expanded = expand(argument);
        if (!expanded)
            continue;
        if (*expanded == u"@@" && !out.isEmpty() && opensForwarding(out.last())) {
            out.removeLast();
            continue;
        }
        out.append(*expanded);
    }
    return out;
}

} // namespace DesktopCommand
