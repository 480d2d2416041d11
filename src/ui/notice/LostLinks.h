// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/ChromeLauncher.h"

#include <QAbstractListModel>
#include <QStringList>

/// The links that could not be opened, oldest first: the newest `listed` as
/// rows (each with why), the older ones kept as text for "copy all" up to
/// `keptEarlier`, and past that only counted, so that none goes unsaid. Rows
/// are appended one at a time: a view shows each new link without being rebuilt.
class LostLinks final : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int listed = 1000;
    static constexpr int keptEarlier = 100000;
    /// A row's reason, as `LinkNotice::reason` words it.
    static constexpr int ReasonRole = Qt::UserRole;

    using Reason = QString (*)(ChromeLauncher::Failure);
    explicit LostLinks(Reason reason, QObject* parent = nullptr)
        : QAbstractListModel(parent), m_reason(reason)
    {
    }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void append(const QString& url, ChromeLauncher::Failure why);
    void clear();
    bool contains(const QString& url) const;
    /// The row of the newest `url` listed; -1 when it is not.
    int rowOf(const QString& url) const;
    QString url(int row) const { return m_rows.at(row).url; }

    /// Every link counted, listed or not.
    qsizetype total() const { return m_rows.size() + m_earlier.size() + m_notKept; }
    /// The links kept but not listed, and those only counted (past `keptEarlier`).
    qsizetype earlier() const { return m_earlier.size(); }
    qsizetype notKept() const { return m_notKept; }
    /// Every link kept, oldest first.
    QStringList urls() const;

private:
    struct Lost
    {
        QString url;
        ChromeLauncher::Failure why;
    };
    Reason m_reason;
    QList<Lost> m_rows;
    QStringList m_earlier;
    qsizetype m_notKept = 0;
};
