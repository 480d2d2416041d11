// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsView.h"

#include "platform/AppInfo.h"
#include "rules/FeatureFlags.h"
#include "ui/look/ElidedLabel.h"
#include "ui/look/Icons.h"
#include "ui/look/Palette.h"
#include "ui/look/ProfileAvatarView.h"
#include "ui/look/Widgets.h"
#include "ui/settings/DefaultBrowserStatus.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int margin = 24;
constexpr int sectionSpacing = 20;
constexpr int rowSpacing = 8;
constexpr int settingsAvatarSize = 24;

QVBoxLayout* column(QWidget* widget, int spacing)
{
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

/// A titled section; the caller adds the content rows to the returned layout.
QWidget* section(const QString& title, QWidget* parent, QVBoxLayout** content)
{
    auto* widget = new QWidget(parent);
    *content = column(widget, rowSpacing);
    (*content)->addWidget(Widgets::text(title, Typography::Role::Headline, widget));
    return widget;
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

} // namespace

SettingsView::SettingsView(const SettingsModel::Services& services, QWidget* parent)
    : QWidget(parent), m_model(services), m_quit(services.quit), m_scroll(new QScrollArea(this))
{
    setFixedSize(fixedSize);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column(this, 0)->addWidget(m_scroll);
    connect(&m_model, &SettingsModel::changed, this, &SettingsView::rebuild);
    rebuild();
}

void SettingsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        appear();
}

void SettingsView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The warning's sign is drawn in the palette's orange.
    if (event->type() == QEvent::PaletteChange)
        rebuild();
}

void SettingsView::rebuild()
{
    const int scrolled = m_scroll->verticalScrollBar()->value();
    auto* body = new QWidget;
    QVBoxLayout* layout = column(body, sectionSpacing);
    layout->setContentsMargins(margin, margin, margin, margin);

    layout->addWidget(header(body));
    layout->addWidget(Widgets::divider(body));
    if (!m_model.defaultBrowserStatus().isDefaultBrowser()) {
        layout->addWidget(warning(body));
        layout->addWidget(Widgets::divider(body));
    }
    layout->addWidget(profilesSection(body));
    if constexpr (FeatureFlags::rulesEnabled) {
        layout->addWidget(Widgets::divider(body));
        layout->addWidget(rulesSection(body));
    }
    layout->addWidget(Widgets::divider(body));
    layout->addWidget(otherSection(body));
    layout->addStretch(1);

    m_scroll->setWidget(body); // deletes the previous body
    m_scroll->verticalScrollBar()->setValue(scrolled);
}

QWidget* SettingsView::header(QWidget* parent) const
{
    auto* widget = new QWidget(parent);
    QVBoxLayout* layout = column(widget, 2);
    layout->addWidget(
        Widgets::text(QString::fromUtf16(AppInfo::name), Typography::Role::Title2, widget));
    layout->addWidget(Widgets::text(u"バージョン " + AppInfo::version(), Typography::Role::Caption,
                                    widget, Palette::Tone::Secondary));
    return widget;
}

QWidget* SettingsView::warning(QWidget* parent)
{
    auto* widget = new QWidget(parent);
    widget->setObjectName(QStringLiteral("warning"));
    QVBoxLayout* layout = column(widget, 8);
    layout->addWidget(
        Widgets::text(QStringLiteral("設定未完了"), Typography::Role::Headline, widget));

    auto* line = new QHBoxLayout;
    line->setSpacing(8);
    auto* icon = new QLabel(widget);
    const int side = fontMetrics().height();
    icon->setPixmap(
        Icons::exclamationCircle(side, Palette::orange(palette()), devicePixelRatioF()));
    line->addWidget(icon, 0, Qt::AlignTop);
    QLabel* message = Widgets::text(
        QStringLiteral("このアプリを既定のブラウザとして設定すると使えるようになります。"),
        Typography::Role::Callout, widget);
    message->setWordWrap(true);
    line->addWidget(message, 1);
    layout->addLayout(line);

    auto* button = new QPushButton(QStringLiteral("このアプリを既定のブラウザにする"), widget);
    button->setObjectName(QStringLiteral("makeDefault"));
    connect(button, &QPushButton::clicked, &m_model.defaultBrowserStatus(),
            &DefaultBrowserStatus::makeDefault);
    layout->addWidget(button, 0, Qt::AlignLeft);
    return widget;
}

QWidget* SettingsView::browserChoice(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("browser"));
    combo->setAccessibleName(QStringLiteral("プロファイルを開くブラウザ"));
    const auto& served = m_model.served();
    for (const ChromeInstallation& browser : m_model.browsers()) {
        combo->addItem(browser.name, browser.desktopId);
        if (served && browser.desktopId == served->desktopId)
            combo->setCurrentIndex(combo->count() - 1);
    }
    // Rebuilding deletes the box: not while it is still emitting.
    connect(combo, &QComboBox::activated, this, [this, combo](int index) {
        const QString desktopId = combo->itemData(index).toString();
        QMetaObject::invokeMethod(
            this, [this, desktopId] { m_model.chooseBrowser(desktopId); }, Qt::QueuedConnection);
    });
    return combo;
}

QWidget* SettingsView::profilesSection(QWidget* parent)
{
    // Chrome's own words, and the served browser's name in them otherwise.
    const QString browser =
        m_model.served() ? m_model.served()->shortName : QStringLiteral("Chrome");
    const QList<ChromeProfile>& profiles = m_model.profiles();
    QVBoxLayout* rows = nullptr;
    QWidget* widget = section(u"検出した " + browser + u" プロファイル（" +
                                  QString::number(profiles.size()) + u"）",
                              parent, &rows);
    widget->setObjectName(QStringLiteral("profiles"));
    if (m_model.browsers().size() >= 2)
        rows->addWidget(browserChoice(widget));
    if (profiles.isEmpty()) {
        QLabel* empty = Widgets::text(u"プロファイルが見つかりませんでした。" + browser +
                                          u" を一度起動してから再度開いてください。",
                                      Typography::Role::Caption, widget, Palette::Tone::Secondary);
        empty->setWordWrap(true);
        rows->addWidget(empty);
        return widget;
    }
    for (const ChromeProfile& profile : profiles) {
        auto* row = new QHBoxLayout;
        row->setSpacing(10);
        row->addWidget(new ProfileAvatarView(profile, settingsAvatarSize, widget));
        auto* name = new ElidedLabel(profile.displayName, Qt::ElideRight, widget);
        name->setFont(Typography::font(Typography::Role::Callout));
        row->addWidget(name, 1);
        QLabel* directory = Widgets::text(profile.directoryName, Typography::Role::Caption2, widget,
                                          Palette::Tone::Tertiary);
        row->addWidget(directory);
        rows->addLayout(row);
    }
    return widget;
}

QWidget* SettingsView::rulesSection(QWidget* parent)
{
    const ProfileRules& rules = m_model.rules();
    QVBoxLayout* rows = nullptr;
    QWidget* widget =
        section(u"自動で開くルール（" + QString::number(rules.size()) + u"）", parent, &rows);
    widget->setObjectName(QStringLiteral("rules"));
    const auto secondary = Palette::Tone::Secondary;
    QLabel* note =
        rules.isEmpty()
            ? Widgets::text(QStringLiteral("ルールはまだありません。選択ウィンドウで「次回から…自動"
                                           "で開く」にチェックを入れると、ここに追加されます。"),
                            Typography::Role::Caption, widget, secondary)
            : Widgets::text(
                  QStringLiteral(
                      "上にあるルールほど優先（複数一致したときは上のものを採用）。↑↓で並べ替え。"),
                  Typography::Role::Caption2, widget, secondary);
    note->setWordWrap(true);
    rows->addWidget(note);
    for (int i = 0; i < rules.size(); ++i)
        rows->addWidget(ruleRow(i, widget));
    return widget;
}

QWidget* SettingsView::ruleRow(int index, QWidget* parent)
{
    const ProfileRule rule = m_model.rules().at(index);
    auto* widget = new QWidget(parent);
    widget->setObjectName(u"rule-" + QString::number(index));
    widget->setAccessibleName(rule.prefix + u" → " + m_model.profileName(rule.profileDirectory));
    auto* row = new QHBoxLayout(widget);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);

    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    QToolButton* up = iconButton(Icons::chevron(Qt::UpArrow, palette()), widget);
    up->setObjectName(QStringLiteral("up"));
    up->setAccessibleName(QStringLiteral("このルールを上へ"));
    up->setEnabled(index > 0);
    connect(up, &QToolButton::clicked, this, [this, index] { m_model.move(index, -1); });
    QToolButton* down = iconButton(Icons::chevron(Qt::DownArrow, palette()), widget);
    down->setObjectName(QStringLiteral("down"));
    down->setAccessibleName(QStringLiteral("このルールを下へ"));
    down->setEnabled(index < m_model.rules().size() - 1);
    connect(down, &QToolButton::clicked, this, [this, index] { m_model.move(index, 1); });
    arrows->addWidget(up, 0, Qt::AlignHCenter);
    arrows->addWidget(down, 0, Qt::AlignHCenter);
    row->addLayout(arrows);

    auto* text = new QVBoxLayout;
    text->setSpacing(1);
    auto* prefix = new ElidedLabel(rule.prefix, Qt::ElideMiddle, widget);
    prefix->setObjectName(QStringLiteral("prefix"));
    prefix->setFont(Typography::font(Typography::Role::Callout));
    text->addWidget(prefix);
    QLabel* target = Widgets::text(u"→ " + m_model.profileName(rule.profileDirectory),
                                   Typography::Role::Caption2, widget, Palette::Tone::Secondary);
    target->setObjectName(QStringLiteral("target"));
    text->addWidget(target);
    row->addLayout(text, 1);

    QToolButton* trash = iconButton(Icons::trash(palette()), widget);
    trash->setObjectName(QStringLiteral("delete"));
    trash->setToolTip(QStringLiteral("このルールを削除"));
    trash->setAccessibleName(trash->toolTip());
    trash->setIconSize(QSize(14, 14));
    connect(trash, &QToolButton::clicked, this, [this, rule] { m_model.remove(rule); });
    row->addWidget(trash);
    return widget;
}

QWidget* SettingsView::otherSection(QWidget* parent) const
{
    QVBoxLayout* content = nullptr;
    QWidget* widget = section(QStringLiteral("その他"), parent, &content);
    auto* row = new QHBoxLayout;
    auto* quit = new QPushButton(QStringLiteral("アプリを終了"), widget);
    quit->setObjectName(QStringLiteral("quit"));
    connect(quit, &QPushButton::clicked, this, [this] {
        if (m_quit)
            m_quit();
    });
    row->addWidget(quit);
    row->addStretch(1);
    content->addLayout(row);
    return widget;
}
