#include "suite/loadedcomponent.h"

#include "catalogue/description.h"
#include "catalogue/descriptor.h"
#include "catalogue/errortrap.h"
#include "catalogue/fileexists.h"
#include "catalogue/paths.h"

LoadedComponent readComponent(const QString &applicationDirectory, const QString &folder,
                              QSize pictureArea, qreal pixelRatio, const QStringList &languages)
{
    LoadedComponent loaded;
    loaded.record.folder = folder;
    loaded.failure = captureFailure([&] {
        readDescriptor(
            componentFilePath(applicationDirectory, folder, descriptorFileName.toString()),
            loaded.record, languages);
        loaded.record.desc = composeDescription(loaded.record);
    });
    if (loaded.failure) {
        return loaded;
    }
    loaded.failure = captureFailure([&] {
        loaded.picture
            = Picture::load(componentFilePath(applicationDirectory, folder, loaded.record.img),
                            pictureArea, pixelRatio);
    });
    if (loaded.failure) {
        return loaded;
    }
    loaded.searchFailure = captureFailure([&] {
        loaded.exeFound
            = !findFirstEntry(componentFilePath(applicationDirectory, folder, loaded.record.exe))
                   .isEmpty();
    });
    return loaded;
}
