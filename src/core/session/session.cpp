#include "core/session/session.h"

#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/store/collation.h"
#include "core/store/store.h"

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
