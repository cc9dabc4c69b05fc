#include "ui/practice_layout.h"

#include <algorithm>

#include "core/catalogue/catalogue.h"
#include "core/settings/settings.h"
#include "core/strings/ui_strings.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

std::wstring PracticeCaption() {
    return UiWide(UiKey::PracticeCaption) + L"  (" + FileNameWide(Settings.PracticeList) + L")";
}

HWND CentredLayout::Add(HWND control, int x, int y) {
    controls_.push_back({control, x, y});
    return control;
}

void CentredLayout::Fit(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    origin_ = {std::max<LONG>(15, (client.right - 630) / 2 + 15), std::max<LONG>(10, (client.bottom - 270) / 2 + 10)};
    for (const PlacedControl& c : controls_)
        SetWindowPos(c.control, nullptr, origin_.x + c.x, origin_.y + c.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void PaintLanguageHeadings(HDC dc, POINT origin) {
    SelectGuard font(dc, Fonts.PracticeBoldFont);
    const LONG x = origin.x, y = origin.y;
    DrawShadowedText(dc, NameWide(CurrentPair->name1), {x, y, x + 500, y + 50}, DT_SINGLELINE);
    DrawShadowedText(dc, NameWide(CurrentPair->name2), {x, y + 75, x + 500, y + 125}, DT_SINGLELINE);
}

HWND OpenPracticeWindow(const char* className, WNDPROC procedure) {
    const int height = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) + 262;
    return OpenCentredWindow(className, procedure, CS_HREDRAW | CS_VREDRAW, Ui(UiKey::PracticeCaption),
                             WS_OVERLAPPEDWINDOW, 630, height);
}
