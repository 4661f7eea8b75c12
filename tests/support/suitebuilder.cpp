#include "support/suitebuilder.h"

#include "support/platformsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

using namespace Qt::StringLiterals;

SuiteBuilder::SuiteBuilder() = default;

void SuiteBuilder::makeFolder(const QString &relative)
{
    QDir(m_dir.path()).mkpath(relative);
}

void SuiteBuilder::writeFile(const QString &relative, const QByteArray &content)
{
    const QString path = m_dir.filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qFatal("cannot write %s", qPrintable(path));
    }
    file.write(content);
}

void SuiteBuilder::writeDescriptor(const QString &folder, const QByteArray &content)
{
    writeFile(folder + u"/kk.cfg"_s, content);
}

void SuiteBuilder::writePicture(const QString &relative, const QColor &colour, int width,
                                int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = m_dir.filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG")) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

void SuiteBuilder::writeMarkerScript(const QString &relative, const QString &marker,
                                     const QString &word)
{
    // Appends one line per start, so that a test can count the starts.
    writeFile(relative, markerProgram(marker, word));
    QFile::setPermissions(m_dir.filePath(relative),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                              | QFileDevice::ReadGroup | QFileDevice::ExeGroup
                              | QFileDevice::ReadOther | QFileDevice::ExeOther);
}

void SuiteBuilder::addComponent(const QString &folder, const QColor &colour, const QString &marker)
{
    const QString program = programName(u"run"_s);
    writeDescriptor(folder,
                    "NAME:" + folder.toUtf8() + "\r\nIMG:pic.png\r\nEXE:" + program.toUtf8()
                        + "\r\nDESC:The " + folder.toUtf8() + " component.\r\n");
    writePicture(folder + u"/pic.png"_s, colour);
    writeMarkerScript(folder + u'/' + program, marker, folder);
}
