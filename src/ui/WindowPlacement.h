#pragma once

class QWidget;

/// Placing and raising Orlim's two windows.
namespace WindowPlacement {

/// Centres `window` on the screen under the pointer (where the user is looking).
void centreOnPointerScreen(QWidget* window);
/// Shows `window`, raises it above other windows and gives it keyboard focus.
void bringToFront(QWidget* window);
/// Puts `content` into `window` in place of the content it held, which is deleted.
void replaceContent(QWidget* window, QWidget* content);

} // namespace WindowPlacement
