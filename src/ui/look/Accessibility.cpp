// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look/Accessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace Accessibility {
namespace {

constexpr char roleProperty[] = "orlimAccessibleRole";
constexpr char selectedProperty[] = "orlimAccessibleSelected";

/// A list item: named and described as its widget says, selected as
/// `setSelected()` last said; what is inside it is not its parts.
class ListItemInterface : public QAccessibleWidget
{
public:
    explicit ListItemInterface(QWidget* item) : QAccessibleWidget(item, QAccessible::ListItem) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return widget()->accessibleName();
        case QAccessible::Description:
            return widget()->accessibleDescription();
        default:
            return QAccessibleWidget::text(t);
        }
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const bool selected = widget()->property(selectedProperty).toBool();
        s.selectable = true;
        s.focusable = true;
        s.selected = selected;
        s.focused = selected && widget()->window()->isActiveWindow();
        return s;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
};

/// A plain widget, in the role `setRole()` gave it, else as Qt has it. The
/// role is read when asked: Qt 6.8 makes a window's interface as the window
/// is made, before any role could be given.
class RoleInterface : public QAccessibleWidget
{
public:
    explicit RoleInterface(QWidget* widget) : QAccessibleWidget(widget) {}

    QAccessible::Role role() const override
    {
        const QVariant role = widget()->property(roleProperty);
        return role.isValid() ? QAccessible::Role(role.toInt()) : QAccessibleWidget::role();
    }
};

QAccessibleInterface* interfaceFor(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (widget->property(roleProperty).toInt() == QAccessible::ListItem)
        return new ListItemInterface(widget);
    if (className == u"QWidget")
        return new RoleInterface(widget);
    return nullptr;
}

} // namespace

void install()
{
    QAccessible::installFactory(&interfaceFor);
}

void setRole(QWidget* widget, QAccessible::Role role)
{
    widget->setProperty(roleProperty, int(role));
}

void setSelected(QWidget* item, bool selected)
{
    item->setProperty(selectedProperty, selected);
}

void announceSelection(QWidget* row)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.selected = true;
    changed.focused = true;
    QAccessibleStateChangeEvent state(row, changed);
    QAccessible::updateAccessibility(&state);
    QAccessibleEvent selection(row, QAccessible::Selection);
    QAccessible::updateAccessibility(&selection);
    QAccessibleEvent focus(row, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

} // namespace Accessibility
