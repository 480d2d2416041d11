// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsView.h"

#include "platform/AppInfo.h"
#include "rules/FeatureFlags.h"
#include "ui/look/ElidedLabel.h"
#include "ui/look/Icons.h"
#include "ui/look/Palette.h"
#include "ui/look/ProfileAvatarView.h"
#include "ui/look/Widgets.h"
#include "ui/settings/BrowserList.h"
#include "ui/settings/DefaultBrowserStatus.h"
#include "ui/settings/WrappedLinkSection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Close enough that two browsers of a handful of profiles each fit the fixed
// window without scrolling, with room for a row more.
constexpr int margin = 16;
constexpr int sectionSpacing = 9;
constexpr int rowSpacing = 5;
constexpr int settingsAvatarSize = 18;
constexpr int profileSpacing = 1;

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

/// One profile as the settings list it: whether the picker shows it, its
/// picture, its name and, in the Chromium family, its folder, the name Chrome's
/// own pages give it. A Firefox profile's folder is a whole path, a key rather
/// than a name: its name alone.
QHBoxLayout* profileRow(const BrowserInstallation& browser, const ChromeProfile& profile,
                        QCheckBox* shown, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(shown);
    row->addWidget(new ProfileAvatarView(profile, settingsAvatarSize, parent));
    auto* name = new ElidedLabel(profile.displayName, Qt::ElideRight, parent);
    name->setFont(Typography::font(Typography::Role::Callout));
    row->addWidget(name, 1);
    if (browser.family == BrowserInstallation::Family::Chromium)
        row->addWidget(Widgets::text(profile.directoryName, Typography::Role::Caption2, parent,
                                     Palette::Tone::Tertiary));
    return row;
}

} // namespace

SettingsView::SettingsView(const SettingsModel::Services& services, QWidget* parent)
    : QWidget(parent), m_model(services), m_quit(services.quit),
      m_wrappedLinks(services.wrappedLinks), m_scroll(new QScrollArea(this))
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
    // The keyboard stays on the browser list, at the browser it was on.
    const auto* before =
        m_scroll->widget() ? m_scroll->widget()->findChild<BrowserList*>() : nullptr;
    const QString focused =
        before && window()->focusWidget() == before->list() ? before->current() : QString();
    // And on a profile's check box, at the same profile.
    const QWidget* focusedBox = window()->focusWidget();
    const QString focusedProfile = focusedBox && qobject_cast<const QCheckBox*>(focusedBox)
                                       ? focusedBox->objectName()
                                       : QString();
    auto* body = new QWidget;
    QVBoxLayout* layout = column(body, sectionSpacing);
    layout->setContentsMargins(margin, margin, margin, margin);

    layout->addWidget(header(body));
    layout->addWidget(Widgets::divider(body));
    if (!m_model.defaultBrowserStatus().isDefaultBrowser()) {
        layout->addWidget(warning(body));
        layout->addWidget(Widgets::divider(body));
    }
    if (m_model.browsers().size() >= 2) {
        layout->addWidget(browsersSection(body));
        layout->addWidget(Widgets::divider(body));
    }
    layout->addWidget(profilesSection(body));
    if constexpr (FeatureFlags::rulesEnabled) {
        layout->addWidget(Widgets::divider(body));
        layout->addWidget(rulesSection(body));
    }
    if (m_wrappedLinks) {
        layout->addWidget(Widgets::divider(body));
        layout->addWidget(wrappedLinkSection(*m_wrappedLinks, body));
    }
    layout->addWidget(Widgets::divider(body));
    layout->addWidget(otherSection(body));
    layout->addStretch(1);

    m_scroll->setWidget(body); // deletes the previous body
    m_scroll->verticalScrollBar()->setValue(scrolled);
    if (auto* list = body->findChild<BrowserList*>(); list && !focused.isEmpty())
        list->takeFocusAt(focused);
    if (auto* box =
            focusedProfile.isEmpty() ? nullptr : body->findChild<QCheckBox*>(focusedProfile))
        box->setFocus(Qt::OtherFocusReason);
}

void SettingsView::later(std::function<void()> change)
{
    QMetaObject::invokeMethod(this, std::move(change), Qt::QueuedConnection);
}

QWidget* SettingsView::header(QWidget* parent) const
{
    // The name and the version on one line.
    auto* widget = new QWidget(parent);
    auto* line = new QHBoxLayout(widget);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(8);
    line->addWidget(
        Widgets::text(QString::fromUtf16(AppInfo::name), Typography::Role::Title2, widget), 0,
        Qt::AlignBaseline);
    line->addWidget(Widgets::text(u"バージョン " + AppInfo::version(), Typography::Role::Caption,
                                  widget, Palette::Tone::Secondary),
                    1, Qt::AlignBaseline);
    return widget;
}

QWidget* SettingsView::warning(QWidget* parent)
{
    auto* widget = new QWidget(parent);
    widget->setObjectName(QStringLiteral("warning"));
    QVBoxLayout* layout = column(widget, rowSpacing);
    // The button beside the title, a line the fewer.
    auto* top = new QHBoxLayout;
    top->addWidget(Widgets::text(QStringLiteral("設定未完了"), Typography::Role::Headline, widget));
    layout->addLayout(top);

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
    top->addWidget(button, 0, Qt::AlignRight);
    return widget;
}

QWidget* SettingsView::browsersSection(QWidget* parent)
{
    QVBoxLayout* rows = nullptr;
    QWidget* widget = section(QStringLiteral("選択ウィンドウに表示するブラウザ"), parent, &rows);
    QLabel* note = Widgets::text(
        QStringLiteral("チェックしたブラウザのプロファイルを、この順に選択ウィンドウに"
                       "表示します。\nAlt+↑↓で並べ替え。"),
        Typography::Role::Caption2, widget, Palette::Tone::Secondary);
    note->setWordWrap(true);
    rows->addWidget(note);
    auto* list = new BrowserList(m_model.browsers(), widget);
    connect(list, &BrowserList::shownChanged, this, [this](int index, bool shown) {
        later([=, this] { m_model.setShown(index, shown); });
    });
    connect(list, &BrowserList::moved, this, [this](int index, int distance) {
        later([=, this] { m_model.moveBrowser(index, distance); });
    });
    rows->addWidget(list);
    return widget;
}

QWidget* SettingsView::profilesSection(QWidget* parent)
{
    const QList<ChromeProfiles::BrowserProfiles>& groups = m_model.groups();
    const bool several = groups.size() > 1;
    qsizetype count = 0;
    for (const ChromeProfiles::BrowserProfiles& group : groups)
        count += group.profiles.size();
    // Chrome's own words, with the one browser's name in them; among several, no name.
    const QString browser =
        groups.isEmpty() ? QStringLiteral("Chrome") : groups.first().browser.shortName;
    QVBoxLayout* rows = nullptr;
    QWidget* widget = section((several ? QStringLiteral("検出したプロファイル（")
                                       : u"検出した " + browser + u" プロファイル（") +
                                  QString::number(count) + u"）",
                              parent, &rows);
    widget->setObjectName(QStringLiteral("profiles"));
    const auto empty = [&](const QString& name, QVBoxLayout* lines) {
        QLabel* text = Widgets::text(u"プロファイルが見つかりませんでした。" + name +
                                         u" を一度起動してから再度開いてください。",
                                     Typography::Role::Caption, widget, Palette::Tone::Secondary);
        text->setWordWrap(true);
        lines->addWidget(text);
    };
    if (groups.isEmpty())
        empty(browser, rows);
    else if (count > 0) {
        QLabel* note = Widgets::text(
            m_model.everyProfileHidden()
                ? QStringLiteral("チェックしたプロファイルがないため、選択ウィンドウには"
                                 "すべてのプロファイルを表示します。")
                : QStringLiteral("チェックしたプロファイルを選択ウィンドウに表示します。"),
            Typography::Role::Caption2, widget, Palette::Tone::Secondary);
        note->setWordWrap(true);
        rows->addWidget(note);
    }
    // Each browser's profiles in a column, two side by side, the rows close
    // together: two browsers' fit without scrolling.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(rowSpacing * 2);
    for (int column = 0; column < std::min<int>(2, int(groups.size())); ++column)
        grid->setColumnStretch(column, 1);
    rows->addLayout(grid);
    for (int g = 0; g < groups.size(); ++g) {
        const ChromeProfiles::BrowserProfiles& group = groups.at(g);
        auto* lines = new QVBoxLayout;
        lines->setSpacing(profileSpacing);
        grid->addLayout(lines, g / 2, g % 2, Qt::AlignTop);
        if (several)
            lines->addWidget(
                Widgets::browserHeader(Icons::browser(group.browser), group.browser.name, widget));
        if (group.profiles.isEmpty())
            empty(group.browser.shortName, lines);
        for (int p = 0; p < group.profiles.size(); ++p) {
            const ChromeProfile& profile = group.profiles.at(p);
            auto* shown = new QCheckBox(widget);
            shown->setObjectName(u"shown-" + QString::number(g) + u'-' + QString::number(p));
            shown->setChecked(m_model.profileShown(g, p));
            shown->setToolTip(QStringLiteral("選択ウィンドウに表示"));
            shown->setAccessibleName(profile.displayName + u" を選択ウィンドウに表示");
            connect(shown, &QCheckBox::toggled, this, [this, g, p](bool checked) {
                later([=, this] { m_model.setProfileShown(g, p, checked); });
            });
            lines->addLayout(profileRow(group.browser, profile, shown, widget));
        }
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
    widget->setAccessibleName(rule.prefix + u" → " + m_model.targetLabel(rule));
    auto* row = new QHBoxLayout(widget);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);

    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    QToolButton* up = Widgets::iconButton(Icons::chevron(Qt::UpArrow, palette()), widget);
    up->setObjectName(QStringLiteral("up"));
    up->setAccessibleName(QStringLiteral("このルールを上へ"));
    up->setEnabled(index > 0);
    connect(up, &QToolButton::clicked, this, [this, index] { m_model.move(index, -1); });
    QToolButton* down = Widgets::iconButton(Icons::chevron(Qt::DownArrow, palette()), widget);
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
    text->addWidget(ruleTarget(index, widget));
    row->addLayout(text, 1);

    QToolButton* trash = Widgets::iconButton(Icons::trash(palette()), widget);
    trash->setObjectName(QStringLiteral("delete"));
    trash->setToolTip(QStringLiteral("このルールを削除"));
    trash->setAccessibleName(trash->toolTip());
    trash->setIconSize(QSize(14, 14));
    connect(trash, &QToolButton::clicked, this, [this, rule] { m_model.remove(rule); });
    row->addWidget(trash);
    return widget;
}

QWidget* SettingsView::ruleTarget(int index, QWidget* parent)
{
    const ProfileRule rule = m_model.rules().at(index);
    auto* widget = new QWidget(parent);
    auto* line = new QHBoxLayout(widget);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(4);
    line->addWidget(Widgets::text(QStringLiteral("→"), Typography::Role::Caption2, widget,
                                  Palette::Tone::Secondary));
    auto* combo = new QComboBox(widget);
    combo->setObjectName(QStringLiteral("target"));
    combo->setAccessibleName(QStringLiteral("このルールで開くプロファイル"));
    combo->setFont(Typography::font(Typography::Role::Caption2));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const QList<SettingsModel::Target> targets = m_model.targets();
    for (const SettingsModel::Target& target : targets)
        combo->addItem(target.label);
    combo->setCurrentIndex(m_model.targetOf(rule));
    if (combo->currentIndex() < 0) {
        // A profile no shown browser has now stays named as it is.
        combo->insertItem(0, m_model.targetLabel(rule));
        combo->setCurrentIndex(0);
    }
    const int offset = combo->count() - int(targets.size());
    connect(combo, &QComboBox::activated, this, [this, index, targets, offset](int chosen) {
        if (chosen >= offset)
            later([=, this] { m_model.retarget(index, targets.at(chosen - offset)); });
    });
    line->addWidget(combo);
    line->addStretch(1);
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
