#include "readfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "trace.h"
#include "unique_fd.h"

namespace {
const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return "a special file";
}
}  // namespace

int OpenForReading(const char* path, std::string* refusal) {
    if (!path) {
        errno = EINVAL;
        return ReadFileCannotOpen;
    }
    // Non-blocking only for the open itself: a FIFO without a writer (or a serial line)
    // would otherwise hold it for ever.
    UniqueFd fd(::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) return ReadFileCannotOpen;
    struct stat st;
    if (fstat(fd.get(), &st) != 0) return ReadFileCannotOpen;
    if (!S_ISREG(st.st_mode)) {
        if (refusal)
            *refusal = std::string(KindOf(st.st_mode)) + ", not a regular file";
        else
            TRACE_ERR("'%s' is %s, not a regular file: it is not read", path, KindOf(st.st_mode));
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return ReadFileNotRegular;
    }
    const int flags = fcntl(fd.get(), F_GETFL);
    if (flags < 0 || fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return ReadFileCannotOpen;
    return fd.release();
}

FILE* OpenStreamForReading(const char* path, int* result, std::string* refusal) {
    const int fd = OpenForReading(path, refusal);
    if (result) *result = fd < 0 ? fd : 0;
    if (fd < 0) return nullptr;
    FILE* f = fdopen(fd, "rb");
    if (!f) {
        const int err = errno;
        ::close(fd);
        errno = err;
        if (result) *result = ReadFileCannotOpen;
    }
    return f;
}

int ReadRegularFile(const char* path, size_t limit, std::string& data, std::string* refusal) {
    data.clear();
    UniqueFd fd(OpenForReading(path, refusal));
    if (fd.get() < 0) return fd.get();
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return ReadFileReadError;
        }
        if (n == 0) return 0;
        if (data.size() + static_cast<size_t>(n) > limit) {
            data.clear();
            return ReadFileTooLarge;
        }
        data.append(buffer, static_cast<size_t>(n));
    }
}
