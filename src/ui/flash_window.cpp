#include "ui/flash_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <optional>

#include "core/catalogue/catalogue.h"
#include "core/practice/practice.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "core/text/fixed_text.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/practice_window.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

namespace {

const char kClassName[] = "leren";
constexpr UINT_PTR kStepTimer = 43;
// The first step after opening or a resize, and a skip.
constexpr UINT kFirstStep = 100, kSkipStep = 10;

struct FlashState : PracticeWindowState {
    HWND word, translation, slider, progress;
    std::optional<PracticePool> pool;
    std::int32_t shown;
    int phase, lastSlider;
    UINT interval;
};

FlashState s;

UINT SliderInterval(int position) { return static_cast<UINT>(10000 - (position - 1) * 950); }

void Restart(UINT interval) {
    s.interval = interval;
    SetTimer(s.window, kStepTimer, interval, nullptr);
}

void ShowNextWord() {
    PickRandomEntry(*s.pool);
    SetWindowTextW(s.translation, L"");
    SetFieldText(s.word, CurrentRecord.word, CurrentPair->charset1);
}

void ShowTranslation() { SetFieldText(s.translation, CurrentRecord.translation, CurrentPair->charset2); }

void Step(HWND hwnd) {
    const int position = static_cast<int>(SendMessageW(s.slider, TBM_GETPOS, 0, 0));
    if (position != s.lastSlider) {
        s.lastSlider = position;
        Restart(SliderInterval(position));
    }
    if (s.interval == kSkipStep) Restart(SliderInterval(position));
    s.phase ^= 1;
    if (s.phase == 1) {
        if (++s.shown > ListCount) {
            KillTimer(hwnd, kStepTimer);
            s.interval = 0;
            UiMessageBox(hwnd, Ui(UiKey::PracticeEndlist), Ui(UiKey::Dictionary), MB_OK);
            DestroyWindow(hwnd);
            return;
        }
        if (s.interval == kFirstStep) Restart(SliderInterval(position));
        ShowNextWord();
    } else {
        ShowTranslation();
        SendMessageW(s.progress, PBM_SETPOS, static_cast<WPARAM>(ListCount - s.pool->remaining()), 0);
    }
}

void Skip() {
    if (s.interval != 0) Restart(kSkipStep);
}

HWND Box(HWND parent, int id) {
    return CreateWindowExW(WS_EX_STATICEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0, 0, 595, 40,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance, nullptr);
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    StartPracticeWindow(s, hwnd);
    SetWindowTextW(hwnd, PracticeCaption().c_str());
    s.layout.Add(CreateButton(hwnd, IDC_FLASH_QUIT, UiKey::Quit, 0, 0, 100, 30), 495, 215);
    s.progress = AddProgressBar(s, hwnd, IDC_FLASH_PROGRESS, 265, 170);
    s.slider =
        s.layout.Add(CreateWindowW(TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_AUTOTICKS, 0, 0, 200,
                                   35, hwnd, reinterpret_cast<HMENU>(IDC_FLASH_SLIDER), AppInstance, nullptr),
                     20, 200);
    s.word = s.layout.Add(Box(hwnd, IDC_FLASH_WORD), 0, 25);
    s.translation = s.layout.Add(Box(hwnd, IDC_FLASH_TRANSLATION), 0, 100);
    AddFrame(s, hwnd, IDC_FLASH_FRAME, 75, 0, 170);
    s.layout.Fit(hwnd);
    SendMessageW(s.progress, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(ListCount)));
    SendMessageW(s.slider, TBM_SETRANGE, TRUE, MAKELPARAM(1, 11));
    SendMessageW(s.slider, TBM_SETPOS, TRUE, 6);
    s.lastSlider = 6;
    s.pool.emplace(ListCount);
    s.shown = 0;
    s.phase = 0;
    Restart(kFirstStep);
    MoveToStoredPosition(hwnd, Settings.practiseWindow);
    return TRUE;
}

// Each box draws its text in navy on its own, in its own font, "&" as it is.
void OnDrawItem(HWND, const DRAWITEMSTRUCT* item) {
    const bool word = item->hwndItem == s.word;
    FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    SetBkMode(item->hDC, TRANSPARENT);
    SetTextColor(item->hDC, RGB(0, 0, 128));
    SelectGuard font(item->hDC, (word ? s.fonts.first : s.fonts.second).get());
    RECT rect = item->rcItem;
    InflateRect(&rect, -4, 0);
    wchar_t text[64] = L"";
    GetWindowTextW(item->hwndItem, text, static_cast<int>(std::size(text)));
    DrawTextW(item->hDC, text, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    const POINT o = s.layout.origin();
    PaintLanguageHeadings(dc, o);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    SelectGuard font(dc, Fonts.GuiFont);
    const LONG fast = LeadingNumber(Ui(UiKey::PracticeFastPos));
    RECT slow = {o.x + 20, o.y + 180, o.x + 105, o.y + 200};
    DrawTextW(dc, UiWide(UiKey::PracticeSlow).c_str(), -1, &slow, DT_SINGLELINE);
    RECT quick = {o.x + fast - 15, o.y + 180, o.x + fast + 65, o.y + 200};
    DrawTextW(dc, UiWide(UiKey::PracticeFast).c_str(), -1, &quick, DT_SINGLELINE);
    EndPaint(hwnd, &ps);
}

// A new size centres the layout and starts again with a new word.
void OnSize(HWND hwnd, UINT, int, int) {
    s.layout.Fit(hwnd);
    if (s.interval == 0) return;
    s.phase = 0;
    Restart(kFirstStep);
}

void OnCommand(HWND hwnd, int id, HWND, UINT code) {
    if (id == IDC_FLASH_QUIT && code == BN_CLICKED) DestroyWindow(hwnd);
}

// The slider keeps no focus, so the keys go on skipping.
void OnHScroll(HWND hwnd, HWND, UINT, int) { SetFocus(hwnd); }

void OnKeyDown(HWND, UINT, BOOL, int, UINT) { Skip(); }
void OnButtonDown(HWND, BOOL, int, int, UINT) { Skip(); }

void OnDestroy(HWND hwnd) {
    if (s.interval != 0) KillTimer(hwnd, kStepTimer);
    EndPracticeWindow(s, hwnd);
}

LRESULT CALLBACK FlashWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_DRAWITEM, OnDrawItem);
        HANDLE_MSG(hwnd, WM_SIZE, OnSize);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_HSCROLL, OnHScroll);
        HANDLE_MSG(hwnd, WM_KEYDOWN, OnKeyDown);
        HANDLE_MSG(hwnd, WM_LBUTTONDOWN, OnButtonDown);
        HANDLE_MSG(hwnd, WM_RBUTTONDOWN, OnButtonDown);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
        case WM_TIMER:
            if (wParam == kStepTimer) Step(hwnd);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND OpenFlashPractice() { return OpenPracticeWindow(kClassName, FlashWindowProc); }
