#include "ui/file_dialog.h"

namespace {

template <typename Show>
bool KeepingWorkingDirectory(Show show) {
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, directory);
    const bool chosen = show();
    SetCurrentDirectoryA(directory);
    return chosen;
}

}  // namespace

bool RunFileDialog(OPENFILENAMEA& dialog, bool save) {
    return KeepingWorkingDirectory([&] { return save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog); });
}

bool RunFileDialog(OPENFILENAMEW& dialog, bool save) {
    return KeepingWorkingDirectory([&] { return save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog); });
}
