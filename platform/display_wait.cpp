// The wake-up shared by every display: any thread may cut a display's Wait short.
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "display.h"

namespace {

int WakeFd() {
    static const int fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return fd;
}

}  // namespace

void DisplayWake() {
    const int fd = WakeFd();
    if (fd < 0) return;
    const uint64_t one = 1;
    // A full counter already wakes the waiter: nothing is lost when this fails.
    ssize_t rc;
    do rc = write(fd, &one, sizeof one);
    while (rc < 0 && errno == EINTR);
}

int DisplayWaitFd(int fd, int32_t timeoutMs) {
    pollfd p[2] = {{WakeFd(), POLLIN, 0}, {fd, POLLIN, 0}};
    const nfds_t n = fd >= 0 ? 2 : 1;
    if (p[0].fd < 0) p[0].events = 0;
    const int rc = poll(p, n, timeoutMs < 0 ? 0 : timeoutMs);
    if (rc <= 0) return 0;
    if (p[0].revents & POLLIN) {
        uint64_t count;
        ssize_t got;
        do got = read(p[0].fd, &count, sizeof count);
        while (got < 0 && errno == EINTR);
    }
    return 1;
}

int TDisplay::Wait(int32_t timeoutMs) { return DisplayWaitFd(-1, timeoutMs); }
