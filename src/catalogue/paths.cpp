#include "catalogue/paths.h"

using namespace Qt::StringLiterals;

QString componentDirectory(const QString &applicationDirectory, const QString &folder)
{
    return applicationDirectory + u'/' + folder;
}

QString componentFilePath(const QString &applicationDirectory, const QString &folder,
                          const QString &fileName)
{
    QString name = fileName;
    name.replace(u'\\', u'/');
    return componentDirectory(applicationDirectory, folder) + u'/' + name;
}
