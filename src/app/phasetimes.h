#pragma once

#include <QElapsedTimer>

#include <array>

// Where start-up time goes: discovery, descriptor reading and picture loading (time spent on
// them by any thread, added up over all components), the time the window waited for components
// read ahead, applying them to the buttons, and the first paint, counted from the start of
// loading. Reported
// as one line on stderr when the environment variable KK_PHASE_TIMES is set, for the benchmarks;
// otherwise each measurement costs one test of a flag.
class PhaseTimes
{
public:
    enum Phase { Discovery, Descriptors, Pictures, Waiting, Buttons, PhaseCount };

    PhaseTimes();

    bool enabled() const { return m_enabled; }
    void startLoading();
    void add(Phase phase, qint64 nanoseconds) { m_total[phase] += nanoseconds; }
    // Reports once, at the first paint after loading.
    void firstPaint();

    // Adds the time until the end of the scope to one phase.
    class Scope
    {
    public:
        Scope(PhaseTimes &times, Phase phase)
            : m_times(times.m_enabled ? &times : nullptr)
            , m_phase(phase)
        {
            if (m_times) {
                m_timer.start();
            }
        }
        ~Scope()
        {
            if (m_times) {
                m_times->add(m_phase, m_timer.nsecsElapsed());
            }
        }
        Q_DISABLE_COPY_MOVE(Scope)

    private:
        PhaseTimes *m_times;
        Phase m_phase;
        QElapsedTimer m_timer;
    };

private:
    bool m_enabled;
    bool m_reported = false;
    QElapsedTimer m_sinceLoading;
    std::array<qint64, PhaseCount> m_total{};
};
