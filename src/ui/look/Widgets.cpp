// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look/Widgets.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QTextBoundaryFinder>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>

namespace Widgets {
namespace {

/// Past this many characters without a space, a text may break anywhere.
constexpr int longRun = 20;
/// Qt wraps a rich tool tip at 80 average characters: 40 wide ones.
constexpr int wideCharactersPerLine = 40;

/// The cut nearest `at` that parts no character of `text`.
qsizetype boundaryNear(const QString& text, qsizetype at)
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    graphemes.setPosition(at);
    return graphemes.isAtBoundary() ? at : graphemes.toPreviousBoundary();
}

/// `text` shortened in the middle to what a tool tip keeps within half the
/// smallest screen's height.
QString fitted(const QString& text)
{
    int height = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const int own = screen->availableGeometry().height();
        height = height ? std::min(height, own) : own;
    }
    const qsizetype most =
        std::max(1, (height ? height : 600) / 2 / QFontMetrics(QToolTip::font()).lineSpacing()) *
        wideCharactersPerLine;
    if (text.size() <= most)
        return text;
    const qsizetype head = boundaryNear(text, most / 2);
    const qsizetype tail = boundaryNear(text, text.size() - most / 2);
    return text.left(head) + u'…' + text.mid(tail);
}

/// `text` with a zero-width space after every character of a long run
/// without spaces (a link has none), where a wrapped tool tip may break.
QString breakable(const QString& text)
{
    QString broken;
    QStringList run;
    const auto endRun = [&] {
        broken += run.join(run.size() > longRun ? QStringView(u"\u200B") : QStringView());
        run.clear();
    };
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype from = 0, to = 0; (to = graphemes.toNextBoundary()) != -1; from = to) {
        const QString character = text.mid(from, to - from);
        if (character.front().isSpace()) {
            endRun();
            broken += character;
        } else {
            run.append(character);
        }
    }
    endRun();
    return broken;
}

} // namespace

QFrame* divider(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QWidget* browserHeader(const QIcon& icon, const QString& name, QWidget* parent)
{
    constexpr int iconSide = 16;
    auto* header = new QWidget(parent);
    auto* line = new QHBoxLayout(header);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(6);
    if (!icon.isNull()) {
        auto* image = new QLabel(header);
        image->setPixmap(icon.pixmap(QSize(iconSide, iconSide), header->devicePixelRatioF()));
        line->addWidget(image);
    }
    QLabel* label = text(name, Typography::Role::Callout, header, Palette::Tone::Secondary);
    label->setObjectName(QStringLiteral("browser"));
    line->addWidget(label, 1);
    return header;
}

QToolButton* iconButton(const QIcon& icon, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setIcon(icon);
    button->setIconSize(QSize(12, 12));
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QLabel* text(const QString& text, Typography::Role role, QWidget* parent,
             std::optional<Palette::Tone> tone)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(Typography::font(role));
    if (tone)
        Palette::setTone(label, *tone);
    return label;
}

QString plainToolTip(const QString& text)
{
    return u"<p style=\"white-space:pre-wrap\">" + breakable(fitted(text)).toHtmlEscaped() +
           u"</p>";
}

} // namespace Widgets
