// Text on the clipboard, and notices of its changes for one window.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Puts text on the clipboard in a block of exactly its size, replacing all it held.
void PutClipboardText(HWND owner, const wchar_t* text);
// At most maxChars characters of the clipboard's text, never read past its block (another
// program's block need not hold a terminator). False when it holds no text.
bool ClipboardText(HWND owner, std::size_t maxChars, std::wstring& text);

// Tells a window when the clipboard's content changes: through the format listener where
// the system has it (looked up at run time, so the 32-bit build still starts on older
// Windows), else through the viewer chain, whose link this watch keeps and passes on.
class ClipboardWatch {
public:
    void Start(HWND window);
    void Stop();
    // True when `msg` is the watch's; `changed` is then called for a change of content.
    bool Handle(UINT msg, WPARAM wParam, LPARAM lParam, void (*changed)(HWND window));

private:
    HWND window_ = nullptr;
    bool listening_ = false;
    bool joining_ = false;  // the notice sent while joining the chain is no change
    HWND nextViewer_ = nullptr;
};
