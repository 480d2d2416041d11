// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chrome/ChromeLauncher.h"
#include "chrome/NotOpened.h"
#include "ui/window/WindowPlacement.h"

#include <QObject>
#include <QPointer>
#include <QString>

class Notifications;
class QWidget;

/// Tells the user that a link could not be opened, so that no link is lost
/// without a word: a desktop notification naming the link, with an action that
/// brings up a small window of Orlim's own, which copies the link as soon as it
/// has the keyboard (on Wayland only a window with the keyboard may set the
/// clipboard). The window lists every link that could not be opened since it
/// was last closed, each with its own copy button; it comes up by itself where
/// no notification service offers the action.
class LinkNotice : public QObject, public NotOpened
{
    Q_OBJECT
public:
    /// Tells through `notifications`, where the desktop has a service;
    /// `presenter` shows the window.
    LinkNotice(WindowPlacement::Presenter presenter, Notifications& notifications,
               QObject* parent = nullptr);
    ~LinkNotice() override;

    /// What the user reads: the summary, and why.
    static QString summary();
    static QString reason(ChromeLauncher::Failure why);

    /// Tells the user that `url` could not be opened, and why.
    void notOpened(const QString& url, ChromeLauncher::Failure why) override;

    /// The window of links that could not be opened; null until it first shows.
    QWidget* window() const { return m_window; }
    /// The links it lists, oldest first.
    QStringList links() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Lost
    {
        QString url;
        ChromeLauncher::Failure why;
    };

    QWidget* content();
    /// Brings the window up with every link listed, or shows a new one in it.
    void present(const QString& activationToken = {});

    WindowPlacement::Presenter m_presenter;
    Notifications& m_notifications;
    QPointer<QWidget> m_window;
    QList<Lost> m_lost; // since the window was last closed
};
