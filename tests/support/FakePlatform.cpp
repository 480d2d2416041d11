// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakePlatform.h"

#include <QDir>
#include <QFileInfo>

void FakeScheduler::schedule(std::chrono::milliseconds delay, const QObject* context,
                             std::function<void()> task)
{
    if (context) // a task whose context is gone does not run
        task = [guard = QPointer(context), task = std::move(task)] {
            if (guard)
                task();
        };
    m_tasks.emplace(m_now + int(delay.count()), std::move(task));
}

void FakeScheduler::advance(int ms)
{
    const int until = m_now + ms;
    while (!m_tasks.empty() && m_tasks.begin()->first <= until) {
        auto task = m_tasks.extract(m_tasks.begin());
        m_now = task.key();
        task.mapped()();
    }
    m_now = until;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QStringList described(const QList<ChromeProfile>& profiles, const QString& data)
{
    const auto colour = [](std::optional<qint64> c) {
        return c ? QString::number(*c, 16) : u"-"_s;
    };
    QStringList lines;
    for (const ChromeProfile& p : profiles)
        lines.append(
            (data.isEmpty() ? p.directoryName : QString(p.directoryName).replace(data, u"~"_s)) +
            u'|' + p.displayName + u'|' + colour(p.fillColor) + u'|' + colour(p.strokeColor) +
            (p.pictureURL ? u"|picture" : u""));
    return lines;
}

QList<ChromeProfile> named(const QStringList& names)
{
    QList<ChromeProfile> list = profiles(int(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i)
        list[i].displayName = names[i];
    return list;
}

QList<ChromeProfile> profiles(int count)
{
    QList<ChromeProfile> list;
    for (int i = 0; i < count; ++i)
        list.append({u"Profile " + QString::number(i), u"Name " + QString::number(i), {}, {}, {}});
    return list;
}
