#include "support/Child.h"

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tagwerk::test {

namespace {

bool DropPrivileges() {
    const gid_t groups[] = {kChildGroup};
    return ::setgroups(1, groups) == 0 && ::setresgid(kChildUid, kChildUid, kChildUid) == 0 &&
           ::setresuid(kChildUid, kChildUid, kChildUid) == 0;
}

bool ReadAll(int descriptor, unsigned char* bytes, std::size_t size) {
    while (size > 0) {
        ssize_t count = ::read(descriptor, bytes, size);
        if (count <= 0) {
            return false;
        }
        bytes += count;
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

} // namespace

void GiveToChildUser(const std::string& path) {
    if (::geteuid() == 0 && ::chown(path.c_str(), kChildUid, kChildUid) != 0) {
        throw std::runtime_error("cannot hand " + path + " to the child's user");
    }
}

bool RunForked(ChildUser user, void* result, std::size_t size,
               const std::function<void(void*)>& body) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return false;
    }
    pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (user == ChildUser::unprivileged && ::geteuid() == 0 && !DropPrivileges()) {
            ::_exit(2);
        }
        std::vector<unsigned char> out(size);
        body(out.data());
        bool sent = ::write(channel[1], out.data(), size) == static_cast<ssize_t>(size);
        ::_exit(sent ? 0 : 3);
    }
    ::close(channel[1]);
    bool received = child > 0 && ReadAll(channel[0], static_cast<unsigned char*>(result), size);
    ::close(channel[0]);
    int status = 0;
    bool ended = child > 0 && ::waitpid(child, &status, 0) == child;
    return received && ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void LimitFileSize(long long bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        ::_exit(4);
    }
}

} // namespace tagwerk::test
