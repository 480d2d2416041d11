// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rules/ProfileRule.h"

#include <functional>
#include <optional>

class FileLayout;

/// The user's ordered rule list, kept in "rules.json" in Orlim's configuration
/// folder. Every operation reads the file afresh and every change rewrites it
/// whole; nothing is cached. Failures are silent: an unreadable file reads as
/// an empty list, a failed write leaves the previous file as it was. A rule
/// written before rules named a browser is read as one of the browser served,
/// and keeps that browser at the next write.
class RuleStore
{
public:
    /// The desktop-file ID of the browser served now; empty when none is.
    using ServedBrowser = std::function<QString()>;

    /// The rules of the user whose folders `files` names; `served` names the
    /// browser of rules that name none (without it, they keep none).
    explicit RuleStore(const FileLayout& files, ServedBrowser served = {})
        : m_files(files), m_served(std::move(served))
    {
    }

    /// The rules file: "rules.json" in Orlim's configuration folder.
    QString fileURL() const;

    /// The stored rules in priority order; empty when the file is missing or
    /// cannot be decoded.
    ProfileRules load() const;

    /// Replaces the file with `rules`, atomically. A file that exists but cannot be
    /// decoded is first kept beside it as "rules.json.unreadable-<UTC time>".
    void save(const ProfileRules& rules);

    /// Points the first rule with `prefix` at `browser`'s `profileDirectory`, in
    /// place; with no such rule, adds one at the top (highest priority). Always
    /// rewrites the file.
    void upsert(const QString& prefix, const QString& profileDirectory, const QString& browser);

    /// Writes the served browser into every rule that names none, so a later
    /// change of browser leaves them where they were; writes nothing when
    /// every rule names one, or no browser is served.
    void settle();

    /// Removes every rule with `prefix`. Always rewrites the file.
    void remove(const QString& prefix);

    /// The first rule, in list order, whose prefix begins `url` exactly
    /// (case-sensitive, canonically equivalent Unicode counts as equal).
    std::optional<ProfileRule> match(const QString& url) const;

    /// Scheme, "://" and host of `url` as written, or nothing when it does not
    /// parse as an RFC 3986 URI or lacks a scheme or host.
    static std::optional<QString> sitePrefix(const QString& url);

private:
    /// `rules` with the served browser in each that names none.
    ProfileRules withBrowser(ProfileRules rules) const;

    const FileLayout& m_files;
    ServedBrowser m_served;
};
