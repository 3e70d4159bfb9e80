#pragma once
// The adventure scene: the background plane "BASE", the snapshot plane "FADE" used for
// cross-fades, the quake and as the backdrop of background moves, the saved scene picture, the
// parameters of the running BASE animation, and the drawing of the whole scene. The timers
// (QuakeTime, EffectTimer, TransitionTimeLeft, TransitionDuration), BlendMode, CaptureMode and
// BlockingCount are the adventure state's (adventure_state.h); LetterboxRect and LetterboxScale
// are the game modes' (game_mode.h).

#include <cstdint>

#include "adventure/script_arguments.h"
#include "media/graphics/plane.h"
#include "platform/d3d9/d3d9.h"
#include "platform/winbase/win_types.h"

struct D3DTexture;

// "BASE": the background picture at depth 0.1, placed at the letterbox's top left and scaled
// by LetterboxScale (a blank one covers the whole back buffer unscaled). Null when absent.
extern D3DPlane* BasePlane;
// "FADE": a ScreenWidth x ScreenHeight render target holding the last scene snapshot. Its
// gameData field is the remaining cross-fade time in milliseconds (not 0 while it fades out
// over the scene). Null when absent.
extern D3DPlane* FadePlane;
// System-memory copy of FADE's texture made by the save-picture function; null when none.
extern IDirect3DTexture9* SavedScenePicture;

struct SceneVector {
    float x = 0.0f;
    float y = 0.0f;
};

// The BASE animation runs every value from its From to its To value as TransitionTimeLeft
// falls from TransitionDuration to 0.
extern SceneVector BaseFromPos;  // position offset, pixels
extern SceneVector BaseToPos;
extern SceneVector BaseFromScale;
extern SceneVector BaseToScale;
extern float BaseFromAngle;  // radians
extern float BaseToAngle;
extern std::int32_t BaseFromAlpha;  // 0..255
extern std::int32_t BaseToAlpha;
// Easing curve: 1 sine, 2 one minus cosine, 3 half cosine; any other value linear.
extern std::int32_t TransitionCurve;
extern POINT QuakeAmplitude;  // pixels at the quake's start
extern double QuakeDuration;  // seconds
// Non-zero: the letterbox-bar effect runs the other way (bars come in and stay).
extern std::int32_t EffectReverse;

// Releases BASE and makes it again: `name` null gives a blank ScreenWidth x ScreenHeight
// render target filled with opaque black; otherwise the picture of the image kind (bmp\, .png)
// named `name`. Plane and texture are named "BASE" and the animation values reset. On failure
// BASE stays released and the error is returned.
HRESULT LoadBasePlane(const char* name);
// Releases BASE; no background shows afterwards.
void ReleaseBasePlane();
// Releases FADE and makes it again filled with `colour`, plane and texture named "FADE".
HRESULT CreateFadePlane(D3DCOLOR colour);
// Removes the standing characters and makes a blank BASE holding, with `texture` null, the
// whole back buffer; else the texture's picture scaled into LetterboxRect.
HRESULT CaptureBasePlane(D3DTexture* texture);
// Starts FADE fading out over `milliseconds` and holds the script (BlockingCount) until it
// ends; nothing while skipping or without FADE.
void StartSceneFade(std::uint32_t milliseconds);
// FADE's update callback; `duration` is the fade's whole length in milliseconds.
int SceneFadeUpdate(D3DPlane* plane, double elapsed, void* duration);
// The blend factors BASE is drawn with, from BlendMode.
void ApplyBlendMode();
// Moves BASE to the animation's values for the time left (only while BASE exists).
void UpdateTransition();
// Makes the running built-in function be called again next frame.
void SetScriptWaitFlag();
// Draws the scene into the back buffer (`toScreen` 1) or into FADE's texture (0, FADE made
// black when missing); the render target is the back buffer again afterwards.
void RenderAdventureScene(int toScreen);
// Releases every plane of the scene (standing characters, message window, face, FADE, the
// saved picture, BASE, mascot) and forgets each.
void ReleaseScene();
// A blank BASE when none exists (with `check`, also when BASE's texture is no longer named
// "BASE"); answer BASE or its texture, null when it cannot be made.
D3DPlane* EnsureBasePlane(int check);
D3DTexture* GetBaseTexture(int check);

// The built-in functions whose work is the scene. Each reads its arguments as the function
// table states, with the defaults given there; true lets the script go on in this frame.
bool BuiltinBackground(const ScriptArguments& arguments);         // 3: picture [, x, y]
bool BuiltinColourPicture(const ScriptArguments& arguments);      // 13: red, green, blue [, alpha]
bool BuiltinQuake(const ScriptArguments& arguments);              // 25: x, y, tenths
bool BuiltinLetterbox(const ScriptArguments& arguments);          // 26: direction
bool BuiltinBaseAnimation(const ScriptArguments& arguments);      // 27: sub-command, ...
bool BuiltinWaitBaseAnimation(const ScriptArguments& arguments);  // 28
bool BuiltinSavePicture(const ScriptArguments& arguments);        // 32
bool BuiltinRestorePicture(const ScriptArguments& arguments);     // 33
bool BuiltinSceneRender(const ScriptArguments& arguments);        // 34
bool BuiltinBaseColour(const ScriptArguments& arguments);         // 36: red, green, blue
bool BuiltinCaptureScreen(const ScriptArguments& arguments);      // 0 sub-command 3
