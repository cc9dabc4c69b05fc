#include "core/session/session.h"

#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/morphology/word_lookup.h"
#include "core/store/collation.h"
#include "core/store/store.h"
#include "core/text/fixed_text.h"

#include <string>

int OpenStore() {
    OpenWordFile();
    OpenListFile();
    return 0;
}

void ReopenStore() {
    CloseStore();
    OpenStore();
    CountRecords();
}

int SelectPair() {
    SetCollation(*CurrentPair, LocaleReport::MainWindow);
    const int result = SaveSelection(*CurrentPair);
    ReopenStore();
    // A dictionary holds megabytes; the new pair's language loads when it is first needed.
    ReleaseMorphologyUnlessFor(*CurrentPair);
    return result;
}

void SwitchStoreTo(WordListDescriptor& pair) {
    CurrentPair = &pair;
    SetCollation(pair, LocaleReport::Silent);
    ReopenStore();
}

int TrySwitchStoreTo(WordListDescriptor& pair) {
    WordListDescriptor* const before = CurrentPair;
    CloseStore();
    CurrentPair = &pair;
    if (TryOpenWordFile() == 0) {
        SetCollation(pair, LocaleReport::Silent);
        OpenListFile();
        CountRecords();
        return 0;
    }
    SwitchStoreTo(*before);
    return -1;
}

int ReloadCatalogue() {
    const std::string current = CurrentPair ? WordFileName(*CurrentPair) : "";
    WordListDescriptor* const before = CurrentPair;
    const int forwardPairs = PairCount() / 2, position = PairPosition(CurrentPair);
    if (BuildCatalogue() != 0) {
        CurrentPair = before;
        return -1;
    }
    WordListDescriptor* found = nullptr;
    for (WordListDescriptor* d = CatalogueHead; d; d = d->next) {
        if (!found && EqualsIgnoringAsciiCase(WordFileName(*d), current)) found = d;
        d->selected = 0;
    }
    const bool same = found != nullptr;
    // The pair at the same place, when the catalogue was changed by other hands meanwhile; a
    // reverse pair moves one down for the new forward pair.
    if (!found) found = PairAt(position < forwardPairs ? position : position + 1);
    if (!found) found = CurrentPair;
    found->selected = 1;
    CurrentPair = found;
    if (!same) {  // another pair's files: the store follows
        SetCollation(*found, LocaleReport::Silent);
        ReopenStore();
        ReleaseMorphologyUnlessFor(*found);
    }
    return 0;
}
