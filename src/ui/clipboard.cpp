#include "ui/clipboard.h"

#include <algorithm>
#include <cstring>

namespace {

using ListenerFunction = BOOL(WINAPI*)(HWND);

ListenerFunction User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<ListenerFunction>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

void PutClipboardText(HWND owner, const wchar_t* text) {
    const std::size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes)) {
        void* memory = GlobalLock(block);
        if (memory) {
            std::memcpy(memory, text, bytes);
            GlobalUnlock(block);
        }
        if (!memory || !SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
    }
    CloseClipboard();
}

bool ClipboardText(HWND owner, std::size_t maxChars, std::wstring& text) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) return false;
    bool got = false;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        const std::size_t limit = std::min<std::size_t>(GlobalSize(data) / sizeof(wchar_t), maxChars);
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            std::size_t n = 0;
            while (n < limit && p[n] != L'\0') ++n;
            text.assign(p, n);
            got = true;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return got;
}

void ClipboardWatch::Start(HWND window) {
    Stop();
    window_ = window;
    joining_ = true;
    if (ListenerFunction add = User32Function("AddClipboardFormatListener"); add && add(window)) {
        listening_ = true;
    } else {
        nextViewer_ = SetClipboardViewer(window);
    }
    joining_ = false;
}

void ClipboardWatch::Stop() {
    if (!window_) return;
    if (listening_) {
        if (ListenerFunction remove = User32Function("RemoveClipboardFormatListener")) remove(window_);
    } else {
        ChangeClipboardChain(window_, nextViewer_);
    }
    *this = ClipboardWatch{};
}

bool ClipboardWatch::Handle(UINT msg, WPARAM wParam, LPARAM lParam, void (*changed)(HWND window)) {
    switch (msg) {
        case WM_CLIPBOARDUPDATE:
            if (listening_ && !joining_) changed(window_);
            return true;
        case WM_DRAWCLIPBOARD:
            if (!joining_ && window_) changed(window_);
            if (nextViewer_) SendMessageW(nextViewer_, WM_DRAWCLIPBOARD, wParam, lParam);
            return true;
        case WM_CHANGECBCHAIN:
            if (reinterpret_cast<HWND>(wParam) == nextViewer_)
                nextViewer_ = reinterpret_cast<HWND>(lParam);
            else if (nextViewer_)
                SendMessageW(nextViewer_, WM_CHANGECBCHAIN, wParam, lParam);
            return true;
    }
    return false;
}
