#pragma once
// Every file name the system reads or writes is made here from a path kind and printf-style
// arguments. Paths are absolute, in Windows form (backslashes, Shift-JIS), and begin with the
// program directory.

#include <cstdint>

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

constexpr int kPathLength = 520;

// Builds the path into the next of 32 rotating buffers of this thread and returns it; the
// result stays valid until 31 further calls on the same thread.
const char* GetPath(PathKind kind, ...);

// The program directory with its trailing backslash.
const char* GetProgramDir();
