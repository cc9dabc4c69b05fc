// What the practice windows share: the caption, the layout kept centred in a window
// the user may resize, and the language headings above the word and the answer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The practice caption, then the current list's name in brackets.
std::wstring PracticeCaption();

// A control's place from the layout's origin.
struct PlacedControl {
    HWND control;
    int x, y;
};

class CentredLayout {
public:
    HWND Add(HWND control, int x, int y);
    // The origin follows the client area: centred on a 630 x 270 layout, never closer
    // to the corner than (15, 10); every control moves with it.
    void Fit(HWND window);
    POINT origin() const { return origin_; }

private:
    std::vector<PlacedControl> controls_;
    POINT origin_ = {15, 10};
};

// The headings: the pair's first language above the word, its second above the answer.
void PaintLanguageHeadings(HDC dc, POINT origin);

// A top-level practice window: overlapped and sizable, 630 wide and caption + menu + 262
// high (with or without a menu), centred.
HWND OpenPracticeWindow(const char* className, WNDPROC procedure);
