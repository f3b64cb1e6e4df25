#include "atomicsave.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

size_t WriteFully(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, p + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            break;
        }
        done += static_cast<size_t>(n);
    }
    return done;
}

int SyncAndClose(int fd) {
    const int synced = fsync(fd) == 0 ? 0 : errno;
    const int closed = ::close(fd) == 0 ? 0 : errno;
    if (!synced && !closed) return 0;
    errno = synced ? synced : closed;
    return -1;
}

namespace {

std::atomic<unsigned> TempSerial{0};

// Digits only, at least one, no more than fit: the number, else -1.
long WholeNumber(const char* p, const char** end) {
    long v = 0;
    const char* s = p;
    while (*p >= '0' && *p <= '9' && p - s < 9) v = v * 10 + (*p++ - '0');
    *end = p;
    return p == s ? -1 : v;
}

// The pid of a name "<base>.tmp-<pid>-<n>", else -1.
long TempOwner(const char* name, const std::string& base) {
    if (std::strncmp(name, base.c_str(), base.size()) != 0) return -1;
    const char* p = name + base.size();
    const size_t mark = std::strlen(AtomicTempMark);
    if (std::strncmp(p, AtomicTempMark, mark) != 0) return -1;
    const long pid = WholeNumber(p + mark, &p);
    if (pid <= 0 || *p++ != '-' || WholeNumber(p, &p) < 0 || *p) return -1;
    return pid;
}

// A save killed between creating and renaming leaves its temporary: the next good save
// removes those of processes that are gone, so they cannot pile up.
void RemoveStaleTemporaries(const std::string& target) {
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    DIR* d = opendir(dir.c_str());
    if (!d) return;
    const long self = getpid();
    while (const dirent* e = readdir(d)) {
        const long pid = TempOwner(e->d_name, base);
        if (pid < 0 || pid == self || kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        struct stat st;
        if (fstatat(dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            unlinkat(dirfd(d), e->d_name, 0);
    }
    closedir(d);
}

}  // namespace

TAtomicFile::TAtomicFile(const std::string& target, mode_t newMode) : m_Target(target) {
    if (target.empty()) {
        Fail(SaveStepCreate, ENOENT);
        return;
    }
    struct stat st;
    const bool exists = stat(target.c_str(), &st) == 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_Temp = target + AtomicTempMark + std::to_string(getpid()) + "-" + std::to_string(TempSerial++);
        m_Fd.reset(::open(m_Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : newMode));
        if (m_Fd.valid() || errno != EEXIST) break;
    }
    if (!m_Fd.valid()) {
        Fail(SaveStepCreate, errno);
        return;
    }
    m_Created = true;
    if (exists) (void)fchmod(m_Fd.get(), st.st_mode & 07777);  // the file keeps its permissions
}

TAtomicFile::~TAtomicFile() {
    m_Fd.reset();
    if (m_Created && !m_Committed) ::unlink(m_Temp.c_str());
}

int TAtomicFile::Fail(TSaveStep step, int error) {
    if (m_Step == SaveStepNone) {
        m_Step = step;
        m_Error = error ? error : EIO;
    }
    return m_Error;
}

bool TAtomicFile::Write(const void* data, size_t size) {
    if (!m_Fd.valid() || m_Step != SaveStepNone) return false;
    if (WriteFully(m_Fd.get(), data, size) == size) return true;
    Fail(SaveStepWrite, errno);
    return false;
}

int TAtomicFile::Commit() {
    if (m_Step != SaveStepNone) return m_Error;
    if (m_Fd.valid() && SyncAndClose(m_Fd.release()) != 0) return Fail(SaveStepWrite, errno);
    if (std::rename(m_Temp.c_str(), m_Target.c_str()) != 0) return Fail(SaveStepRename, errno);
    m_Committed = true;
    RemoveStaleTemporaries(m_Target);
    return 0;
}

int SaveFileAtomically(const std::string& path, const void* data, size_t size, mode_t newMode, TSaveStep* failed) {
    TAtomicFile file(path, newMode);
    const int err = file.Write(data, size) ? file.Commit() : file.Error();
    if (failed) *failed = file.FailedStep();
    return err;
}
