#include "platform/instancetoken.h"

#include <QCryptographicHash>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// A listening socket in Linux's abstract namespace: no file is written, and the kernel releases the
// name when the process ends, however it ends. Plain sockets, so that starting needs no network
// library.
class InstanceToken::Holder
{
public:
    explicit Holder(const QString &key)
        : m_socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        if (m_socket < 0) {
            return;
        }
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        const QByteArray name = key.toUtf8().left(sizeof(address.sun_path) - 1);
        // A leading NUL byte puts the name in the abstract namespace.
        std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));
        const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(name.size()));
        if (::bind(m_socket, reinterpret_cast<const sockaddr *>(&address), length) == 0) {
            ::listen(m_socket, 1);
        } else {
            m_taken = errno == EADDRINUSE;
        }
    }
    ~Holder()
    {
        if (m_socket >= 0) {
            ::close(m_socket);
        }
    }
    Q_DISABLE_COPY_MOVE(Holder)

    bool taken() const { return m_taken; }

private:
    int m_socket;
    bool m_taken = false;
};

InstanceToken::InstanceToken(const QString &canonicalExePath)
    : m_holder(std::make_unique<Holder>(key(canonicalExePath)))
    , m_takenElsewhere(m_holder->taken())
{
}

InstanceToken::~InstanceToken() = default;

QString InstanceToken::key(const QString &canonicalExePath)
{
    const QByteArray hash
        = QCryptographicHash::hash(canonicalExePath.toUtf8(), QCryptographicHash::Sha256);
    return u"kestrelkit-launcher-"_s + QString::number(::getuid()) + u'-'
        + QString::fromLatin1(hash.toHex().left(24));
}

QString InstanceToken::filePath(const QString &)
{
    return {};
}
