// Resource, control and command ids, grouped per window.
#pragma once

// Main window buttons and commands.
#define IDC_MAIN_EXIT 3
#define IDC_MAIN_ADD 10
#define IDC_MAIN_PRACTICE 11
#define IDC_MAIN_SEARCH 12
#define IDC_MAIN_CREATELIST 13
#define IDC_MAIN_RECORD 25
