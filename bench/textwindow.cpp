// The second yardstick: the least a Qt Widgets program that shows what the launcher's window
// shows, without pictures, does before its window is on screen: a main window with a menu bar, a
// caption, and a read-only multi-line text box holding a few lines of text. Whatever the launcher
// costs beyond this is its components and pictures.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Text window"));
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("File"));
    file->addAction(QStringLiteral("Exit"), &window, &QWidget::close);
    QMenu *help = window.menuBar()->addMenu(QStringLiteral("Help"));
    help->addAction(QStringLiteral("Content"));
    help->addAction(QStringLiteral("About"));

    auto *client = new QWidget(&window);
    auto *layout = new QVBoxLayout(client);
    layout->addWidget(new QLabel(QStringLiteral("A caption over the text"), client));
    auto *text = new QPlainTextEdit(client);
    text->setReadOnly(true);
    text->setPlainText(QStringLiteral("Select the utility to run.\n"
                                      "A second line of text, as a description has.\n"
                                      "And a third one."));
    layout->addWidget(text);
    window.setCentralWidget(client);
    window.resize(502, 330);
    window.show();
    return QApplication::exec();
}
