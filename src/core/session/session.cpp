#include "core/session/session.h"

#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
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
    return result;
}

void SwitchStoreTo(WordListDescriptor& pair) {
    CurrentPair = &pair;
    SetCollation(pair, LocaleReport::Silent);
    ReopenStore();
}

int ReloadCatalogue() {
    const std::string current = CurrentPair ? WordFileName(*CurrentPair) : "";
    WordListDescriptor* const before = CurrentPair;
    if (BuildCatalogue() != 0) {
        CurrentPair = before;
        return -1;
    }
    for (WordListDescriptor* d = CatalogueHead; d; d = d->next) {
        d->selected = EqualsIgnoringAsciiCase(WordFileName(*d), current) ? 1 : 0;
        if (d->selected) CurrentPair = d;
    }
    return 0;
}
