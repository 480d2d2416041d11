// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/notice/LostLinks.h"

int LostLinks::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant LostLinks::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Lost& lost = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return lost.url;
    case ReasonRole:
    case Qt::AccessibleDescriptionRole:
        return m_reason(lost.why);
    default:
        return {};
    }
}

void LostLinks::append(const QString& url, ChromeLauncher::Failure why)
{
    if (m_rows.size() == listed) {
        beginRemoveRows({}, 0, 0);
        const QString oldest = m_rows.takeFirst().url;
        endRemoveRows();
        if (m_earlier.size() < keptEarlier)
            m_earlier.append(oldest);
        else
            ++m_notKept;
    }
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size()));
    m_rows.append({url, why});
    endInsertRows();
}

void LostLinks::clear()
{
    beginResetModel();
    m_rows.clear();
    m_earlier.clear();
    m_notKept = 0;
    endResetModel();
}

int LostLinks::rowOf(const QString& url) const
{
    for (qsizetype row = m_rows.size() - 1; row >= 0; --row) {
        if (m_rows.at(row).url == url)
            return int(row);
    }
    return -1;
}

bool LostLinks::contains(const QString& url) const
{
    return rowOf(url) >= 0 || m_earlier.contains(url);
}

QStringList LostLinks::urls() const
{
    QStringList all = m_earlier;
    for (const Lost& lost : m_rows)
        all.append(lost.url);
    return all;
}
