// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LinkNotice.h"

#include "platform/Notifications.h"
#include "platform/Platform.h"
#include "ui/LinkLabel.h"
#include "ui/ProfilePickerView.h"
#include "ui/Widgets.h"
#include "ui/WindowPlacement.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace LinkNotice {
namespace {

constexpr int contentWidth = 400;
constexpr int margin = 20;

QPointer<QWidget> noticeWindow;

void copy(const QString& url)
{
    QGuiApplication::clipboard()->setText(url);
}

QWidget* content(const QString& url, ChromeLauncher::Failure why)
{
    auto* widget = new QWidget;
    widget->setObjectName(QStringLiteral("linkNotice"));
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(10);
    layout->addWidget(Widgets::text(summary(), Typography::Role::Headline, widget));
    QLabel* because = Widgets::text(reason(why), Typography::Role::Body, widget);
    because->setWordWrap(true);
    layout->addWidget(because);
    const int width = contentWidth - 2 * margin;
    auto* link = new LinkLabel(
        url, ProfilePickerView::linkLines(url, QFontMetrics(Typography::font(Typography::Role::Callout)), width),
        widget);
    link->setFont(Typography::font(Typography::Role::Callout));
    link->setAccessibleName(url);
    layout->addWidget(link);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* copyButton = new QPushButton(QStringLiteral("リンクをコピー"), widget);
    copyButton->setObjectName(QStringLiteral("copy"));
    QObject::connect(copyButton, &QPushButton::clicked, widget, [url] { copy(url); });
    auto* close = new QPushButton(QStringLiteral("閉じる"), widget);
    close->setObjectName(QStringLiteral("close"));
    QObject::connect(close, &QPushButton::clicked, widget, [] {
        if (noticeWindow)
            noticeWindow->hide();
    });
    buttons->addWidget(copyButton);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    copyButton->setDefault(true);
    copyButton->setFocus();

    widget->setFixedWidth(contentWidth);
    widget->setFixedHeight(widget->sizeHint().height());
    return widget;
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
    Platform::current().notifications->show(
        {summary(), reason(why) + u'\n' + url, QStringLiteral("リンクをコピー")},
        [url] { copy(url); },
        [url, why] {
            WindowPlacement::present(noticeWindow, {u"Orlim", u"linkNotice", false},
                                     content(url, why));
        });
}

QWidget* window()
{
    return noticeWindow;
}

} // namespace LinkNotice
