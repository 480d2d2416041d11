// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/ChromeProfile.h"

#include <QWidget>

/// One row of the picker's list: the row number, the avatar and the name, on a
/// rounded highlight while selected. The whole row is clickable.
class ProfileRow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int avatarSize = 30;

    /// `browser`: the name screen readers hear with the profile's, where the
    /// picker offers several browsers; empty where it offers one.
    ProfileRow(const ChromeProfile& profile, int index, const QString& browser = {},
               QWidget* parent = nullptr);

    int index() const { return m_index; }
    const QString& profileName() const { return m_name; }
    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }
    /// Marks the row as the one chosen, saying so when in a private window.
    void markChosen(bool privateWindow);
    bool isChosen() const { return m_chosen; }

Q_SIGNALS:
    void clicked(int index, Qt::KeyboardModifiers modifiers);
    void hovered(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_index;
    QString m_name;
    bool m_selected = false;
    bool m_chosen = false;
    bool m_pressed = false;
};
