#include "core/session/startup.h"

#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/settings/settings.h"
#include "core/store/collation.h"
#include "core/strings/ui_strings.h"
#include "core/text/fixed_text.h"
#include "platform/message.h"

namespace {

constexpr std::size_t kCommandLineChars = 99;

bool StartsWith(const char* name, const std::string& prefix) {
    return PrefixEqualsIgnoringAsciiCase(name, prefix, prefix.size());
}

}  // namespace

CommandLine ParseCommandLine(const std::string& fullText) {
    CommandLine result;
    const std::string text = fullText.substr(0, kCommandLineChars);
    if (EqualsIgnoringAsciiCase(text, "record")) result.recorderMode = true;

    std::size_t start = text.find_first_not_of('/');
    if (start == std::string::npos) return result;
    std::size_t end = text.find('/', start);
    const std::string piece = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::size_t gk = piece.find("gk ");
    if (gk != std::string::npos) result.requestedPair = piece.substr(gk + 3);
    return result;
}

void ApplyRequestedPair(const std::string& requested) {
    if (requested.empty() || !CurrentPair) return;
    if (StartsWith(CurrentPair->name2, requested) || StartsWith(CurrentPair->name1, requested)) return;
    for (WordListDescriptor* d = CatalogueHead; d; d = d->next) {
        if (StartsWith(d->name1, requested)) {
            CurrentPair->selected = 0;
            d->selected = 1;
            CurrentPair = d;
            return;
        }
    }
}

void PrepareCatalogue(const CommandLine& commandLine) {
    if (BuildCatalogue() != 0) {
        ShowWarning(Ui(UiKey::NoIni), Ui(UiKey::Dictionary));
        EndProcess(1);
    }
    ReadSelectedPair();
    ApplyRequestedPair(commandLine.requestedPair);
    SetCollation(*CurrentPair, LocaleReport::NoOwner);
}

void CheckSavedPracticeList() {
    ReadPracticeListSettings();
    if (Settings.PracticeList.empty()) return;
    // The list as it is spelt on disk, which a case-sensitive file system needs.
    for (const std::string& list : EnumerateLists()) {
        if (EqualsIgnoringAsciiCase(list, Settings.PracticeList)) {
            Settings.PracticeList = list;
            return;
        }
    }
    Settings.PracticeList.clear();
    Settings.ListID = kFirstListId;
}
