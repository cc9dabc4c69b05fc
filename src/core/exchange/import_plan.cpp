// Planning an import: the file read, each entry prepared on the thread that reads it and
// merged on a second one, in batches handed over in order (or both on the one thread when
// no second can be had).
#include <cstdio>
#include <new>
#include <stdexcept>

#include "core/catalogue/catalogue.h"
#include "core/exchange/exchange.h"
#include "core/exchange/freedict.h"
#include "core/exchange/header_row.h"
#include "core/exchange/import_files.h"
#include "core/exchange/merge.h"
#include "core/exchange/prepare.h"
#include "core/text/code_page.h"
#include "platform/file_view.h"
#include "platform/platform.h"
#include "platform/threads.h"

namespace {

// Thrown on the planning thread when the progress says stop; the planner's end stops the merge.
struct PlanCancelled {};

// The batches in flight: the reader runs ahead of the merge by at most these.
constexpr std::size_t kBatches = 4;

class Planner final : public EntrySink {
public:
    Planner(ImportPlan& plan, bool utf8, const ImportOptions& options)
        : report_(plan.report),
          preparer_(plan, utf8),
          merger_(plan, utf8, options.probe),
          progress_(options.progress),
          batches_(
              [this](PreparedBatch& batch) {
                  merger_.Merge(batch);
                  batch.Clear();
              },
              kBatches, options.mergeBeside) {}

    void Expect(std::size_t count) override { merger_.Expect(count); }

    void Take(const ForeignEntry& entry) override {
        ++entries_;
        PreparedBatch& batch = batches_.Current();
        preparer_.Prepare(entry, batch);
        if (batch.entries.size() == kBatchEntries) HandOver();
    }

    // Merges what is left and adds up the report; throws what the merge threw.
    void Finish() {
        if (!batches_.Current().entries.empty()) HandOver();
        batches_.Finish();
        report_.entries += entries_;
        report_.skipped += preparer_.skipped;
        report_.partsLeftOut += preparer_.partsLeftOut;
    }

    // A file most of whose entries the pair cannot spell is in another alphabet: refused
    // whole, with the character set it would need, rather than skipped entry by entry.
    bool InAnotherAlphabet(const WordListDescriptor& pair, const char* what, std::string& error) const {
        const bool word = preparer_.wordMisfits.skipped >= preparer_.translationMisfits.skipped;
        const Preparer::Misfits& misfits = word ? preparer_.wordMisfits : preparer_.translationMisfits;
        if (entries_ == 0 || misfits.skipped * 2 <= entries_) return false;
        const int charset = word ? pair.charset1 : pair.charset2;
        const int needed = CharsetHolding(misfits.letter);
        error = LanguageNameUtf8(word ? pair.name1 : pair.name2) + " uses " + CharsetName(charset) + " (" +
                std::to_string(CodePageOfCharset(charset)) + ") letters in this catalogue; " + what +
                " is written in " +
                (needed < 0
                     ? std::string("letters no character set holds")
                     : std::string(CharsetName(needed)) + " letters (character set " + std::to_string(needed) + ")") +
                "; nothing was imported";
        return true;
    }

private:
    void HandOver() {
        if (progress_ && !progress_(entries_)) throw PlanCancelled{};
        batches_.Put();
    }

    ImportReport& report_;
    Preparer preparer_;
    Merger merger_;
    const std::function<bool(std::int64_t)>& progress_;
    int entries_ = 0;
    platform::HandOver<PreparedBatch> batches_;  // last: stops the merge before the rest goes
};

void Step(const ImportOptions& options, const char* name) {
    if (options.probe) options.probe->Step(name);
}

// The entries of a dictionary go into the plan as they are read, none kept: a
// dictionary's half million entries would otherwise be held twice.
bool PlanDictionary(const std::string& path, const ImportOptions& options, ImportPlan& plan,
                    const std::function<bool()>& loadWordFiles, ForeignFile& file, std::string& error) {
    platform::FileView index;
    std::optional<UnpackingText> dict;
    if (!ReadDictionaryFiles(path, options, index, dict, error)) {
        error = path + ": " + error;
        return false;
    }
    Step(options, "read");
    if (!loadWordFiles()) return false;
    Planner planner(plan, true, options);
    Step(options, "plan");
    if (!ReadFreeDict(index.Bytes(), *dict, file, error, planner)) {
        error = path + ": " + error;
        return false;
    }
    planner.Finish();
    if (planner.InAnotherAlphabet(*plan.pair, "this dictionary", error)) return false;
    plan.report.languages = file.languages;
    return true;
}

bool PlanFile(const std::string& path, ExchangeFormat format, const ImportOptions& options, ImportPlan& plan,
              const std::function<bool()>& loadWordFiles, ForeignFile& file, std::string& error) {
    if (!ReadForeignFile(path, format, options, *plan.pair, file, error)) {
        error = path + ": " + error;
        return false;
    }
    Step(options, "read");
    if (!loadWordFiles()) return false;
    plan.report.languages = file.languages;
    if (format == ExchangeFormat::Tsv || format == ExchangeFormat::Csv || format == ExchangeFormat::Anki)
        TakeHeaderRow(file, *plan.pair, plan.report);
    Planner planner(plan, file.utf8, options);
    planner.Expect(file.entries.size());
    Step(options, "plan");
    for (const ForeignEntry& entry : file.entries) planner.Take(entry);
    planner.Finish();
    return !planner.InAnotherAlphabet(*plan.pair, "this file", error);
}

bool Plan(const std::string& path, const ImportOptions& options, ImportPlan& plan, std::string& error) {
    if (!CurrentPair) {
        error = "there is no language pair";
        return false;
    }
    plan.pair = CurrentPair;
    plan.reverse = ReversePair(*CurrentPair);
    plan.probe = options.probe;
    std::string head;
    if (FILE* in = platform::OpenFile(path, "rb")) {
        head.resize(64);
        head.resize(std::fread(head.data(), 1, head.size(), in));
        std::fclose(in);
    }
    const std::optional<ExchangeFormat> format = FormatFor(path, options.format, head, error);
    if (!format) return false;
    std::string ignored;
    auto loadWordFiles = [&] {
        return LoadWordFile(*plan.pair, plan.forward, plan.forwardBefore, error) &&
               (!plan.reverse || LoadWordFile(*plan.reverse, plan.backward, ignored, error));
    };
    ForeignFile file;
    const bool planned = *format == ExchangeFormat::FreeDict
                             ? PlanDictionary(path, options, plan, loadWordFiles, file, error)
                             : PlanFile(path, *format, options, plan, loadWordFiles, file, error);
    if (!planned) return false;
    ImportReport& report = plan.report;
    report.file = path;
    report.format = *format;
    report.separator = file.separator;
    report.encoding = file.encoding;
    report.utf8 = file.utf8;
    return true;
}

}  // namespace

bool PlanImport(const std::string& path, const ImportOptions& options, ImportPlan& plan, std::string& error) {
    plan = ImportPlan{};
    try {
        return Plan(path, options, plan, error);
    } catch (const PlanCancelled&) {
        plan = ImportPlan{};
        plan.cancelled = true;
        error = "the import was cancelled; nothing was changed";
        return false;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    plan = ImportPlan{};  // what was read is given back before the caller says so
    return OutOfMemory(error, "read " + path);
}
