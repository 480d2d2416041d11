// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/picker/ProfilePickerModel.h"

#include <QWidget>

class QCheckBox;
class QInputMethodEvent;
class QKeyEvent;
class QLabel;
class QLayout;
class QLineEdit;
class QPropertyAnimation;
class QPushButton;
class QScrollArea;
class QVariantAnimation;
class ProfileRow;
class Scheduler;
class TypeToFind;

/// The picker's content: the question, the link, the profiles to choose from,
/// the remember section (rules builds only) and the cancel button. It reports
/// the choice through its callbacks and never closes its window itself.
class ProfilePickerView : public QWidget
{
    Q_OBJECT
public:
    static constexpr QSize fixedSize{400, 520};

    /// A wrapped `link` shows its destination, its host apart, and the service
    /// it came by; the link as given is the link's tool tip, and copied from it.
    ProfilePickerView(const WrappedLink& link, const ProfilePickerModel::Groups& groups,
                      ProfilePickerModel::SelectHandler onSelect,
                      ProfilePickerModel::CancelHandler onCancel, QWidget* parent = nullptr);

    /// Lets names typed (keys, or the input method's text) move the highlight,
    /// the pause that ends a text timed on `scheduler`.
    void findByTyping(Scheduler& scheduler);
    TypeToFind* typeToFind() const { return m_find; }

    ProfilePickerModel& model() { return *m_model; }
    const QList<ProfileRow*>& rows() const { return m_rows; }
    QLineEdit* prefixField() const { return m_prefixField; }
    QCheckBox* rememberBox() const { return m_rememberBox; }
    QScrollArea* list() const { return m_list; }

    /// Past this many waiting links the picker says so, and how to deal with
    /// them in one step: none is dropped.
    static constexpr qsizetype manyWaiting = 1000;

    /// Says how many links wait behind this one; none hides the line.
    void setWaiting(qsizetype count);
    QLabel* waitingLabel() const { return m_waiting; }
    /// Marks the link as new a moment: another link took the place of the one
    /// the user saw.
    void flagNewLink();
    bool newLinkFlagged() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* buildLink();
    QWidget* buildList();
    QWidget* buildRememberSection();
    void showSelection(int index, bool animated);
    /// What the modifiers of an event ask for. Which modifiers count is the
    /// owner's input filter's (`PickerInput`) to say: it trims the events.
    static ProfilePickerModel::Manner manner(Qt::KeyboardModifiers modifiers);
    void updateRememberSection();

    ProfilePickerModel* m_model;
    QList<ProfileRow*> m_rows;
    QScrollArea* m_list = nullptr;
    QPropertyAnimation* m_scroll = nullptr;
    QWidget* m_rememberSection = nullptr;
    QCheckBox* m_rememberBox = nullptr;
    QLineEdit* m_prefixField = nullptr;
    QWidget* m_prefixHelp = nullptr;
    QLabel* m_waiting = nullptr;
    QLabel* m_link = nullptr;
    QVariantAnimation* m_linkFlag = nullptr;
    QPushButton* m_cancel = nullptr;
    TypeToFind* m_find = nullptr;
    Qt::KeyboardModifiers m_cancelModifiers; // of the mouse click on キャンセル under way
    bool m_appeared = false;
    bool m_rememberTextPressed = false;
};
