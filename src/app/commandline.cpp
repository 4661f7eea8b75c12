#include "app/commandline.h"

#include "app/frmmain.h"
#include "suite/suitecheck.h"
#include "widgets/appidentity.h"
#include "widgets/qtplatformservices.h"
#include "widgets/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace
{
void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}
} // namespace

std::optional<int> runCommandLine(int argc, char *argv[])
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Kestrelkit Launcher shows one picture button for each component folder found beside it, "
        "and starts a component's program when its button is clicked. Started without options, "
        "it opens its window; the options below need no display."_s);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Show this help and exit."_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"Show the version and exit."_s);
    const QCommandLineOption check(
        u"check"_s,
        u"Check the suite in FOLDER as a start-up would meet it, starting nothing: one line per "
        "finding, path:line: error|warning|note: text (line 0 stands for a whole file or "
        "folder), then the counts. The exit status is 1 when there are errors."_s);
    parser.addOptions({help, version, check});
    parser.addPositionalArgument(
        u"FOLDER"_s, u"The suite folder --check checks; without it, the launcher's own folder."_s,
        u"[FOLDER]"_s);

    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    QString error;
    if (!parser.parse(arguments)) {
        error = parser.errorText();
    } else if (!parser.isSet(check) && !parser.positionalArguments().isEmpty()) {
        error = u"FOLDER is read only with --check."_s;
    } else if (parser.positionalArguments().size() > 1) {
        error = u"--check checks one FOLDER."_s;
    } else if (!parser.isSet(help) && !parser.isSet(version) && !parser.isSet(check)) {
        return std::nullopt;
    }

    // Made only for what runs without the window, whose application object must be the first.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"kestrelkit-launcher"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(KK_VERSION_STRING));
    if (!error.isEmpty()) {
        write(stderr,
              QCoreApplication::applicationName() + u": "_s + error + u"\n\n"_s
                  + parser.helpText());
        return 2;
    }
    if (parser.isSet(help)) {
        write(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        write(stdout,
              QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion()
                  + u'\n' + AppIdentity::copyright.toString() + u'\n');
        return 0;
    }
    const QStringList folders = parser.positionalArguments();
    const QString folder = folders.isEmpty() ? QtPlatformServices().appInfo().directory
                                             : QDir::cleanPath(folders.first());
    // What a button shows at 100 % scale, 96 dots per inch.
    const SuiteCheck result = checkSuite(folder, frmMain::launchButtonSize(96));
    write(stdout, result.listing());
    return result.count(Finding::Error) > 0 ? 1 : 0;
}
