// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chrome/ChromeProfile.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <optional>

#include "ui/ProfilePickerView.h"
#include <functional>

class ProfilePickerView;
class QWidget;

/// Owns the one floating picker window: shows a fresh picker for every link
/// (replacing any link still shown), and carries out the choice: store the rule
/// when one was asked for, start Chrome, hide the window.
class PickerWindowController : public QObject
{
    Q_OBJECT
public:
    /// What a choice sets off. The defaults are the rule store and the launcher.
    struct Actions
    {
        std::function<void(const QString& prefix, const QString& profileDirectory)> storeRule;
        std::function<void(const QString& url, const QString& profileDirectory,
                           const QString& activationToken)>
            launch;
    };
    /// How long, at most, a picker whose token needs it stays up after a choice.
    static constexpr int tokenHoldMs = 3000;
    /// How long the focus must stay put before a token is made for Chrome.
    static constexpr int settleMs = 150;

    static PickerWindowController& shared();

    explicit PickerWindowController(Actions actions, QObject* parent = nullptr);
    ~PickerWindowController() override;

    /// Puts a new picker for `url` and `profiles` into the window, centres it and
    /// brings it to the front with keyboard focus (see `WindowPlacement::present`).
    void show(const QString& url, const QList<ChromeProfile>& profiles,
              const QString& activationToken = {});

    /// The window; null until the first show.
    QWidget* window() const { return m_window; }
    ProfilePickerView* content() const { return m_content; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Choice
    {
        QString url;
        QString profileDirectory;
    };

    void hide();
    /// Starts Chrome for the choice made, with a token for it.
    void launchChoice();
    /// Launches the choice once no key is down, the window is active and its
    /// focus has settled.
    void launchWhenReady();
    void unsettle();
    void holdForChrome();

    Actions m_actions;
    QPointer<QWidget> m_window;
    QPointer<ProfilePickerView> m_content;
    bool m_holding = false;         // chosen; kept up for Chrome's token
    std::optional<Choice> m_chosen; // made, not yet launched
    QSet<int> m_keysDown;           // in the picker, not yet released
    bool m_settled = false;         // the focus has not changed for a while
    int m_focusChanges = 0;
};
