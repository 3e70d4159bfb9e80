// Icon resources and the handles loaded from them.

#include <map>
#include <mutex>

#include "platform/win32/icon_api.h"
#include "platform/win32/menu_api.h"
#include "platform/winbase/file_api.h"

namespace {

struct IconTable {
    std::mutex mutex;
    std::map<WORD, const std::uint32_t*> resources;
    std::map<std::uintptr_t, const std::uint32_t*> loaded;
    std::uintptr_t nextHandle = 0x30010;
};

IconTable& Table() {
    static IconTable* const table = new IconTable;
    return *table;
}

}  // namespace

void Win32RegisterIconResource(WORD id, const std::uint32_t* argbPixels) {
    IconTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    if (argbPixels == nullptr) {
        table.resources.erase(id);
    } else {
        table.resources[id] = argbPixels;
    }
}

HICON LoadIconA(HINSTANCE, LPCSTR name) {
    IconTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto found =
        name != nullptr && IS_INTRESOURCE(name)
            ? table.resources.find(static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name)))
            : table.resources.end();
    if (found == table.resources.end()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const std::uintptr_t handle = table.nextHandle;
    table.nextHandle += 4;
    table.loaded[handle] = found->second;
    return reinterpret_cast<HICON>(handle);
}

BOOL DestroyIcon(HICON icon) {
    IconTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    return table.loaded.erase(reinterpret_cast<std::uintptr_t>(icon)) != 0 ? TRUE : FALSE;
}

const std::uint32_t* Win32IconPixels(HICON icon) {
    IconTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto found = table.loaded.find(reinterpret_cast<std::uintptr_t>(icon));
    return found != table.loaded.end() ? found->second : nullptr;
}
