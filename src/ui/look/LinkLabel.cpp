// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look/LinkLabel.h"

#include "ui/look/Widgets.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QShortcut>

namespace {

constexpr int lineCount = 2;

/// Breaks `text` into lines that fit `width`, anywhere (links have no spaces).
QStringList wrapAnywhere(const QString& text, const QFontMetrics& metrics, int width)
{
    QStringList lines;
    QString line;
    for (const QChar c : text) {
        if (!line.isEmpty() && metrics.horizontalAdvance(line + c) > width) {
            lines.append(line);
            line.clear();
        }
        line += c;
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

} // namespace

QString LinkLabel::lines(const QString& url, const QFontMetrics& metrics, int width)
{
    QStringList lines = wrapAnywhere(url, metrics, width);
    if (lines.size() > lineCount) {
        // Shorten in the middle to what two lines hold, keeping a little slack
        // for characters that do not split evenly between the lines.
        const int room = lineCount * width - 2 * metrics.averageCharWidth();
        lines = wrapAnywhere(metrics.elidedText(url, Qt::ElideMiddle, room), metrics, width);
        while (lines.size() > lineCount)
            lines.removeLast();
    }
    return lines.join(u'\n');
}

LinkLabel::LinkLabel(const QString& url, const QString& shown, QWidget* parent)
    : QLabel(parent), m_url(url)
{
    setTextFormat(Qt::PlainText);
    setText(shown);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setToolTip(Widgets::plainToolTip(url));
    // The label never takes the keyboard (the picker keeps it), so copying by
    // key is a shortcut of the window's.
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    copy->setContext(Qt::WindowShortcut);
    connect(copy, &QShortcut::activated, this, [this] {
        if (hasSelectedText())
            QGuiApplication::clipboard()->setText(m_url);
    });
    // The menu's entries; a link found inside another adds its own.
    addAction(QStringLiteral("コピー"), this,
              [this] { QGuiApplication::clipboard()->setText(m_url); });
}

void LinkLabel::setGiven(const QString& given)
{
    setToolTip(Widgets::plainToolTip(given));
    addAction(QStringLiteral("元のリンクをコピー"), this,
              [given] { QGuiApplication::clipboard()->setText(given); });
}

void LinkLabel::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu::exec(actions(), event->globalPos(), nullptr, this);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasSelectedText() && clipboard->supportsSelection())
        clipboard->setText(m_url, QClipboard::Selection);
}
