// A stand-in utility for the demo suite: a small window that names the component folder it was
// started from, so that a click on a launch button visibly starts something.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString component = QFileInfo(QCoreApplication::applicationFilePath()).dir().dirName();
    QWidget window;
    window.setWindowTitle(component);
    auto *layout = new QVBoxLayout(&window);
    auto *label
        = new QLabel(u"<h2>%1</h2><p>This demo utility was started by the launcher.</p>"_s.arg(
            component.toHtmlEscaped()));
    layout->addWidget(label);
    window.resize(360, 120);
    window.show();
    return app.exec();
}
