// Window database: the geometry of named windows kept between runs in
// "$HOME/.windowxy.wdb", one file shared by every program (keys "base::title").
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fgbase.h"

// ---- stored layout (little-endian, records packed one after another) ----
constexpr int32_t WindowDbMagic = 17239;  // bytes 0x57 0x43 0x00 0x00
constexpr int WindowDbMaxRecords = 100;
// Keys are read into 116 characters: at most 115 plus the NUL.
constexpr size_t WindowDbKeyMax = 115;
constexpr size_t WindowDbPrefixMax = 63;

struct WindowDbHeader {
    uint8_t magic[4];
    uint8_t count[4];
};
static_assert(sizeof(WindowDbHeader) == 8, "file header is 8 bytes");

// Followed by the key's characters and a NUL.
struct WindowDbRecord {
    uint8_t x[4];
    uint8_t y[4];
    uint8_t width[4];
    uint8_t height[4];
    uint8_t iconX[4];
    uint8_t iconY[4];
    uint8_t reserved[4];
};
static_assert(sizeof(WindowDbRecord) == 28, "record head is 28 bytes");

constexpr size_t WindowDbMaxFileSize =
    sizeof(WindowDbHeader) + WindowDbMaxRecords * (sizeof(WindowDbRecord) + WindowDbKeyMax + 1);

// Window flags that take geometry from the database.
constexpr int WindowDbUsePosition = 0x10000;
constexpr int WindowDbUseSize = 0x8000;

struct WindowItem {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int iconX = -1;
    int iconY = -1;
    int reserved = 0;
    std::string key;
    std::unique_ptr<WindowItem> next;
};

class WindowDatabase {
public:
    // Opens and reads the file under home (null: "HOME", else ".").
    explicit WindowDatabase(const char* baseName, const char* home = nullptr);
    // Saves (a failure is reported on the trace) and frees the records.
    ~WindowDatabase();
    WindowDatabase(const WindowDatabase&) = delete;
    WindowDatabase& operator=(const WindowDatabase&) = delete;

    WindowItem* Find(const char* title);
    void Register(int& x, int& y, int& width, int& height, const char* title, int windowFlags);
    void SetSize(int width, int height, const char* title);
    void SetPosition(int x, int y, const char* title);
    void SetIconPosition(int x, int y, const char* title);
    void GetIconPosition(int& x, int& y, const char* title);

    // Writes the records through a temporary file and a rename, so that a failed
    // save leaves the previous file intact. 0 saved (or nothing to save), -1 failed.
    int Save();
    // The file's contents: Decode replaces the records (0) or empties them for a
    // damaged image (-1); Encode gives the image Save writes.
    int Decode(const uint8_t* data, size_t size);
    std::vector<uint8_t> Encode();

    int count = 0;
    std::unique_ptr<WindowItem> first;
    WindowItem* last = nullptr;
    std::string path;
    std::string prefix;  // "base::", at most 63 characters
    FGMutex lock;

private:
    std::string KeyFor(const char* title) const;
    WindowItem* FindKey(const std::string& key);
    void Load();
};
