#include "ui/gdi.h"

HBITMAP MakeTransparencyMask(HBITMAP bitmap, COLORREF transparent) {
    BITMAP info;
    GetObject(bitmap, sizeof info, &info);
    HBITMAP mask = CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr);
    MemoryDc bitmapDc(CreateCompatibleDC(nullptr));
    MemoryDc maskDc(CreateCompatibleDC(nullptr));
    SelectGuard bitmapSelected(bitmapDc.get(), bitmap);
    SelectGuard maskSelected(maskDc.get(), mask);
    SetBkColor(bitmapDc.get(), transparent);
    BitBlt(maskDc.get(), 0, 0, info.bmWidth, info.bmHeight, bitmapDc.get(), 0, 0, SRCCOPY);
    // Mask bits 1 arrive as white, 0 as black; bitmap AND NOT mask blackens the transparent.
    SetBkColor(bitmapDc.get(), RGB(255, 255, 255));
    SetTextColor(bitmapDc.get(), RGB(0, 0, 0));
    BitBlt(bitmapDc.get(), 0, 0, info.bmWidth, info.bmHeight, maskDc.get(), 0, 0, 0x00220326);
    return mask;
}

void DrawTopEdge(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    const Pen pen(CreatePen(PS_SOLID, 1, RGB(224, 224, 224)));
    SelectGuard selected(dc, pen.get());
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, client.right, 0);
}

void DrawShadowedText(HDC dc, const std::wstring& text, RECT rect, UINT format, const ShadowStyle& style) {
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, style.shadow);
    DrawTextW(dc, text.c_str(), -1, &rect, format);
    OffsetRect(&rect, -style.lift, -style.lift);
    SetTextColor(dc, style.text);
    DrawTextW(dc, text.c_str(), -1, &rect, format);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}
