// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/RuleStore.h"

#include "platform/FileLayout.h"
#include "platform/RegularFile.h"
#include "rules/RulesFile.h"
#include "text/CanonicalText.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace {

enum class FileState { Missing, Decoded, Undecodable, Unreadable };

struct ReadResult
{
    FileState state;
    ProfileRules rules;
    QByteArray bytes;
};

ReadResult read(const QString& fileURL)
{
    RegularFile::Contents file = RegularFile::read(fileURL);
    switch (file.status) {
    case RegularFile::Status::Missing:
        // A dangling link or a loop is something, not nothing: never replace it.
        return {
            QFileInfo(fileURL).isSymLink() ? FileState::Unreadable : FileState::Missing, {}, {}};
    case RegularFile::Status::Refused:
        return {FileState::Unreadable, {}, {}};
    case RegularFile::Status::Read:
        break;
    }
    if (auto rules = RulesFile::decode(file.bytes))
        return {FileState::Decoded, std::move(*rules), {}};
    return {FileState::Undecodable, {}, std::move(file.bytes)};
}

/// Copies the bytes of an undecodable rules file to a fresh name beside it.
/// Never overwrites an earlier copy. Returns false when no copy could be made.
bool keepUndecodable(const QString& fileURL, const QByteArray& bytes)
{
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const QString base = fileURL + u".unreadable-" + stamp;
    for (int attempt = 1; attempt < 1000; ++attempt) {
        QFile copy(attempt == 1 ? base : base + u'-' + QString::number(attempt));
        if (!copy.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (copy.exists())
                continue;
            return false;
        }
        const bool written = copy.write(bytes) == bytes.size() && copy.flush();
        copy.close();
        if (!written)
            copy.remove();
        return written;
    }
    return false;
}

void write(const QString& fileURL, const ProfileRules& rules, const ReadResult& previous)
{
    // The user's hand-edited rules are never destroyed: an undecodable file is
    // kept aside first, and a file we cannot even read is left alone.
    if (previous.state == FileState::Unreadable)
        return;
    if (previous.state == FileState::Undecodable && !keepUndecodable(fileURL, previous.bytes))
        return;
    RegularFile::replace(fileURL, RulesFile::encode(rules));
}

} // namespace

QString RuleStore::fileURL() const
{
    return m_files.orlimDirectory() + u"/rules.json";
}

ProfileRules RuleStore::load() const
{
    return withBrowser(read(fileURL()).rules);
}

ProfileRules RuleStore::withBrowser(ProfileRules rules) const
{
    const QString served = m_served ? m_served() : QString();
    for (ProfileRule& rule : rules) {
        if (rule.browser.isEmpty())
            rule.browser = served;
    }
    return rules;
}

void RuleStore::settle()
{
    const QString file = fileURL();
    const ReadResult current = read(file);
    const ProfileRules settled = withBrowser(current.rules);
    if (settled != current.rules)
        write(file, settled, current);
}

void RuleStore::save(const ProfileRules& rules)
{
    const QString file = fileURL();
    write(file, rules, read(file));
}

void RuleStore::upsert(const QString& prefix, const QString& profileDirectory,
                       const QString& browser)
{
    const QString file = fileURL();
    ReadResult current = read(file);
    ProfileRules rules = withBrowser(current.rules);
    const auto existing = std::find_if(rules.begin(), rules.end(), [&](const ProfileRule& rule) {
        return CanonicalText::equal(rule.prefix, prefix);
    });
    if (existing != rules.end()) {
        existing->profileDirectory = profileDirectory;
        existing->browser = browser;
    } else {
        rules.prepend({prefix, profileDirectory, browser});
    }
    write(file, rules, current);
}

void RuleStore::remove(const QString& prefix)
{
    const QString file = fileURL();
    const ReadResult current = read(file);
    ProfileRules rules = withBrowser(current.rules);
    rules.removeIf(
        [&](const ProfileRule& rule) { return CanonicalText::equal(rule.prefix, prefix); });
    write(file, rules, current);
}

std::optional<ProfileRule> RuleStore::match(const QString& url) const
{
    const ProfileRules rules = load();
    for (const ProfileRule& rule : rules) {
        if (CanonicalText::startsWith(url, rule.prefix))
            return rule;
    }
    return std::nullopt;
}
