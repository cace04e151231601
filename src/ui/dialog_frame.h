// What the two step dialogs share: sizing to the group box, a fixed-frame window of its own
// class centred on the screen, child controls in the default GUI font, and the modal loop.
#pragma once

#include <windows.h>

#include <string_view>

#include "ui/object_window.h"

namespace keyvora::ui {

// Resizes window, keeping its position, so that its client area holds group with the group's
// left margin on both sides and below it, plus extra_height more at the bottom.
void fit_window_to_group(HWND window, HWND group, int extra_height = 0);

// A dialog window created from code. The window is owned by the object: destroying the object
// destroys a window that is still open. Keys go to the focused control as they are: there is no
// dialog navigation, so Esc does not close the window and Enter does not move the focus.
class DialogFrame {
public:
    DialogFrame(const DialogFrame&) = delete;
    DialogFrame& operator=(const DialogFrame&) = delete;
    virtual ~DialogFrame();

    // The dialog window; null before it is created and once it has been destroyed.
    HWND window() const { return window_; }

    // Runs the dialog modally: the owner is disabled until the window has been destroyed, then
    // enabled and activated again. A WM_QUIT ends the loop early and is posted again.
    void run_modal();

    // Closes the window the way its close button does.
    void close();

protected:
    DialogFrame() = default;

    // Creates the (hidden) window at the given outer size, centred on the screen, with a caption
    // bar and close button, no minimize or maximize box and a frame that cannot be resized.
    bool create_frame(const wchar_t* class_name, std::string_view gbk_caption, int outer_width, int outer_height,
                      HWND owner);
    void show();

    // Children in the default GUI font. A group box passes its children's notifications on to
    // the dialog, so controls may be placed inside it.
    static HWND add_group_box(HWND parent, int x, int y, int width, int height);
    static HWND add_label(HWND parent, std::string_view gbk_text, int x, int y, int width, int height);
    static HWND add_edit(HWND parent, int id, std::string_view gbk_text, int x, int y, int width, int height);
    static HWND add_button(HWND parent, int id, std::string_view gbk_text, int x, int y, int width, int height);

    // Messages of the dialog window; what is not handled goes to DefWindowProcW.
    virtual LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    virtual void on_command(int /*id*/, int /*code*/, HWND /*control*/) {}

private:
    friend LRESULT CALLBACK object_window_procedure<DialogFrame>(HWND, UINT, WPARAM, LPARAM);
    void on_activate(WPARAM wparam);
    void enable_owner();

    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    bool owner_disabled_here_ = false;
    HWND focus_to_restore_ = nullptr;
};

}  // namespace keyvora::ui
