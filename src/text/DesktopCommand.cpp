// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/DesktopCommand.h"

namespace DesktopCommand {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isLinkCode(QChar code)
{
    return code == u'u' || code == u'U' || code == u'f' || code == u'F';
}

bool isForwardingMarker(const QString& word)
{
    return word == u"@@" || word == u"@@u";
}

/// Expands the field codes of one word into `out`.
class Expansion
{
public:
    Expansion(const Entry& entry, const QStringList& opening) : m_entry(entry), m_opening(opening)
    {
    }

    void word(const QString& word, QStringList& out)
    {
        if (word.size() == 2 && word.at(0) == u'%') {
            const QChar code = word.at(1);
            if (isLinkCode(code)) {
                if (!m_placed)
                    out += m_opening;
                m_placed = true;
                return;
            }
            if (code == u'i') {
                if (!m_entry.icon.isEmpty())
                    out += {QStringLiteral("--icon"), m_entry.icon};
                return;
            }
        }
        QString text;
        bool hadCode = false;
        QStringList before; // a link code inside a word: the switches go first
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word.at(i) != u'%' || i + 1 == word.size()) {
                text += word.at(i);
                continue;
            }
            const QChar code = word.at(++i);
            if (code == u'%') {
                text += u'%';
                continue;
            }
            hadCode = true;
            if (code == u'c')
                text += m_entry.name;
            else if (code == u'k')
                text += m_entry.path;
            else if (isLinkCode(code) && !m_placed && !m_opening.isEmpty()) {
                before = m_opening.mid(0, m_opening.size() - 1);
                text += m_opening.last();
                m_placed = true;
            }
        }
        out += before;
        if (!hadCode || !text.isEmpty())
            out += text;
    }

    void finish(QStringList& out)
    {
        if (!m_placed)
            out += m_opening;
    }

private:
    const Entry& m_entry;
    const QStringList& m_opening;
    bool m_placed = false;
};

} // namespace

std::optional<QStringList> split(const QString& exec)
{
    QStringList words;
    QString word;
    bool inWord = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (isBlank(c)) {
            if (inWord)
                words.append(std::exchange(word, QString()));
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == u'"') {
            for (++i; i < exec.size() && exec.at(i) != u'"'; ++i) {
                const bool escape = exec.at(i) == u'\\' && i + 1 < exec.size() &&
                                    QStringView(u"\"`$\\").contains(exec.at(i + 1));
                word += exec.at(escape ? ++i : i);
            }
            if (i == exec.size())
                return std::nullopt;
        } else if (c == u'\'') {
            const qsizetype end = exec.indexOf(u'\'', i + 1);
            if (end < 0)
                return std::nullopt;
            word += exec.mid(i + 1, end - i - 1);
            i = end;
        } else if (c == u'\\' && i + 1 < exec.size()) {
            word += exec.at(++i);
        } else {
            word += c;
        }
    }
    if (inWord)
        words.append(word);
    if (words.isEmpty())
        return std::nullopt;
    return words;
}

std::optional<QStringList> expand(const Entry& entry, const QStringList& opening)
{
    const auto words = split(entry.exec);
    if (!words)
        return std::nullopt;
    Expansion expansion(entry, opening);
    QStringList out;
    for (qsizetype i = 0; i < words->size(); ++i) {
        const QString& word = words->at(i);
        // flatpak forwards the files between "@@u" and "@@"; a link and its
        // switches are no files, so they go outside.
        if (isForwardingMarker(word) && i + 2 < words->size() && words->at(i + 2) == u"@@" &&
            words->at(i + 1).size() == 2 && words->at(i + 1).at(0) == u'%' &&
            isLinkCode(words->at(i + 1).at(1))) {
            expansion.word(words->at(i + 1), out);
            i += 2;
            continue;
        }
        expansion.word(word, out);
    }
    expansion.finish(out);
    if (out.isEmpty() || out.first().isEmpty())
        return std::nullopt;
    return out;
}

} // namespace DesktopCommand
