// The records of a word file by their word, for the import's merge.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/store/word_record.h"
#include "core/text/fixed_text.h"

// The records of a word file by their word, the letters A-Z in either case being the
// same, as the add window matches a typed word. Open addressing over record numbers: a
// dictionary's half million words cost no allocation each.
class WordTable {
public:
    explicit WordTable(std::vector<WordRecord>& records) : records_(records) { Grow(records.size()); }
    // Room for `more` records to come without growing on the way: the table is then at
    // most half full, as Add keeps it, rather than a quarter as after a growth.
    void Reserve(std::size_t more) { Grow((records_.size() + more + 1) / 2); }
    // Brings into the cache the slot where the search for a word starts, or once that is
    // there the record it holds: a dictionary's table and records are far larger than the
    // cache, and waiting for them was most of the merge.
    // (Inlined by force: else the compiler takes a call without effects on memory for one it
    // may drop, and drops it.)
    [[gnu::always_inline]] void Prefetch(std::string_view word, bool record) const {
        const std::size_t slot = Hash(word) & mask_;
        if (!record) {
            __builtin_prefetch(&slots_[slot]);
        } else if (slots_[slot] != kEmpty) {
            __builtin_prefetch(records_[slots_[slot]].word);
        }
    }
    WordRecord* Find(std::string_view word) {
        for (std::size_t slot = Hash(word) & mask_;; slot = (slot + 1) & mask_) {
            const std::uint32_t i = slots_[slot];
            if (i == kEmpty) return nullptr;
            if (SameWord(records_[i].word, word)) return &records_[i];
        }
    }
    void Add(std::string_view word, std::string_view translation) {
        WordRecord record{};
        SetWord(record, word);
        SetTranslation(record, translation);
        records_.push_back(record);
        if (records_.size() * 2 > slots_.size())
            Grow(records_.size());
        else
            Insert(static_cast<std::uint32_t>(records_.size() - 1));
    }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    // EqualsIgnoringAsciiCase without measuring the record's word first.
    static bool SameWord(const char* stored, std::string_view word) {
        for (char c : word)
            if (FoldAscii(*stored++) != FoldAscii(c)) return false;
        return *stored == '\0';
    }
    static std::size_t Hash(std::string_view word) {
        std::uint64_t h = 1469598103934665603ull;  // FNV-1a over the folded letters
        for (char c : word) h = (h ^ static_cast<unsigned char>(FoldAscii(c))) * 1099511628211ull;
        return static_cast<std::size_t>(h ^ (h >> 32));
    }
    void Insert(std::uint32_t i) {
        std::size_t slot = Hash(records_[i].word) & mask_;
        while (slots_[slot] != kEmpty) slot = (slot + 1) & mask_;
        slots_[slot] = i;
    }
    void Grow(std::size_t count) {
        std::size_t size = 16;
        while (size < count * 4) size *= 2;
        slots_.assign(size, kEmpty);
        mask_ = size - 1;
        for (std::size_t i = 0; i < records_.size(); ++i) Insert(static_cast<std::uint32_t>(i));
    }

    std::vector<WordRecord>& records_;
    std::vector<std::uint32_t> slots_;
    std::size_t mask_ = 0;
};
