#pragma once

#include "catalogue/componentinfo.h"
#include "catalogue/runtimeerror.h"
#include "pictures/picture.h"

#include <QSize>

#include <optional>

// What loading one component needs from the disk: its descriptor read into the record with the
// description composed, its picture loaded, and the search for its executable. A failure is kept,
// not reported, so that whoever shows the component reports it in list order, in the box and at
// the step where loading the component then would have met it.
struct LoadedComponent {
    ComponentInfo record;
    // Why the descriptor or the picture could not be read: the component's box.
    std::optional<RuntimeError> failure;
    Picture picture;
    bool exeFound = false;
    // Why the search for the executable failed: the search's own box.
    std::optional<RuntimeError> searchFailure;
};

// Reads the component in `folder` of `applicationDirectory`, its picture for a button that shows
// `pictureArea` pixels of it, with its sharper source for a screen of device pixel ratio
// `pixelRatio`, and its texts in the language of `languages` (descriptorLanguages()) that the
// descriptor has. Safe on any thread.
LoadedComponent readComponent(const QString &applicationDirectory, const QString &folder,
                              QSize pictureArea, qreal pixelRatio = 1,
                              const QStringList &languages = {});
