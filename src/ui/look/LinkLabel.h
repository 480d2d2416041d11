// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

/// The picker's link: shown wrapped and shortened to fit, selectable with the
/// mouse, and copied as the exact link however it is shown (the copy menu,
/// Ctrl+C while part of it is selected, and the X11 primary selection). A
/// link found inside another keeps the one given in its tool tip and menu.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    LinkLabel(const QString& url, const QString& shown, QWidget* parent = nullptr);

    const QString& url() const { return m_url; }
    /// Shows `given` as the tool tip, and offers to copy it.
    void setGiven(const QString& given);

    /// `url` as shown in `width`: at most two lines, shortened in the middle.
    static QString lines(const QString& url, const QFontMetrics& metrics, int width);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_url;
};
