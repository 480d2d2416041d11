// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>

struct BrowserInstallation;
class QPalette;

/// Orlim's own small icons, drawn so they match at any scale.
namespace Icons {

/// A circle with an exclamation mark, for the default-browser warning.
QPixmap exclamationCircle(int side, const QColor& color, qreal devicePixelRatio);
/// An up or down chevron for moving rules.
QIcon chevron(Qt::ArrowType direction, const QPalette& palette);
/// A waste bin, for deleting a rule.
QIcon trash(const QPalette& palette);
/// `browser`'s own icon, as its desktop entry names it (a file or a name in
/// the icon theme); null when neither has it.
QIcon browser(const BrowserInstallation& browser);
/// The tray icon: Orlim's branching-arrow symbol, or the letter "O" when the
/// symbol cannot be loaded from `resource`.
QIcon tray(const QString& resource = QStringLiteral(":/icons/orlim-tray.svg"));
/// The letter "O" drawn as an icon.
QIcon letterIcon();

} // namespace Icons
