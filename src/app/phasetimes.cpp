#include "app/phasetimes.h"

#include <cstdio>

void PhaseTimes::firstPaint()
{
    if (m_reported || !m_sinceLoading.isValid()) {
        return;
    }
    m_reported = true;
    const auto ms = [](qint64 ns) {
        return double(ns) / 1e6;
    };
    std::fprintf(stderr, "kk-phases discovery=%.1f waiting=%.1f buttons=%.1f first-paint=%.1f\n",
                 ms(m_total[Discovery]), ms(m_total[Waiting]), ms(m_total[Buttons]),
                 ms(m_sinceLoading.nsecsElapsed()));
    std::fflush(stderr);
}
