// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListView>
#include <QStringList>
#include <functional>

/// The list of links not opened: one row a link, its reason above it and a
/// copy button beside it. The copy happens in the handling of the user's own
/// input (a click on the row, Return, Enter or Space on the current row): a
/// compositor keeps the newest selection by the input that asked for it, so a
/// copy made on the user's key or click wins over what another program copied.
class LostLinkList final : public QListView
{
    Q_OBJECT
public:
    /// A list `width` wide whose rows show any of `reasons` whole; `copy` runs
    /// with the row the user asked to copy.
    LostLinkList(int width, const QStringList& reasons, std::function<void(int row)> copy,
                 QWidget* parent = nullptr);

    /// Makes `row` current and shows it.
    void select(int row);
    /// The height that shows `rows` rows.
    int heightFor(int rows) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void(int)> m_copy;
};
