// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/ArgumentWalk.h"

ArgumentWalk::Kind ArgumentWalk::next(std::string_view argument)
{
    if (m_optionsEnded || !argument.starts_with('-'))
        return Kind::Link;
    if (argument == "--") {
        m_optionsEnded = true;
        return Kind::EndOfOptions;
    }
    return Kind::Option;
}
