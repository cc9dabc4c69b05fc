// Resource, control and command ids, grouped per window.
#pragma once

// Main window buttons and commands.
#define IDC_MAIN_EXIT 3
#define IDC_MAIN_ADD 10
#define IDC_MAIN_PRACTICE 11
#define IDC_MAIN_SEARCH 12
#define IDC_MAIN_CREATELIST 13
#define IDC_MAIN_RECORD 25

// Sorting window: the clock frames are bitmaps 1 to 12.
#define IDB_CLOCK_FIRST 1

// New-list dialog.
#define IDC_LISTDIALOG_NAME 30
#define IDC_LISTDIALOG_GROUP 68
