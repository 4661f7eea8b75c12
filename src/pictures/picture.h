#pragma once

#include "pictures/picturepart.h"

#include <QByteArray>
#include <QString>

#include <memory>

// A button picture as loaded from its file. A button shows its picture unscaled and centred, so
// only the centre of a large picture is ever seen: a picture keeps either its file's bytes, from
// which the part a button shows is decoded whenever it is wanted, or, when that part takes less
// memory than the file, the part itself, decoded once. A picture thus costs at most what a button
// shows of it, however large it is. Copies share their data, which never changes once loaded, so
// a picture may be loaded on one thread and shown on another.
class Picture
{
public:
    Picture() = default;

    // Loads the picture at `path` for a button `area` device pixels large. The whole file is read
    // and decoded once, so that a broken picture is refused at loading rather than shown broken:
    // only a regular file is opened, so a FIFO or a device never blocks; a picture whose header
    // claims more pixels than Qt's default allocation limit takes is refused before anything is
    // decoded; a file cut short is refused instead of being shown half blank. Raises a
    // RuntimeError that says why and names the path.
    static Picture load(const QString &path, QSize area);

    bool isNull() const { return !m_data; }
    QSize size() const;

    // The centred part of the picture no larger than `area` (the whole picture when it fits), and
    // where it lies in the picture. When the part kept is for another area and the file's bytes
    // were not kept, the file is read again; if it no longer holds the picture, the part is null.
    PicturePart part(QSize area) const;

    // The same picture: loaded once, and shared by copies.
    friend bool operator==(const Picture &a, const Picture &b) { return a.m_data == b.m_data; }

private:
    struct Data;
    std::shared_ptr<const Data> m_data;
};
