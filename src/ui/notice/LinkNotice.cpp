// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/notice/LinkNotice.h"

#include "platform/Notifications.h"
#include "ui/look/LinkLabel.h"
#include "ui/look/Widgets.h"
#include "ui/window/WindowPlacement.h"

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

namespace {

constexpr int contentWidth = 400;
constexpr int margin = 20;
constexpr int listMaxHeight = 360;

void copy(const QString& url)
{
    QGuiApplication::clipboard()->setText(url);
}

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

QWidget* row(const QString& url, ChromeLauncher::Failure why, int width, QWidget* parent)
{
    auto* widget = new QWidget(parent);
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    QLabel* because = Widgets::text(LinkNotice::reason(why), Typography::Role::Body, widget);
    because->setWordWrap(true);
    layout->addWidget(because);
    auto* line = new QHBoxLayout;
    const QFont font = Typography::font(Typography::Role::Callout);
    auto* copyButton = new QPushButton(QStringLiteral("コピー"), widget);
    copyButton->setObjectName(QStringLiteral("copy"));
    copyButton->setAccessibleDescription(url);
    QObject::connect(copyButton, &QPushButton::clicked, widget, [url] { copy(url); });
    const int room = width - copyButton->sizeHint().width() - line->spacing();
    auto* label = new LinkLabel(url, LinkLabel::lines(url, QFontMetrics(font), room), widget);
    label->setFont(font);
    label->setAccessibleName(url);
    line->addWidget(label, 1);
    line->addWidget(copyButton, 0, Qt::AlignTop);
    layout->addLayout(line);
    return widget;
}

} // namespace

LinkNotice::LinkNotice(WindowPlacement::Presenter presenter, Notifications& notifications,
                       QObject* parent)
    : QObject(parent), m_presenter(presenter), m_notifications(notifications)
{
}

LinkNotice::~LinkNotice()
{
    delete m_window;
}

QWidget* LinkNotice::content()
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
    for (const Lost& link : std::as_const(m_lost))
        rows->addWidget(row(link.url, link.why, width, list));
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
    connect(close, &QPushButton::clicked, widget, [this] { m_window->hide(); });
    buttons->addWidget(close);
    layout->addLayout(buttons);
    close->setDefault(true);

    widget->setFixedWidth(contentWidth + scroll->verticalScrollBar()->sizeHint().width());
    widget->setFixedHeight(widget->sizeHint().height());
    return widget;
}

void LinkNotice::present(const QString& activationToken)
{
    const bool created = !m_window;
    m_presenter.present(m_window, {u"Orlim", u"linkNotice", false}, content(), activationToken);
    if (created)
        m_window->installEventFilter(this);
}

bool LinkNotice::eventFilter(QObject* watched, QEvent* event)
{
    // The links listed are forgotten once the window goes, however it is closed.
    if (event->type() == QEvent::Hide && watched == m_window)
        m_lost.clear();
    return QObject::eventFilter(watched, event);
}

QString LinkNotice::summary()
{
    return QStringLiteral("リンクを開けませんでした");
}

QString LinkNotice::reason(ChromeLauncher::Failure why)
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

void LinkNotice::notOpened(const QString& url, ChromeLauncher::Failure why)
{
    m_lost.append({url, why});
    if (m_window && m_window->isVisible())
        WindowPlacement::replaceContent(m_window, content());
    QPointer<LinkNotice> self(this);
    m_notifications.show(
        {summary(), reason(why) + u'\n' + url, QStringLiteral("リンクをコピー")},
        [self, url, why](const QString& activationToken) {
            if (!self)
                return;
            // Closed since: the link comes back to the list.
            const QList<Lost>& lost = self->m_lost;
            if (std::none_of(lost.begin(), lost.end(), [&](const Lost& l) { return l.url == url; }))
                self->m_lost.append({url, why});
            self->present(activationToken);
            new CopyWhenActive(self->m_window, url);
        },
        [self] {
            if (self && !self->m_lost.isEmpty())
                self->present();
        });
}

QStringList LinkNotice::links() const
{
    QStringList urls;
    for (const Lost& link : m_lost)
        urls.append(link.url);
    return urls;
}
