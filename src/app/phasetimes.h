#pragma once

#include <QElapsedTimer>

#include <array>

// Where start-up time goes, in the benchmark's build alone (KK_BUILD_BENCH): the wait for the
// component list, the wait for components read ahead, applying them to the buttons, and the first
// paint counted from the start of loading, printed as one line on stderr at the first paint. In
// every other build each measurement is an empty inline function, so the launcher holds none of it.
class PhaseTimes
{
public:
    enum Phase { Discovery, Waiting, Buttons, PhaseCount };

#ifdef KK_PHASE_TIMES
    void startLoading()
    {
        m_sinceLoading.start();
    }
    // Reports once, at the first paint after loading.
    void firstPaint();

    // Adds the time until the end of the scope to one phase.
    class Scope
    {
    public:
        Scope(PhaseTimes &times, Phase phase)
            : m_times(times)
            , m_phase(phase)
        {
            m_timer.start();
        }
        ~Scope() { m_times.m_total[m_phase] += m_timer.nsecsElapsed(); }
        Q_DISABLE_COPY_MOVE(Scope)

    private:
        PhaseTimes &m_times;
        Phase m_phase;
        QElapsedTimer m_timer;
    };

private:
    bool m_reported = false;
    QElapsedTimer m_sinceLoading;
    std::array<qint64, PhaseCount> m_total{};
#else
    void startLoading() { }
    void firstPaint() { }
    class Scope
    {
    public:
        Scope(PhaseTimes &, Phase) { }
        Q_DISABLE_COPY_MOVE(Scope)
    };
#endif
};
