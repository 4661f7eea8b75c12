#pragma once

#include <QDebug>
#include <QString>

// One component's data: what its descriptor says, plus the folder it was found in. Once the
// component is loaded, `desc` holds the whole description block that the description box shows.
struct ComponentInfo {
    qint16 index = 0;
    QString folder;
    QString name;
    QString img;
    QString exe;
    QString help;
    QString desc;
    QString tip;

    friend bool operator==(const ComponentInfo &, const ComponentInfo &) = default;
};

QDebug operator<<(QDebug debug, const ComponentInfo &info);
