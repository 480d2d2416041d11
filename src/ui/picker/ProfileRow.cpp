// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/ProfileRow.h"

#include "ui/look/Accessibility.h"
#include "ui/look/ElidedLabel.h"
#include "ui/look/Palette.h"
#include "ui/look/ProfileAvatarView.h"
#include "ui/look/Typography.h"
#include "ui/look/Widgets.h"
#include "ui/picker/ProfilePickerModel.h"

#include <QAccessible>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int numberWidth = 16;
constexpr qreal cornerRadius = 6;
constexpr qreal selectedOpacity = 0.2;
constexpr qreal chosenOpacity = 0.4;
constexpr char16_t privateHint[] = u"Shift を押しながら選ぶと、プライベート ウィンドウで開きます";
constexpr char16_t privateMark[] = u"プライベート";
} // namespace

ProfileRow::ProfileRow(const ChromeProfile& profile, int index, const QString& browser,
                       QWidget* parent)
    : QWidget(parent), m_index(index), m_name(profile.displayName)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    // A list item named for its profile (and its browser, among several), its
    // number first in the description.
    Accessibility::setRole(this, QAccessible::ListItem);
    const QString named =
        browser.isEmpty() ? profile.displayName : profile.displayName + u", " + browser;
    setAccessibleName(named);
    const QString numbered = ProfilePickerModel::numberLabel(index).trimmed();
    const QString hint = QString::fromUtf16(privateHint);
    setAccessibleDescription((numbered.isEmpty() ? named : numbered + u", " + named) + u'\n' +
                             hint);
    // One tip for the whole row, over the name as over the number: the name
    // (shortened in the row) and the hint.
    setToolTip(Widgets::plainToolTip(named + u'\n' + hint));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(10);

    auto* number = new QLabel(ProfilePickerModel::numberLabel(index), this);
    number->setFont(Typography::monospaced(Typography::Role::Callout));
    number->setFixedWidth(numberWidth);
    Palette::setTone(number, Palette::Tone::Secondary);
    layout->addWidget(number);

    layout->addWidget(new ProfileAvatarView(profile, avatarSize, this));

    auto* name = new ElidedLabel(profile.displayName, Qt::ElideRight, this);
    name->setFont(Typography::font(Typography::Role::Title3));
    name->setToolTip(QString());
    layout->addWidget(name, 1);
    layout->addSpacing(8);
}

void ProfileRow::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    Accessibility::setSelected(this, selected);
    update();
}

void ProfileRow::markChosen(bool privateWindow)
{
    m_chosen = true;
    update();
    if (!privateWindow)
        return;
    QLabel* mark = Widgets::text(QString::fromUtf16(privateMark), Typography::Role::Caption, this,
                                 Palette::Tone::Secondary);
    mark->setObjectName(QStringLiteral("private"));
    auto* row = static_cast<QHBoxLayout*>(layout());
    row->insertWidget(row->count() - 1, mark);
    mark->show();
    setAccessibleName(accessibleName() + u", " + mark->text());
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

void ProfileRow::paintEvent(QPaintEvent*)
{
    if (!m_selected)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = Palette::accent(palette());
    fill.setAlphaF(m_chosen ? chosenOpacity : selectedOpacity);
    QPainterPath background;
    background.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(background, fill);
}

void ProfileRow::mouseMoveEvent(QMouseEvent* event)
{
    // Only a pointer that moves selects: a window that appears under a still
    // pointer, or rows that scroll beneath it, must not take the selection
    // away from the keyboard.
    QWidget::mouseMoveEvent(event);
    if (!m_selected)
        Q_EMIT hovered(m_index);
}

void ProfileRow::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void ProfileRow::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->pos());
    m_pressed = false;
    if (click)
        Q_EMIT clicked(m_index, event->modifiers());
}
