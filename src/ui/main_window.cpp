// The main window: the current pair over a colour gradient, the buttons and menus
// that open the other windows, and the language pair switch.

#include "ui/main_window.h"
#include "ui/menus.h"

#include <windowsx.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/backup/backup.h"
#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/session/session.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "resource.h"
#include "ui/about_box.h"
#include "ui/add_words_window.h"
#include "ui/app_state.h"
#include "ui/controls.h"
#include "ui/exchange_commands.h"
#include "ui/flash_window.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/help.h"
#include "ui/info_window.h"
#include "ui/interactive_window.h"
#include "ui/list_window.h"
#include "ui/new_language_window.h"
#include "ui/new_list_dialog.h"
#include "ui/optimizing_window.h"
#include "ui/recorder_window.h"
#include "ui/restore_window.h"
#include "ui/review_chart_window.h"
#include "ui/review_window.h"
#include "ui/search_window.h"
#include "ui/secondary_window.h"
#include "ui/top_level_window.h"
#include "ui/translate_window.h"
#include "ui/ui_text.h"

int CheckedPairCommand;

namespace {

constexpr int kWindowWidth = 565;
constexpr int kWindowHeight = 332;  // plus caption and menu bar
constexpr int kPens = 64;
constexpr int kFlagLeft = 60, kFlag1Top = 107, kFlag2Top = 177, kFlagSize = 32;

struct MainState {
    int colourDepth;
    Icon flag1, flag2;
    Bitmap logo, logoMask;
    SIZE logoSize;
};

MainState s;

void LoadFlags() {
    const std::string prefix = Ui(UiKey::PathIcons);
    auto load = [&](const char* name) {
        return static_cast<HICON>(
            LoadImageA(nullptr, (prefix + name).c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
    };
    s.flag1.reset(load(Icon1Name(*CurrentPair)));
    s.flag2.reset(load(Icon2Name(*CurrentPair)));
}

// The logo, with its top-left pixel's colour made transparent.
void LoadLogo() {
    s.logo.reset(static_cast<HBITMAP>(LoadImageA(nullptr, "logo.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    if (!s.logo) return;
    BITMAP info;
    GetObject(s.logo.get(), sizeof info, &info);
    s.logoSize = {info.bmWidth, info.bmHeight};
    COLORREF transparent;
    {
        MemoryDc dc(CreateCompatibleDC(nullptr));
        SelectGuard selected(dc.get(), s.logo.get());
        transparent = GetPixel(dc.get(), 0, 0);
    }
    s.logoMask.reset(MakeTransparencyMask(s.logo.get(), transparent));
}

void DrawNameShadowed(HDC dc, const std::wstring& wide, const RECT& rect) {
    DrawShadowedText(dc, wide, rect, DT_SINGLELINE | DT_LEFT | DT_TOP, kNameShadow);
}

COLORREF PenColour(int i) {
    return RGB((Settings.colorR - i * Settings.colorRi) & 0xFF, (Settings.colorG - i * Settings.colorGi) & 0xFF,
               (Settings.colorB - i * Settings.colorBi) & 0xFF);
}

void PaintGradient(HDC dc, const RECT& client) {
    Pen pens[kPens];
    for (int i = 0; i < kPens; ++i) pens[i].reset(CreatePen(PS_SOLID, 1, PenColour(i)));
    const Pen top(CreatePen(PS_SOLID, 1, RGB(25, 25, 25)));
    SelectGuard pen(dc, pens[0].get());
    const int height = client.bottom > 0 ? client.bottom : 1;
    for (int y = 0; y < client.bottom; ++y) {
        // Below true colour a gradient would band; the window is one flat colour then.
        pen.Select(pens[s.colourDepth < 24 ? 32 : y * 63 / height].get());
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, client.right, y);
    }
    pen.Select(top.get());
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, client.right, 0);
}

void PaintLogo(HDC dc) {
    const int left = (kWindowWidth - s.logoSize.cx) / 2, top = (96 - s.logoSize.cy) / 2;
    MemoryDc memory(CreateCompatibleDC(dc));
    SelectGuard selected(memory.get(), s.logoMask.get());
    // The 1-bit mask turns into colour through these two: set bits white, clear ones black.
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, left, top, s.logoSize.cx, s.logoSize.cy, memory.get(), 0, 0, SRCAND);
    selected.Select(s.logo.get());
    BitBlt(dc, left, top, s.logoSize.cx, s.logoSize.cy, memory.get(), 0, 0, SRCPAINT);
}

// "12 words to review" over the Practice button, where the learner starts; hidden when
// there are none. A click starts the review.
void ShowWordsToReview() {
    HWND label = MainWindow ? GetDlgItem(MainWindow, IDC_MAIN_DUE) : nullptr;
    if (!label) return;
    const std::size_t count = ReviewWordsToday();
    const std::wstring text =
        count == 1 ? UiWideOr("MainDueWord", "1 word to review")
                   : WithCounts(UiWideOr("MainDueWords", "%d words to review"), {static_cast<std::int64_t>(count)});
    SetWindowTextW(label, text.c_str());
    ShowWindow(label, count > 0 ? SW_SHOW : SW_HIDE);
    // Its text stands on the gradient, which only the window paints: the old text goes with it.
    RECT place;
    GetWindowRect(label, &place);
    MapWindowPoints(nullptr, MainWindow, reinterpret_cast<POINT*>(&place), 2);
    InvalidateRect(MainWindow, &place, TRUE);
}

// The language menu's check mark moves to `pair`, which becomes current everywhere.
void SwitchToPair(WordListDescriptor* pair) {
    HMENU menu = GetMenu(MainWindow);
    CheckMenuItem(menu, static_cast<UINT>(CheckedPairCommand), MF_BYCOMMAND | MF_UNCHECKED);
    CheckedPairCommand = pair->menuId;
    CheckMenuItem(menu, static_cast<UINT>(CheckedPairCommand), MF_BYCOMMAND | MF_CHECKED);
    CurrentPair = pair;
    SelectPair();
    LoadFlags();
    ShowWordsToReview();
    InvalidateRect(MainWindow, nullptr, FALSE);
}

void ToggleStayOnTop(HWND hwnd) {
    const DWORD was = CheckMenuItem(GetMenu(hwnd), IDM_MAIN_STAYONTOP, MF_BYCOMMAND | MF_UNCHECKED);
    const bool on = was != MF_CHECKED;
    if (on) CheckMenuItem(GetMenu(hwnd), IDM_MAIN_STAYONTOP, MF_BYCOMMAND | MF_CHECKED);
    Settings.StayOnTop = on ? 1 : 0;
    SetTopmost(hwnd, on);
}

// The practice-mode menu: flash, interactive and review, one radio group at its top.
HMENU PracticeModeMenu = nullptr;

void SetPracticeMode(HWND, int mode) {
    Settings.PracticeMode = mode;
    CheckMenuRadioItem(PracticeModeMenu, 0, 2, static_cast<UINT>(mode), MF_BYPOSITION);
}

// The count of due words changes with every review and every day, so it is read when
// the menu opens. Only the text changes: ModifyMenu would set the item's type and state
// anew and take the dot of the chosen mode with them.
void OnInitMenuPopup(HWND, HMENU menu, UINT, BOOL) {
    if (menu != PracticeModeMenu) return;
    std::wstring text = ReviewMenuText();
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = text.data();
    SetMenuItemInfoW(menu, IDM_MAIN_REVIEW, FALSE, &item);
}

// Before the practice-list window opens there must be a current list: with no lists at
// all the user is asked for a name first.
void ListCheck(HWND hwnd) {
    if (CountLists() == 0) {
        RunNewListDialog(hwnd);
        if (Settings.PracticeList.empty()) return;
        ReopenListFile();
    }
    OpenSecondaryWindow(OpenListWindow);
}

void Practise(HWND hwnd) {
    if (SecondaryWindowOpen) return;
    // Due words need no list; new words come from it when there is one.
    if (Settings.PracticeMode == 2) {
        OpenSecondaryWindow(OpenReviewPractice);
        return;
    }
    if (ListCount > 0) {
        OpenSecondaryWindow(Settings.PracticeMode == 0 ? OpenFlashPractice : OpenInteractivePractice);
        return;
    }
    char question[400];
    std::snprintf(question, sizeof question, "%s (%s-%s) %s", Ui(UiKey::CreateListEmpty1), CurrentPair->name1,
                  CurrentPair->name2, Ui(UiKey::CreateListEmpty2));
    if (UiMessageBox(hwnd, question, Ui(UiKey::Dictionary), MB_YESNO | MB_ICONWARNING) != IDYES) return;
    ListCheck(hwnd);
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    LoadFlags();
    {
        const WindowDc screen(nullptr);
        s.colourDepth = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
    }
    if (s.colourDepth >= 16) LoadLogo();
    ReadWindowSettings();
    CreateButton(hwnd, IDC_MAIN_ADD, UiKey::MainButtonAdd, 10, 280, 120, 30, BS_MULTILINE);
    CreateButton(hwnd, IDC_MAIN_CREATELIST, UiKey::MainButtonCreatelist, 150, 280, 120, 30, BS_MULTILINE);
    CreateButton(hwnd, IDC_MAIN_PRACTICE, UiKey::MainButtonPractice, 290, 280, 120, 30, BS_MULTILINE);
    CreateButton(hwnd, IDC_MAIN_SEARCH, UiKey::MainButtonSearch, 430, 280, 120, 30, BS_MULTILINE);
    if (RecorderMode) CreateButton(hwnd, IDC_MAIN_RECORD, UiKey::RecordCaption, 10, 240, 120, 30, BS_MULTILINE);
    CreateControl(hwnd, L"STATIC", L"", SS_CENTER | SS_NOPREFIX | SS_NOTIFY, 0, IDC_MAIN_DUE, 270, 256, 160, 20,
                  Fonts.GuiFont);
    SetTopmost(hwnd, Settings.StayOnTop == 1);
    MoveToStoredPosition(hwnd, Settings.mainWindow);
    return TRUE;
}

// Shown again after every other window, when reviews may have been done.
void OnShowWindow(HWND, BOOL shown, UINT) {
    if (shown) ShowWordsToReview();
}

// The count of words to review stands on the gradient, light as the languages' names.
HBRUSH OnCtlColorStatic(HWND, HDC dc, HWND, int) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(240, 240, 240));
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    PaintGradient(dc, client);
    if (s.flag1) DrawIconEx(dc, kFlagLeft, kFlag1Top, s.flag1.get(), kFlagSize, kFlagSize, 0, nullptr, DI_NORMAL);
    if (s.flag2) DrawIconEx(dc, kFlagLeft, kFlag2Top, s.flag2.get(), kFlagSize, kFlagSize, 0, nullptr, DI_NORMAL);
    SetBkMode(dc, TRANSPARENT);
    {
        SelectGuard font(dc, Fonts.TitleFont);
        if (s.colourDepth >= 16 && s.logo)
            PaintLogo(dc);
        else
            DrawNameShadowed(dc, UiWide(UiKey::Dictionary), {140, 20, 560, 90});
        font.Select(Fonts.LanguageNameFont);
        DrawNameShadowed(dc, NameWide(CurrentPair->name1), {140, 102, 560, 160});
        DrawNameShadowed(dc, NameWide(CurrentPair->name2), {140, 172, 560, 230});
    }
    EndPaint(hwnd, &ps);
}

void OnMove(HWND hwnd, int, int) { Settings.mainWindow = NormalPosition(hwnd); }

// A click on either flag turns the pair round.
void OnLButtonDown(HWND, BOOL, int x, int y, UINT) {
    const bool onFlag =
        x >= kFlagLeft && x < kFlagLeft + kFlagSize &&
        ((y >= kFlag1Top && y < kFlag1Top + kFlagSize) || (y >= kFlag2Top && y < kFlag2Top + kFlagSize));
    if (!onFlag) return;
    if (WordListDescriptor* reverse = ReversePair(*CurrentPair)) SwitchToPair(reverse);
}

// The program ends: an open window closes first, sorting what it changed.
void OnClose(HWND hwnd) {
    CloseSecondaryWindows();
    DestroyWindow(hwnd);
}

// Windows asks before it ends the session: nothing here needs the user's answer.
BOOL OnQueryEndSession(HWND) { return TRUE; }

// The process may end as soon as this returns, so the closing work runs now, as when the
// user exits: the open window's sort or compaction, then the settings and the store.
void OnEndSession(HWND hwnd, BOOL ending) {
    if (ending) OnClose(hwnd);
}

void OnCommand(HWND hwnd, int id, HWND, UINT code) {
    switch (id) {
        case IDC_MAIN_DUE:
            if (code == STN_CLICKED && !SecondaryWindowOpen) {
                SetPracticeMode(hwnd, 2);
                Practise(hwnd);
            }
            return;
        case IDC_MAIN_EXIT:
            return OnClose(hwnd);
        case IDM_MAIN_HELP:
            OpenHelp(nullptr);
            return;
        case IDM_MAIN_ABOUT:
            RunAboutBox(hwnd);
            return;
        case IDM_MAIN_INFO:
            OpenSecondaryWindow(OpenInfoWindow);
            return;
        case IDM_MAIN_TRANSLATE:
            OpenSecondaryWindow(OpenTranslateWindow);
            return;
        case IDC_MAIN_RECORD:
            OpenSecondaryWindow(OpenRecorderWindow);
            return;
        case IDC_MAIN_SEARCH:
            OpenSecondaryWindow(OpenSearchWindow);
            return;
        case IDC_MAIN_ADD:
            OpenSecondaryWindow(OpenAddWindow);
            return;
        case IDM_MAIN_NEWWORDLIST:
            OpenSecondaryWindow(OpenNewLanguageWindow);
            return;
        case IDM_MAIN_IMPORT:
            ImportWords(hwnd);
            return;
        case IDM_MAIN_EXPORT:
            ExportWords(hwnd);
            return;
        case IDM_MAIN_RESTORE:
            OpenSecondaryWindow(OpenRestoreWindow);
            return;
        case IDC_MAIN_PRACTICE:
            Practise(hwnd);
            return;
        case IDC_MAIN_CREATELIST:
            if (!SecondaryWindowOpen) ListCheck(hwnd);
            return;
        case IDM_MAIN_STAYONTOP:
            ToggleStayOnTop(hwnd);
            return;
        case IDM_MAIN_FLASH:
            SetPracticeMode(hwnd, 0);
            return;
        case IDM_MAIN_INTERACTIVE:
            SetPracticeMode(hwnd, 1);
            return;
        case IDM_MAIN_REVIEW:
            SetPracticeMode(hwnd, 2);
            return;
        case IDM_MAIN_REVIEW_PROGRESS:
            if (!SecondaryWindowOpen) OpenSecondaryWindow(OpenReviewChart);
            return;
        case IDM_MAIN_OPTIMIZE_REVIEW:
            if (!SecondaryWindowOpen && OptimizeReview(hwnd)) ShowWordsToReview();
            return;
    }
    // A pair of the language menu, chosen here or in a window that pops the menu up.
    if (WordListDescriptor* pair = PairOfMenuId(id)) SwitchToPair(pair);
}

// Shutdown: settings, logo, store, fonts, strings, then the end of the message loop.
void OnDestroy(HWND hwnd) {
    ForgetSearchWindow();
    const WindowPosition place = NormalPosition(hwnd);
    WriteSettings(Settings.mainWindow.Known() ? place : Settings.mainWindow);
    s.logo.reset();
    s.logoMask.reset();
    s.flag1.reset();
    s.flag2.reset();
    CloseStore();
    // With the files closed and the texts for a failure still there.
    BackUpAndReport(WorkingFiles(), MessageOwner::None, "closing");
    DeleteSharedFonts();
    FreeUiStrings();
    PostQuitMessage(0);
}

void InstallLanguageMenu(HWND hwnd, bool replace);

// A language was added: the menu shows it; the current pair is the same one, built anew.
void OnCatalogueChanged(HWND hwnd) {
    InstallLanguageMenu(hwnd, true);
    LoadFlags();
    InvalidateRect(hwnd, nullptr, FALSE);
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_MOVE, OnMove);
        HANDLE_MSG(hwnd, WM_LBUTTONDOWN, OnLButtonDown);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_INITMENUPOPUP, OnInitMenuPopup);
        HANDLE_MSG(hwnd, WM_SHOWWINDOW, OnShowWindow);
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, OnCtlColorStatic);
        HANDLE_MSG(hwnd, WM_CLOSE, OnClose);
        HANDLE_MSG(hwnd, WM_QUERYENDSESSION, OnQueryEndSession);
        HANDLE_MSG(hwnd, WM_ENDSESSION, OnEndSession);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
        case kCatalogueChanged:
            OnCatalogueChanged(hwnd);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Forward pairs, a separator, reverse pairs; each pair's menu id is its place.
HMENU LanguageMenu() {
    std::vector<MenuItem> items;
    const int count = PairCount();
    for (int i = 0; i < count; ++i) {
        WordListDescriptor* pair = PairAt(i);
        pair->menuId = IDM_PAIR_FIRST + i;
        if (i == count / 2) items.push_back(kMenuSeparator);
        items.push_back({NameWide(pair->name1) + L"\t" + NameWide(pair->name2), pair->menuId});
    }
    return Popup(items);
}

// The language menu goes in second place, after the file menu, with the current pair checked.
void InstallLanguageMenu(HWND hwnd, bool replace) {
    HMENU bar = GetMenu(hwnd);
    if (replace) DeleteMenu(bar, 1, MF_BYPOSITION);
    InsertItem(bar, 1, {.label = UiKey::LanguageMenu, .submenu = LanguageMenu()});
    // Without a saved selection the current pair still carries the check mark.
    CheckedPairCommand = CurrentPair->menuId;
    for (WordListDescriptor* d = CatalogueHead; d; d = d->next) {
        if (d->selected == 1) {
            CheckedPairCommand = d->menuId;
            break;
        }
    }
    CheckMenuItem(bar, static_cast<UINT>(CheckedPairCommand), MF_BYCOMMAND | MF_CHECKED);
    DrawMenuBar(hwnd);
}

}  // namespace

void RegisterMainWindowClass() { RegisterWindowClass("glosk", MainWindowProc, CS_HREDRAW | CS_VREDRAW); }

HWND CreateMainWindow() {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    const int menu = GetSystemMetrics(SM_CYMENU);
    return CreateWindowW(L"glosk", UiWide(UiKey::Dictionary).c_str(), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                         (width - kWindowWidth) / 2, (height - (menu + kWindowHeight + caption)) / 2, kWindowWidth,
                         menu + caption + kWindowHeight, nullptr, nullptr, AppInstance, nullptr);
}

void AttachMainMenus(HWND hwnd) {
    HMENU bar = CreateMenu();
    // Import, export, restore and review progress came after the strings files' keys were
    // fixed, so a file may lack theirs.
    AppendPopup(bar,
                Popup({{UiKey::MainMenuFile1, IDM_MAIN_STAYONTOP, Settings.StayOnTop == 1},
                       {UiKey::MainMenuFile2, IDM_MAIN_TRANSLATE},
                       {UiKey::MainMenuFile3, IDM_MAIN_NEWWORDLIST},
                       {UiWideOr("MainMenuFileImport", "&Import words..."), IDM_MAIN_IMPORT},
                       {UiWideOr("MainMenuFileExport", "&Export words..."), IDM_MAIN_EXPORT},
                       {UiWideOr("MainMenuFileRestore", "Restore from &backup..."), IDM_MAIN_RESTORE},
                       {UiKey::MainMenuFile4, IDC_MAIN_EXIT}}),
                UiKey::MainMenuFile0);
    // Flash, interactive and review: one group of choices.
    const int mode = Settings.PracticeMode;
    PracticeModeMenu =
        Popup({{UiKey::MainMenuPracticeMode1, IDM_MAIN_FLASH, mode == 0, true},
               {UiKey::MainMenuPracticeMode2, IDM_MAIN_INTERACTIVE, mode == 1, true},
               {ReviewMenuText(), IDM_MAIN_REVIEW, mode == 2, true},
               kMenuSeparator,
               {UiWideOr("MainMenuReviewProgress", "Review &progress..."), IDM_MAIN_REVIEW_PROGRESS},
               {UiWideOr("MainMenuOptimizeReview", "&Optimize review for this pair..."), IDM_MAIN_OPTIMIZE_REVIEW}});
    AppendPopup(bar, PracticeModeMenu, UiKey::MainMenuPracticeMode0);
    AppendPopup(bar,
                Popup({{UiKey::MainMenuPracticeHelp1, IDM_MAIN_HELP},
                       {UiKey::MainMenuPracticeHelp2, IDM_MAIN_INFO},
                       {UiKey::MainMenuPracticeHelp3, IDM_MAIN_ABOUT}}),
                UiKey::MainMenuPracticeHelp0);
    SetMenu(hwnd, bar);
    InstallLanguageMenu(hwnd, false);
}

HACCEL CreateMainAccelerators() {
    auto key = [](UiKey text) { return static_cast<WORD>(static_cast<unsigned char>(Ui(text)[0])); };
    ACCEL table[] = {
        {FALT | FVIRTKEY, key(UiKey::AccelAdd), IDC_MAIN_ADD},
        {FALT | FVIRTKEY, key(UiKey::AccelPractice), IDC_MAIN_PRACTICE},
        {FALT | FVIRTKEY, key(UiKey::AccelSearch), IDC_MAIN_SEARCH},
        {FALT | FVIRTKEY, key(UiKey::AccelCreatelist), IDC_MAIN_CREATELIST},
        {FCONTROL | FVIRTKEY, key(UiKey::AccelExit), IDC_MAIN_EXIT},
        {FVIRTKEY, VK_F1, IDM_MAIN_HELP},
    };
    return CreateAcceleratorTableA(table, static_cast<int>(std::size(table)));
}
