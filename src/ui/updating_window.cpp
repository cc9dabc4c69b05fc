// The "updating" window: painted once around the compaction of a list.

#include "ui/updating_window.h"

#include "core/lists/list_storage.h"
#include "ui/progress_window.h"
#include "ui/ui_text.h"

namespace {

HWND updatingWindow;

void Paint(HDC dc) {
    SetTextColor(dc, RGB(0, 0, 0));
    RECT rect = {50, 20, 340, 40};
    DrawTextW(dc, UiWide(UiKey::CreateListUpdarting).c_str(), -1, &rect, DT_CENTER | DT_WORDBREAK);
}

}  // namespace

void ShowUpdatingWindow() { updatingWindow = OpenProgressWindow("updating", UiKey::CreateListUpdateCaption, Paint); }

void CloseUpdatingWindow() { CloseProgressWindow(updatingWindow); }

int CompactCurrentListShown() { return WhileShowing(ShowUpdatingWindow, CloseUpdatingWindow, CompactCurrentList); }
