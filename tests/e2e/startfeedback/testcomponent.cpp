// A component for the start-feedback tests. It writes what it was started with to
// started-PID.env beside itself, then shows a window and asks for it to be activated once it is
// on screen, as a program that wants the front does. It ends after a minute if nobody ends it.
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRasterWindow>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace
{
class Window final : public QRasterWindow
{
protected:
    void exposeEvent(QExposeEvent *event) override
    {
        QRasterWindow::exposeEvent(event);
        // Once the compositor shows the first frame; a window not yet mapped cannot be activated.
        if (isExposed() && !m_asked) {
            m_asked = true;
            QTimer::singleShot(200, this, &QWindow::requestActivate);
        }
    }

private:
    bool m_asked = false;
};
} // namespace

int main(int argc, char *argv[])
{
    // Read before the application object, whose platform plugin may take the entries away.
    const QString folder = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
    QByteArray record;
    for (const char *name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
        record += name + "="_ba + (qEnvironmentVariableIsSet(name) ? qgetenv(name) : "<unset>"_ba)
            + '\n';
    }
    const QString path
        = folder + u"/started-"_s + QString::number(QCoreApplication::applicationPid()) + u".env"_s;
    QFile file(path + u".part"_s);
    if (!file.open(QIODevice::WriteOnly) || file.write(record) != record.size()) {
        return 1;
    }
    file.close();
    QFile::rename(path + u".part"_s, path);

    QGuiApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(u"kk-test-component"_s);
    Window window;
    window.setTitle(u"kk test component"_s);
    window.resize(200, 100);
    window.show();
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}
