// Named shared memory: one object mapped by several processes. The creator
// fixes the size; whoever opens it later maps the size it already has.
#pragma once

#include <cstdint>

// Name of the measured-values block: HK_SHM_NAME when set, else "/HKMeasure".
const char* ShmBlockName();

enum {
    ShmOk = 0,
    ShmErrCreate = -1,  // the object could not be created (or sized)
    ShmErrOpen = -2,    // the existing object could not be opened, sized or mapped
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
    // True when no other open mapping of the object exists (every mapping holds a
    // shared lock on it): whatever counts the object keeps are left over by dead processes.
    bool SoleUser() const;
    void Close();

private:
    friend int ShmCreateOrOpen(const char* name, uint32_t size, ShmMapping& out);
    uint8_t* data_ = nullptr;
    uint32_t size_ = 0;
    int fd_ = -1;
    bool created_ = false;
};

// Creates `name` with `size` zeroed bytes, or, when it exists, opens it and maps
// its existing size (waiting briefly while its creator has not sized it yet).
int ShmCreateOrOpen(const char* name, uint32_t size, ShmMapping& out);

// Removes the name; mappings already made stay valid. 0 or -1.
int ShmUnlink(const char* name);
