// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/picker/ProfilePickerModel.h"

#include <QHash>
#include <QWidget>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPropertyAnimation;
class QScrollArea;
class ProfileRow;

/// The picker's content: the question, the link, the profiles to choose from,
/// the remember section (rules builds only) and the cancel button. It reports
/// the choice through its callbacks and never closes its window itself.
class ProfilePickerView : public QWidget
{
    Q_OBJECT
public:
    static constexpr QSize fixedSize{400, 520};

    ProfilePickerView(const QString& url, const QList<ChromeProfile>& profiles,
                      ProfilePickerModel::SelectHandler onSelect,
                      ProfilePickerModel::CancelHandler onCancel, QWidget* parent = nullptr);

    ProfilePickerModel& model() { return *m_model; }
    const QList<ProfileRow*>& rows() const { return m_rows; }
    QLineEdit* prefixField() const { return m_prefixField; }
    QCheckBox* rememberBox() const { return m_rememberBox; }
    QScrollArea* list() const { return m_list; }

    /// The physical key of a key event: modifiers change what a key means
    /// (Shift+1 is "!"), not which key it is.
    static quint64 physicalKey(const QKeyEvent* event);

    /// Says how many links wait behind this one; none hides the line.
    void setWaiting(qsizetype count);
    QLabel* waitingLabel() const { return m_waiting; }
    /// Takes over the modifiers pressed in `previous`, the picker this one
    /// follows in the same window, and still held.
    void keepHeldModifiers(const ProfilePickerView& previous) { m_heldHere = previous.m_heldHere; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildList();
    QWidget* buildRememberSection();
    void showSelection(int index, bool animated);
    /// What the modifiers of an event ask for, counting only those pressed
    /// here: one held since before the picker came asks for nothing.
    ProfilePickerModel::Manner manner(Qt::KeyboardModifiers modifiers) const;
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
    Qt::KeyboardModifiers m_heldHere;
    QHash<quint64, quint64> m_releasedAt; // each key's last release seen here, by its time
    bool m_appeared = false;
    bool m_rememberTextPressed = false;
};
