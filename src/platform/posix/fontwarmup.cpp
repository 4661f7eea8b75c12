#include "platform/fontwarmup.h"

#ifdef KK_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

#include <system_error>

FontConfigWarmUp::FontConfigWarmUp()
{
#ifdef KK_HAVE_FONTCONFIG
    // Whoever asks first loads the configuration; a second caller meanwhile loads its own and
    // keeps whichever was set first, so Qt's own call is safe whatever the timing.
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error &) {
        // Then Qt reads the configuration itself when it first needs it.
    }
#endif
}

FontConfigWarmUp::~FontConfigWarmUp()
{
    if (m_thread.joinable()) {
        m_thread.join();
    }
}
