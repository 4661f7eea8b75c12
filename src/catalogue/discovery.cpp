#include "catalogue/discovery.h"

#include "catalogue/errortrap.h"
#include "catalogue/fileexists.h"
#include "catalogue/int16.h"
#include "catalogue/runtimeerror.h"
#include "platform/folderlisting.h"

#include <QCoreApplication>

#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

QStringList subFolderNames(const QString &directory)
{
    const QFileInfo info(directory);
    if (!info.isDir()) {
        throw RuntimeError::withPath(RuntimeError::PathNotFound, directory);
    }
    if (!info.isReadable() || !info.isExecutable()) {
        throw RuntimeError::withPath(RuntimeError::PermissionDenied, directory);
    }
    QStringList names;
    if (!listSubFolders(directory, names)) {
        throw RuntimeError::withPath(RuntimeError::PathFileAccessError, directory);
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

namespace
{
// Keeps each box with the sub-folder whose search showed it.
class KeptBoxes final : public MessageSink
{
public:
    explicit KeptBoxes(QList<Discovery::Box> &boxes)
        : m_boxes(boxes)
    {
    }
    qsizetype folder = -1;
    void showMessage(const QString &text, const QString &title, MessageIcon icon) override
    {
        m_boxes.append({folder, text, title, icon});
    }

private:
    QList<Discovery::Box> &m_boxes;
};
} // namespace

Discovery discoverComponents(const QString &directory, const QString &fileName,
                             const std::function<bool(const QString &)> &found)
{
    Discovery discovery;
    KeptBoxes boxes(discovery.boxes);
    discovery.failure = captureFailure([&] {
        discovery.subFolders = subFolderNames(directory);
        QStringList list;
        qint16 count = 0;
        for (const QString &name : std::as_const(discovery.subFolders)) {
            boxes.folder = discovery.holdsFile.size();
            const bool holds = fileExists(directory + u'/' + name + u'/' + fileName, boxes);
            discovery.holdsFile.append(holds);
            if (holds) {
                count = add16(count, 1);
                list.append(name);
                if (found && !found(name)) {
                    break;
                }
            }
        }
        discovery.list = count == 0 ? QStringList{u"NIL"_s, u"NIL"_s} : list;
    });
    return discovery;
}

QStringList Discovery::componentList(MessageSink &sink) const
{
    for (const Box &box : boxes) {
        sink.showMessage(box.text, box.title, box.icon);
    }
    if (failure) {
        throw *failure;
    }
    return list;
}

QStringList componentFolders(const QString &directory, const QString &fileName, MessageSink &sink)
{
    return discoverComponents(directory, fileName).componentList(sink);
}

bool isNoComponentsMarker(const QStringList &list)
{
    return list.size() == 2 && list.at(0) == u"NIL" && list.at(1) == u"NIL";
}

void showNoComponentsBox(MessageSink &sink)
{
    sink.showMessage(
        QCoreApplication::translate("Discovery",
                                    "WARNING: no components were found.\r\n"
                                    "Make sure that the components were installed properly."),
        QCoreApplication::translate("Discovery", "No Components Found..."),
        MessageIcon::Exclamation);
}
