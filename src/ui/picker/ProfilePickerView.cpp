// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/ProfilePickerView.h"

#include "ui/look/Accessibility.h"
#include "ui/look/ElidedLabel.h"
#include "ui/look/Icons.h"
#include "ui/look/LinkLabel.h"
#include "ui/look/Palette.h"
#include "ui/look/Widgets.h"
#include "ui/picker/ProfileRow.h"
#include "ui/picker/TypeToFind.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace {

constexpr int margin = 16;
constexpr int spacing = 10;
constexpr int rowSpacing = 4;
constexpr int scrollDurationMs = 100;
constexpr char16_t prefixPlaceholder[] = u"https://example.com";
constexpr char16_t question[] = u"どのプロファイルで開きますか？";
constexpr char16_t waitingText[] = u"ほかに %1 件のリンクが待っています";
constexpr char16_t manyWaitingText[] = u"ほかに %1 件のリンクが待っています（%2 件を超えました。"
                                       u"Ctrl を押しながら選ぶとまとめて開きます）";
constexpr char16_t waitingHelp[] =
    u"Ctrl を押しながら選ぶと、待っているリンクのうち、同じブラウザにそのプロファイルが"
    u"あるものも同じプロファイルで開きます。"
    u"Ctrl+Esc で待っているリンクもすべて閉じます。";
constexpr char16_t wrappedText[] = u"%1 経由のリンク。開くのは元のリンクです";
constexpr char16_t wrappedOpensDestinationText[] = u"%1 経由のリンク。転送先を直接開きます";
constexpr char16_t rememberText[] =
    u"次回から下のアドレスで始まる URL は、選んだプロファイルで自動で開く";

/// The digit 1 to 9 a key press chooses, and whether Shift with it asks for a
/// private window. The digit row is known by its place (xkb numbers it 10 to
/// 18 on every PC keyboard, under X11 and Wayland alike), so it chooses
/// whatever the layout types there: "é" or "2" on French, "2" or "@" on US.
/// Where Shift is what types the digit (French), it asks for nothing more: a
/// private window is then Shift+Return or a Shift-click. Nothing with Alt or
/// Meta held.
struct Digit
{
    int digit;
    bool privateWindow;
};

std::optional<Digit> digitOf(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers others =
        event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier | Qt::ControlModifier);
    if (others != Qt::NoModifier)
        return std::nullopt;
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const bool typesDigit = event->key() >= Qt::Key_1 && event->key() <= Qt::Key_9;
    const quint32 code = event->nativeScanCode();
    if (code >= 10 && code <= 18)
        return Digit{int(code) - 9, shift && !typesDigit};
    if (typesDigit)
        return Digit{event->key() - Qt::Key_0, shift};
    return std::nullopt;
}

/// What the picker calls a browser.
QString nameOf(const BrowserInstallation& browser)
{
    return browser.shortName.isEmpty() ? browser.name : browser.shortName;
}

/// The line above a browser's rows, where the picker offers several.
QWidget* groupHeader(const BrowserInstallation& browser, QWidget* parent)
{
    QWidget* header = Widgets::browserHeader(Icons::browser(browser), nameOf(browser), parent);
    header->layout()->setContentsMargins(8, 6, 8, 0);
    return header;
}

/// The line under a wrapped link: the services it came by, and what opens.
QString wrappedLine(const WrappedLink& link)
{
    return QString::fromUtf16(link.opensDestination ? wrappedOpensDestinationText : wrappedText)
        .arg(link.services.join(u"、"));
}

constexpr int newLinkFlagMs = 900;
constexpr qreal newLinkFlagOpacity = 0.35;

} // namespace

ProfilePickerView::ProfilePickerView(const WrappedLink& link,
                                     const ProfilePickerModel::Groups& groups,
                                     ProfilePickerModel::SelectHandler onSelect,
                                     ProfilePickerModel::CancelHandler onCancel, QWidget* parent)
    : QWidget(parent),
      m_model(new ProfilePickerModel(link, groups, std::move(onSelect), std::move(onCancel), this))
{
    setFixedSize(fixedSize);
    setFocusPolicy(Qt::StrongFocus);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(spacing);

    layout->addWidget(
        Widgets::text(QString::fromUtf16(question), Typography::Role::Headline, this));

    layout->addLayout(buildLink());
    layout->addWidget(Widgets::divider(this));
    layout->addWidget(buildList(), 1);
    layout->addWidget(buildRememberSection());

    auto* bottom = new QHBoxLayout;
    m_waiting = Widgets::text(QString(), Typography::Role::Callout, this, Palette::Tone::Secondary);
    m_waiting->setObjectName(QStringLiteral("waiting"));
    m_waiting->setToolTip(QString::fromUtf16(waitingHelp));
    m_waiting->setAccessibleDescription(QString::fromUtf16(waitingHelp));
    m_waiting->hide();
    bottom->addWidget(m_waiting);
    bottom->addStretch(1);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setFocusPolicy(Qt::NoFocus);
    cancel->installEventFilter(this); // for the modifiers of its click
    m_cancel = cancel;
    connect(cancel, &QPushButton::clicked, m_model, [this] {
        m_model->cancel(manner(std::exchange(m_cancelModifiers, {})).everyWaitingLink);
    });
    bottom->addWidget(cancel);
    layout->addLayout(bottom);

    connect(m_model, &ProfilePickerModel::selectedIndexChanged, this,
            [this](int index) { showSelection(index, true); });
    connect(m_model, &ProfilePickerModel::chosen, this,
            [this](int index, ProfilePickerModel::Manner manner) {
                m_rows.at(index)->markChosen(manner.privateWindow);
            });
    connect(m_model, &ProfilePickerModel::rememberChanged, this,
            &ProfilePickerView::updateRememberSection);
    connect(m_model, &ProfilePickerModel::prefixFieldFocusChanged, this, [this](bool focused) {
        if (!focused && m_prefixField && m_prefixField->hasFocus())
            setFocus(Qt::OtherFocusReason);
    });
    showSelection(m_model->selectedIndex(), false);
    updateRememberSection();
}

QLayout* ProfilePickerView::buildLink()
{
    auto* lines = new QVBoxLayout;
    lines->setSpacing(2);
    const WrappedLink& wrapped = m_model->link();
    if (wrapped.wrapped()) {
        // The end of a host says whose it is: a long one is shortened at its start.
        auto* host = new ElidedLabel(wrapped.host, Qt::ElideLeft, this);
        host->setObjectName(QStringLiteral("host"));
        host->setFont(Typography::font(Typography::Role::Headline));
        lines->addWidget(host);
    }
    const QString& url = m_model->url();
    const QFont linkFont = Typography::font(Typography::Role::Callout);
    auto* link = new LinkLabel(
        url, LinkLabel::lines(url, QFontMetrics(linkFont), fixedSize.width() - 2 * margin), this);
    link->setFont(linkFont);
    Palette::setTone(link, Palette::Tone::Secondary);
    link->setObjectName(QStringLiteral("link"));
    link->setAccessibleName(url);
    link->setAutoFillBackground(true);
    lines->addWidget(link);
    m_link = link;
    if (wrapped.wrapped()) {
        link->setGiven(wrapped.given);
        link->setAccessibleDescription(wrappedLine(wrapped));
        auto* service = new ElidedLabel(wrappedLine(wrapped), Qt::ElideRight, this);
        service->setObjectName(QStringLiteral("wrapped"));
        service->setFont(Typography::font(Typography::Role::Caption));
        Palette::setTone(service, Palette::Tone::Secondary);
        lines->addWidget(service);
    }
    return lines;
}

QWidget* ProfilePickerView::buildList()
{
    m_list = new QScrollArea(this);
    m_list->setWidgetResizable(true);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    auto* content = new QWidget(m_list);
    Accessibility::setRole(content, QAccessible::List);
    content->setAccessibleName(QStringLiteral("プロファイル"));
    auto* rows = new QVBoxLayout(content);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(rowSpacing);
    // One browser alone has no header, and its rows name no browser.
    const ProfilePickerModel::Groups& groups = m_model->groups();
    const bool several = groups.size() > 1;
    const QList<ChromeProfile>& profiles = m_model->profiles();
    for (int i = 0; i < profiles.size(); ++i) {
        const BrowserInstallation& browser = groups.at(m_model->groupOf(i)).browser;
        if (several && (i == 0 || m_model->groupOf(i - 1) != m_model->groupOf(i)))
            rows->addWidget(groupHeader(browser, content));
        auto* row =
            new ProfileRow(profiles.at(i), i, several ? nameOf(browser) : QString(), content);
        connect(row, &ProfileRow::clicked, m_model,
                [this](int index, Qt::KeyboardModifiers modifiers) {
                    m_model->choose(index, manner(modifiers));
                });
        connect(row, &ProfileRow::hovered, m_model, &ProfilePickerModel::setSelectedIndex);
        rows->addWidget(row);
        m_rows.append(row);
    }
    rows->addStretch(1);
    m_list->setWidget(content);
    m_list->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);

    m_scroll = new QPropertyAnimation(m_list->verticalScrollBar(), "value", this);
    m_scroll->setDuration(scrollDurationMs);
    m_scroll->setEasingCurve(QEasingCurve::OutCubic);
    return m_list;
}

QWidget* ProfilePickerView::buildRememberSection()
{
    m_rememberSection = new QWidget(this);
    auto* outer = new QVBoxLayout(m_rememberSection);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(spacing);
    outer->addWidget(Widgets::divider(m_rememberSection));

    auto* stack = new QVBoxLayout;
    stack->setSpacing(6);
    auto* checkRow = new QHBoxLayout;
    checkRow->setSpacing(6);
    m_rememberBox = new QCheckBox(m_rememberSection);
    m_rememberBox->setFocusPolicy(Qt::NoFocus);
    m_rememberBox->setAccessibleName(QString::fromUtf16(rememberText));
    connect(m_rememberBox, &QCheckBox::clicked, m_model, &ProfilePickerModel::toggleRemember);
    checkRow->addWidget(m_rememberBox, 0, Qt::AlignTop);
    QLabel* checkText = Widgets::text(QString::fromUtf16(rememberText), Typography::Role::Callout,
                                      m_rememberSection);
    checkText->setWordWrap(true);
    checkText->installEventFilter(this); // clicking the text toggles too
    checkText->setObjectName(QStringLiteral("rememberText"));
    checkRow->addWidget(checkText, 1);
    stack->addLayout(checkRow);

    m_prefixField = new QLineEdit(m_rememberSection);
    m_prefixField->setPlaceholderText(QString::fromUtf16(prefixPlaceholder));
    m_prefixField->setAccessibleName(QStringLiteral("自動で開くアドレス（前方一致）"));
    m_prefixField->setFont(Typography::monospaced(Typography::Role::Callout));
    m_prefixField->installEventFilter(this);
    connect(m_prefixField, &QLineEdit::textEdited, m_model, &ProfilePickerModel::setRememberPrefix);
    stack->addWidget(m_prefixField);

    QLabel* help = Widgets::text(
        QStringLiteral(
            "この文字列で始まる URL "
            "すべてが対象（前方一致）。複数ルールは設定で並べ替えて優先順位を変えられます。"),
        Typography::Role::Caption2, m_rememberSection, Palette::Tone::Secondary);
    help->setWordWrap(true);
    m_prefixHelp = help;
    stack->addWidget(help);
    outer->addLayout(stack);
    return m_rememberSection;
}

void ProfilePickerView::findByTyping(Scheduler& scheduler)
{
    m_find = new TypeToFind(*m_model, m_list, scheduler);
    setAttribute(Qt::WA_InputMethodEnabled);
}

void ProfilePickerView::setWaiting(qsizetype count)
{
    m_waiting->setText(count > manyWaiting
                           ? QString::fromUtf16(manyWaitingText).arg(count).arg(manyWaiting)
                           : QString::fromUtf16(waitingText).arg(count));
    m_waiting->setVisible(count > 0);
}

ProfilePickerModel::Manner ProfilePickerView::manner(Qt::KeyboardModifiers modifiers)
{
    return {.everyWaitingLink = modifiers.testFlag(Qt::ControlModifier),
            .privateWindow = modifiers.testFlag(Qt::ShiftModifier)};
}

void ProfilePickerView::flagNewLink()
{
    if (!m_linkFlag) {
        m_linkFlag = new QVariantAnimation(this);
        m_linkFlag->setDuration(newLinkFlagMs);
        m_linkFlag->setStartValue(newLinkFlagOpacity);
        m_linkFlag->setEndValue(0.0);
        connect(m_linkFlag, &QVariantAnimation::valueChanged, m_link,
                [this](const QVariant& value) {
                    QColor fill = Palette::accent(palette());
                    fill.setAlphaF(value.toReal());
                    QPalette shade = m_link->palette();
                    shade.setColor(QPalette::Window, fill);
                    m_link->setPalette(shade);
                });
    }
    m_linkFlag->start();
}

bool ProfilePickerView::newLinkFlagged() const
{
    return m_linkFlag && m_linkFlag->state() == QAbstractAnimation::Running;
}

void ProfilePickerView::showSelection(int index, bool animated)
{
    for (ProfileRow* row : std::as_const(m_rows))
        row->setSelected(row->index() == index);
    if (index < 0 || index >= m_rows.size())
        return;
    if (m_appeared)
        Accessibility::announceSelection(m_rows.at(index));
    if (!animated)
        return;
    const ProfileRow* row = m_rows.at(index);
    QScrollBar* bar = m_list->verticalScrollBar();
    const int centred = row->geometry().center().y() - m_list->viewport()->height() / 2;
    m_scroll->stop();
    m_scroll->setStartValue(bar->value());
    m_scroll->setEndValue(std::clamp(centred, bar->minimum(), bar->maximum()));
    m_scroll->start();
}

void ProfilePickerView::updateRememberSection()
{
    m_rememberSection->setVisible(m_model->rememberSectionShown());
    m_rememberBox->setChecked(m_model->remember());
    m_prefixField->setVisible(m_model->remember());
    m_prefixHelp->setVisible(m_model->remember());
    if (m_prefixField->text() != m_model->rememberPrefix())
        m_prefixField->setText(m_model->rememberPrefix());
}

void ProfilePickerView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_appeared)
        return;
    m_appeared = true;
    // The window reads as the question about the link, the link exactly as
    // shown: a wrapped link's destination first, then what wrapped it.
    const WrappedLink& link = m_model->link();
    window()->setAccessibleDescription(QString::fromUtf16(question) + u'\n' + m_model->url() +
                                       (link.wrapped() ? u'\n' + wrappedLine(link) : QString()));
    m_model->appear();
    updateRememberSection();
    setFocus(Qt::ActiveWindowFocusReason);
    if (const int index = m_model->selectedIndex(); index >= 0 && index < m_rows.size())
        Accessibility::announceSelection(m_rows.at(index));
}

void ProfilePickerView::keyPressEvent(QKeyEvent* event)
{
    using Key = ProfilePickerModel::Key;
    const ProfilePickerModel::Manner how = manner(event->modifiers());
    bool consumed = false;
    switch (event->key()) {
    case Qt::Key_Escape:
        // Escape takes back the text typed before it drops the link.
        consumed = (m_find && m_find->clear()) || m_model->handleKey(Key::Escape, 0, how);
        break;
    case Qt::Key_Up:
        consumed = m_model->handleKey(Key::Up);
        break;
    case Qt::Key_Down:
        consumed = m_model->handleKey(Key::Down);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        consumed = m_model->handleKey(Key::Return, 0, how);
        break;
    default:
        if (const auto digit = digitOf(event))
            consumed = m_model->handleKey(
                Key::Digit, digit->digit,
                {.everyWaitingLink = how.everyWaitingLink, .privateWindow = digit->privateWindow});
        else if (m_find && !m_model->prefixFieldFocused())
            consumed = m_find->key(event);
    }
    if (consumed)
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void ProfilePickerView::inputMethodEvent(QInputMethodEvent* event)
{
    if (!m_find || m_model->prefixFieldFocused())
        return QWidget::inputMethodEvent(event);
    // A digit the input method gives (full-width "３" too) chooses, as its key does.
    const QString plain = event->commitString().normalized(QString::NormalizationForm_KC);
    event->accept();
    if (plain.size() == 1 && plain.at(0) >= u'1' && plain.at(0) <= u'9') {
        m_model->handleKey(ProfilePickerModel::Key::Digit, plain.at(0).unicode() - u'0');
        return;
    }
    m_find->commit(event->commitString());
    m_find->compose(event->preeditString());
}

QVariant ProfilePickerView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    // The input method's words come up by the text typed.
    if (m_find && query == Qt::ImCursorRectangle) {
        const QLabel* shown = m_find->shown();
        return QRect(shown->mapTo(this, shown->rect().bottomLeft()), QSize(1, 1));
    }
    return QWidget::inputMethodQuery(query);
}

bool ProfilePickerView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_cancel && event->type() == QEvent::MouseButtonRelease) {
        // Only for the click this release makes: a press without one (an
        // accessibility action, a key) carries no modifiers.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool clicks = mouse->button() == Qt::LeftButton && m_cancel->isDown() &&
                            m_cancel->rect().contains(mouse->position().toPoint());
        m_cancelModifiers = clicks ? mouse->modifiers() : Qt::NoModifier;
    } else if (watched == m_prefixField) {
        if (event->type() == QEvent::FocusIn)
            m_model->setPrefixFieldFocused(true);
        else if (event->type() == QEvent::FocusOut)
            m_model->setPrefixFieldFocused(false);
    } else if (watched->objectName() == u"rememberText") {
        // Like the box beside it: a left press, then its release over the text.
        if (event->type() == QEvent::MouseButtonPress) {
            m_rememberTextPressed = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
            return m_rememberTextPressed;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const bool click = m_rememberTextPressed && mouse->button() == Qt::LeftButton &&
                               static_cast<QWidget*>(watched)->rect().contains(mouse->pos());
            m_rememberTextPressed = false;
            if (click)
                m_model->toggleRemember();
            return click;
        }
    }
    return QWidget::eventFilter(watched, event);
}
