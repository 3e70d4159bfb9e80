#pragma once
// Every file name the system reads or writes is made here from a path kind and printf-style
// arguments. Paths are absolute, in Windows form (backslashes, Shift-JIS), and begin with the
// program directory.

#include <cstdarg>
#include <cstdint>
#include <string>

enum class PathKind : std::uint32_t {
    Any = 0,     // "%s"
    Pack = 1,    // "game%02d" ".dat"
    Data = 2,    // "data\%s"
    Sprite = 3,  // "sprite\%s" ".kra"
    Image = 4,   // "bmp\%s" ".png"
    Script = 5,  // "script\%s" ".scr"
    Music = 6,   // "music\bgm%02da" ".wav"
    Sound = 7,   // "sound\%s" ".wav"
    Movie = 8,   // "movie\%s" ".avi"
    Save = 9,    // "save\save%02d" ".dat"
    Voice = 10,  // "voice\%s" ".mp3"
};

// Buffer length of every path, its terminating NUL included.
constexpr int kPathLength = 520;
// Number of rotating buffers of GetPath on each thread.
constexpr int kPathRingSize = 32;

// Builds the path into the next of 32 rotating buffers of the calling thread and returns it; the
// result stays valid until 31 further calls on the same thread. Each thread has its own ring.
const char* GetPath(PathKind kind, ...);

// The builder: formats the kind's pattern with `args`, makes it absolute, adds the default
// extension and applies the alternate directory. Null when `buffer` is null or `length` is not
// positive; an empty string for a kind outside 0..10.
char* BuildPath(char* buffer, int length, PathKind kind, va_list args);

// BuildPath into a caller's buffer of kPathLength characters.
char* FormatPath(char* buffer, PathKind kind, ...);
char* BuildPathFixed(char* buffer, PathKind kind, va_list args);
char* BuildPathArgs(char* buffer, int length, PathKind kind, ...);

// The program directory (the executable's folder) with its trailing backslash; fixed on first use.
const char* GetProgramDir();

// Sets the directory (ending in a backslash) under which a missing file of a flagged kind is
// looked for; null clears it.
void SetAlternateDir(const char* path);

// The file name of `path` without its drive, folders and extension (the part before its last
// '.'); '\\' and '/' both separate folders, and Shift-JIS trail bytes never do.
std::string FileStem(const char* path);
