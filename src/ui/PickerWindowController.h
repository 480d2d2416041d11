// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chrome/ChromeInstallation.h"
#include "chrome/ChromeLauncher.h"
#include "chrome/ChromeProfile.h"
#include "ui/LaunchGate.h"
#include "ui/ProfilePickerView.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

/// Owns the one floating picker window: shows a fresh picker for every link
/// (replacing any link still shown), and carries out the choice: store the rule
/// when one was asked for, start the link's browser, hide the window.
class PickerWindowController : public QObject
{
    Q_OBJECT
public:
    /// What a choice sets off. The defaults are the rule store and the launcher.
    struct Actions
    {
        std::function<void(const QString& prefix, const QString& profileDirectory)> storeRule;
        std::function<void(const ChromeInstallation& browser,
                           const ChromeLauncher::Request& request)>
            launch;
    };
    static PickerWindowController& shared();

    explicit PickerWindowController(Actions actions, QObject* parent = nullptr);
    ~PickerWindowController() override;

    /// Puts a new picker for `url` and `browser`'s `profiles` into the window,
    /// centres it and brings it to the front with keyboard focus (see
    /// `WindowPlacement::present`). The choice opens in `browser`, whatever is
    /// served by then.
    void show(const QString& url, const ChromeInstallation& browser,
              const QList<ChromeProfile>& profiles, const QString& activationToken = {});

    /// The window; null until the first show.
    QWidget* window() const { return m_window; }
    ProfilePickerView* content() const { return m_content; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Choice
    {
        QString url;
        ChromeInstallation browser;
        QString profileDirectory;
    };

    void hide();
    /// Starts the browser for the choice made, with a token for it; a choice
    /// that a new link overtook goes without one, and is not brought forward,
    /// so the new picker keeps the keyboard. Returns whether a token went.
    bool launchChoice(bool overtaken);

    Actions m_actions;
    QPointer<QWidget> m_window;
    QPointer<ProfilePickerView> m_content;
    std::optional<Choice> m_chosen;      // made, not yet launched
    std::unique_ptr<QObject> m_launches; // brings the last choice's browser forward
    LaunchGate m_gate;                   // when the choice starts, and the picker goes
};
