// Runs a program with one disk fault its saves meet, as the kernel would report it, so that
// the program's own save path fails as on a user's machine (root included):
//   save_fault full-disk   PROGRAM [ARGS]  the first write to a temporary of runtime.dat: ENOSPC
//   save_fault flush-fails PROGRAM [ARGS]  the first fsync of such a temporary: EIO
//   save_fault read-only   PROGRAM [ARGS]  creating any file in the working directory: EACCES
// The first two strike once (the disk has room again afterwards); the folder stays read-only.
// The program's system calls of that kind are held by a seccomp filter and answered here;
// every other one goes on unchanged. Exits as the program did.
#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "atomicsave.h"
#include "unique_fd.h"

#if defined(__x86_64__)
constexpr unsigned Arch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr unsigned Arch = AUDIT_ARCH_AARCH64;
#endif

namespace {

std::string Link(pid_t pid, const std::string& what) {
    char target[PATH_MAX];
    const ssize_t n = readlink(("/proc/" + std::to_string(pid) + "/" + what).c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : "";
}

std::string Real(const std::string& path) {
    char out[PATH_MAX];
    return realpath(path.c_str(), out) ? out : "";
}

bool IsRuntimeTemporary(const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    return name.rfind(std::string("runtime.dat") + AtomicTempMark, 0) == 0;
}

// The folder a file opened with openat(dirfd, path) is made in.
std::string FolderOf(pid_t pid, int dirfd, const std::string& path) {
    std::string dir = path.rfind('/') == std::string::npos ? "." : path.substr(0, path.rfind('/') + 1);
    if (dir[0] != '/') dir = Link(pid, dirfd == AT_FDCWD ? "cwd" : "fd/" + std::to_string(dirfd)) + "/" + dir;
    return Real(dir);
}

std::string PathAt(pid_t pid, uint64_t address) {
    UniqueFd mem(open(("/proc/" + std::to_string(pid) + "/mem").c_str(), O_RDONLY | O_CLOEXEC));
    char path[PATH_MAX] = "";
    if (!mem.valid() || pread(mem.get(), path, sizeof path - 1, static_cast<off_t>(address)) <= 0) return "";
    path[sizeof path - 1] = '\0';
    return path;
}

int InstallFilter(int call) {
    sock_filter code[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, Arch, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<unsigned>(call), 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program = {static_cast<unsigned short>(sizeof code / sizeof code[0]), code};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) return -1;
    return static_cast<int>(syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, SECCOMP_FILTER_FLAG_NEW_LISTENER, &program));
}

// One byte carrying a descriptor over a socket pair.
struct TFdMessage {
    char byte = 0;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    iovec io = {&byte, 1};
    msghdr msg = {};
    TFdMessage() {
        msg.msg_iov = &io;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
    }
};

void SendFd(int socket, int fd) {
    TFdMessage m;
    cmsghdr* c = CMSG_FIRSTHDR(&m.msg);
    c->cmsg_level = SOL_SOCKET;
    c->cmsg_type = SCM_RIGHTS;
    c->cmsg_len = CMSG_LEN(sizeof fd);
    memcpy(CMSG_DATA(c), &fd, sizeof fd);
    if (sendmsg(socket, &m.msg, 0) != 1) _exit(126);
}

int ReceiveFd(int socket) {
    TFdMessage m;
    if (recvmsg(socket, &m.msg, 0) != 1 || !CMSG_FIRSTHDR(&m.msg)) return -1;
    int fd;
    memcpy(&fd, CMSG_DATA(CMSG_FIRSTHDR(&m.msg)), sizeof fd);
    return fd;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string fault = argv[1];
    const int call = fault == "full-disk" ? SYS_write : fault == "flush-fails" ? SYS_fsync : SYS_openat;
    const int error = fault == "full-disk" ? ENOSPC : fault == "flush-fails" ? EIO : EACCES;
    const std::string folder = Real(".");
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) return 2;
    const pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int listener = InstallFilter(call);
        if (listener < 0) {
            perror("save_fault: seccomp");
            _exit(126);
        }
        SendFd(pair[1], listener);
        close(listener);
        execv(argv[2], argv + 2);
        _exit(127);
    }
    close(pair[1]);
    UniqueFd listener(ReceiveFd(pair[0]));
    if (!listener.valid()) return 2;
    bool struck = false;
    seccomp_notif request;
    seccomp_notif_resp response;
    for (;;) {
        pollfd p = {listener.get(), POLLIN, 0};
        if (poll(&p, 1, -1) < 0 && errno != EINTR) break;
        if (p.revents & (POLLHUP | POLLERR)) break;  // the program has gone
        if (!(p.revents & POLLIN)) continue;
        memset(&request, 0, sizeof request);
        if (ioctl(listener.get(), SECCOMP_IOCTL_NOTIF_RECV, &request) != 0) continue;
        const pid_t pid = static_cast<pid_t>(request.pid);
        const auto* a = request.data.args;
        bool fail = false;
        if (call == SYS_openat) {
            fail = (a[2] & O_CREAT) && FolderOf(pid, static_cast<int>(a[0]), PathAt(pid, a[1])) == folder;
        } else if (!struck) {
            fail = struck = IsRuntimeTemporary(Link(pid, "fd/" + std::to_string(a[0])));
        }
        response = {};
        response.id = request.id;
        response.error = fail ? -error : 0;
        response.flags = fail ? 0 : SECCOMP_USER_NOTIF_FLAG_CONTINUE;
        ioctl(listener.get(), SECCOMP_IOCTL_NOTIF_SEND, &response);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) return 2;
    if (WIFSIGNALED(status)) {
        signal(WTERMSIG(status), SIG_DFL);
        kill(getpid(), WTERMSIG(status));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}
