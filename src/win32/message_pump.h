// Message handling shared by the main loop and the runner's waits, so a message is treated the
// same whichever loop takes it from the queue.
#pragma once

#include <windows.h>

namespace keyvora::win32 {

// Top-level windows whose keyboard messages get dialog navigation through IsDialogMessageW: Tab
// between controls, Esc as WM_COMMAND IDCANCEL unless the focused control claims the key.
void register_navigation_window(HWND window);
void unregister_navigation_window(HWND window);

// Dialog navigation for a registered window, else TranslateMessage and DispatchMessageW.
void dispatch_message(MSG& message);

// Handles every queued message until the queue is empty or WM_QUIT is at its head; WM_QUIT is
// left in the queue. Messages posted meanwhile are handled in the same call.
void pump_messages();

// True once WM_QUIT is waiting in this thread's queue.
bool quit_requested();

}  // namespace keyvora::win32
