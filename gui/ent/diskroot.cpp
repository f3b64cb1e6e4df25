#include "diskroot.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

std::string& RootOverride() {
    static std::string root;
    return root;
}

struct DirCloser {
    void operator()(DIR* d) const {
        if (d) closedir(d);
    }
};

}  // namespace

const char* DiskRoot() {
    if (!RootOverride().empty()) return RootOverride().c_str();
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir) return pw->pw_dir;
    return ".";
}

void SetDiskRoot(const char* hostDir) { RootOverride() = hostDir ? hostDir : ""; }

bool JoinDiskPath(char* out, size_t size, const char* dir, const char* name) {
    if (!out || size == 0) return false;
    out[0] = '\0';
    if (!dir || !name) return false;
    const size_t dl = std::strlen(dir), nl = std::strlen(name);
    if (dl + 1 + nl >= size) return false;
    std::memcpy(out, dir, dl);
    out[dl] = '/';
    std::memcpy(out + dl + 1, name, nl + 1);
    return true;
}

bool DiskHostPath(const char* diskPath, char* out, size_t size) {
    if (!out || size == 0) return false;
    out[0] = '\0';
    if (!diskPath) return false;
    const size_t rl = std::strlen(DiskRootName);
    std::string host;
    if (std::strncmp(diskPath, DiskRootName, rl) == 0 && (diskPath[rl] == '\0' || diskPath[rl] == '/'))
        host = std::string(DiskRoot()) + (diskPath + rl);
    else
        host = diskPath;
    if (host.size() >= size) return false;
    std::memcpy(out, host.c_str(), host.size() + 1);
    return true;
}

int ListDiskDir(const char* diskPath, bool atRoot, const std::function<void(const char*, bool)>& add) {
    char host[DiskPathSize];
    std::unique_ptr<DIR, DirCloser> dir;
    if (DiskHostPath(diskPath, host, sizeof host)) dir.reset(opendir(host));
    if (!dir) {
        // An unreadable folder still has a way back up.
        if (!atRoot) add("..", true);
        return -1;
    }
    int count = 0;
    bool parentSeen = false;
    while (const dirent* e = readdir(dir.get())) {
        const char* name = e->d_name;
        if (std::strcmp(name, ".") == 0) continue;
        const bool parent = std::strcmp(name, "..") == 0;
        if (parent && atRoot) continue;
        // Tested beside the listing: the entry's own path may be too long to name.
        struct stat st {};
        const bool directory = fstatat(dirfd(dir.get()), name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        parentSeen = parentSeen || parent;
        add(name, parent || directory);
        ++count;
    }
    if (!atRoot && !parentSeen) {
        add("..", true);
        ++count;
    }
    return count;
}
