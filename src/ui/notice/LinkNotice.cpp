// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/notice/LinkNotice.h"

#include "browser/BrowserInstallation.h"
#include "platform/AppInfo.h"
#include "platform/Notifications.h"
#include "ui/look/Widgets.h"
#include "ui/notice/LostLinkList.h"
#include "ui/notice/LostLinks.h"
#include "ui/window/WindowPlacement.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace {

constexpr int contentWidth = 440;
constexpr int margin = 20;
/// Rows shown at once; more scroll.
constexpr int rowsShown = 5;

const WindowPlacement::WindowStyle style{AppInfo::name, u"linkNotice", true};

} // namespace

LinkNotice::LinkNotice(WindowPlacement::Presenter presenter, Notifications& notifications,
                       QObject* parent)
    : QObject(parent), m_presenter(presenter), m_notifications(notifications),
      m_lost(new LostLinks(&LinkNotice::reason, this))
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
    widget->setFixedWidth(contentWidth);
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(10);
    m_headline = Widgets::text(QString(), Typography::Role::Headline, widget);
    m_headline->setObjectName(QStringLiteral("headline"));
    layout->addWidget(m_headline);

    m_list = new LostLinkList(
        contentWidth - 2 * margin,
        {reason(ChromeLauncher::Failure::NoBrowser), reason(ChromeLauncher::Failure::BrowserGone),
         reason(ChromeLauncher::Failure::DidNotStart)},
        [this](int row) { copy(m_lost->url(row)); }, widget);
    m_list->setModel(m_lost);
    layout->addWidget(m_list);
    m_more = Widgets::text(QString(), Typography::Role::Caption, widget, Palette::Tone::Secondary);
    m_more->setObjectName(QStringLiteral("more"));
    m_more->setWordWrap(true);
    layout->addWidget(m_more);
    m_copied =
        Widgets::text(QString(), Typography::Role::Caption, widget, Palette::Tone::Secondary);
    layout->addWidget(m_copied);

    auto* buttons = new QHBoxLayout;
    auto* copyAll = new QPushButton(QStringLiteral("すべてコピー"), widget);
    copyAll->setObjectName(QStringLiteral("copyAll"));
    connect(copyAll, &QPushButton::clicked, this,
            [this] { copy(m_lost->urls().join(u'\n') + u'\n'); });
    buttons->addWidget(copyAll);
    buttons->addStretch();
    auto* close = new QPushButton(QStringLiteral("閉じる"), widget);
    close->setObjectName(QStringLiteral("close"));
    connect(close, &QPushButton::clicked, this, [this] { m_window->close(); });
    buttons->addWidget(close);
    layout->addLayout(buttons);
    return widget;
}

void LinkNotice::refresh()
{
    if (!m_list)
        return;
    m_headline->setText(summary(m_lost->total()));
    const int height = m_list->heightFor(std::clamp(m_lost->rowCount(), 1, rowsShown));
    if (m_list->height() != height)
        m_list->setFixedHeight(height);
    const qsizetype earlier = m_lost->earlier() + m_lost->notKept();
    m_more->setVisible(earlier > 0);
    if (earlier > 0) {
        QString more =
            QStringLiteral("このほかに古いリンクが %1 件あります（一覧にはありません）。")
                .arg(earlier);
        if (m_lost->notKept() > 0)
            more += QStringLiteral("「すべてコピー」でコピーできるのはそのうち %1 件です。")
                        .arg(m_lost->earlier());
        else
            more += QStringLiteral("「すべてコピー」ですべてコピーできます。");
        m_more->setText(more);
    }
}

void LinkNotice::pickerUp(bool up)
{
    m_pickerUp = up;
    if (!up && std::exchange(m_waitingForPicker, false) && m_lost->total() > 0)
        showQuietly();
}

void LinkNotice::showQuietly()
{
    // A compositor may give a new window the keyboard whatever it asks (so do
    // Wayland's), and hand it to a new picker only some time after it shows:
    // while a picker is up, or another window of Orlim's has the keyboard, the
    // list comes up only once that window goes or lets the keyboard go.
    if (m_pickerUp) {
        m_waitingForPicker = true;
        refresh();
        return;
    }
    QWindow* focus = QGuiApplication::focusWindow();
    if (focus && focus->isVisible() && (!m_window || focus != m_window->windowHandle())) {
        refresh();
        if (!m_waitingForFocus) {
            m_waitingForFocus = new QObject(this);
            // Looked at again once the events of the moment are handled: the
            // keyboard may leave a window for none for an instant.
            const auto again = [this] {
                if (!m_waitingForFocus)
                    return;
                std::exchange(m_waitingForFocus, nullptr)->deleteLater();
                QTimer::singleShot(0, this, [this] {
                    if (m_lost->total() > 0)
                        showQuietly();
                });
            };
            connect(qGuiApp, &QGuiApplication::focusWindowChanged, m_waitingForFocus, again);
            connect(focus, &QWindow::visibleChanged, m_waitingForFocus, again);
        }
        return;
    }
    const bool created = !m_window;
    if (created || (!m_window->isVisible() && !m_window->isMinimized())) {
        // Sized for its rows before it is placed.
        QWidget* fresh = created ? content() : nullptr;
        refresh();
        m_presenter.showQuietly(m_window, style, fresh);
        if (created)
            m_window->installEventFilter(this);
        m_list->select(m_lost->rowCount() - 1);
        m_list->setFocus();
    }
    refresh();
}

void LinkNotice::bringUp(const QString& url, ChromeLauncher::Failure why,
                         const QString& activationToken)
{
    // Closed since: the link comes back to the list. One pushed out of the rows
    // is still kept, and copied with the others.
    if (!m_lost->contains(url))
        m_lost->append(url, why);
    const bool created = !m_window;
    if (!created && m_window->isMinimized())
        m_window->showNormal();
    QWidget* fresh = created ? content() : nullptr;
    refresh();
    m_presenter.present(m_window, style, fresh, activationToken);
    if (created)
        m_window->installEventFilter(this);
    m_list->select(m_lost->rowOf(url));
    m_list->setFocus();
    // A copy made on activation alone may lose to an older selection (a
    // compositor may order them by input); the user's Return still copies.
    m_pendingCopy = url;
    if (m_window->isActiveWindow())
        copy(std::exchange(m_pendingCopy, QString()));
}

void LinkNotice::copy(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    m_copied->setText(QStringLiteral("コピーしました"));
}

bool LinkNotice::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::WindowActivate && !m_pendingCopy.isEmpty())
            copy(std::exchange(m_pendingCopy, QString()));
        // The links listed are forgotten once the user closes the window, not
        // when it is minimised or hidden with the others.
        if (event->type() == QEvent::Close) {
            m_pendingCopy.clear();
            m_lost->clear();
            m_unseen = 0;
            m_copied->clear();
        }
    }
    return QObject::eventFilter(watched, event);
}

QString LinkNotice::summary(qsizetype count)
{
    if (count <= 1)
        return QStringLiteral("リンクを開けませんでした");
    return QStringLiteral("%1 件のリンクを開けませんでした").arg(count);
}

QString LinkNotice::reason(ChromeLauncher::Failure why)
{
    switch (why) {
    case ChromeLauncher::Failure::NoBrowser:
        return u"対応するブラウザ（" + BrowserInstallations::names().join(u'、') +
               u"）がインストールされていません。";
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
    m_lost->append(url, why);
    refresh();
    QPointer<LinkNotice> self(this);
    m_notifications.show(
        {summary(++m_unseen), reason(why) + u'\n' + url, QStringLiteral("リンクをコピー")},
        [self, url, why](const QString& activationToken) {
            if (self)
                self->bringUp(url, why, activationToken);
        },
        [self] {
            if (self && self->m_lost->total() > 0)
                self->showQuietly();
        },
        [self] {
            if (self)
                self->m_unseen = 0;
        });
}

QStringList LinkNotice::links() const
{
    return m_lost->urls();
}
