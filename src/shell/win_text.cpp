#include "shell/app.h"

namespace {

UINT CodePageOf(int charset) {
    if (charset == 500) return 1252;  // the special face is made as an ANSI font
    CHARSETINFO info;
    if (TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<ULONG_PTR>(charset)), &info, TCI_SRCCHARSET))
        return info.ciACP;
    return 1252;
}

}  // namespace

std::wstring WideFromCharset(const char* text, int charset) {
    UINT codePage = CodePageOf(charset);
    int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text, -1, wide.data(), n);
    wide.resize(static_cast<std::size_t>(n - 1));
    return wide;
}

std::string CharsetFromWide(const wchar_t* text, int charset) {
    UINT codePage = CodePageOf(charset);
    int n = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text, -1, narrow.data(), n, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(n - 1));
    return narrow;
}

void DrawShadowedText(HDC dc, const char* text, RECT rect, UINT format, int charset) {
    const std::wstring wide = WideFromCharset(text, charset);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, RGB(224, 224, 224));
    DrawTextW(dc, wide.c_str(), -1, &rect, format);
    OffsetRect(&rect, -1, -1);
    SetTextColor(dc, RGB(0, 128, 0));
    DrawTextW(dc, wide.c_str(), -1, &rect, format);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}
