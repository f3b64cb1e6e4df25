// Replacing a file whole: the bytes go to a temporary of this process beside the target,
// which replaces the target only once every byte reached the disk, so the target is the
// old file or the new one, never half of either.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

#include "unique_fd.h"

// The step of a save that failed.
enum TSaveStep { SaveStepNone = 0, SaveStepCreate, SaveStepWrite, SaveStepRename };

// The temporaries are "<target>.tmp-<pid>-<n>".
constexpr const char* AtomicTempMark = ".tmp-";

// Bytes of data written to fd: fewer only when a write failed (errno kept; a write that
// takes nothing counts as a full disk).
size_t WriteFully(int fd, const void* data, size_t size);
// fsync, then close (always): 0, or -1 with errno.
int SyncAndClose(int fd);

class TAtomicFile {
public:
    // Creates the temporary (O_EXCL): with the target's permissions when the target
    // exists, else with newMode (less the umask).
    explicit TAtomicFile(const std::string& target, mode_t newMode = 0666);
    ~TAtomicFile();  // not committed: the temporary is removed
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    bool IsOpen() const { return m_Fd.valid(); }
    int Fd() const { return m_Fd.get(); }
    // The descriptor for a caller that syncs and closes it itself before Commit.
    int TakeFd() { return m_Fd.release(); }
    bool Write(const void* data, size_t size);  // false once a write fell short
    // Syncs and closes (unless taken), renames over the target and removes temporaries
    // that killed processes left beside it: 0 or an errno value (FailedStep tells where).
    int Commit();
    int Error() const { return m_Error; }
    TSaveStep FailedStep() const { return m_Step; }

private:
    int Fail(TSaveStep step, int error);

    std::string m_Target, m_Temp;
    UniqueFd m_Fd;
    int m_Error = 0;
    TSaveStep m_Step = SaveStepNone;
    bool m_Created = false, m_Committed = false;
};

// size bytes of data as the whole file at path: 0 or an errno value, with the failed step
// in *failed when given.
int SaveFileAtomically(const std::string& path, const void* data, size_t size, mode_t newMode = 0666,
                       TSaveStep* failed = nullptr);
