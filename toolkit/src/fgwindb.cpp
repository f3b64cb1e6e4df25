#include "fgwindb.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "atomicsave.h"
#include "readfile.h"
#include "unique_fd.h"

namespace {
int32_t GetLE32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

void PutLE32(uint8_t* p, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

// Links item at the end of the list head..tail.
void Append(std::unique_ptr<WindowItem>& head, WindowItem*& tail, std::unique_ptr<WindowItem> item) {
    WindowItem* added = item.get();
    if (tail)
        tail->next = std::move(item);
    else
        head = std::move(item);
    tail = added;
}

void FreeList(std::unique_ptr<WindowItem>& head) {
    // One by one: no recursion through the chain of owners.
    while (head) head = std::move(head->next);
}
}  // namespace

WindowDatabase::WindowDatabase(const char* baseName, const char* home) {
    if (!home) home = std::getenv("HOME");
    if (!home || !*home) home = ".";
    path = std::string(home) + "/.windowxy.wdb";
    prefix = std::string(baseName ? baseName : "") + "::";
    if (prefix.size() > WindowDbPrefixMax) prefix.resize(WindowDbPrefixMax);
    Load();
}

WindowDatabase::~WindowDatabase() {
    Save();
    FreeList(first);
}

void WindowDatabase::Load() {
    // A FIFO planted at the path cannot stall the start.
    UniqueFd fd(OpenForReading(path.c_str()));
    if (fd.get() < 0) return;

    // Anything past the largest valid file is never looked at.
    std::vector<uint8_t> data(WindowDbMaxFileSize);
    size_t size = 0;
    while (size < data.size()) {
        const ssize_t n = ::read(fd.get(), data.data() + size, data.size() - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return;
        if (n == 0) break;
        size += static_cast<size_t>(n);
    }
    if (Decode(data.data(), size) != 0) ::unlink(path.c_str());
}

int WindowDatabase::Decode(const uint8_t* data, size_t size) {
    std::lock_guard<FGMutex> guard(lock);
    FreeList(first);
    last = nullptr;
    count = 0;
    if (!data || size < sizeof(WindowDbHeader)) return -1;

    WindowDbHeader header;
    std::memcpy(&header, data, sizeof header);
    const int32_t n = GetLE32(header.count);
    if (GetLE32(header.magic) != WindowDbMagic || n < 1 || n > WindowDbMaxRecords) return -1;

    std::unique_ptr<WindowItem> head;
    WindowItem* tail = nullptr;
    size_t pos = sizeof header;
    for (int32_t i = 0; i < n; ++i) {
        if (size - pos < sizeof(WindowDbRecord)) return -1;
        WindowDbRecord rec;
        std::memcpy(&rec, data + pos, sizeof rec);
        pos += sizeof rec;
        const size_t window = std::min(size - pos, WindowDbKeyMax + 1);
        const void* nul = std::memchr(data + pos, 0, window);
        if (!nul) return -1;  // key cut short or longer than 115 characters
        const size_t length = static_cast<size_t>(static_cast<const uint8_t*>(nul) - (data + pos));

        auto item = std::make_unique<WindowItem>();
        item->x = GetLE32(rec.x);
        item->y = GetLE32(rec.y);
        item->width = GetLE32(rec.width);
        item->height = GetLE32(rec.height);
        item->iconX = GetLE32(rec.iconX);
        item->iconY = GetLE32(rec.iconY);
        item->reserved = GetLE32(rec.reserved);
        item->key.assign(reinterpret_cast<const char*>(data + pos), length);
        pos += length + 1;
        Append(head, tail, std::move(item));
    }
    first = std::move(head);
    last = tail;
    count = n;
    return 0;
}

std::vector<uint8_t> WindowDatabase::Encode() {
    std::lock_guard<FGMutex> guard(lock);
    std::vector<uint8_t> out(sizeof(WindowDbHeader));
    WindowDbHeader header;
    PutLE32(header.magic, WindowDbMagic);
    PutLE32(header.count, count);
    std::memcpy(out.data(), &header, sizeof header);
    for (const WindowItem* item = first.get(); item; item = item->next.get()) {
        WindowDbRecord rec;
        PutLE32(rec.x, item->x);
        PutLE32(rec.y, item->y);
        PutLE32(rec.width, item->width);
        PutLE32(rec.height, item->height);
        PutLE32(rec.iconX, item->iconX);
        PutLE32(rec.iconY, item->iconY);
        PutLE32(rec.reserved, item->reserved);
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&rec);
        out.insert(out.end(), bytes, bytes + sizeof rec);
        out.insert(out.end(), item->key.begin(), item->key.end());
        out.push_back(0);
    }
    return out;
}

int WindowDatabase::Save() {
    std::lock_guard<FGMutex> guard(lock);
    if (count == 0) return 0;  // an empty database leaves the file alone
    const std::vector<uint8_t> image = Encode();

    TSaveStep step = SaveStepNone;
    const int error = SaveFileAtomically(path, image.data(), image.size(), 0600, &step);
    if (error == 0) return 0;
    const char* failed = step == SaveStepCreate ? "create" : step == SaveStepRename ? "rename" : "write";
    // The toolkit's own error line: it does not depend on the program's trace.
    std::fprintf(stderr, "Velvix ERROR: can't %s the window database %s: %s\n", failed, path.c_str(),
                 std::strerror(error));
    return -1;
}

std::string WindowDatabase::KeyFor(const char* title) const {
    std::string key = prefix + title;
    if (key.size() > WindowDbKeyMax) key.resize(WindowDbKeyMax);
    return key;
}

WindowItem* WindowDatabase::FindKey(const std::string& key) {
    for (WindowItem* item = first.get(); item; item = item->next.get())
        if (item->key == key) return item;
    return nullptr;
}

WindowItem* WindowDatabase::Find(const char* title) {
    if (!title) return nullptr;
    std::lock_guard<FGMutex> guard(lock);
    return FindKey(KeyFor(title));
}

void WindowDatabase::Register(int& x, int& y, int& width, int& height, const char* title, int windowFlags) {
    if (!title || !*title) return;
    std::lock_guard<FGMutex> guard(lock);
    const std::string key = KeyFor(title);
    if (WindowItem* item = FindKey(key)) {
        if (windowFlags & WindowDbUsePosition) {
            x = item->x;
            y = item->y;
            if (windowFlags & WindowDbUseSize) {
                width = item->width;
                height = item->height;
            }
        }
        return;
    }
    // A 101st record would make the whole file invalid at the next start.
    if (count >= WindowDbMaxRecords) return;
    auto item = std::make_unique<WindowItem>();
    item->x = x;
    item->y = y;
    item->width = width;
    item->height = height;
    item->key = key;
    Append(first, last, std::move(item));
    ++count;
}

void WindowDatabase::SetSize(int width, int height, const char* title) {
    std::lock_guard<FGMutex> guard(lock);
    if (WindowItem* item = Find(title)) {
        item->width = width;
        item->height = height;
    }
}

void WindowDatabase::SetPosition(int x, int y, const char* title) {
    std::lock_guard<FGMutex> guard(lock);
    if (WindowItem* item = Find(title)) {
        item->x = x;
        item->y = y;
    }
}

void WindowDatabase::SetIconPosition(int x, int y, const char* title) {
    std::lock_guard<FGMutex> guard(lock);
    if (WindowItem* item = Find(title)) {
        item->iconX = x;
        item->iconY = y;
    }
}

void WindowDatabase::GetIconPosition(int& x, int& y, const char* title) {
    std::lock_guard<FGMutex> guard(lock);
    if (WindowItem* item = Find(title)) {
        x = item->iconX;
        y = item->iconY;
    }
}
