// The main window: the current pair over a colour gradient, and the buttons that
// open the other windows.

#include <windowsx.h>

#include "resource.h"
#include "shell/app.h"
#include "shell/settings.h"
#include "shell/ui_strings.h"
#include "store/catalogue.h"
#include "store/store.h"

namespace {

constexpr int kClientWidth = 565;
constexpr int kClientHeight = 332;
constexpr int kPens = 64;

struct MainState {
    int colourDepth;
    HICON flag1, flag2;
    HWND buttons[5];
};

MainState s;

void LoadFlags() {
    if (s.flag1) DestroyIcon(s.flag1);
    if (s.flag2) DestroyIcon(s.flag2);
    const std::string prefix = Ui(UiKey::PathIcons);
    s.flag1 = static_cast<HICON>(
        LoadImageA(nullptr, (prefix + Icon1Name(*CurrentPair)).c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
    s.flag2 = static_cast<HICON>(
        LoadImageA(nullptr, (prefix + Icon2Name(*CurrentPair)).c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
}

// Text over its black shadow: the light text stands 2 pixels up and left.
void DrawShadowed(HDC dc, const char* text, RECT rect, int charset) {
    const std::wstring wide = WideFromCharset(text, charset);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, wide.c_str(), -1, &rect, DT_SINGLELINE | DT_LEFT | DT_TOP);
    rect.left -= 2;
    rect.top -= 2;
    SetTextColor(dc, RGB(230, 230, 230));
    DrawTextW(dc, wide.c_str(), -1, &rect, DT_SINGLELINE | DT_LEFT | DT_TOP);
}

COLORREF PenColour(int i) {
    return RGB((Settings.colorR - i * Settings.colorRi) & 0xFF, (Settings.colorG - i * Settings.colorGi) & 0xFF,
               (Settings.colorB - i * Settings.colorBi) & 0xFF);
}

void PaintGradient(HDC dc, const RECT& client) {
    HPEN pens[kPens];
    for (int i = 0; i < kPens; ++i) pens[i] = CreatePen(PS_SOLID, 1, PenColour(i));
    HGDIOBJ old = SelectObject(dc, pens[0]);
    const int height = client.bottom > 0 ? client.bottom : 1;
    for (int y = 0; y < client.bottom; ++y) {
        SelectObject(dc, pens[s.colourDepth < 24 ? 32 : y * 63 / height]);
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, client.right, y);
    }
    HPEN top = CreatePen(PS_SOLID, 1, RGB(25, 25, 25));
    SelectObject(dc, top);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, client.right, 0);
    SelectObject(dc, old);
    DeleteObject(top);
    for (HPEN pen : pens) DeleteObject(pen);
}

HWND Button(HWND parent, int id, UiKey label, int left, int top) {
    HWND button = CreateWindowW(L"BUTTON", WideFromCharset(Ui(label), UiCharset).c_str(),
                                WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_MULTILINE, left, top, 120, 30, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance, nullptr);
    SetWindowFont(button, Fonts.GuiFont, FALSE);
    return button;
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    LoadFlags();
    HDC screen = GetDC(nullptr);
    s.colourDepth = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    ReadWindowSettings();
    s.buttons[0] = Button(hwnd, IDC_MAIN_ADD, UiKey::MainButtonAdd, 10, 280);
    s.buttons[1] = Button(hwnd, IDC_MAIN_CREATELIST, UiKey::MainButtonCreatelist, 150, 280);
    s.buttons[2] = Button(hwnd, IDC_MAIN_PRACTICE, UiKey::MainButtonPractice, 290, 280);
    s.buttons[3] = Button(hwnd, IDC_MAIN_SEARCH, UiKey::MainButtonSearch, 430, 280);
    if (RecorderMode) s.buttons[4] = Button(hwnd, IDC_MAIN_RECORD, UiKey::RecordCaption, 10, 240);
    SetWindowPos(hwnd, Settings.StayOnTop == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (Settings.mainWindow.Known())
        SetWindowPos(hwnd, nullptr, Settings.mainWindow.left, Settings.mainWindow.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    return TRUE;
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    PaintGradient(dc, client);
    if (s.flag1) DrawIconEx(dc, 60, 107, s.flag1, 32, 32, 0, nullptr, DI_NORMAL);
    if (s.flag2) DrawIconEx(dc, 60, 177, s.flag2, 32, 32, 0, nullptr, DI_NORMAL);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, Fonts.TitleFont);
    DrawShadowed(dc, Ui(UiKey::Dictionary), {140, 20, 560, 90}, UiCharset);
    SelectObject(dc, Fonts.LanguageNameFont);
    DrawShadowed(dc, CurrentPair->name1, {140, 102, 560, 160}, CurrentPair->charset1);
    DrawShadowed(dc, CurrentPair->name2, {140, 172, 560, 230}, CurrentPair->charset2);
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

WindowPosition NormalPosition(HWND hwnd) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(hwnd, &placement);
    return {static_cast<int>(placement.rcNormalPosition.left), static_cast<int>(placement.rcNormalPosition.top)};
}

void OnMove(HWND hwnd, int, int) { Settings.mainWindow = NormalPosition(hwnd); }

void OnCommand(HWND hwnd, int id, HWND, UINT) {
    switch (id) {
        case IDC_MAIN_EXIT:
            DestroyWindow(hwnd);
            break;
    }
}

// Shutdown: settings, store, fonts, strings, then the end of the message loop.
void OnDestroy(HWND hwnd) {
    WindowPosition place = NormalPosition(hwnd);
    WriteSettings(Settings.mainWindow.Known() ? place : Settings.mainWindow);
    if (s.flag1) DestroyIcon(s.flag1);
    if (s.flag2) DestroyIcon(s.flag2);
    CloseStore();
    DeleteSharedFonts();
    FreeUiStrings();
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_MOVE, OnMove);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

ATOM RegisterMainWindowClass() {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = AppInstance;
    wc.hIcon = LoadIconA(AppInstance, "gloskicon");
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = "glosk";
    return RegisterClassExA(&wc);
}

HWND CreateMainWindow() {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    const int menu = GetSystemMetrics(SM_CYMENU);
    return CreateWindowW(L"glosk", WideFromCharset(Ui(UiKey::Dictionary), UiCharset).c_str(),
                         WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, (width - kClientWidth) / 2,
                         (height - (menu + kClientHeight + caption)) / 2, kClientWidth, menu + caption + kClientHeight,
                         nullptr, nullptr, AppInstance, nullptr);
}
