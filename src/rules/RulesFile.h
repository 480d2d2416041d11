// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rules/ProfileRule.h"

#include <QByteArray>
#include <optional>

/// The "rules.json" format: a JSON array of {"browser", "prefix",
/// "profileDirectory"} objects, in priority order. "browser" (a desktop-file
/// ID) is absent from files written before rules named a browser.
namespace RulesFile {

/// The file's bytes for `rules`: pretty-printed with two-space indentation,
/// `"key" : value`, keys sorted, "/" written as "\/", non-ASCII as raw UTF-8,
/// and no line break after the closing bracket.
QByteArray encode(const ProfileRules& rules);

/// The rules in `bytes`, or nothing when the text is not a JSON array of
/// objects that each hold both members as strings of whole Unicode characters
/// (and "browser", where present, as a string).
/// Never a partial list.
std::optional<ProfileRules> decode(const QByteArray& bytes);

} // namespace RulesFile
