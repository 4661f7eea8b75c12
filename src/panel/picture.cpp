#include "picture.h"

#include "runtimeerror.h"

#include <QFileInfo>
#include <QImageReader>

QImage loadPicture(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        throw RuntimeError::withPath(RuntimeError::FileNotFound, path);
    }
    if (!info.isFile()) {
        throw RuntimeError::withPath(RuntimeError::PathFileAccessError, QStringLiteral("not a plain file"), path);
    }
    // The file's suffix names the format to try first; the content decides when it is wrong.
    QImageReader reader(path, info.suffix().toLatin1());
    QImage image = reader.read();
    if (image.isNull()) {
        throw RuntimeError::withPath(RuntimeError::InvalidPicture, reader.errorString(), path);
    }
    return image;
}
