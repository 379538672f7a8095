#pragma once
// Fault tests that change the process (file-size limit, user id) run in a
// forked child; only its result comes back.
#include <cstddef>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace tagwerk::test {

// `unprivileged`: when the tests run as root, who ignores permission bits,
// the child first becomes the user kChildUid, for whom they count. That user
// also belongs to the group kChildGroup, through which files can be shared.
enum class ChildUser { same, unprivileged };
inline constexpr unsigned kChildUid = 65534;
inline constexpr unsigned kChildGroup = 65533;

// Gives the path to the user an unprivileged child runs as (when running as
// root; otherwise it belongs to that user already).
void GiveToChildUser(const std::string& path);

// Runs `body` in a forked child, which writes `size` bytes to `result`.
// False when the child did not finish normally.
bool RunForked(ChildUser user, void* result, std::size_t size,
               const std::function<void(void*)>& body);

template <typename Result, typename Body> Result InChild(ChildUser user, Body body) {
    static_assert(std::is_trivially_copyable_v<Result>);
    Result result{};
    bool finished = RunForked(user, &result, sizeof result, [&](void* out) {
        Result inChild = body();
        std::memcpy(out, &inChild, sizeof inChild);
    });
    if (!finished) {
        throw std::runtime_error("the child process did not finish");
    }
    return result;
}

// Makes writes beyond `bytes` fail with EFBIG (SIGXFSZ ignored), as a full
// disk would. For use inside a child.
void LimitFileSize(long long bytes);

} // namespace tagwerk::test
