#pragma once

#include "catalogue/componentinfo.h"

// The block that the description box shows for a component: its folder in upper case as the
// title, a rule, the wrapped DESC text, then the executable and picture names as written.
QString composeDescription(const ComponentInfo &record);
