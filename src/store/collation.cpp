#include "store/collation.h"

#include <cstdio>

#include "platform/platform.h"
#include "store/fixed_text.h"

unsigned char SortTable[256];

namespace {

std::string SortTablePath(const char* languageName) {
    return platform::MakePath({"tables\\", languageName, ".stb"}).value_or("");
}

// The next byte of a text that takes part in the order under the sort table: its
// weight, or 0 at the end (the terminator or a weight of 0).
unsigned char NextWeight(const unsigned char*& p) {
    while (*p != 0) {
        unsigned char w = SortTable[*p++];
        if (w != 1) return w;
    }
    return 0;
}

}  // namespace

int HasSortTable(const char* languageName) {
    std::string path = SortTablePath(languageName);
    FILE* file = path.empty() ? nullptr : platform::OpenFile(path, "rb");
    if (!file) return 0;
    std::fclose(file);
    return 1;
}

void LoadSortTable() {
    if (!CurrentPair || !CurrentPair->hasSortTable) return;
    std::string path = SortTablePath(CurrentPair->name1);
    FILE* file = path.empty() ? nullptr : platform::OpenFile(path, "rb");
    if (!file) {
        ShowUserMessage({"Can't open sorttable   ", "error", MessageOwner::None, MessageIcon::None});
        return;
    }
    // A shorter file replaces only the entries it has; the rest keep their weights.
    std::size_t got = std::fread(SortTable, 1, sizeof SortTable, file);
    (void)got;
    std::fclose(file);
}

int CollateCompare(const char* a, const char* b) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    for (;; ++p, ++q) {
        int d = static_cast<unsigned char>(FoldAscii(static_cast<char>(*p))) -
                static_cast<unsigned char>(FoldAscii(static_cast<char>(*q)));
        if (d != 0 || *p == 0) return d;
    }
}

int TableCompare(const char* a, const char* b) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    for (;;) {
        unsigned char wa = NextWeight(p);
        unsigned char wb = NextWeight(q);
        if (wa != wb || wa == 0) return wa - wb;
    }
}

int CompareWords(const char* a, const char* b) {
    return CurrentPair && CurrentPair->hasSortTable ? TableCompare(a, b) : CollateCompare(a, b);
}

void SetCollation(const WordListDescriptor& pair, MessageOwner owner) {
    (void)pair;
    (void)owner;
    LoadSortTable();
}
