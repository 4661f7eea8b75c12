#include "catalogue/componentinfo.h"

QDebug operator<<(QDebug debug, const ComponentInfo &info)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "ComponentInfo(" << info.index << ", folder=" << info.folder
                    << ", name=" << info.name << ", img=" << info.img << ", exe=" << info.exe
                    << ", help=" << info.help << ", desc=" << info.desc << ", tip=" << info.tip
                    << ')';
    return debug;
}
