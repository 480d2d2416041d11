// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

class ProfilePickerModel;
class QKeyEvent;
class QLabel;
class QWidget;
class Scheduler;

/// Finding a profile by typing its name in the picker. The highlight goes to
/// the first row whose name begins with the text typed (among several
/// browsers, the browser's name before it counts too: "fi wo" finds Firefox's
/// "work"), else to the first whose name holds it; case and accents make no
/// difference. The same letter again steps to the next name beginning with
/// it. A pause of `pauseMs`, or Backspace to nothing, starts afresh.
class TypeToFind : public QObject
{
    Q_OBJECT
public:
    static constexpr int pauseMs = 1000;

    /// Finds among `model`'s rows, moving its highlight; shows the text typed
    /// over `list`; times the pause on `scheduler`.
    TypeToFind(ProfilePickerModel& model, QWidget* list, Scheduler& scheduler);

    /// A key pressed in the picker: a printable text without Ctrl, Alt or
    /// Meta adds to the text, Backspace takes its last character away.
    /// Returns whether the key was taken.
    bool key(const QKeyEvent* event);
    /// Text the input method committed, taken as typed.
    void commit(const QString& text);
    /// What the input method is composing, shown after the text.
    void compose(const QString& preedit);
    /// Forgets the text; returns whether there was any.
    bool clear();

    const QString& text() const { return m_text; }
    /// The line showing the text, hidden while there is none.
    QLabel* shown() const { return m_shown; }

    /// The row `typed` reaches among `names` (each row's names, folded, its
    /// own first); -1 for none.
    static int rowFor(const QList<QStringList>& names, const QString& typed);

private:
    void changed();

    ProfilePickerModel& m_model;
    Scheduler& m_scheduler;
    QList<QStringList> m_names;
    QString m_text;
    QString m_preedit;
    QLabel* m_shown;
    int m_edits = 0; // counts the changes, so that only the last one's pause ends the text
};
