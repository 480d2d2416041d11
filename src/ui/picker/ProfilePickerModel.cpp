// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picker/ProfilePickerModel.h"

#include "rules/FeatureFlags.h"
#include "rules/RuleStore.h"

#include <algorithm>

namespace {

/// Space separators (Unicode Zs) and the horizontal tab; not line breaks.
bool isTrimmedSpace(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

} // namespace

ProfilePickerModel::ProfilePickerModel(WrappedLink link, const Groups& groups,
                                       SelectHandler onSelect, CancelHandler onCancel,
                                       QObject* parent)
    : QObject(parent), m_link(std::move(link)), m_onSelect(std::move(onSelect)),
      m_onCancel(std::move(onCancel))
{
    for (const ChromeProfiles::BrowserProfiles& group : groups) {
        if (group.profiles.isEmpty())
            continue;
        for (const ChromeProfile& profile : group.profiles) {
            m_profiles.append(profile);
            m_groupOf.append(int(m_groups.size()));
        }
        m_groups.append(group);
    }
}

void ProfilePickerModel::appear()
{
    m_focused = true;
    if (m_rememberPrefix.isEmpty()) {
        if (const auto prefix = RuleStore::sitePrefix(url()))
            m_rememberPrefix = *prefix;
    }
}

void ProfilePickerModel::setSelectedIndex(int index)
{
    if (index == m_selectedIndex)
        return;
    m_selectedIndex = index;
    Q_EMIT selectedIndexChanged(index);
}

void ProfilePickerModel::moveSelection(int step)
{
    if (m_profiles.isEmpty())
        return;
    setSelectedIndex(std::clamp(m_selectedIndex + step, 0, int(m_profiles.size()) - 1));
}

void ProfilePickerModel::toggleRemember()
{
    m_remember = !m_remember;
    if (!m_remember)
        setPrefixFieldFocused(false);
    Q_EMIT rememberChanged(m_remember);
}

void ProfilePickerModel::setPrefixFieldFocused(bool focused)
{
    if (focused == m_prefixFieldFocused)
        return;
    m_prefixFieldFocused = focused;
    Q_EMIT prefixFieldFocusChanged(focused);
}

std::optional<QString> ProfilePickerModel::prefixToSave() const
{
    if (!m_remember)
        return std::nullopt;
    qsizetype begin = 0;
    qsizetype end = m_rememberPrefix.size();
    while (begin < end && isTrimmedSpace(m_rememberPrefix.at(begin)))
        ++begin;
    while (end > begin && isTrimmedSpace(m_rememberPrefix.at(end - 1)))
        --end;
    if (begin == end)
        return std::nullopt;
    return m_rememberPrefix.mid(begin, end - begin);
}

bool ProfilePickerModel::rememberSectionShown() const
{
    return FeatureFlags::rulesEnabled && RuleStore::sitePrefix(url()).has_value();
}

QString ProfilePickerModel::numberLabel(int index)
{
    return index >= 0 && index < numberedRows ? QString::number(index + 1) : QStringLiteral(" ");
}

bool ProfilePickerModel::hasDigitShortcut(int index) const
{
    return index >= 0 && index < numberedRows && index < m_profiles.size() && !m_prefixFieldFocused;
}

void ProfilePickerModel::choose(int index, Manner manner)
{
    if (index < 0 || index >= m_profiles.size())
        return;
    // Copies, because the handler may replace this picker.
    const BrowserInstallation browser = m_groups.at(groupOf(index)).browser;
    const ChromeProfile profile = m_profiles.at(index);
    const std::optional<QString> prefix = prefixToSave();
    // The row chosen stays marked while the picker waits for the browser.
    setSelectedIndex(index);
    Q_EMIT chosen(index, manner);
    if (m_onSelect)
        m_onSelect(browser, profile, prefix, manner);
}

void ProfilePickerModel::cancel(bool everyWaitingLink)
{
    if (m_onCancel)
        m_onCancel(everyWaitingLink);
}

bool ProfilePickerModel::handleKey(Key key, int digit, Manner manner)
{
    if (key == Key::Escape) {
        cancel(manner.everyWaitingLink);
        return true;
    }
    if (m_prefixFieldFocused)
        return false;
    switch (key) {
    case Key::Up:
        moveSelection(-1);
        return true;
    case Key::Down:
        moveSelection(+1);
        return true;
    case Key::Return:
        choose(m_selectedIndex, manner);
        return true;
    case Key::Digit:
        if (!hasDigitShortcut(digit - 1))
            return false;
        choose(digit - 1, manner);
        return true;
    case Key::Escape:
        break;
    }
    return false;
}
