#pragma once
// The built-in script functions whose work is the message window: the speaker (1), the page
// end (2 and 19), the wait (6) and the formatted message (35); and the window's two immediate
// states that many functions share.

#include "adventure/script_arguments.h"

// Function 1 (0 s name): SpeakerName from the name ("#n": global word n; "*...": none), cut at
// 63 bytes on a character boundary; a new page; the face cleared. True.
bool BuiltinSpeaker(const ScriptArguments& arguments);
// Functions 2 and 19 (0 u seconds): the page waits for the player, or with auto mode for the
// auto page delay (MsgAutoInterval while a voice plays), or the given seconds; the window
// shows; the page is marked read. False.
bool BuiltinPageEnd(const ScriptArguments& arguments);
// Function 6 (0 w tenths): waits tenths x 100 ms (1 ms while skipping) with the window hidden.
// False.
bool BuiltinWait(const ScriptArguments& arguments);
// Function 35 (0 s text, 1.. values): the text, or with values the text as a format of them
// (FormatScriptText), shown as a message. True.
bool BuiltinFormattedMessage(const ScriptArguments& arguments);

// The window shown at once: MessageWindowShown 1, no fade, the planes updated now.
void ShowMessageWindowAtOnce();
// The window hidden at once, with the mascot and the pointer shape 0.
void HideMessageWindowAtOnce();
