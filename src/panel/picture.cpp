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
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        throw RuntimeError::withPath(RuntimeError::InvalidPicture, reader.errorString(), path);
    }
    return image;
}
