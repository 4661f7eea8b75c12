#include "platform/layer.h"

PlatformLayer platformLayer()
{
    return PlatformLayer::Portable;
}
