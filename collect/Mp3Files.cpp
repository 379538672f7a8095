#include "collect/Mp3Files.h"

#include "collect/NameOrder.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace tagwerk {

namespace {

bool IsMp3Name(std::string_view name) {
    constexpr std::string_view kExtension = ".mp3";
    if (name.size() < kExtension.size())
        return false;
    const std::string_view extension = name.substr(name.size() - kExtension.size());
    for (std::size_t i = 0; i < kExtension.size(); ++i) {
        const char c = extension[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kExtension[i])
            return false;
    }
    return true;
}

enum class Kind { other, file, folder };

// What an entry of a listed folder is. The type the listing gives spares a
// stat call for all but links (and file systems that give no type).
Kind KindOf(int folder, const dirent& entry) {
    unsigned char type = entry.d_type;
    struct stat status {};
    if (type == DT_UNKNOWN) {
        if (::fstatat(folder, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            return Kind::other;
        type = IFTODT(status.st_mode);
    }
    if (type == DT_LNK) // the file a link names counts; a folder is not walked
        return ::fstatat(folder, entry.d_name, &status, 0) == 0 && S_ISREG(status.st_mode)
                   ? Kind::file
                   : Kind::other;
    return type == DT_REG ? Kind::file : type == DT_DIR ? Kind::folder : Kind::other;
}

struct Listing {
    std::vector<std::string> files; // the MP3 files
    std::vector<std::string> folders;
    int error = 0;
};

Listing List(const std::string& folder) {
    Listing listing;
    DIR* entries = ::opendir(folder.c_str());
    if (entries == nullptr) {
        listing.error = errno;
        return listing;
    }
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(entries);
        if (entry == nullptr) {
            listing.error = errno;
            break;
        }
        const std::string_view name = entry->d_name;
        if (name.starts_with('.'))
            continue;
        const Kind kind = KindOf(::dirfd(entries), *entry);
        if (kind == Kind::file && IsMp3Name(name))
            listing.files.emplace_back(name);
        else if (kind == Kind::folder)
            listing.folders.emplace_back(name);
    }
    ::closedir(entries);
    return listing;
}

void Walk(const std::string& folder, const NameOrder& order, CollectedFiles& collected) {
    Listing listing = List(folder);
    if (listing.error != 0) {
        collected.unreadable.push_back({folder, listing.error});
        return;
    }
    order.sort(listing.files);
    order.sort(listing.folders);
    const std::string prefix = folder.ends_with('/') ? folder : folder + '/';
    for (const std::string& name : listing.files)
        collected.files.push_back(prefix + name);
    for (const std::string& name : listing.folders)
        Walk(prefix + name, order, collected);
}

} // namespace

CollectedFiles Mp3FilesOf(const std::string& folder) {
    CollectedFiles collected;
    Walk(folder, NameOrder(), collected);
    return collected;
}

CollectedFiles FilesOfArguments(const std::vector<std::string>& arguments) {
    const NameOrder order;
    CollectedFiles collected;
    for (const std::string& argument : arguments) {
        struct stat status {};
        if (::stat(argument.c_str(), &status) != 0)
            collected.unreadable.push_back({argument, errno});
        else if (S_ISDIR(status.st_mode))
            Walk(argument, order, collected);
        else if (::access(argument.c_str(), R_OK) != 0)
            collected.unreadable.push_back({argument, errno});
        else
            collected.files.push_back(argument);
    }
    // The views point into `once`, which is reserved and so never moves.
    std::vector<std::string> once;
    once.reserve(collected.files.size());
    std::unordered_set<std::string_view> seen;
    for (std::string& file : collected.files) {
        if (!seen.contains(file)) {
            once.push_back(std::move(file));
            seen.insert(once.back());
        }
    }
    collected.files = std::move(once);
    return collected;
}

} // namespace tagwerk
