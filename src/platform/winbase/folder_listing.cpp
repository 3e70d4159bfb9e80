#include "platform/winbase/folder_listing.h"

#include <dirent.h>
#include <sys/stat.h>
#include <time.h>

#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>

namespace {

// A listing is kept only when the folder was last modified this long ago: a file system stamps
// times with a coarse clock, so a change within the same tick as the listing could otherwise
// leave the modification time unchanged and the kept listing stale.
constexpr time_t kSettledSeconds = 2;
constexpr std::size_t kMaxFolders = 64;

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;

std::string FoldAscii(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + ('a' - 'A'));
        }
    }
    return folded;
}

struct Listing {
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    std::unordered_map<std::string, std::string> byFoldedName;  // folded -> first entry
};

struct ListingCache {
    std::mutex mutex;
    std::unordered_map<std::string, Listing> folders;
};

ListingCache& Cache() {
    static ListingCache* cache = new ListingCache;
    return *cache;
}

bool SameStamp(const Listing& listing, const struct stat& info) {
    return listing.device == info.st_dev && listing.inode == info.st_ino &&
           listing.modified.tv_sec == info.st_mtim.tv_sec &&
           listing.modified.tv_nsec == info.st_mtim.tv_nsec;
}

std::optional<Listing> ReadListing(const std::string& dir, const struct stat& info) {
    DirPtr handle(opendir(dir.empty() ? "." : dir.c_str()));
    if (!handle) {
        return std::nullopt;
    }
    Listing listing;
    listing.device = info.st_dev;
    listing.inode = info.st_ino;
    listing.modified = info.st_mtim;
    while (dirent* entry = readdir(handle.get())) {
        std::string_view name(entry->d_name);
        auto [it, added] = listing.byFoldedName.try_emplace(FoldAscii(name), name);
        if (!added && name < it->second) {
            it->second = std::string(name);
        }
    }
    return listing;
}

std::optional<std::string> Lookup(const Listing& listing, const std::string& name) {
    auto it = listing.byFoldedName.find(FoldAscii(name));
    if (it == listing.byFoldedName.end()) {
        return std::nullopt;
    }
    return it->second;
}

}  // namespace

std::optional<std::string> FindEntryIgnoringCase(const std::string& dir, const std::string& name) {
    struct stat info;
    if (stat(dir.empty() ? "." : dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return std::nullopt;
    }
    ListingCache& cache = Cache();
    {
        std::lock_guard lock(cache.mutex);
        auto it = cache.folders.find(dir);
        if (it != cache.folders.end()) {
            if (SameStamp(it->second, info)) {
                return Lookup(it->second, name);
            }
            cache.folders.erase(it);
        }
    }
    std::optional<Listing> listing = ReadListing(dir, info);
    if (!listing) {
        return std::nullopt;
    }
    std::optional<std::string> found = Lookup(*listing, name);
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    if (now.tv_sec - info.st_mtim.tv_sec >= kSettledSeconds) {
        std::lock_guard lock(cache.mutex);
        if (cache.folders.size() >= kMaxFolders) {
            cache.folders.clear();
        }
        cache.folders.insert_or_assign(dir, std::move(*listing));
    }
    return found;
}
