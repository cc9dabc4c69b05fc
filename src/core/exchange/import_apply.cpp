// Writing a planned import: both word files sorted, written beside their places and moved
// in, the pair's first, so that both hold the import or neither does.
#include <new>

#include "core/catalogue/catalogue.h"
#include "core/exchange/exchange.h"
#include "core/exchange/import_files.h"
#include "core/store/collation.h"
#include "core/store/sorting.h"
#include "platform/file_writes.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "platform/threads.h"

namespace {

void Step(const ImportPlan& plan, const char* name) {
    if (plan.probe) plan.probe->Step(name);
}

// Each file in its own pair's order; the reverse pair's is sorted on a second thread
// beside the pair's own, or after it when no thread can be had.
bool SortPlan(ImportPlan& plan, std::string& error) {
    try {
        Step(plan, "sort");
        const Collation forward = CollationOf(*plan.pair);
        const Collation backward = plan.reverse ? CollationOf(*plan.reverse) : forward;
        platform::Beside(
            [&] {
                if (plan.forwardChanged) SortRecords(plan.forward, forward);
            },
            [&] {
                if (plan.backwardChanged) SortRecords(plan.backward, backward);
            });
        return true;
    } catch (...) {
        return OutOfMemory(error, "sort the words");
    }
}

// The reverse pair's file into its place, the pair's being there already; when it cannot
// be, the pair's own file goes back to what it was, so neither holds half an import.
bool MoveReverseIntoPlace(const ImportPlan& plan, const std::string& forwardPath, const std::string& backwardPath,
                          bool forwardExisted, std::string& error) {
    const std::string backwardTemporary = backwardPath + ".tmp";
    if (platform::MoveIntoPlace(backwardTemporary, backwardPath) == 0) return true;
    platform::RemoveFile(backwardTemporary);
    auto putBack = [&] {
        try {
            return forwardExisted ? platform::ReplaceFileWith(forwardPath, plan.forwardBefore) == 0
                                  : platform::RemoveFile(forwardPath) == 0;
        } catch (const std::bad_alloc&) {
            return false;
        }
    };
    const bool putBackDone = !plan.forwardChanged || putBack();
    error = putBackDone ? "cannot write " + backwardPath + "; nothing was imported"
                        : "cannot write " + backwardPath + ", and " + forwardPath +
                              " could not be put back: it holds the import, its reverse pair does not";
    return false;
}

bool Apply(ImportPlan& plan, std::string& error, const std::function<bool()>& beforeWriting) {
    const std::optional<std::string> forwardPath = WordFilePath(*plan.pair);
    const std::optional<std::string> backwardPath = plan.reverse ? WordFilePath(*plan.reverse) : std::nullopt;
    if (!forwardPath || (plan.reverse && !backwardPath)) {
        error = "the word file's path is too long";
        return false;
    }
    const bool forwardExisted = platform::FileExists(*forwardPath);
    if (!SortPlan(plan, error)) return false;
    if (beforeWriting && !beforeWriting()) return false;
    // A step or a write that runs out of memory fails as one the disk refuses.
    auto stepTaken = [&](const char* step) {
        try {
            Step(plan, step);
            return true;
        } catch (const std::bad_alloc&) {
            return false;
        }
    };
    auto bytesOf = [](const std::vector<WordRecord>& records) {
        return std::string_view(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(WordRecord));
    };
    // Both files are written at once, each first to a temporary file beside it; only once
    // both are whole on the disk do they take their places, the pair's first.
    const std::string forwardTemporary = *forwardPath + ".tmp";
    const std::string backwardTemporary = plan.reverse ? *backwardPath + ".tmp" : std::string();
    const std::string* failed = nullptr;  // the file named by the error
    if (plan.forwardChanged && !stepTaken("write"))
        failed = &*forwardPath;
    else if (plan.backwardChanged && !stepTaken("write reverse"))
        failed = &*backwardPath;
    auto writeTemporary = [](bool changed, const std::string& temporary, std::string_view bytes) {
        try {
            return !changed || platform::WriteTemporaryFile(temporary, bytes) == 0;
        } catch (const std::bad_alloc&) {
            return false;
        }
    };
    bool forwardWritten = false, backwardWritten = false;
    if (!failed) {
        platform::Beside(
            [&] { forwardWritten = writeTemporary(plan.forwardChanged, forwardTemporary, bytesOf(plan.forward)); },
            [&] { backwardWritten = writeTemporary(plan.backwardChanged, backwardTemporary, bytesOf(plan.backward)); });
        if (!forwardWritten)
            failed = &*forwardPath;
        else if (!backwardWritten)
            failed = &*backwardPath;
        else if (plan.forwardChanged && platform::MoveIntoPlace(forwardTemporary, *forwardPath) != 0)
            failed = &*forwardPath;
    }
    if (failed) {
        if (forwardWritten && plan.forwardChanged) platform::RemoveFile(forwardTemporary);
        if (backwardWritten && plan.backwardChanged) platform::RemoveFile(backwardTemporary);
        error = "cannot write " + *failed + "; nothing was imported";
        return false;
    }
    return !plan.backwardChanged || MoveReverseIntoPlace(plan, *forwardPath, *backwardPath, forwardExisted, error);
}

}  // namespace

bool ApplyImport(ImportPlan& plan, std::string& error, const std::function<bool()>& beforeWriting) {
    try {
        return Apply(plan, error, beforeWriting);
    } catch (const std::bad_alloc&) {
        return OutOfMemory(error, "write the words");
    }
}
