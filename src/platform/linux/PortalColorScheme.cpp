// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/PortalColorScheme.h"

#include "platform/linux/GnomeInterfaceSettings.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QStyleHints>
#include <QTimer>

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString interface = QStringLiteral("org.freedesktop.portal.Settings");
const QString group = QStringLiteral("org.freedesktop.appearance");
const QString key = QStringLiteral("color-scheme");

/// The number inside however many variants wrap it (Read adds one).
std::optional<unsigned> settingValue(QVariant value)
{
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = qvariant_cast<QDBusVariant>(value).variant();
    bool ok = false;
    const unsigned number = value.toUInt(&ok);
    return ok ? std::optional(number) : std::nullopt;
}

} // namespace

void PortalColorScheme::follow(std::function<void(Preference)> changed)
{
    m_changed = std::move(changed);
    if (followQt())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QTimer::singleShot(0, this, [this] { followGnome(); });
        return;
    }
    read(false);
}

bool PortalColorScheme::followQt()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    QStyleHints* hints = QGuiApplication::styleHints();
    const auto fromQt = [hints]() -> std::optional<Preference> {
        switch (hints->colorScheme()) {
        case Qt::ColorScheme::Dark:
            return Preference::Dark;
        case Qt::ColorScheme::Light:
            return Preference::Light;
        default:
            return std::nullopt;
        }
    };
    const auto first = fromQt();
    if (!first)
        return false;
    QTimer::singleShot(0, this, [this, first] { report(*first); });
    connect(hints, &QStyleHints::colorSchemeChanged, this,
            [this, fromQt] { report(fromQt().value_or(Preference::None)); });
    return true;
#else
    return false;
#endif
}

void PortalColorScheme::read(bool wrapped)
{
    // ReadOne answers the value; Read, which portals before version 2 only
    // have, wraps it in one more variant.
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, path, interface, wrapped ? QStringLiteral("Read") : QStringLiteral("ReadOne"));
    call << group << key;
    auto* watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(call, answerTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, wrapped] {
        watcher->deleteLater();
        const QDBusMessage reply = watcher->reply();
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            // Listened to once the bus has answered: a connection still
            // being set up refuses to listen.
            QDBusConnection::sessionBus().connect(
                service, path, interface, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QString, QString, QDBusVariant)));
            if (const auto value = settingValue(reply.arguments().constFirst()))
                report(fromSetting(*value));
            return;
        }
        if (!wrapped && reply.errorName() == u"org.freedesktop.DBus.Error.UnknownMethod")
            read(true);
        else
            followGnome(); // no portal, or one that does not know the setting
    });
}

void PortalColorScheme::settingChanged(const QString& changedGroup, const QString& changedKey,
                                       const QDBusVariant& value)
{
    if (changedGroup != group || changedKey != key)
        return;
    if (const auto number = settingValue(value.variant()))
        report(fromSetting(*number));
}

void PortalColorScheme::followGnome()
{
    const auto value = GnomeInterfaceSettings::followColorScheme(
        [this](unsigned changed) { report(fromSetting(changed)); });
    if (value)
        report(fromSetting(*value));
}

void PortalColorScheme::report(Preference preference)
{
    if (m_reported == preference)
        return;
    m_reported = preference;
    if (m_changed)
        m_changed(preference);
}
