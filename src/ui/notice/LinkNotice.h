// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/ChromeLauncher.h"
#include "browser/NotOpened.h"
#include "ui/window/WindowPlacement.h"

#include <QObject>
#include <QPointer>
#include <QString>

class LostLinkList;
class LostLinks;
class Notifications;
class QLabel;
class QWidget;

/// Tells the user that a link could not be opened, so that no link is lost
/// without a word: one desktop notification for however many links (a burst
/// updates it), whose action brings up a small window of Orlim's own that
/// lists every link not opened until the user closes it, each copied by the
/// user's own click, Return or Space (on Wayland only input in a window with
/// the keyboard may set the clipboard). The window comes up by itself where no
/// notification service offers the action, once no picker is up and no other
/// window of Orlim's has the keyboard, and without asking for it.
class LinkNotice : public QObject, public NotOpened
{
    Q_OBJECT
public:
    /// Tells through `notifications`, where the desktop has a service;
    /// `presenter` shows the window.
    LinkNotice(WindowPlacement::Presenter presenter, Notifications& notifications,
               QObject* parent = nullptr);
    ~LinkNotice() override;

    /// What the user reads: the summary for `count` links, and why.
    static QString summary(qsizetype count = 1);
    static QString reason(ChromeLauncher::Failure why);

    /// Tells the user that `url` could not be opened, and why.
    void notOpened(const QString& url, ChromeLauncher::Failure why) override;
    /// Whether a picker is up: the window does not come up by itself while one
    /// is, whether or not the picker has the keyboard yet.
    void pickerUp(bool up);

    /// The window of links that could not be opened; null until it first shows.
    QWidget* window() const { return m_window; }
    /// Every link kept since the window was last closed, oldest first.
    QStringList links() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* content();
    /// Shows the window without the keyboard, unless it is up (minimised or not).
    void showQuietly();
    /// Brings the window up with `url` current, to be copied once the window
    /// has the keyboard.
    void bringUp(const QString& url, ChromeLauncher::Failure why, const QString& activationToken);
    void copy(const QString& text);
    /// Fits the list to its rows and says how many are not listed.
    void refresh();

    WindowPlacement::Presenter m_presenter;
    Notifications& m_notifications;
    LostLinks* m_lost;
    QPointer<QWidget> m_window;
    LostLinkList* m_list = nullptr;
    QLabel* m_headline = nullptr;
    QLabel* m_more = nullptr;
    QLabel* m_copied = nullptr;
    /// The link the notification's action asked for, copied when the window
    /// gets the keyboard: only the newest asked, and none once closed.
    QString m_pendingCopy;
    /// Set while the window waits for another of Orlim's to let the keyboard
    /// go: the context of what tells that it went.
    QObject* m_waitingForFocus = nullptr;
    /// The links the notification counts: those told since the user last
    /// dismissed it or closed the window, not the ones seen then.
    qsizetype m_unseen = 0;
    bool m_pickerUp = false;
    /// The window was to come up by itself while a picker was up.
    bool m_waitingForPicker = false;
};
