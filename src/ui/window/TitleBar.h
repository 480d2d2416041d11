// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Platform.h"

#include <QWidget>

class QLabel;

/// The title bar of Orlim's windows where Orlim draws its own (Wayland, where
/// mutter leaves the decoration to each program, and KWin draws one only for a
/// program that asks): the title, a button that closes the window and, for a
/// window that may be minimised, one that does. Nothing that resizes or
/// maximises: Orlim's windows have a fixed size. Dragging it moves the window.
class TitleBar : public QWidget
{
    Q_OBJECT
public:
    TitleBar(const QString& title, bool minimisable, QWidget* parent);

    /// Whether Orlim's windows carry this bar rather than the desktop's own,
    /// on `desktop`.
    static bool wanted(Desktop desktop) { return desktop == Desktop::Wayland; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
