// Whole-file output shared by the asset generators.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace gen {

// Writes the whole file; false, with the path and the reason on standard error,
// when it cannot be written completely (the close is checked too: a full disk
// shows there).
inline bool WriteFile(const std::string& path, const void* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = f != nullptr && std::fwrite(data, 1, size, f) == size;
    if (f != nullptr && std::fclose(f) != 0) ok = false;
    if (!ok) std::perror(path.c_str());
    return ok;
}

inline bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    return WriteFile(path, bytes.data(), bytes.size());
}

}  // namespace gen
