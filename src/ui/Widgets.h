#pragma once

#include "ui/Typography.h"

#include <QColor>

class QFrame;
class QLabel;
class QWidget;

/// Small building blocks shared by the picker and the settings.
namespace Widgets {

/// A horizontal rule between sections.
QFrame* divider(QWidget* parent);
/// Plain (never rich) text in a text role, optionally in a colour.
QLabel* text(const QString& text, Typography::Role role, QWidget* parent,
             const QColor& color = QColor());

} // namespace Widgets
