#pragma once
// The main loop: frames back to back while nothing else needs the thread, window messages
// first whenever one is queued, a blocking wait while paused or while a movie plays.

// Called whenever the loop finds the message queue empty and is about to run a frame or to wait
// for a message; a replay harness feeds its timeline there. Null in the program itself.
using MainLoopIdleHook = void (*)(void* context);

// Runs until the quit message; true when it came (the window was destroyed).
bool RunMainLoop(MainLoopIdleHook idleHook, void* context);

// What the loop's next turn does: take a queued message when one waits; otherwise wait for one
// while paused or while a movie plays, or else run a frame.
bool MainLoopMessageWaiting();
bool MainLoopWaitsForMessages();
