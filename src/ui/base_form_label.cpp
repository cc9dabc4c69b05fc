#include "ui/base_form_label.h"

#include "core/strings/ui_strings.h"
#include "ui/controls.h"
#include "ui/ui_text.h"

namespace {

// Dark blue, as a hint to follow rather than a word of the list.
constexpr COLORREF kBaseFormColour = RGB(0, 0, 128);

}  // namespace

HWND CreateBaseFormLabel(HWND parent, int id, int x, int y, int width, int height, HFONT font) {
    return CreateControl(parent, L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_NOTIFY | SS_ENDELLIPSIS, 0, id, x, y, width,
                         height, font);
}

std::wstring BaseFormText(const std::string& word, const LookupResult& found, int charset) {
    if (!FoundByOtherForm(found)) return {};
    // The arrow has no place in the interface's single-byte texts, so it stands here.
    std::wstring text =
        WideFromCharset(word.c_str(), charset) + L" \u2192 " + WideFromCharset(found.candidate.c_str(), charset);
    if (found.how == Match::Part) text += L" " + UiWideOr("BaseFormCompoundPart", "(the last part of a compound)");
    return text;
}

void ShowBaseForm(HWND label, const std::wstring& text) {
    std::wstring shown(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
    shown.resize(static_cast<std::size_t>(GetWindowTextW(label, shown.data(), static_cast<int>(shown.size()))));
    if (shown != text) SetWindowTextW(label, text.c_str());
}

HBRUSH BaseFormColours(HWND window, HDC dc, HWND label) {
    SetTextColor(dc, kBaseFormColour);
    return OnCtlColorGrey(window, dc, label, CTLCOLOR_STATIC);
}
