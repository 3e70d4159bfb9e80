#include "platform/winbase/kernel_object.h"

#include <mutex>
#include <unordered_map>

#include "platform/winbase/file_api.h"

namespace {

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<HANDLE, std::shared_ptr<KernelObject>> objects;
};

HandleTable& Table() {
    static HandleTable* table = new HandleTable;  // outlives every static destructor
    return *table;
}

}  // namespace

HANDLE RegisterKernelObject(std::unique_ptr<KernelObject> object) {
    HANDLE handle = object.get();
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    table.objects.emplace(handle, std::shared_ptr<KernelObject>(std::move(object)));
    return handle;
}

std::shared_ptr<KernelObject> FindKernelObject(HANDLE handle) {
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(handle);
    return it == table.objects.end() ? nullptr : it->second;
}

BOOL CloseHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> object;
    {
        HandleTable& table = Table();
        std::lock_guard lock(table.mutex);
        auto it = table.objects.find(handle);
        if (it == table.objects.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        object = std::move(it->second);
        table.objects.erase(it);
    }
    object.reset();  // outside the lock: a destructor may close further handles
    return TRUE;
}
