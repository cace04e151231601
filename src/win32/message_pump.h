// Message handling shared by the main loop and the runner's waits, so a message is treated the
// same whichever loop takes it from the queue.
#pragma once

#include <windows.h>

namespace keyvora::win32 {

// A hook the user interface installs to pre-translate a message (Esc on the main window, dialog
// navigation); true when the message has been handled.
using PreTranslate = bool (*)(MSG& message);
void set_pre_translate(PreTranslate hook);

// Pre-translation, TranslateMessage and DispatchMessageW for one message.
void dispatch_message(MSG& message);

// Handles every queued message until the queue is empty or WM_QUIT is at its head; WM_QUIT is
// left in the queue. Messages posted meanwhile are handled in the same call.
void pump_messages();

// True once WM_QUIT is waiting in this thread's queue.
bool quit_requested();

}  // namespace keyvora::win32
