// Bitmap resources by id.

#include <cstdlib>
#include <map>
#include <mutex>

#include "platform/win32/bitmap_api.h"

namespace {

struct BitmapTable {
    std::mutex mutex;
    std::map<WORD, Win32Bitmap> resources;
};

BitmapTable& Table() {
    static BitmapTable* const table = new BitmapTable;
    return *table;
}

}  // namespace

void Win32RegisterBitmapResource(WORD id, const Win32Bitmap& bitmap) {
    BitmapTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    if (bitmap.argbPixels == nullptr || bitmap.width <= 0 || bitmap.height <= 0) {
        table.resources.erase(id);
    } else {
        table.resources[id] = bitmap;
    }
}

Win32Bitmap Win32FindBitmapResource(WORD id) {
    BitmapTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto found = table.resources.find(id);
    return found != table.resources.end() ? found->second : Win32Bitmap{};
}

Win32Bitmap Win32BitmapOfText(const char* text) {
    if (text == nullptr || text[0] != '#' || text[1] < '0' || text[1] > '9') {
        return Win32Bitmap{};
    }
    char* end = nullptr;
    const unsigned long id = std::strtoul(text + 1, &end, 10);
    if (*end != '\0' || id > 0xFFFF) {
        return Win32Bitmap{};
    }
    return Win32FindBitmapResource(static_cast<WORD>(id));
}
