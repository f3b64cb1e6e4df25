// Named shared memory: one object mapped by several processes. The creator
// fixes the size; whoever opens it later maps the size it already has.
// Every mapping holds a shared lock on the object while it is open, and a writer
// a second one: the kernel drops both with the process, however it ends, so the
// users and writers alive can be told from what dead ones left in the object.
#pragma once

#include <cstdint>

// Name of the measured-values block: HK_SHM_NAME when set, else "/HKMeasure".
const char* ShmBlockName();

enum {
    ShmOk = 0,
    ShmErrCreate = -1,  // the object could not be created (or sized)
    ShmErrOpen = -2,    // the existing object could not be opened, sized or mapped
    ShmErrForeign = -3, // another user owns it, or others may write it: never used
};

// Why ShmCreateOrOpen failed: errno of the failed call (0 when an existing object stayed
// empty) and, for ShmErrForeign, the object's owner and mode bits.
struct TShmFailure {
    int err = 0;
    uint32_t uid = 0;
    uint32_t mode = 0;
};

// One mapping of a named object; unmapped and closed when destroyed.
class ShmMapping {
public:
    ShmMapping() = default;
    ~ShmMapping();
    ShmMapping(ShmMapping&& other) noexcept;
    ShmMapping& operator=(ShmMapping&& other) noexcept;
    ShmMapping(const ShmMapping&) = delete;
    ShmMapping& operator=(const ShmMapping&) = delete;

    bool IsOpen() const { return data_ != nullptr; }
    uint8_t* Data() const { return data_; }
    uint32_t Size() const { return size_; }
    // The bytes of the view still backed by the object: another process may shrink it after
    // we mapped it, and touching a page past its end kills the process. 0 when unmapped.
    uint32_t LiveSize() const;
    int Handle() const { return fd_; }
    bool Created() const { return created_; }  // this mapping created the object
    // Marks this mapping as a writer of the object, or no longer; 0 or -1.
    int MarkWriter(bool on);
    // True when another mapping, of this process or another, is marked as a writer.
    bool OtherWriter() const;
    // Removes `name` when it still names this object and no other mapping of it is
    // open; this mapping stays valid. True when removed.
    bool UnlinkIfSole(const char* name);
    void Close();

private:
    friend int ShmCreateOrOpen(const char*, uint32_t, ShmMapping&, bool, TShmFailure*);
    uint8_t* data_ = nullptr;
    uint32_t size_ = 0;
    int fd_ = -1;
    bool created_ = false;
};

// Creates `name` with `size` zeroed bytes, or, when it exists, opens it and maps
// its existing size (waiting briefly while its creator has not sized it yet).
// With replaceLeftOver, an existing object that no other mapping holds open was
// left by programs that have ended (whatever its size): it is removed and a fresh
// one created in its place. An object of another user, or one that others may write, is
// refused and left as it is: whoever can write it can forge values or shrink it under us.
int ShmCreateOrOpen(const char* name, uint32_t size, ShmMapping& out, bool replaceLeftOver = false,
                    TShmFailure* failure = nullptr);

// Removes the name; mappings already made stay valid. 0 or -1.
int ShmUnlink(const char* name);
