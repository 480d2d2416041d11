// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <optional>

/// A desktop entry's Exec line made into the command that opens something,
/// as the Desktop Entry Specification says. Users edit these lines (an `env`
/// prefix, flags of their own, a path with spaces), so the whole line is the
/// command, never just its first word.
namespace DesktopCommand {

/// What an entry's field codes stand for, besides what it opens.
struct Entry
{
    QString exec; // the Exec value, as the key file holds it once unescaped
    QString icon; // its Icon; empty when it has none
    QString name; // its Name, in the user's language
    QString path; // the entry's own file
};

/// The words of an Exec value: separated by unquoted blanks; within double
/// quotes, a backslash takes the next of " ` $ \ literally. Single quotes and
/// an unquoted backslash are read as a shell would (GLib launches such
/// entries too). Nothing when a quote is left open or there is no word.
std::optional<QStringList> split(const QString& exec);

/// The program and its arguments that open what `opening` holds (for a
/// browser: its switches, then the link). Those arguments take the place of
/// the first %u, %U, %f or %F, each one argument, never split or expanded;
/// they are appended when the line has no such code. %i gives "--icon" and the
/// icon (nothing without one), %c the name, %k the entry's path, %% a percent
/// sign; deprecated and unknown codes are dropped, as are later link codes,
/// and flatpak's file-forwarding markers around the link. Nothing when the
/// line cannot be read or names no program.
std::optional<QStringList> expand(const Entry& entry, const QStringList& opening);

} // namespace DesktopCommand
