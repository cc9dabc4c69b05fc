#include "screen_picture.h"

#include <algorithm>
#include <cstdio>

std::vector<unsigned char> ScreenBits(const RECT& area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const unsigned char*>(bits);
    std::vector<unsigned char> pixels(first, first + ((static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3}) * h);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(dib);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool WaitForSteadyPicture(const RECT& area, int timeoutMs) {
    std::vector<unsigned char> last;
    for (DWORD start = GetTickCount(); static_cast<int>(GetTickCount() - start) < timeoutMs;) {
        std::vector<unsigned char> now = ScreenBits(area);
        // One colour all over is the screen before the window came.
        const bool blank = std::all_of(now.begin(), now.end(), [&](unsigned char b) { return b == now[0]; });
        if (!blank && now == last) return true;
        last = std::move(now);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return false;
}

bool SaveScreenPicture(const RECT& area, const std::string& path) {
    const std::vector<unsigned char> pixels = ScreenBits(area);
    BITMAPINFOHEADER header = {
        sizeof header, area.right - area.left, area.bottom - area.top, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD size = static_cast<DWORD>(pixels.size());
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof header + size), 0, 0,
                             sizeof file + sizeof header};
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
              std::fwrite(pixels.data(), 1, size, out) == size;
    return std::fclose(out) == 0 && ok;
}
