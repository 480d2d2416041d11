// A window for desktop tests, in two roles. `desktop-window record LOG` stands
// for the program a link was clicked in: it appends "focus-in", "focus-out"
// and the text of every key it receives to LOG, one a line. Started any other
// way it stands for Chrome: it records its start as the stand-in Chrome does
// (to ORLIM_FAKE_CHROME_LOG), then shows a window that asks for the keyboard
// with the XDG_ACTIVATION_TOKEN it was given, and records its focus and keys
// to ORLIM_FAKE_CHROME_LOG.focus.
#include "platform/Platform.h"
#include "platform/WindowActivation.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
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
    explicit Recorder(QString log) : m_log(std::move(log)) { setFocusPolicy(Qt::StrongFocus); }

protected:
    void focusInEvent(QFocusEvent*) override { append(m_log, "focus-in"); }
    void focusOutEvent(QFocusEvent*) override { append(m_log, "focus-out"); }
    void keyPressEvent(QKeyEvent* event) override { append(m_log, event->text().toUtf8()); }

private:
    QString m_log;
};

} // namespace

int main(int argc, char** argv)
{
    const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    qunsetenv("XDG_ACTIVATION_TOKEN");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    QString log;
    if (arguments.value(1) == u"record" && arguments.size() == 3) {
        log = arguments.at(2);
    } else {
        const QString chromeLog = qEnvironmentVariable("ORLIM_FAKE_CHROME_LOG");
        QByteArray line = "0\x1f" + QByteArray::number(QApplication::applicationPid()) + '\x1f';
        for (const QString& argument : arguments.mid(1))
            line += argument.toUtf8() + '\x1f';
        append(chromeLog, line);
        log = chromeLog + u".focus";
    }
    Recorder window(log);
    window.setWindowTitle(arguments.value(1));
    window.resize(300, 200);
    Platform::current().windowActivation->present(&window, QString::fromUtf8(token));
    return app.exec();
}
