// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Accessibility.h"

#include "ui/ProfilePickerModel.h"
#include "ui/ProfileRow.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace Accessibility {
namespace {

constexpr char roleProperty[] = "orlimAccessibleRole";

/// A row of the picker: a list item named for its profile, with its number
/// as description; the number label and the avatar inside are not its parts.
class RowInterface : public QAccessibleWidget
{
public:
    explicit RowInterface(ProfileRow* row) : QAccessibleWidget(row, QAccessible::ListItem) {}

    ProfileRow* row() const { return static_cast<ProfileRow*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return row()->profileName();
        case QAccessible::Description: {
            const QString number = ProfilePickerModel::numberLabel(row()->index()).trimmed();
            return (number.isEmpty() ? row()->profileName()
                                     : number + u", " + row()->profileName()) +
                   u'\n' + row()->toolTip();
        }
        default:
            return QAccessibleWidget::text(t);
        }
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.focusable = true;
        s.selected = row()->isSelected();
        s.focused = row()->isSelected() && row()->window()->isActiveWindow();
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
    if (className == u"ProfileRow")
        return new RowInterface(static_cast<ProfileRow*>(widget));
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
