// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// A link as it came, and where it leads when a well-known service wrapped it
/// (mail and chat link scanners, search and social redirects): read once, as
/// the link arrives, and handed on with it. Only an http or https destination
/// counts; anything else, or a wrapper that cannot be read whole, leaves the
/// link as it came.
struct WrappedLink
{
    /// Nesting deeper than this, or a link longer, is left as it came.
    static constexpr int maxDepth = 5;
    static constexpr qsizetype maxLength = 32 * 1024;

    /// `given`, taken as it is: not wrapped, and it opens itself.
    WrappedLink(const QString& given = {}) : given(given), destination(given) {}

    /// `given` unwrapped through every wrapper it nests, outermost first; with
    /// `opensDestination`, the destination is what opens. Never fails: a link
    /// that cannot be unwrapped comes back as given.
    static WrappedLink read(const QString& given, bool opensDestination = false);

    bool wrapped() const { return !services.isEmpty(); }
    /// What opens: the destination where the user asked for it, else the link as given.
    const QString& opened() const { return opensDestination ? destination : given; }

    QString given;
    QString destination;  // `given` when not wrapped
    QString host;         // the destination's, ASCII in lower case; empty when not wrapped
    QStringList services; // the wrappers' names, outermost first, each once
    bool opensDestination = false;
};
