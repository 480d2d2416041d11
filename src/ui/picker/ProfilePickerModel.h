// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/ChromeProfiles.h"
#include "text/WrappedLink.h"

#include <QObject>
#include <functional>
#include <optional>

/// What a modifier held with a choice asks for: Ctrl, the same for every link
/// waiting behind the one shown; Shift, a private window.
struct ChoiceManner
{
    bool everyWaitingLink = false;
    bool privateWindow = false;
};

/// The picker's behaviour without its widgets: the link and profiles it offers,
/// the highlighted row, the remember choice, and what each key does. The rows
/// are every browser's profiles, a browser's after the one before it: digits
/// and arrows count across the browsers.
class ProfilePickerModel : public QObject
{
    Q_OBJECT
public:
    using Manner = ChoiceManner;
    using Groups = QList<ChromeProfiles::BrowserProfiles>;
    using SelectHandler =
        std::function<void(const BrowserInstallation& browser, const ChromeProfile& profile,
                           const std::optional<QString>& prefix, Manner manner)>;
    /// `everyWaitingLink`: the links waiting behind the one shown go too.
    using CancelHandler = std::function<void(bool everyWaitingLink)>;

    /// Keys the picker answers to.
    enum class Key { Up, Down, Return, Digit, Escape };

    /// Rows from this index on have no number and no digit key.
    static constexpr int numberedRows = 9;

    /// Offers `groups`' profiles for `link`; a browser without profiles has no rows.
    ProfilePickerModel(WrappedLink link, const Groups& groups, SelectHandler onSelect,
                       CancelHandler onCancel, QObject* parent = nullptr);

    /// The link as the user is shown it: a wrapped link's destination.
    const QString& url() const { return m_link.destination; }
    const WrappedLink& link() const { return m_link; }
    /// The browsers that have rows, in their order.
    const Groups& groups() const { return m_groups; }
    /// Every row's profile, in order.
    const QList<ChromeProfile>& profiles() const { return m_profiles; }
    /// The index in `groups()` of row `index`'s browser.
    int groupOf(int index) const { return m_groupOf.at(index); }

    /// Runs when the picker comes on screen: takes focus and prefills the
    /// prefix field with the site of `url()`.
    void appear();

    int selectedIndex() const { return m_selectedIndex; }
    /// Highlights row `index` (the pointer entered it).
    void setSelectedIndex(int index);
    /// Moves the highlight by `step` rows, clamped to the list; no wrap-around.
    void moveSelection(int step);

    bool remember() const { return m_remember; }
    /// The checkbox: inverts `remember`; turning it off takes focus from the field.
    void toggleRemember();
    const QString& rememberPrefix() const { return m_rememberPrefix; }
    void setRememberPrefix(const QString& prefix) { m_rememberPrefix = prefix; }

    bool focused() const { return m_focused; }
    bool prefixFieldFocused() const { return m_prefixFieldFocused; }
    void setPrefixFieldFocused(bool focused);

    /// The prefix to store with the choice: the field trimmed of spaces and tabs
    /// while `remember` is on and something is left; otherwise none.
    std::optional<QString> prefixToSave() const;
    /// Whether the remember section is offered for this link.
    bool rememberSectionShown() const;

    /// The number shown on row `index`: "1" to "9", then a blank.
    static QString numberLabel(int index);
    /// Whether row `index` answers to its digit key now.
    bool hasDigitShortcut(int index) const;

    /// Chooses row `index` (a click, or its digit).
    void choose(int index, Manner manner = {});
    void cancel(bool everyWaitingLink = false);

    /// Handles a key press (`digit` 1-9 for Key::Digit) made with `manner`
    /// (Ctrl with Escape drops every waiting link); returns whether the picker
    /// consumed it or it belongs to the prefix field.
    bool handleKey(Key key, int digit = 0, Manner manner = {});

Q_SIGNALS:
    void selectedIndexChanged(int index);
    /// Row `index` was chosen with `manner`; it is highlighted now.
    void chosen(int index, ProfilePickerModel::Manner manner);
    void rememberChanged(bool remember);
    void prefixFieldFocusChanged(bool focused);

private:
    WrappedLink m_link;
    Groups m_groups;
    QList<ChromeProfile> m_profiles;
    QList<int> m_groupOf;
    SelectHandler m_onSelect;
    CancelHandler m_onCancel;
    int m_selectedIndex = 0;
    bool m_remember = false;
    QString m_rememberPrefix;
    bool m_focused = false;
    bool m_prefixFieldFocused = false;
};
