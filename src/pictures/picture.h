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
    //
    // A picture covers as many logical pixels as it has pixels; an SVG as many as its own width and
    // height say, drawn for `ratio`. On a screen of device pixel ratio
    // `ratio` above 1, a sharper source beside it (`name@2x.png` beside `name.png`, chosen as Qt
    // chooses one for an icon) is loaded too, for `area` times its scale; one that cannot be
    // loaded is passed over, and the picture is shown scaled.
    static Picture load(const QString &path, QSize area, qreal ratio = 1);

    // The file that stands for `path` on a screen of device pixel ratio `ratio`, and how many of
    // its pixels stand for one of the picture's.
    static QString sharperSource(const QString &path, qreal ratio, qreal *scale);

    // The same picture for a screen of device pixel ratio `ratio`: itself when that screen would
    // show the same pixels, else loaded again, its SVG drawn again or its sharper file for that
    // screen taken; itself too when loading again fails. Reads files: not for the GUI thread.
    Picture forRatio(qreal ratio) const;
    // The device pixel ratio the picture was loaded for.
    qreal ratio() const;

    bool isNull() const { return !m_data; }
    QSize size() const;

    // The centred part of the picture no larger than `area` (the whole picture when it fits), and
    // where it lies in the picture. When the part kept is for another area and the file's bytes
    // were not kept, the file is read again; if it no longer holds the picture, the part is null.
    // An SVG has only the part drawn at loading, whatever the area.
    PicturePart part(QSize area) const;
    // The part for the area the picture was loaded for, from its sharper source when it has one
    // (its `scale` then says so); it never needs the file again.
    PicturePart shownPart() const;

    // The same picture: loaded once, and shared by copies.
    friend bool operator==(const Picture &a, const Picture &b) { return a.m_data == b.m_data; }

private:
    struct Data;
    static Picture fromData(std::shared_ptr<const Data> data);
    std::shared_ptr<const Data> m_data;
};
