// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>

class QWidget;

/// How Orlim's windows read to assistive technology (screen readers): the
/// picker's rows are a list whose highlighted row is the selected, focused
/// item, and each of the windows (picker, settings, link notice) is a dialog.
namespace Accessibility {

/// Makes Qt describe Orlim's widgets as above. Call once, after the
/// application object exists.
void install();

/// Gives a plain widget (a window, a container) `role` instead of Qt's
/// generic one.
void setRole(QWidget* widget, QAccessible::Role role);

/// Whether `item`, given the role of a list item, is the list's selected one.
void setSelected(QWidget* item, bool selected);

/// Tells assistive technology that `row` (a ProfileRow) is now the selected,
/// focused item of its list.
void announceSelection(QWidget* row);

} // namespace Accessibility
