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

/// Paints a row: the reason, whole and wrapped, the link shortened in the
/// middle below it, and the button.
class RowDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    /// The height of the tallest reason a row may carry, wrapped.
    int reasonHeight = 0;

    /// Where a row's texts go, beside its button.
    static QRect textArea(const QStyleOptionViewItem& option)
    {
        return option.rect.adjusted(padding, padding, 0, -padding)
            .marginsRemoved({0, 0, button(option).rect.width() + 2 * padding, 0});
    }

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

        const QRect text = textArea(item);
        painter->save();
        painter->setFont(Typography::font(Typography::Role::Caption));
        painter->setPen(Palette::of(Palette::Tone::Secondary, option.palette));
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                          index.data(LostLinks::ReasonRole).toString());
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
        const int lines =
            reasonHeight + QFontMetrics(Typography::font(Typography::Role::Callout)).height();
        QStyleOptionViewItem item = option;
        item.rect = QRect(0, 0, 100, 0);
        return {option.rect.width(), std::max(lines, button(item).rect.height()) + 3 * padding};
    }
};

} // namespace

LostLinkList::LostLinkList(int width, const QStringList& reasons, std::function<void(int row)> copy,
                           QWidget* parent)
    : QListView(parent), m_copy(std::move(copy))
{
    setObjectName(QStringLiteral("links"));
    setFixedWidth(width);
    auto* delegate = new RowDelegate(this);
    // Every row is as tall as the tallest reason needs, wrapped where a scroll
    // bar may take its room: the rows stay alike, so many lay out at once.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.widget = this;
    option.rect =
        QRect(0, 0, width - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this), 0);
    const QFontMetrics metrics(Typography::font(Typography::Role::Caption));
    const QRect area(0, 0, RowDelegate::textArea(option).width(), QWIDGETSIZE_MAX);
    for (const QString& reason : reasons)
        delegate->reasonHeight = std::max(
            delegate->reasonHeight, metrics.boundingRect(area, Qt::TextWordWrap, reason).height());
    setItemDelegate(delegate);
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
