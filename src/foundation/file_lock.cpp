#include "foundation/file_lock.h"

CriticalSection& GetFileCriticalSection() {
    // Never destroyed: the music thread may still hold it while statics are torn down.
    static CriticalSection* section = new CriticalSection();
    return *section;
}
