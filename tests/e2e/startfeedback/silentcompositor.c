/* A compositor that never answers a token's request: stands between Wayland clients and the real
 * compositor and passes everything both ways, descriptors included, until a client asks the
 * xdg_activation_v1 global for a token; from then on nothing more from the compositor reaches
 * that client. Listens at SOCKET (a path); the compositor is WAYLAND_DISPLAY in XDG_RUNTIME_DIR.
 * Prints "listening" once clients can connect. Usage: silentcompositor SOCKET */
#define _GNU_SOURCE /* accept4 */
#include <errno.h>
#include <poll.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

enum { maxConnections = 16, maxFds = 28, maxIds = 8, bufferSize = 65536 };

struct Connection {
    int client;
    int compositor;
    /* What the client sent and is not yet a whole message, read for the requests that matter. */
    unsigned char pending[bufferSize];
    size_t pendingLength;
    uint32_t activationIds[maxIds];
    int activationCount;
    int silent;
};

static struct Connection connections[maxConnections];

static int connectTo(const char *path)
{
    struct sockaddr_un address = {.sun_family = AF_UNIX};
    snprintf(address.sun_path, sizeof address.sun_path, "%s", path);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || connect(fd, (struct sockaddr *)&address, sizeof address) != 0) {
        perror(path);
        exit(1);
    }
    return fd;
}

/* Moves what one side sent, with its descriptors, to the other side, or drops it when `drop`;
 * returns the bytes moved, 0 when the sender has gone. */
static ssize_t pass(int from, int to, int drop, unsigned char *bytes, size_t capacity)
{
    char control[CMSG_SPACE(sizeof(int) * maxFds)];
    struct iovec data = {bytes, capacity};
    struct msghdr message = {.msg_iov = &data,
                             .msg_iovlen = 1,
                             .msg_control = control,
                             .msg_controllen = sizeof control};
    const ssize_t length = recvmsg(from, &message, MSG_CMSG_CLOEXEC);
    if (length <= 0) {
        return 0;
    }
    int fds[maxFds];
    size_t fdCount = 0;
    for (struct cmsghdr *header = CMSG_FIRSTHDR(&message); header;
         header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == SOL_SOCKET && header->cmsg_type == SCM_RIGHTS) {
            const size_t count = (header->cmsg_len - CMSG_LEN(0)) / sizeof(int);
            memcpy(fds + fdCount, CMSG_DATA(header), count * sizeof(int));
            fdCount += count;
        }
    }
    if (!drop) {
        data.iov_len = (size_t)length;
        struct msghdr out = {.msg_iov = &data, .msg_iovlen = 1};
        char outControl[CMSG_SPACE(sizeof(int) * maxFds)];
        if (fdCount > 0) {
            out.msg_control = outControl;
            out.msg_controllen = CMSG_SPACE(sizeof(int) * fdCount);
            struct cmsghdr *header = CMSG_FIRSTHDR(&out);
            header->cmsg_level = SOL_SOCKET;
            header->cmsg_type = SCM_RIGHTS;
            header->cmsg_len = CMSG_LEN(sizeof(int) * fdCount);
            memcpy(CMSG_DATA(header), fds, sizeof(int) * fdCount);
        }
        if (sendmsg(to, &out, MSG_NOSIGNAL) != length) {
            return 0;
        }
    }
    for (size_t i = 0; i < fdCount; ++i) {
        close(fds[i]);
    }
    return length;
}

static uint32_t word(const unsigned char *bytes, size_t offset)
{
    uint32_t value;
    memcpy(&value, bytes + offset, sizeof value);
    return value;
}

/* Reads the client's whole requests: the binding of the activation global (a registry's bind,
 * opcode 0, names the interface, then the version and the new object's id), and a request for a
 * token on that object (get_activation_token, opcode 1), after which the client hears no more. */
static void readRequests(struct Connection *connection, const unsigned char *bytes, size_t length)
{
    if (connection->pendingLength + length > bufferSize) {
        connection->pendingLength = 0;
        return;
    }
    memcpy(connection->pending + connection->pendingLength, bytes, length);
    connection->pendingLength += length;
    static const char interface[] = "xdg_activation_v1";
    size_t offset = 0;
    while (connection->pendingLength - offset >= 8) {
        const unsigned char *message = connection->pending + offset;
        const uint32_t object = word(message, 0);
        const uint32_t size = word(message, 4) >> 16;
        const uint32_t opcode = word(message, 4) & 0xffff;
        if (size < 8 || connection->pendingLength - offset < size) {
            break;
        }
        if (opcode == 0 && size == 44
            && word(message, 12)
                == sizeof interface && memcmp(message + 16, interface, sizeof interface) == 0
            && connection->activationCount < maxIds) {
            connection->activationIds[connection->activationCount++] = word(message, 40);
        }
        for (int i = 0; i < connection->activationCount; ++i) {
            if (opcode == 1 && object == connection->activationIds[i]) {
                connection->silent = 1;
            }
        }
        offset += size;
    }
    memmove(connection->pending, connection->pending + offset, connection->pendingLength - offset);
    connection->pendingLength -= offset;
}

int main(int argc, char **argv)
{
    const char *runtime = getenv("XDG_RUNTIME_DIR");
    const char *display = getenv("WAYLAND_DISPLAY");
    if (argc != 2 || !runtime || !display) {
        fprintf(stderr, "usage: %s SOCKET, with XDG_RUNTIME_DIR and WAYLAND_DISPLAY\n", argv[0]);
        return 2;
    }
    char compositorPath[sizeof(((struct sockaddr_un *)0)->sun_path)];
    snprintf(compositorPath, sizeof compositorPath, "%s/%s", runtime, display);

    struct sockaddr_un address = {.sun_family = AF_UNIX};
    snprintf(address.sun_path, sizeof address.sun_path, "%s", argv[1]);
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    unlink(argv[1]);
    if (listener < 0 || bind(listener, (struct sockaddr *)&address, sizeof address) != 0
        || listen(listener, 4) != 0) {
        perror(argv[1]);
        return 1;
    }
    puts("listening");
    fflush(stdout);

    static unsigned char bytes[bufferSize];
    for (;;) {
        struct pollfd polled[1 + 2 * maxConnections];
        int count = 0;
        polled[count++] = (struct pollfd){.fd = listener, .events = POLLIN};
        for (int i = 0; i < maxConnections; ++i) {
            polled[count++] = (struct pollfd){
                .fd = connections[i].client > 0 ? connections[i].client : -1, .events = POLLIN};
            polled[count++] = (struct pollfd){
                .fd = connections[i].client > 0 ? connections[i].compositor : -1, .events = POLLIN};
        }
        if (poll(polled, (nfds_t)count, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return 1;
        }
        if (polled[0].revents & POLLIN) {
            const int client = accept4(listener, NULL, NULL, SOCK_CLOEXEC);
            for (int i = 0; client >= 0 && i < maxConnections; ++i) {
                if (connections[i].client <= 0) {
                    memset(&connections[i], 0, sizeof connections[i]);
                    connections[i].client = client;
                    connections[i].compositor = connectTo(compositorPath);
                    break;
                }
            }
        }
        for (int i = 0; i < maxConnections; ++i) {
            struct Connection *connection = &connections[i];
            const short fromClient = polled[1 + 2 * i].revents;
            const short fromCompositor = polled[2 + 2 * i].revents;
            int gone = 0;
            if (fromClient & (POLLIN | POLLHUP | POLLERR)) {
                const ssize_t length
                    = pass(connection->client, connection->compositor, 0, bytes, sizeof bytes);
                if (length > 0) {
                    readRequests(connection, bytes, (size_t)length);
                } else {
                    gone = 1;
                }
            }
            if (!gone && (fromCompositor & (POLLIN | POLLHUP | POLLERR))) {
                gone = pass(connection->compositor, connection->client, connection->silent, bytes,
                            sizeof bytes)
                    == 0;
            }
            if (gone) {
                close(connection->client);
                close(connection->compositor);
                connection->client = 0;
            }
        }
    }
}
