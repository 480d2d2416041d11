// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ColorScheme.h"

#include <QObject>
#include <optional>

class QDBusVariant;

/// The preference as the desktop serves it: Qt's own reading where it has one
/// (Qt 6.5 and later, with a platform theme that knows), else the XDG desktop
/// portal's Settings (GNOME, KDE and most others), else GNOME's own setting.
class PortalColorScheme final : public QObject, public ColorScheme
{
    Q_OBJECT
public:
    /// How long the portal may take to answer before it counts as absent.
    static constexpr int answerTimeoutMs = 2000;

    void follow(std::function<void(Preference)> changed) override;

private Q_SLOTS:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    bool followQt();
    void read(bool wrapped);
    void followGnome();
    void report(Preference preference);

    std::function<void(Preference)> m_changed;
    std::optional<Preference> m_reported;
};
