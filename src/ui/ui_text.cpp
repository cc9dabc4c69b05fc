#include "ui/ui_text.h"

#include <algorithm>
#include <cwchar>

#include "core/catalogue/catalogue.h"
#include "core/strings/ui_strings.h"
#include "core/text/code_page.h"
#include "platform/text_convert.h"
#include "ui/app_state.h"
#include "ui/fonts.h"

UINT CodePageOf(int charset) {
    // The special face is made as an ANSI font, and any set without a code page counts as ANSI.
    return CodePageOfCharset(charset);
}

std::wstring WideFromCharset(const char* text, int charset) {
    std::wstring wide;
    platform::ToWide(text, CodePageOf(charset), platform::Conversion::Lenient, wide);
    return wide;
}

std::string CharsetFromWide(const wchar_t* text, int charset) {
    std::string narrow;
    platform::FromWide(text, CodePageOf(charset), platform::Conversion::Lenient, narrow);
    return narrow;
}

std::string FieldText(HWND field, int charset, std::size_t maxChars) {
    wchar_t text[512] = L"";
    GetWindowTextW(field, text, static_cast<int>(std::size(text)));
    return CharsetFromWide(text, charset).substr(0, maxChars);
}

void SetFieldText(HWND field, const std::string& text, int charset) {
    SetWindowTextW(field, WideFromCharset(text.c_str(), charset).c_str());
}

std::wstring UiWide(UiKey key) { return WideFromCharset(Ui(key), UiCharset); }

std::wstring UiWideOr(const char* key, const char* builtIn) {
    return WideFromCharset(UiTextOr(key, builtIn), UiCharset);
}

std::wstring NameWide(const char* languageName) { return WideFromCharset(languageName, UiCharset); }

std::wstring PairNameWide(const WordListDescriptor& pair) {
    return NameWide(pair.name1) + L" - " + NameWide(pair.name2);
}

void SetUiText(HWND window, int id, UiKey key) {
    if (id == 0)
        SetWindowTextW(window, UiWide(key).c_str());
    else
        SetDlgItemTextW(window, id, UiWide(key).c_str());
}

int UiMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) {
    return UiMessageBox(owner, WideFromCharset(text.c_str(), UiCharset), WideFromCharset(caption.c_str(), UiCharset),
                        style);
}

int UiMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) {
    return MessageBoxW(owner, text.c_str(), caption.c_str(), style);
}

int UiMessageBox(HWND owner, const std::wstring& text, const std::string& caption, UINT style) {
    return UiMessageBox(owner, text, WideFromCharset(caption.c_str(), UiCharset), style);
}

bool ExactFromWide(const wchar_t* text, UINT codePage, std::string& out, std::wstring* missing) {
    const std::wstring_view all(text);
    if (platform::FromWide(all, codePage, platform::Conversion::Exact, out)) return true;
    out.clear();
    if (!missing) return false;
    std::string one;
    for (std::size_t i = 0; i < all.size();) {
        // A letter beyond the first plane comes as two halves and is looked at whole.
        const std::size_t n = IS_HIGH_SURROGATE(all[i]) && i + 1 < all.size() ? 2 : 1;
        if (!platform::FromWide(all.substr(i, n), codePage, platform::Conversion::Exact, one)) {
            *missing = std::wstring(all.substr(i, n));
            return false;
        }
        i += n;
    }
    return false;
}

bool FileNameFromWide(const wchar_t* text, std::string& name) {
    return ExactFromWide(text, AreFileApisANSI() ? CP_ACP : CP_OEMCP, name);
}

std::wstring FileNameWide(const std::string& name) {
    std::wstring wide;
    platform::ToWide(name, AreFileApisANSI() ? CP_ACP : CP_OEMCP, platform::Conversion::Lenient, wide);
    return wide;
}

std::wstring DecimalWide(double value) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%.4f", value);
    return text;
}

std::wstring DayWide(const SYSTEMTIME& day, bool withYear, bool withTime) {
    wchar_t date[64] = L"", time[32] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, 0, &day, withYear ? L"d MMM yyyy" : L"d MMM", date, 64);
    if (!withTime) return date;
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_FORCE24HOURFORMAT, &day, L"HH':'mm':'ss", time, 32);
    return std::wstring(date) + L" " + time;
}

namespace {

std::wstring Filled(std::wstring text, const wchar_t* mark, std::initializer_list<std::wstring> parts) {
    std::size_t from = 0;
    for (const std::wstring& part : parts) {
        const std::size_t at = text.find(mark, from);
        if (at == std::wstring::npos) break;
        text.replace(at, 2, part);
        from = at + part.size();  // a part holding a mark of its own stays as it is
    }
    return text;
}

}  // namespace

std::wstring WithTexts(std::wstring text, std::initializer_list<std::wstring> parts) {
    return Filled(std::move(text), L"%s", parts);
}

std::wstring WithCounts(std::wstring text, std::initializer_list<std::int64_t> counts) {
    for (std::int64_t count : counts) text = Filled(std::move(text), L"%d", {std::to_wstring(count)});
    return text;
}
