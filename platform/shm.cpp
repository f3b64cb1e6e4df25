#include "shm.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <utility>

namespace {

// Far beyond any block we make; keeps a foreign huge object from being mapped whole.
constexpr off_t MaxMappedSize = 16 * 1024 * 1024;
// How long an opener waits for the creator's ftruncate.
constexpr int SizeWaitSteps = 100;
constexpr auto SizeWaitStep = std::chrono::milliseconds(10);
// Rounds of opening again after the name was replaced or removed under us.
constexpr int OpenAttempts = 100;

// Lock bytes, past nothing the object holds: locks need no bytes behind them.
// Open-file-description locks: each open of the object owns its own, and closing
// another descriptor of the same object (SameObject) leaves them alone.
// Users hold the user byte shared while mapped; one that removes or replaces the
// name holds it exclusively meanwhile, so an opener that gets its shared lock and
// still finds its object under the name keeps it there while it holds the lock.
constexpr off_t UserByte = 0;
constexpr off_t WriterByte = 1;

int LockByte(int fd, short type, off_t byte, bool wait) {
    struct flock fl = {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = byte;
    fl.l_len = 1;
    int rc;
    do rc = fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl);
    while (rc != 0 && errno == EINTR);
    return rc;
}

// True when another open description holds a lock on the byte that a lock of `type` would meet.
bool ByteTaken(int fd, short type, off_t byte) {
    struct flock fl = {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = byte;
    fl.l_len = 1;
    return fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
}

// True when `name` still names the object open on fd.
bool SameObject(int fd, const char* name) {
    int other = shm_open(name, O_RDONLY | O_CLOEXEC, 0);
    if (other < 0) return false;
    struct stat a = {}, b = {};
    const bool same = fstat(fd, &a) == 0 && fstat(other, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    close(other);
    return same;
}

}  // namespace

const char* ShmBlockName() {
    const char* name = std::getenv("HK_SHM_NAME");
    return (name && *name) ? name : "/HKMeasure";
}

ShmMapping::~ShmMapping() { Close(); }

ShmMapping::ShmMapping(ShmMapping&& other) noexcept { *this = std::move(other); }

ShmMapping& ShmMapping::operator=(ShmMapping&& other) noexcept {
    if (this != &other) {
        Close();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        fd_ = std::exchange(other.fd_, -1);
        created_ = std::exchange(other.created_, false);
    }
    return *this;
}

void ShmMapping::Close() {
    if (data_) munmap(data_, size_);
    if (fd_ >= 0) close(fd_);
    data_ = nullptr;
    size_ = 0;
    fd_ = -1;
    created_ = false;
}

int ShmCreateOrOpen(const char* name, uint32_t size, ShmMapping& out, bool replaceLeftOver, TShmFailure* failure) {
    out.Close();
    TShmFailure spare;
    TShmFailure& why = failure ? *failure : spare;
    why = TShmFailure();
    // errno first: close() may change it.
    auto fail = [&](int fd, int rc) {
        why.err = errno;
        if (fd >= 0) close(fd);
        return rc;
    };
    for (int attempt = 0; attempt < OpenAttempts; ++attempt) {
        bool created = false;
        int fd = shm_open(name, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            created = true;
        } else if (errno != EEXIST) {
            return fail(-1, ShmErrCreate);
        } else {
            fd = shm_open(name, O_RDWR | O_CLOEXEC, 0);
            if (fd < 0 && errno == ENOENT) continue;  // removed since: make it
            if (fd < 0) return fail(-1, ShmErrOpen);
            // Judged on what we opened, before any lock of ours waits on its holders.
            struct stat st = {};
            if (fstat(fd, &st) != 0) return fail(fd, ShmErrOpen);
            if (st.st_uid != geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
                why.uid = st.st_uid;
                why.mode = st.st_mode & 07777;
                close(fd);
                return ShmErrForeign;
            }
        }
        if (LockByte(fd, F_RDLCK, UserByte, true) != 0) return fail(fd, created ? ShmErrCreate : ShmErrOpen);
        if (!SameObject(fd, name)) {  // replaced or removed before we held it
            close(fd);
            continue;
        }
        uint32_t mapSize = size;
        if (created) {
            if (ftruncate(fd, static_cast<off_t>(size)) != 0) {
                // Leave no unsized object behind for the next opener to wait on.
                fail(fd, 0);
                shm_unlink(name);
                return ShmErrCreate;
            }
        } else if (replaceLeftOver && LockByte(fd, F_WRLCK, UserByte, false) == 0) {
            // Nobody else holds it: its contents belong to programs that have ended.
            shm_unlink(name);
            close(fd);
            continue;
        } else {
            struct stat st = {};
            for (int step = 0;; ++step) {
                if (fstat(fd, &st) != 0) return fail(fd, ShmErrOpen);
                if (st.st_size > 0 || step >= SizeWaitSteps) break;
                std::this_thread::sleep_for(SizeWaitStep);
            }
            if (st.st_size <= 0) {
                close(fd);
                return ShmErrOpen;  // err 0: it stayed empty
            }
            mapSize = static_cast<uint32_t>(st.st_size < MaxMappedSize ? st.st_size : MaxMappedSize);
        }
        void* view = mmap(nullptr, mapSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (view == MAP_FAILED) {
            fail(fd, 0);
            if (created) shm_unlink(name);
            return created ? ShmErrCreate : ShmErrOpen;
        }
        out.data_ = static_cast<uint8_t*>(view);
        out.size_ = mapSize;
        out.fd_ = fd;
        out.created_ = created;
        return ShmOk;
    }
    why.err = EAGAIN;  // the name kept changing under us
    return ShmErrOpen;
}

uint32_t ShmMapping::LiveSize() const {
    struct stat st = {};
    if (!data_ || fd_ < 0 || fstat(fd_, &st) != 0 || st.st_size <= 0) return 0;
    return st.st_size < static_cast<off_t>(size_) ? static_cast<uint32_t>(st.st_size) : size_;
}

int ShmMapping::MarkWriter(bool on) {
    if (fd_ < 0) return -1;
    return LockByte(fd_, on ? F_RDLCK : F_UNLCK, WriterByte, false) == 0 ? 0 : -1;
}

bool ShmMapping::OtherWriter() const { return fd_ >= 0 && ByteTaken(fd_, F_WRLCK, WriterByte); }

bool ShmMapping::UnlinkIfSole(const char* name) {
    if (fd_ < 0 || LockByte(fd_, F_WRLCK, UserByte, false) != 0) return false;
    const bool removed = SameObject(fd_, name) && shm_unlink(name) == 0;
    LockByte(fd_, F_RDLCK, UserByte, false);  // a downgrade never waits
    return removed;
}

int ShmUnlink(const char* name) { return shm_unlink(name) == 0 ? 0 : -1; }
