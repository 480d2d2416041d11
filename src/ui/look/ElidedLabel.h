// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

/// One line of text that shortens itself, with "…", to the width it is given.
class ElidedLabel : public QWidget
{
    Q_OBJECT
public:
    ElidedLabel(const QString& text, Qt::TextElideMode mode, QWidget* parent = nullptr);

    const QString& text() const { return m_text; }
    /// The text as drawn at the current width.
    QString shownText() const;
    void setTextColor(const QColor& color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    Qt::TextElideMode m_mode;
};
