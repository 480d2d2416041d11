// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

/// Focus across programs. Desktops with focus-stealing prevention (every
/// Wayland compositor, and X11 window managers such as mutter and KWin) give
/// the keyboard to a window only with proof that the user asked for it: an
/// activation token (Wayland) or a startup ID (X11). One object for each kind
/// of desktop, put in place where the desktop is settled.
class WindowActivation
{
public:
    virtual ~WindowActivation() = default;

    /// A token for the program Orlim starts next, tied to the user's last
    /// input in `window`; empty where the desktop has none to give.
    virtual QString tokenFor(QWidget* window) = 0;
    /// Shows `window` in front with the keyboard, using `token` (from the
    /// program a link was clicked in; may be empty) where the desktop wants one.
    virtual void present(QWidget* window, const QString& token) = 0;
    /// Ends the start-up the desktop announced with `token` when no window of
    /// Orlim's shows for it (the link went straight to Chrome, or was
    /// dropped), so that no launcher keeps a busy pointer waiting for one.
    virtual void finishStartup(const QString& token) = 0;
    /// Whether a token stays good only while the window it came from is still
    /// shown and focused, so that window must wait for the program it started.
    virtual bool tokenNeedsItsWindow() const = 0;
    /// Whether a window that started a program stays up, taking no input, until
    /// that program's window is active (or a little while has passed): so no
    /// key typed meanwhile goes to the window that was in front before.
    virtual bool holdsForStartedProgram() const = 0;
};
