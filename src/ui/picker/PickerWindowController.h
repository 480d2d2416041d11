// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/BrowserInstallation.h"
#include "browser/ChromeLauncher.h"
#include "browser/ChromeProfile.h"
#include "text/WrappedLink.h"
#include "ui/picker/LaunchGate.h"
#include "ui/picker/PickerInput.h"
#include "ui/picker/ProfilePickerView.h"
#include "ui/window/WindowPlacement.h"

#include <QObject>
#include <QPointer>
#include <deque>
#include <memory>
#include <optional>

class NotOpened;
class QWidget;
class RuleStore;
class Scheduler;

/// Owns the one floating picker window and the links waiting for it. Links
/// take their turn in the order they came: the picker shows the oldest, and
/// the one on screen never changes under the user's hand. It carries out each
/// choice (stores the rule when one was asked for) and shows the next link;
/// after the last it starts every link chosen, in order, and hides the window.
class PickerWindowController : public QObject
{
    Q_OBJECT
public:
    /// Opens each choice with `launcher`, telling `notOpened` of a link that
    /// could not be; stores the rules asked for in `rules`. `presenter` shows
    /// the picker, and its activation ties each start to the user's input in
    /// it; `scheduler` times the start of a choice.
    PickerWindowController(const ChromeLauncher& launcher, RuleStore& rules, NotOpened& notOpened,
                           WindowPlacement::Presenter presenter, Scheduler& scheduler,
                           QObject* parent = nullptr);
    ~PickerWindowController() override;

    /// Asks for a profile for `url` among `groups`' browsers' profiles: at once
    /// in a new picker, centred and in front with the keyboard (see
    /// `WindowPlacement::present`), or, while the picker asks about another
    /// link, after that one and every link before. The choice opens in the
    /// chosen row's browser, as looked up for this link, whatever is served by
    /// then; what opens is `url.opened()`.
    void show(const WrappedLink& url, const ProfilePickerModel::Groups& groups,
              const QString& activationToken = {});

    /// Opens `url` in `browser`'s `profileDirectory`, a link that needs no
    /// choice, in its turn: after the links waiting for the picker, or before
    /// the last choice if that has yet to start. Returns false when nothing
    /// waits, and the link is the caller's to open at once.
    bool openInTurn(const QString& url, const BrowserInstallation& browser,
                    const QString& profileDirectory);

    /// The window; null until the first show.
    QWidget* window() const { return m_window; }
    ProfilePickerView* content() const { return m_content; }
    /// How many links behind the one shown wait to be asked about (not those
    /// that need no choice).
    qsizetype waiting() const { return m_toAsk; }

Q_SIGNALS:
    /// The picker's window came up or went, by Orlim's doing or the desktop's;
    /// not told as the picker itself ends.
    void up(bool up);

private:
    struct Choice
    {
        QString url;
        BrowserInstallation browser;
        QString profileDirectory;
        bool privateWindow;
    };
    struct Link
    {
        WrappedLink url; // as it came, and what opens
        ProfilePickerModel::Groups groups;
        std::optional<Choice> decided; // a link that needs no choice
    };

    /// The picker for `link`, its callbacks bound to it.
    ProfilePickerView* pickerFor(const Link& link);
    /// Carries out the choice of `browser`'s `profile` for the link shown.
    void chosen(const Link& link, const BrowserInstallation& browser, const ChromeProfile& profile,
                const std::optional<QString>& prefix, ProfilePickerModel::Manner manner);
    /// Drops the link shown, and with `everyWaitingLink` those waiting too.
    void dropped(bool everyWaitingLink);
    /// Shows the next waiting link; after the last, starts the choices made.
    void next();
    /// Puts the oldest waiting link in the picker's place, in the same window,
    /// which keeps the keyboard.
    void showNext();
    void hide();
    /// Starts the browser for `choice`, with a token for it; a choice that a
    /// new link overtook goes without one, and is not brought forward, so the
    /// picker keeps the keyboard. Returns whether a token went.
    bool launch(const Choice& choice, bool overtaken);

    const ChromeLauncher& m_launcher;
    RuleStore& m_rules;
    NotOpened& m_notOpened;
    WindowPlacement::Presenter m_presenter;
    Scheduler& m_scheduler;
    QPointer<QWidget> m_window;
    QPointer<ProfilePickerView> m_content;
    bool m_asking = false;               // the link shown awaits its choice
    std::deque<Link> m_waiting;          // behind the link shown, oldest first
    qsizetype m_toAsk = 0;               // those of them that need a choice
    QList<Choice> m_decided;             // for links shown since the picker came
    std::optional<Choice> m_chosen;      // the last, not yet launched
    std::unique_ptr<QObject> m_launches; // brings the last choice's browser forward
    LaunchGate m_gate;                   // when the choice starts, and the picker goes
    PickerInput m_input;                 // which input counts, and for which link
};
