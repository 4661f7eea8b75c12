#include "platform/fontwarmup.h"

// Only the POSIX layer knows of a font configuration to read ahead; elsewhere Qt asks the system
// for its fonts when the first text is laid out, as it always does.
FontConfigWarmUp::FontConfigWarmUp() = default;

FontConfigWarmUp::~FontConfigWarmUp() = default;
