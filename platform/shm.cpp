#include "shm.h"

#include <fcntl.h>
#include <sys/file.h>
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

int ShmCreateOrOpen(const char* name, uint32_t size, ShmMapping& out) {
    out.Close();
    bool created = false;
    int fd = shm_open(name, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        if (ftruncate(fd, static_cast<off_t>(size)) != 0) {
            // Leave no unsized object behind for the next opener to wait on.
            close(fd);
            shm_unlink(name);
            return ShmErrCreate;
        }
        created = true;
    } else if (errno != EEXIST) {
        return ShmErrCreate;
    } else {
        fd = shm_open(name, O_RDWR | O_CLOEXEC, 0);
        if (fd < 0) return ShmErrOpen;
        struct stat st = {};
        for (int step = 0;; ++step) {
            if (fstat(fd, &st) != 0) {
                close(fd);
                return ShmErrOpen;
            }
            if (st.st_size > 0 || step >= SizeWaitSteps) break;
            std::this_thread::sleep_for(SizeWaitStep);
        }
        if (st.st_size <= 0) {
            close(fd);
            return ShmErrOpen;
        }
        size = static_cast<uint32_t>(st.st_size < MaxMappedSize ? st.st_size : MaxMappedSize);
    }
    void* view = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (view == MAP_FAILED) {
        close(fd);
        if (created) shm_unlink(name);
        return created ? ShmErrCreate : ShmErrOpen;
    }
    flock(fd, LOCK_SH);  // marks this mapping as a user for SoleUser()
    out.data_ = static_cast<uint8_t*>(view);
    out.size_ = size;
    out.fd_ = fd;
    out.created_ = created;
    return ShmOk;
}

uint32_t ShmMapping::LiveSize() const {
    struct stat st = {};
    if (!data_ || fd_ < 0 || fstat(fd_, &st) != 0 || st.st_size <= 0) return 0;
    return st.st_size < static_cast<off_t>(size_) ? static_cast<uint32_t>(st.st_size) : size_;
}

bool ShmMapping::SoleUser() const {
    if (fd_ < 0) return false;
    bool sole = flock(fd_, LOCK_EX | LOCK_NB) == 0;
    // A failed conversion may drop the shared lock: take it again either way.
    flock(fd_, LOCK_SH);
    return sole;
}

int ShmUnlink(const char* name) { return shm_unlink(name) == 0 ? 0 : -1; }
