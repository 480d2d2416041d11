// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

/// How Orlim reads its command line, one argument after another, for both of
/// its programs: every argument after "--", and every one that does not begin
/// with "-", is a link; the others are options, and "--" itself is neither.
class ArgumentWalk
{
public:
    enum class Kind { Link, Option, EndOfOptions };

    /// What `argument`, the next one, is. Only its first three characters
    /// decide, so a caller may pass no more than those.
    Kind next(std::string_view argument);

private:
    bool m_optionsEnded = false;
};
