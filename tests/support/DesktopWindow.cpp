// SPDX-License-Identifier: GPL-3.0-or-later
// A window for desktop tests, in two roles. `desktop-window record LOG
// [PROGRAM LINK]` stands for the program a link was clicked in: it appends
// "focus-in", "focus-out" and the text of every key it receives to LOG, one a
// line, and the key "o" opens LINK (numbered: LINK1, LINK2, ...) with
// PROGRAM, handing it an activation token for that key press; the key "n" opens
// it with no token, as terminals and many other programs do. Started any other
// way it stands for Chrome: it records its start as the stand-in Chrome does
// (to ORLIM_FAKE_CHROME_LOG) and, as Chrome does, hands the
// XDG_ACTIVATION_TOKEN it was given to the instance already running, which
// brings its one window to the front with it; the first instance shows that
// window with its own token. The window records its focus and keys to
// ORLIM_FAKE_CHROME_LOG.focus.
#include "platform/Platform.h"
#include "platform/ProcessLauncher.h"
#include "platform/WindowActivation.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace {

void append(const QString& path, const QByteArray& line)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(line + '\n');
}

class Recorder : public QWidget
{
public:
    Recorder(QString log, QStringList opener, const Platform& platform)
        : log(std::move(log)), m_opener(std::move(opener)), m_platform(platform)
    {
        setFocusPolicy(Qt::StrongFocus);
    }
    const QString log;

protected:
    void focusInEvent(QFocusEvent*) override { append(log, "focus-in"); }
    void focusOutEvent(QFocusEvent*) override { append(log, "focus-out"); }
    void keyPressEvent(QKeyEvent* event) override
    {
        append(log, event->text().toUtf8());
        const bool token = event->text() == u"o";
        if ((token || event->text() == u"n") && m_opener.size() == 2)
            m_platform.processes->startDetached(
                m_opener[0], {m_opener[1] + QString::number(++m_opened)},
                token ? m_platform.windowActivation->tokenFor(this) : QString());
    }

private:
    const QStringList m_opener;
    const Platform& m_platform;
    int m_opened = 0;
};

} // namespace

int main(int argc, char** argv)
{
    const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    qunsetenv("XDG_ACTIVATION_TOKEN");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const bool chrome = arguments.value(1) != u"record";
    const QString chromeLog = qEnvironmentVariable("ORLIM_FAKE_CHROME_LOG");
    if (chrome) {
        QByteArray line = "0\x1f" + QByteArray::number(QApplication::applicationPid()) + '\x1f';
        for (const QString& argument : arguments.mid(1))
            line += argument.toUtf8() + '\x1f';
        append(chromeLog, line);
        QLocalSocket running;
        running.connectToServer(chromeLog + u".socket");
        if (running.waitForConnected(1000)) {
            running.write(token);
            running.waitForBytesWritten(1000);
            return 0;
        }
    }
    Platform platform = Platform::forThisSystem();
    platform.settleDesktop();
    Recorder window(chrome ? chromeLog + u".focus" : arguments.value(2),
                    chrome ? QStringList() : arguments.mid(3), platform);
    window.setWindowTitle(arguments.value(1));
    window.resize(300, 200);
    WindowActivation* activation = platform.windowActivation;
    QLocalServer later;
    if (chrome)
        later.listen(chromeLog + u".socket");
    QObject::connect(&later, &QLocalServer::newConnection, &later, [&] {
        QLocalSocket* next = later.nextPendingConnection();
        QObject::connect(next, &QLocalSocket::disconnected, next, [&, next] {
            activation->present(&window, QString::fromUtf8(next->readAll()));
            next->deleteLater();
        });
    });
    activation->present(&window, QString::fromUtf8(token));
    return app.exec();
}
