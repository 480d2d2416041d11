// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/notice/LinkNotice.h"

#include "platform/Notifications.h"
#include "platform/Platform.h"
#include "ui/look/LinkLabel.h"
#include "ui/look/Widgets.h"
#include "ui/look/WindowPlacement.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace LinkNotice {
namespace {

constexpr int contentWidth = 400;
constexpr int margin = 20;
constexpr int listMaxHeight = 360;

struct Lost
{
    QString url;
    ChromeLauncher::Failure why;
};

QPointer<QWidget> noticeWindow;
QList<Lost> lost; // since the window was last closed

void copy(const QString& url)
{
    QGuiApplication::clipboard()->setText(url);
}

/// Forgets the links listed once the window goes, however it is closed.
class ForgetOnHide final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && watched == noticeWindow)
            lost.clear();
        return QObject::eventFilter(watched, event);
    }
};

/// Copies `url` once `window` has the keyboard, then goes.
class CopyWhenActive final : public QObject
{
public:
    CopyWhenActive(QWidget* window, QString url) : QObject(window), m_url(std::move(url))
    {
        if (window->isActiveWindow()) {
            copy(m_url);
            deleteLater();
        } else {
            window->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate) {
            copy(m_url);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString m_url;
};

QWidget* row(const Lost& link, int width, QWidget* parent)
{
    auto* widget = new QWidget(parent);
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    QLabel* because = Widgets::text(reason(link.why), Typography::Role::Body, widget);
    because->setWordWrap(true);
    layout->addWidget(because);
    auto* line = new QHBoxLayout;
    const QFont font = Typography::font(Typography::Role::Callout);
    auto* copyButton = new QPushButton(QStringLiteral("コピー"), widget);
    copyButton->setObjectName(QStringLiteral("copy"));
    copyButton->setAccessibleDescription(link.url);
    QObject::connect(copyButton, &QPushButton::clicked, widget, [url = link.url] { copy(url); });
    const int room = width - copyButton->sizeHint().width() - line->spacing();
    auto* label =
        new LinkLabel(link.url, LinkLabel::lines(link.url, QFontMetrics(font), room), widget);
    label->setFont(font);
    label->setAccessibleName(link.url);
    line->addWidget(label, 1);
    line->addWidget(copyButton, 0, Qt::AlignTop);
    layout->addLayout(line);
    return widget;
}

QWidget* content()
{
    auto* widget = new QWidget;
    widget->setObjectName(QStringLiteral("linkNotice"));
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(10);
    layout->addWidget(Widgets::text(summary(), Typography::Role::Headline, widget));

    const int width = contentWidth - 2 * margin;
    auto* list = new QWidget;
    auto* rows = new QVBoxLayout(list);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(12);
    for (const Lost& link : std::as_const(lost))
        rows->addWidget(row(link, width, list));
    list->setFixedWidth(width);
    auto* scroll = new QScrollArea(widget);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(list);
    scroll->viewport()->setAutoFillBackground(false);
    list->setAutoFillBackground(false);
    list->adjustSize();
    scroll->setFixedSize(width + scroll->verticalScrollBar()->sizeHint().width(),
                         std::min(list->height(), listMaxHeight));
    layout->addWidget(scroll);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* close = new QPushButton(QStringLiteral("閉じる"), widget);
    close->setObjectName(QStringLiteral("close"));
    QObject::connect(close, &QPushButton::clicked, widget, [] {
        if (noticeWindow)
            noticeWindow->hide();
    });
    buttons->addWidget(close);
    layout->addLayout(buttons);
    close->setDefault(true);

    widget->setFixedWidth(contentWidth + scroll->verticalScrollBar()->sizeHint().width());
    widget->setFixedHeight(widget->sizeHint().height());
    return widget;
}

/// Brings the window up with every link listed, or shows a new one in it.
void present(const QString& activationToken = {})
{
    const bool created = !noticeWindow;
    WindowPlacement::present(noticeWindow, {u"Orlim", u"linkNotice", false}, content(),
                             activationToken);
    if (created)
        noticeWindow->installEventFilter(new ForgetOnHide(noticeWindow));
}

} // namespace

QString summary()
{
    return QStringLiteral("リンクを開けませんでした");
}

QString reason(ChromeLauncher::Failure why)
{
    switch (why) {
    case ChromeLauncher::Failure::NoBrowser:
        return QStringLiteral("対応するブラウザ（Chrome、Chromium、Brave、Edge、Vivaldi）が"
                              "インストールされていません。");
    case ChromeLauncher::Failure::BrowserGone:
        return QStringLiteral("このリンクを開くブラウザが見つかりません。アンインストールされた"
                              "可能性があります。");
    case ChromeLauncher::Failure::DidNotStart:
        return QStringLiteral("ブラウザを起動できませんでした。");
    }
    return {};
}

void show(const QString& url, ChromeLauncher::Failure why)
{
    lost.append({url, why});
    if (noticeWindow && noticeWindow->isVisible())
        WindowPlacement::replaceContent(noticeWindow, content());
    Platform::current().notifications->show(
        {summary(), reason(why) + u'\n' + url, QStringLiteral("リンクをコピー")},
        [url, why](const QString& activationToken) {
            // Closed since: the link comes back to the list.
            if (std::none_of(lost.begin(), lost.end(), [&](const Lost& l) { return l.url == url; }))
                lost.append({url, why});
            present(activationToken);
            new CopyWhenActive(noticeWindow, url);
        },
        [] {
            if (!lost.isEmpty())
                present();
        });
}

QWidget* window()
{
    return noticeWindow;
}

QStringList links()
{
    QStringList urls;
    for (const Lost& link : std::as_const(lost))
        urls.append(link.url);
    return urls;
}

} // namespace LinkNotice
