// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/notice/LostLinkList.h"

#include "ui/look/Palette.h"
#include "ui/look/Typography.h"
#include "ui/notice/LostLinks.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int padding = 6;

/// The copy button's label.
QString copyLabel()
{
    return QStringLiteral("コピー");
}

/// Paints a row: the reason, the link shortened in the middle, and the button.
class RowDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static QStyleOptionButton button(const QStyleOptionViewItem& option)
    {
        QStyleOptionButton button;
        button.text = copyLabel();
        button.fontMetrics = option.fontMetrics;
        const QSize size = option.widget->style()->sizeFromContents(
            QStyle::CT_PushButton, &button,
            option.fontMetrics.size(Qt::TextShowMnemonic, button.text), option.widget);
        button.rect =
            QRect(option.rect.right() - padding - size.width(),
                  option.rect.center().y() - size.height() / 2, size.width(), size.height());
        button.palette = option.palette;
        button.state = QStyle::State_Enabled | QStyle::State_Raised;
        if (option.state & QStyle::State_HasFocus)
            button.state |= QStyle::State_HasFocus;
        return button;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QWidget* view = option.widget;
        const bool current = option.state & QStyle::State_Selected;
        if (current)
            painter->fillRect(option.rect, option.palette.color(QPalette::AlternateBase));
        const QStyleOptionButton copy = button(item);
        view->style()->drawControl(QStyle::CE_PushButton, &copy, painter, view);

        const QRect text = option.rect.adjusted(padding, padding, 0, -padding)
                               .marginsRemoved({0, 0, copy.rect.width() + 2 * padding, 0});
        painter->save();
        const QFont reasonFont = Typography::font(Typography::Role::Caption);
        painter->setFont(reasonFont);
        painter->setPen(Palette::of(Palette::Tone::Secondary, option.palette));
        const QFontMetrics reasonMetrics(reasonFont);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop,
                          reasonMetrics.elidedText(index.data(LostLinks::ReasonRole).toString(),
                                                   Qt::ElideRight, text.width()));
        const QFont linkFont = Typography::font(Typography::Role::Callout);
        painter->setFont(linkFont);
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawText(text, Qt::AlignLeft | Qt::AlignBottom,
                          QFontMetrics(linkFont).elidedText(index.data().toString(),
                                                            Qt::ElideMiddle, text.width()));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        const int lines = QFontMetrics(Typography::font(Typography::Role::Caption)).height() +
                          QFontMetrics(Typography::font(Typography::Role::Callout)).height();
        QStyleOptionViewItem item = option;
        item.rect = QRect(0, 0, 100, 0);
        return {option.rect.width(), std::max(lines, button(item).rect.height()) + 3 * padding};
    }
};

} // namespace

LostLinkList::LostLinkList(std::function<void(int row)> copy, QWidget* parent)
    : QListView(parent), m_copy(std::move(copy))
{
    setObjectName(QStringLiteral("links"));
    setItemDelegate(new RowDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { m_copy(index.row()); });
}

void LostLinkList::select(int row)
{
    const QModelIndex index = model()->index(row, 0);
    setCurrentIndex(index);
    scrollTo(index);
}

int LostLinkList::heightFor(int rows) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    return rows * itemDelegate()->sizeHint(option, {}).height() + 2 * frameWidth();
}

void LostLinkList::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (currentIndex().isValid()) {
            m_copy(currentIndex().row());
            return;
        }
        break;
    default:
        break;
    }
    QListView::keyPressEvent(event);
}
