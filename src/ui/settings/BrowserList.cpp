// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/BrowserList.h"

#include "ui/look/Icons.h"
#include "ui/look/Widgets.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int browserIconSize = 20;
constexpr int idRole = Qt::UserRole;

/// The entry's icon; a blank of the same size where the theme has none, so
/// every name starts at the same place.
QIcon iconOf(const BrowserInstallation& browser)
{
    const QIcon icon = Icons::browser(browser);
    if (!icon.isNull())
        return icon;
    QPixmap blank(browserIconSize, browserIconSize);
    blank.fill(Qt::transparent);
    return QIcon(blank);
}

} // namespace

BrowserList::BrowserList(const QList<SettingsModel::ListedBrowser>& browsers, QWidget* parent)
    : QWidget(parent), m_browsers(browsers), m_list(new QListWidget(this)),
      m_up(Widgets::iconButton(Icons::chevron(Qt::UpArrow, palette()), this)),
      m_down(Widgets::iconButton(Icons::chevron(Qt::DownArrow, palette()), this))
{
    for (const SettingsModel::ListedBrowser& listed : browsers)
        m_shownCount += listed.shown ? 1 : 0;

    m_list->setObjectName(QStringLiteral("browsers"));
    m_list->setAccessibleName(QStringLiteral("選択ウィンドウに表示するブラウザ"));
    m_list->setIconSize(QSize(browserIconSize, browserIconSize));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const SettingsModel::ListedBrowser& listed : browsers) {
        auto* item = new QListWidgetItem(iconOf(listed.browser), listed.browser.name, m_list);
        item->setData(idRole, listed.browser.desktopId);
        item->setCheckState(listed.shown ? Qt::Checked : Qt::Unchecked);
        // The picker always shows one browser at least.
        const bool last = listed.shown && m_shownCount == 1;
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (!last)
            flags |= Qt::ItemIsUserCheckable;
        item->setFlags(flags);
        if (last)
            item->setToolTip(QStringLiteral("少なくとも 1 つのブラウザを表示します"));
    }
    // The list shows every browser without a scroll bar of its own.
    const int rowHeight = m_list->sizeHintForRow(0);
    m_list->setFixedHeight(rowHeight * m_list->count() + 2 * m_list->frameWidth());
    m_list->installEventFilter(this);

    m_up->setObjectName(QStringLiteral("browserUp"));
    m_up->setAccessibleName(QStringLiteral("このブラウザを上へ"));
    m_up->setToolTip(QStringLiteral("このブラウザを上へ（Alt+↑）"));
    m_down->setObjectName(QStringLiteral("browserDown"));
    m_down->setAccessibleName(QStringLiteral("このブラウザを下へ"));
    m_down->setToolTip(QStringLiteral("このブラウザを下へ（Alt+↓）"));
    connect(m_up, &QToolButton::clicked, this, [this] { move(-1); });
    connect(m_down, &QToolButton::clicked, this, [this] { move(1); });
    connect(m_list, &QListWidget::currentRowChanged, this, &BrowserList::updateButtons);
    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int row = m_list->row(item);
        const bool shown = item->checkState() == Qt::Checked;
        if (row >= 0 && shown != m_browsers.at(row).shown)
            Q_EMIT shownChanged(row, shown);
    });

    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(m_up);
    arrows->addWidget(m_down);
    arrows->addStretch(1);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(m_list, 1);
    row->addLayout(arrows);
    updateButtons();
}

QString BrowserList::current() const
{
    const QListWidgetItem* item = m_list->currentItem();
    return item ? item->data(idRole).toString() : QString();
}

void BrowserList::takeFocusAt(const QString& desktopId)
{
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->data(idRole).toString() == desktopId)
            m_list->setCurrentRow(row);
    }
    m_list->setFocus(Qt::OtherFocusReason);
}

bool BrowserList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::AltModifier &&
            (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            move(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void BrowserList::move(int distance)
{
    const int row = m_list->currentRow();
    const int target = row + distance;
    // Only the shown browsers have an order.
    if (row >= 0 && row < m_shownCount && target >= 0 && target < m_shownCount)
        Q_EMIT moved(row, distance);
}

void BrowserList::updateButtons()
{
    const int row = m_list->currentRow();
    const bool shown = row >= 0 && row < m_shownCount;
    m_up->setEnabled(shown && row > 0);
    m_down->setEnabled(shown && row < m_shownCount - 1);
}
