#include "platform/winbase/errno_mapping.h"

#include <cerrno>

#include "platform/winbase/file_api.h"

DWORD Win32ErrorFromErrno(int error, bool parentExists) {
    switch (error) {
        case 0:
            return ERROR_SUCCESS;
        case ENOENT:
            return parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
        case ENOTDIR:
        case ELOOP:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
        case ETXTBSY:
            return ERROR_ACCESS_DENIED;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case ENOTEMPTY:
            return ERROR_DIR_NOT_EMPTY;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return ERROR_DISK_FULL;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case EBADF:
            return ERROR_INVALID_HANDLE;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        case EXDEV:
            return ERROR_NOT_SAME_DEVICE;
        case EBUSY:
            return ERROR_SHARING_VIOLATION;
        default:
            return ERROR_WRITE_FAULT;
    }
}
