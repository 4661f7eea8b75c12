#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QTemporaryDir>

// Writes component suites into a temporary folder: component folders with descriptors, pictures
// and executables, as a test needs them. Removed with the object.
class SuiteBuilder
{
public:
    SuiteBuilder();

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &relative) const { return m_dir.filePath(relative); }

    // A complete component: descriptor with NAME, IMG, EXE, DESC; a distinct-colour picture;
    // an executable that writes "<folder>" into `marker` when given, else a script that exits.
    void addComponent(const QString &folder, const QColor &colour = Qt::red,
                      const QString &marker = {});

    // Raw pieces, for the cases a complete component does not cover.
    void writeFile(const QString &relative, const QByteArray &content);
    void writeDescriptor(const QString &folder, const QByteArray &content);
    void writePicture(const QString &relative, const QColor &colour, int width = 32,
                      int height = 32);
    void writeMarkerScript(const QString &relative, const QString &marker, const QString &word);
    void makeFolder(const QString &relative);

private:
    QTemporaryDir m_dir;
};
