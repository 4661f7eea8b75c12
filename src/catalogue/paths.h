#pragma once

#include <QString>

// A file of a component: the application directory, the component's folder and a file name taken
// from its descriptor. Descriptors are written with "\" as the separator, so a "\" inside the file
// name separates folders here too.
QString componentFilePath(const QString &applicationDirectory, const QString &folder,
                          const QString &fileName);

// The component's own folder.
QString componentDirectory(const QString &applicationDirectory, const QString &folder);
