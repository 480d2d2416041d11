// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/settings/SettingsModel.h"

#include <QWidget>

class QListWidget;
class QToolButton;

/// The installed browsers as the settings list them: each with its icon and a
/// check box for whether the picker shows it, the shown ones first in the
/// picker's order. The arrow buttons, and Alt+Up and Alt+Down in the list,
/// move the current browser among those shown. The last one shown cannot be
/// unchecked. It only tells what the user asked; the model decides.
class BrowserList : public QWidget
{
    Q_OBJECT
public:
    explicit BrowserList(const QList<SettingsModel::ListedBrowser>& browsers,
                         QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    /// The desktop-file ID of the current row; empty when none is current.
    QString current() const;
    /// Makes the row of `desktopId` current, with the keyboard in the list.
    void takeFocusAt(const QString& desktopId);

Q_SIGNALS:
    void shownChanged(int index, bool shown);
    void moved(int index, int distance);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateButtons();
    void move(int distance);

    QList<SettingsModel::ListedBrowser> m_browsers;
    int m_shownCount = 0;
    QListWidget* m_list;
    QToolButton* m_up;
    QToolButton* m_down;
};
