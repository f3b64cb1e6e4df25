#include "process.h"

#include <malloc.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "trace.h"

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
