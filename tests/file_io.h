// Whole files read and written as the tests plant and check them; a missing file reads empty.
#pragma once

#include <dirent.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Temporaries of a save ("<name>.tmp...") in dir: those of `name`, or of every file when it is empty.
inline int TemporariesIn(const std::string& dir, const std::string& name = "") {
    int n = 0;
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* e = readdir(d)) {
            const std::string entry = e->d_name;
            if (entry.rfind(name, 0) == 0 && entry.find(".tmp", name.size()) != std::string::npos) ++n;
        }
        closedir(d);
    }
    return n;
}

inline void WriteByteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
