// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

class WindowActivation;
namespace WindowShortcuts {
struct Actions;
}

/// Placing and raising Orlim's windows: the picker, the settings and the
/// notice of a link not opened.
namespace WindowPlacement {

/// Centres `window` on the screen under the pointer (where the user is looking).
void centreOnPointerScreen(QWidget* window);
/// Puts `content` into `window` in place of the content it held, which is deleted.
void replaceContent(QWidget* window, QWidget* content);

/// What sets Orlim's windows apart. All are titled, closable, fixed in size
/// and above other applications' windows.
struct WindowStyle
{
    const char16_t* title;
    const char16_t* objectName;
    bool minimisable;
};

/// Shows Orlim's windows on the desktop settled at start: brings them to the
/// front with `activation`, gives them Orlim's own title bar, and no other,
/// where `ownTitleBar` (see `TitleBar::wanted`), and the window keys, which
/// trigger what `keys` holds (none without it).
struct Presenter
{
    WindowActivation& activation;
    bool ownTitleBar = false;
    const WindowShortcuts::Actions* keys = nullptr;

    /// Shows `content` in `window`, creating the window with `style` on first
    /// use: replaces the content it held, centres the window and brings it to
    /// the front with the keyboard, using `activationToken` (from the program a
    /// link was clicked in) where the desktop asks for one.
    void present(QPointer<QWidget>& window, const WindowStyle& style, QWidget* content,
                 const QString& activationToken = {}) const;
    /// The same, without taking the keyboard from the window that has it; the
    /// content stays where none is given.
    void showQuietly(QPointer<QWidget>& window, const WindowStyle& style,
                     QWidget* content = nullptr) const;

private:
    void place(QPointer<QWidget>& window, const WindowStyle& style, QWidget* content) const;
};

} // namespace WindowPlacement
