#pragma once

#include <QString>

#include <memory>

// The single-instance token: a name that one process at a time holds, one per user and
// executable. It is taken when the object is made and held until the object goes. However the
// holder ends, the token is free for the next start at once, so that a copy that crashed never
// blocks it, while a copy that is stopped but alive still holds it.
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

    // The file the token is kept in, in a folder of the user's own; empty where there is none.
    static QString filePath(const QString &canonicalExePath);

private:
    class Holder;
    std::unique_ptr<Holder> m_holder;
    bool m_takenElsewhere = false;
};
