// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/TypeToFind.h"

#include "platform/Scheduler.h"
#include "text/FoldedText.h"
#include "ui/look/Widgets.h"
#include "ui/picker/ProfilePickerModel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace {

constexpr int shownMargin = 6;
constexpr char16_t searching[] = u"検索: %1";
constexpr char16_t noMatch[] = u"「%1」に一致するプロファイルはありません";

/// The row whose names, by `test`, first take `typed`; -1 for none.
template <typename Test> int firstRow(const QList<QStringList>& names, Test test)
{
    for (int row = 0; row < names.size(); ++row) {
        if (std::any_of(names[row].begin(), names[row].end(), test))
            return row;
    }
    return -1;
}

/// Each row's names, folded: the profile's, then, among several browsers,
/// each of its browser's names before it.
QList<QStringList> namesOf(const ProfilePickerModel& model)
{
    const bool several = model.groups().size() > 1;
    QList<QStringList> names;
    for (int i = 0; i < model.profiles().size(); ++i) {
        const QString& name = model.profiles().at(i).displayName;
        QStringList row{FoldedText::fold(name)};
        const BrowserInstallation& browser = model.groups().at(model.groupOf(i)).browser;
        for (const QString& of : {browser.shortName, browser.name}) {
            const QString named = FoldedText::fold(of + u' ' + name);
            if (several && !of.isEmpty() && !row.contains(named))
                row.append(named);
        }
        names.append(row);
    }
    return names;
}

} // namespace

TypeToFind::TypeToFind(ProfilePickerModel& model, QWidget* list, Scheduler& scheduler)
    : QObject(list), m_model(model), m_scheduler(scheduler), m_names(namesOf(model)),
      m_shown(Widgets::text(QString(), Typography::Role::Callout, list))
{
    m_shown->setObjectName(QStringLiteral("typed"));
    m_shown->setFrameShape(QFrame::StyledPanel);
    m_shown->setAutoFillBackground(true);
    m_shown->setMargin(2);
    m_shown->hide();
}

int TypeToFind::rowFor(const QList<QStringList>& names, const QString& typed)
{
    const QString text = FoldedText::fold(typed);
    if (text.isEmpty())
        return -1;
    const int begins = firstRow(names, [&](const QString& name) { return name.startsWith(text); });
    if (begins >= 0)
        return begins;
    // One letter again and again steps through the names it begins.
    const QString letter = text.left(text.front().isHighSurrogate() ? 2 : 1);
    const qsizetype times = text.size() / letter.size();
    if (times > 1 && text == letter.repeated(times)) {
        QList<int> rows;
        for (int row = 0; row < names.size(); ++row) {
            if (std::any_of(names[row].begin(), names[row].end(),
                            [&](const QString& name) { return name.startsWith(letter); }))
                rows.append(row);
        }
        if (!rows.isEmpty())
            return rows.at((times - 1) % rows.size());
    }
    // Inside a name only the profile's own counts: every name holds a
    // letter of its browser's.
    for (int row = 0; row < names.size(); ++row) {
        if (names[row].first().contains(text))
            return row;
    }
    return -1;
}

bool TypeToFind::key(const QKeyEvent* event)
{
    if (event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (event->key() == Qt::Key_Backspace) {
        if (m_text.isEmpty())
            return false;
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, m_text);
        graphemes.toEnd();
        m_text.truncate(graphemes.toPreviousBoundary());
        changed();
        return true;
    }
    const QString text = event->text();
    const bool printable = !text.isEmpty() && std::all_of(text.begin(), text.end(),
                                                          [](QChar c) { return c.isPrint(); });
    // A space begins nothing: it only parts words of a name.
    if (!printable || (m_text.isEmpty() && text.trimmed().isEmpty()))
        return false;
    commit(text);
    return true;
}

void TypeToFind::commit(const QString& text)
{
    if (text.isEmpty())
        return;
    m_text += text;
    m_preedit.clear();
    changed();
}

void TypeToFind::compose(const QString& preedit)
{
    if (preedit == m_preedit)
        return;
    m_preedit = preedit;
    changed();
}

bool TypeToFind::clear()
{
    if (m_text.isEmpty() && m_preedit.isEmpty())
        return false;
    m_text.clear();
    m_preedit.clear();
    changed();
    return true;
}

void TypeToFind::changed()
{
    const int edit = ++m_edits;
    const int row = rowFor(m_names, m_text);
    if (row >= 0)
        m_model.setSelectedIndex(row);
    const bool typing = !m_text.isEmpty() || !m_preedit.isEmpty();
    m_shown->setVisible(typing);
    if (!typing)
        return;
    const QString said = QString::fromUtf16(row >= 0 || m_text.isEmpty() ? searching : noMatch)
                             .arg(m_text + m_preedit);
    const QWidget* list = m_shown->parentWidget();
    // A long text keeps its end in sight, where the typing is.
    m_shown->setText(
        m_shown->fontMetrics().elidedText(said, Qt::ElideLeft, list->width() - 4 * shownMargin));
    m_shown->setAccessibleName(said);
    m_shown->adjustSize();
    m_shown->move(list->width() - m_shown->width() - shownMargin,
                  list->height() - m_shown->height() - shownMargin);
    m_shown->raise();
    m_scheduler.schedule(std::chrono::milliseconds(pauseMs), this, [this, edit] {
        // Not while the input method composes: choosing a word takes longer.
        if (edit == m_edits && m_preedit.isEmpty())
            clear();
    });
}
