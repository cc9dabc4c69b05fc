// Resource, control and command ids, grouped per window.
#pragma once

// The palette's menu items, the same in every window that offers it.
#define IDM_PALETTE_SHOW 6
#define IDM_PALETTE_HIDE 7

// Main window buttons and commands.
#define IDC_MAIN_EXIT 3
#define IDC_MAIN_ADD 10
#define IDC_MAIN_PRACTICE 11
#define IDC_MAIN_DUE 3041
#define IDC_MAIN_SEARCH 12
#define IDC_MAIN_CREATELIST 13
#define IDC_MAIN_RECORD 25

// Sorting window: the clock frames are bitmaps 1 to 12.
#define IDB_CLOCK_FIRST 1

// New-list dialog.
#define IDC_LISTDIALOG_NAME 30
#define IDC_LISTDIALOG_GROUP 68

// The dialog that picks a KVTML file's two languages.
#define IDC_KVTMLDIALOG_TEXT 75
#define IDC_KVTMLDIALOG_FIRST_LABEL 76
#define IDC_KVTMLDIALOG_FIRST 77
#define IDC_KVTMLDIALOG_SECOND_LABEL 78
#define IDC_KVTMLDIALOG_SECOND 79

// The dialog that asks before an import writes: its texts, one under the other, the new
// words, and the button that opens the whole report (Import and Cancel are IDOK and IDCANCEL).
#define IDC_IMPORTDIALOG_QUESTION 3050
#define IDC_IMPORTDIALOG_FORWARD 3051
#define IDC_IMPORTDIALOG_BACKWARD 3052
#define IDC_IMPORTDIALOG_PROBLEMS 3053
#define IDC_IMPORTDIALOG_REPORT_PATH 3054
#define IDC_IMPORTDIALOG_WORDS_LABEL 3055
#define IDC_IMPORTDIALOG_WORDS 3056
#define IDC_IMPORTDIALOG_SHOW_REPORT 3057

// Main window menu commands and the language menu's first id.
#define IDM_MAIN_HELP 4
#define IDM_MAIN_ABOUT 5
#define IDM_MAIN_TRANSLATE 9
#define IDM_MAIN_STAYONTOP 55
#define IDM_MAIN_NEWWORDLIST 62
#define IDM_MAIN_INFO 63
#define IDM_MAIN_FLASH 64
#define IDM_MAIN_INTERACTIVE 65
#define IDM_MAIN_IMPORT 73
#define IDM_MAIN_EXPORT 74
#define IDM_MAIN_RESTORE 3030
#define IDM_PAIR_FIRST 200

// About box texts.
#define IDC_ABOUT_VERSION 69
#define IDC_ABOUT_COPYRIGHT 70
#define IDC_ABOUT_WEBSITE 71
#define IDC_ABOUT_EMAIL 72

// Search window.
#define IDC_SEARCH_FIELD 30
#define IDC_SEARCH_DONE 14
#define IDC_SEARCH_SCROLL 41
#define IDC_SEARCH_WORD_FIRST 100
#define IDC_SEARCH_TRANSLATION_FIRST 150
#define IDM_SEARCH_DELETE 50
#define IDM_SEARCH_COPY 53
#define IDM_SEARCH_PASTE 54
#define IDM_SEARCH_CLIP_ON 56
#define IDM_SEARCH_CLIP_OFF 57
#define IDM_SEARCH_PLAY 58
#define IDM_SEARCH_SIZE_FIRST 600
// Beside the search field: the base form of the typed word, which Tab goes to.
#define IDC_SEARCH_BASE_FORM 3081

// Add-words window.
#define IDC_ADD_WORD 30
#define IDC_ADD_TRANSLATION 31
#define IDC_ADD_DONE 14
#define IDC_ADD_HELP 22
#define IDC_ADD_STATUS 3040
#define IDM_ADD_TO_LIST 2

// New-word-list window; the icon it writes is resource 13 of type DATA.
#define IDC_NEWLANG_LABEL 45
#define IDC_NEWLANG_NAME 30
#define IDC_NEWLANG_LIST 300
#define IDC_NEWLANG_CREATE 18
#define IDC_NEWLANG_CANCEL 14
#define IDR_LANGUAGE_ICON 13

// Practice-list window: list-pane rows 500-507, word-pane rows 550-557 (the word and the
// translation column share an id), the lists menu from 800.
#define IDC_LIST_DONE 14
#define IDC_LIST_ADD_ALL 15
#define IDC_LIST_REMOVE_ALL 16
#define IDC_LIST_ADD_RANDOM 17
#define IDC_LIST_PRINT 23
#define IDC_LIST_SEARCH 30
#define IDC_LIST_LIST_SCROLL 41
#define IDC_LIST_WORD_SCROLL 42
#define IDM_LIST_NEW 59
#define IDM_LIST_DELETE 60
#define IDC_LIST_ROW_FIRST 500
#define IDC_LIST_WORD_FIRST 550
#define IDM_LIST_FIRST 800

// Random-selection window.
#define IDC_RANDOM_CANCEL 14
#define IDC_RANDOM_OK 18
#define IDC_RANDOM_EMPTY_FIRST 19
#define IDC_RANDOM_NUMBER 30

// Flash practice.
#define IDC_FLASH_QUIT 14
#define IDC_FLASH_PROGRESS 40
#define IDC_FLASH_WORD 45
#define IDC_FLASH_TRANSLATION 46
#define IDC_FLASH_FRAME 47
#define IDC_FLASH_SLIDER 50

// Interactive practice: the question and the four score texts share id 45.
#define IDC_PRACTICE_QUIT 14
#define IDC_PRACTICE_SHOW 27
#define IDC_PRACTICE_ANSWER 30
#define IDC_PRACTICE_PROGRESS 40
#define IDC_PRACTICE_TEXT 45
#define IDC_PRACTICE_FRAME 47
#define IDM_PRACTICE_SOUND_ON 66
#define IDM_PRACTICE_SOUND_OFF 67

// Translate window: word cells 100-102, translation cells 150-152.
#define IDM_TRANSLATE_OPEN 1
#define IDM_TRANSLATE_CLIPBOARD 20
#define IDC_TRANSLATE_DONE 14
#define IDC_TRANSLATE_HELP 21
#define IDC_TRANSLATE_SEARCH 30
#define IDC_TRANSLATE_TEXT 31
#define IDC_TRANSLATE_SCROLL 41
#define IDC_TRANSLATE_WORD_FIRST 100
#define IDC_TRANSLATE_TRANSLATION_FIRST 150
// Under the rows: the base form whose record they show.
#define IDC_TRANSLATE_BASE_FORM 3080

// Sound recorder; command 256 carries a key forwarded from the start/stop button.
#define IDC_RECORD_EXIT 14
#define IDC_RECORD_START 26
#define IDC_RECORD_SKIP 27
#define IDC_RECORD_BACK 28
#define IDC_RECORD_TEXT 45
#define IDC_RECORD_KEY 256

// Restore window: the backups, the files the chosen one puts back, and its buttons.
#define IDC_RESTORE_BACKUPS 3031
#define IDC_RESTORE_FILES 3032
#define IDC_RESTORE_OK 3033
#define IDC_RESTORE_CANCEL 3034

// Spaced review: the practice-mode items, and the review window (which shares the
// interactive practice window's control ids) and its progress window.
#define IDM_MAIN_REVIEW 3001
#define IDM_MAIN_REVIEW_PROGRESS 3002
#define IDM_MAIN_OPTIMIZE_REVIEW 3003
#define IDC_REVIEW_LEFT 3010
#define IDM_REVIEW_START 3011
#define IDC_REVIEW_CHART 3012
#define IDC_REVIEW_VERDICT 3013
