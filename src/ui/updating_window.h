// The "updating" window shown while the current practice list is compacted.
#pragma once

void ShowUpdatingWindow();
void CloseUpdatingWindow();
// Compacts the current list under the "updating" window. 0 or -1 as the compaction.
int CompactCurrentListShown();
