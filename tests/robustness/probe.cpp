// A stand-in component. Whoever starts it gets, appended to the file that KK_PROBE_REPORT names,
// one record of how it was started: every argument and every descriptor it received. It uses no
// library beyond the C one, so that nothing it loads opens descriptors of its own before it looks.

#include <cstdlib>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace
{
// One line per item: a backslash and a line feed inside a value are written as \\ and \n.
std::string escaped(const char *text)
{
    std::string out;
    for (const char *c = text; *c != '\0'; ++c) {
        if (*c == '\\') {
            out += "\\\\";
        } else if (*c == '\n') {
            out += "\\n";
        } else {
            out += *c;
        }
    }
    return out;
}
} // namespace

int main(int argc, char *argv[])
{
    const char *report = std::getenv("KK_PROBE_REPORT");
    if (report == nullptr) {
        return 0;
    }
    std::string record = "start\n";
    for (int i = 0; i < argc; ++i) {
        record += "arg " + escaped(argv[i]) + "\n";
    }
    if (DIR *dir = ::opendir("/proc/self/fd")) {
        const int own = ::dirfd(dir);
        while (const dirent *entry = ::readdir(dir)) {
            if (entry->d_name[0] == '.' || std::atoi(entry->d_name) == own) {
                continue;
            }
            char target[4096] = {};
            const std::string link = std::string("/proc/self/fd/") + entry->d_name;
            const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
            record += std::string("fd ") + entry->d_name + " "
                + (length > 0 ? escaped(target) : "?") + "\n";
        }
        ::closedir(dir);
    }
    record += "end\n";
    // One write to a file opened for appending, so that records of simultaneous starts never mix.
    const int out = ::open(report, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (out < 0) {
        return 1;
    }
    const bool written
        = ::write(out, record.data(), record.size()) == static_cast<ssize_t>(record.size());
    ::close(out);
    return written ? 0 : 1;
}
