// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rules/ProfileRule.h"

#include <optional>

class FileLayout;

/// The user's ordered rule list, kept in "rules.json" in Orlim's configuration
/// folder. Every operation reads the file afresh and every change rewrites it
/// whole; nothing is cached. Failures are silent: an unreadable file reads as
/// an empty list, a failed write leaves the previous file as it was.
class RuleStore
{
public:
    /// The rules of the user whose folders `files` names.
    explicit RuleStore(const FileLayout& files) : m_files(files) {}

    /// The rules file: "rules.json" in Orlim's configuration folder.
    QString fileURL() const;

    /// The stored rules in priority order; empty when the file is missing or
    /// cannot be decoded.
    ProfileRules load() const;

    /// Replaces the file with `rules`, atomically. A file that exists but cannot be
    /// decoded is first kept beside it as "rules.json.unreadable-<UTC time>".
    void save(const ProfileRules& rules);

    /// Points the first rule with `prefix` at `profileDirectory`, in place; with no
    /// such rule, adds one at the top (highest priority). Always rewrites the file.
    void upsert(const QString& prefix, const QString& profileDirectory);

    /// Removes every rule with `prefix`. Always rewrites the file.
    void remove(const QString& prefix);

    /// The first rule, in list order, whose prefix begins `url` exactly
    /// (case-sensitive, canonically equivalent Unicode counts as equal).
    std::optional<ProfileRule> match(const QString& url) const;

    /// Scheme, "://" and host of `url` as written, or nothing when it does not
    /// parse as an RFC 3986 URI or lacks a scheme or host.
    static std::optional<QString> sitePrefix(const QString& url);

private:
    const FileLayout& m_files;
};
