#pragma once

#include <QString>

#include <memory>

// The single-instance token: a name that one process at a time holds, one per user and
// executable. It is taken when the object is made and held until the object goes; the system
// releases it however the process ends, so that a copy that crashed never blocks the next start,
// while a copy that is stopped but alive still holds it.
class InstanceToken
{
public:
    explicit InstanceToken(const QString &canonicalExePath);
    ~InstanceToken();
    Q_DISABLE_COPY_MOVE(InstanceToken)

    // Another process holds the name.
    bool takenElsewhere() const { return m_takenElsewhere; }

    // The name for this user and the executable at `canonicalExePath`.
    static QString key(const QString &canonicalExePath);

private:
    class Holder;
    std::unique_ptr<Holder> m_holder;
    bool m_takenElsewhere = false;
};
