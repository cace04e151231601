// The references for posting: a plain loop that posts WM_KEYDOWN / WM_KEYUP pairs to one window,
// with none of the program's list, selection or window around it.
//
//   post_reference.exe HWND SECONDS          as fast as PostMessageA goes, for SECONDS
//       "posted <pairs> failed <calls> seconds <measured>"
//   post_reference.exe HWND paced DELAY COUNT
//       COUNT pairs, each followed by a wait of DELAY ms done as the program does it: a deadline
//       waited out with MsgWaitForMultipleObjectsEx at 1 ms timer resolution, serving the queue
//       "posted <pairs> failed <calls>"
// Keys go A to J in turn, so the receiver can spot a lost pair.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

long long posted = 0, failed = 0;

LONGLONG now() {
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

LONGLONG frequency() {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f.QuadPart;
}

bool post_pair(HWND target) {
    const WPARAM key = 'A' + static_cast<WPARAM>(posted % 10);
    const BOOL down = ::PostMessageA(target, WM_KEYDOWN, key, 0);
    const BOOL up = ::PostMessageA(target, WM_KEYUP, key, 0);
    if (down && up) {
        ++posted;
        return true;
    }
    failed += (down ? 0 : 1) + (up ? 0 : 1);
    return ::IsWindow(target) != FALSE;
}

void serve_queue() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

void wait_ms(int ms) {
    const LONGLONG f = frequency();
    const LONGLONG deadline = now() + ms * f / 1000;
    serve_queue();
    for (LONGLONG remaining = deadline - now(); remaining > 0; remaining = deadline - now()) {
        const DWORD timeout = static_cast<DWORD>((remaining * 1000 + f - 1) / f);
        ::MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        serve_queue();
    }
    serve_queue();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    HWND target = reinterpret_cast<HWND>(static_cast<LONG_PTR>(std::strtol(argv[1], nullptr, 10)));
    if (std::strcmp(argv[2], "paced") == 0 && argc >= 5) {
        const int delay = std::atoi(argv[3]);
        const int count = std::atoi(argv[4]);
        ::timeBeginPeriod(1);
        for (int i = 0; i < count && post_pair(target); ++i) wait_ms(delay);
        ::timeEndPeriod(1);
        std::printf("posted %lld failed %lld\n", posted, failed);
        return 0;
    }

    const double seconds = std::strtod(argv[2], nullptr);
    const LONGLONG start = now();
    const LONGLONG end = start + static_cast<LONGLONG>(seconds * static_cast<double>(frequency()));
    LONGLONG current = start;
    do {
        if (!post_pair(target)) break;
        current = now();
    } while (current < end);
    std::printf("posted %lld failed %lld seconds %.3f\n", posted, failed,
                static_cast<double>(current - start) / static_cast<double>(frequency()));
    return 0;
}
