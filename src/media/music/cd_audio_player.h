#pragma once
// The CD audio player: the music window's procedure when "MusicDevice" is 2. Background music
// number n is audio track n + 1 of the disc in the first CD-ROM drive that holds at least two
// tracks, played through the MCI "cdaudio" device; the music volume is the level of the audio
// mixer's CD line, whose former level comes back when the window closes. The player answers the
// same messages as the PCM player (music_window.h), with the track number for a name and the
// loop mode as a loop flag.

#include <string>

#include "platform/mci/mci.h"
#include "platform/mci/mixer.h"
#include "platform/win32/window_api.h"

constexpr MCIDEVICEID kCdDeviceClosed = 0xFFFFFFFFu;
// Tracks beyond this number are never asked for.
constexpr int kCdMaxTracks = 50;

// What the CD player keeps besides the shared music state (music_state.h).
struct CdAudioState {
    std::string driveRoot;                   // such as "d:\"; empty while no drive is known
    MCIDEVICEID deviceId = kCdDeviceClosed;  // open only while a track plays
    int trackCount = 0;                      // of the known drive, at most kCdMaxTracks
    int discTrackCount = 0;                  // of the known drive, as many as the disc has
    int currentTrack = 0;
    int requestedTrack = 0;
    // The compact-disc source line and its volume control, found at window creation.
    bool hasMixerLine = false;
    MIXERLINEA mixerLine{};
    MIXERCONTROLA volumeControl{};
    DWORD savedMixerVolume = 0;  // the line's level (0..10000) before the window set it
};

CdAudioState& GetCdAudioState();

// 1 when the CD-ROM drive of `root` ("d:\") holds a disc of at least two tracks; that drive then
// becomes the one the player uses.
int ProbeCdAudioDrive(const char* root);
// ProbeCdAudioDrive on `root` while the music window is ready with the CD player; else 0.
int CheckCdAudioDrive(const char* root);
// Sets the CD line to `volume` (0..10000, larger is full) on every channel and returns its
// former level; 0 and nothing done without the line or with a control of no range.
DWORD SetCdVolume(DWORD volume);
// Stops and closes the device when music plays; playing and paused become 0.
void StopCdAudio();

LRESULT CdAudioPlayer(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
