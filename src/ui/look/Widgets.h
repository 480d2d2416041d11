// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/look/Palette.h"
#include "ui/look/Typography.h"

#include <QColor>
#include <optional>

class QFrame;
class QIcon;
class QLabel;
class QToolButton;
class QWidget;

/// Small building blocks shared by the picker and the settings.
namespace Widgets {

/// A horizontal rule between sections.
QFrame* divider(QWidget* parent);
/// Plain (never rich) text in a text role, optionally in a tone that follows
/// the palette.
QLabel* text(const QString& text, Typography::Role role, QWidget* parent,
             std::optional<Palette::Tone> tone = std::nullopt);
/// The line above a browser's profiles where several browsers are listed: its
/// entry's icon, where the icon theme has it, and its name (the label named
/// "browser"), in secondary text.
QWidget* browserHeader(const QIcon& icon, const QString& name, QWidget* parent);
/// A small flat button showing `icon`, reached with Tab (the settings' arrows
/// and delete buttons).
QToolButton* iconButton(const QIcon& icon, QWidget* parent);
/// A tool tip that shows `text` as it is: Qt would take text that looks like
/// markup for rich text, so a link could dress itself as another address.
/// It stays within the screen: wrapped, a link anywhere, and shortened in the
/// middle past what the smallest screen shows.
QString plainToolTip(const QString& text);

} // namespace Widgets
