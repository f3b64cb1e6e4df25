#include "process.h"

#include <elf.h>
#include <link.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "trace.h"
#include "unique_fd.h"

extern char** environ;

namespace {

int FromErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return PROCESS_ERR_NOT_FOUND;
    case EACCES:
    case ENOEXEC:
    case EPERM:
        return PROCESS_ERR_NOT_EXECUTABLE;
    default:
        return PROCESS_ERR_START;
    }
}

}  // namespace

int ProcessStart(const char* program, const char* const* args, const char* workDir, int32_t* pid) {
    if (pid) *pid = 0;
    if (!program || !*program) return PROCESS_ERR_ARGS;
    // Told apart before the spawn so that the caller gets the reason, not just a dead child.
    struct stat st;
    if (stat(program, &st) != 0) return FromErrno(errno);
    if (!S_ISREG(st.st_mode) || access(program, X_OK) != 0) return PROCESS_ERR_NOT_EXECUTABLE;
    if (workDir && *workDir) {
        if (stat(workDir, &st) != 0 || !S_ISDIR(st.st_mode) || access(workDir, X_OK) != 0)
            return PROCESS_ERR_DIRECTORY;
    }

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program));
    for (const char* const* a = args; a && *a; ++a) argv.push_back(const_cast<char*>(*a));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return PROCESS_ERR_START;
    if (workDir && *workDir && posix_spawn_file_actions_addchdir_np(&actions, workDir) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return PROCESS_ERR_START;
    }
    pid_t child = 0;
    const int rc = posix_spawn(&child, program, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        TRACE_ERR("can't start \"%s\" (error %d)", program, rc);
        return FromErrno(rc);
    }
    if (pid) *pid = static_cast<int32_t>(child);
    return PROCESS_OK;
}

int ProcessReap(int32_t pid, int* exitCode) {
    if (pid <= 0) return PROCESS_ERR_ARGS;
    int status = 0;
    const pid_t r = waitpid(static_cast<pid_t>(pid), &status, WNOHANG);
    if (r == 0) return 0;
    if (r < 0) return PROCESS_ERR_ARGS;  // not our child, or already collected
    if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return 1;
}

std::string ProcessOwnDirectory() {
    std::vector<char> buf(4096);
    const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return std::string();
    std::string path(buf.data(), static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return std::string();
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

const char* ProcessErrorText(int code) {
    switch (code) {
    case PROCESS_OK: return "started";
    case PROCESS_ERR_NOT_FOUND: return "the program file does not exist";
    case PROCESS_ERR_NOT_EXECUTABLE: return "the program file cannot be run";
    case PROCESS_ERR_DIRECTORY: return "the working directory cannot be entered";
    case PROCESS_ERR_ARGS: return "no program given";
    default: return "the system refused to start it";
    }
}

void ProcessTrimHeap() { malloc_trim(0); }

namespace {

struct TMapping {
    uintptr_t start, end;
    bool fileReadOnly;  // a file's pages, mapped private without write access
};

std::vector<TMapping> ReadMappings() {
    std::vector<TMapping> maps;
    UniqueFile f(std::fopen("/proc/self/maps", "r"));
    if (!f) return maps;
    char line[4096];
    while (std::fgets(line, sizeof line, f.get())) {
        unsigned long start = 0, end = 0, inode = 0;
        char perms[8] = "";
        int path = 0;
        if (std::sscanf(line, "%lx-%lx %7s %*s %*s %lu %n", &start, &end, perms, &inode, &path) < 4) continue;
        const bool file = inode != 0 && path > 0 && line[path] == '/';
        maps.push_back({start, end, file && perms[1] == '-' && perms[3] == 'p'});
    }
    return maps;
}

struct TTrim {
    std::vector<TMapping> maps;
    uintptr_t page;
    size_t released = 0;
};

// Whether [start, end) lies within one read-only load segment of the object.
bool InReadOnlySegment(const dl_phdr_info* info, uintptr_t start, uintptr_t end) {
    bool inside = false;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& p = info->dlpi_phdr[i];
        const uintptr_t a = info->dlpi_addr + p.p_vaddr, b = a + p.p_memsz;
        if (p.p_type == PT_GNU_RELRO && start < b && a < end) return false;
        if (p.p_type == PT_LOAD && start >= a && end <= b && !(p.p_flags & PF_W)) inside = true;
    }
    return inside;
}

int TrimObject(dl_phdr_info* info, size_t, void* data) {
    TTrim& trim = *static_cast<TTrim*>(data);
    const ElfW(Dyn)* dyn = nullptr;
    for (int i = 0; i < info->dlpi_phnum; ++i)
        if (info->dlpi_phdr[i].p_type == PT_DYNAMIC)
            dyn = reinterpret_cast<const ElfW(Dyn)*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr);
    if (!dyn) return 0;
    uintptr_t table = 0, size = 0;
    for (const ElfW(Dyn)* d = dyn; d->d_tag != DT_NULL; ++d) {
        // Relocations into the code would have written these very segments.
        if (d->d_tag == DT_TEXTREL || (d->d_tag == DT_FLAGS && (d->d_un.d_val & DF_TEXTREL))) return 0;
        if (d->d_tag == DT_RELA || d->d_tag == DT_REL) table = d->d_un.d_ptr;
        if (d->d_tag == DT_RELASZ || d->d_tag == DT_RELSZ) size = d->d_un.d_val;
    }
    if (!table || !size) return 0;
    // The loader rewrites these entries to addresses for most objects, not all.
    uintptr_t start = table;
    if (!InReadOnlySegment(info, start, start + size)) start = info->dlpi_addr + table;
    if (!InReadOnlySegment(info, start, start + size)) return 0;
    const uintptr_t first = (start + trim.page - 1) & ~(trim.page - 1), last = (start + size) & ~(trim.page - 1);
    if (last <= first) return 0;
    for (const TMapping& m : trim.maps) {
        if (first >= m.start && last <= m.end) {
            if (m.fileReadOnly && madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED) == 0)
                trim.released += last - first;
            break;
        }
    }
    return 0;
}

}  // namespace

size_t ProcessReleaseLoaderTables() {
    TTrim trim;
    trim.maps = ReadMappings();
    const long page = sysconf(_SC_PAGESIZE);
    if (page <= 0) return 0;
    trim.page = static_cast<uintptr_t>(page);
    dl_iterate_phdr(TrimObject, &trim);
    return trim.released;
}
