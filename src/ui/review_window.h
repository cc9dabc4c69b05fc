// Spaced review ("herhaal"): the words of the pair that are due, then new words of the
// practice list, asked as interactive practice asks them; each first answer is logged.
#pragma once

#include <cstddef>

#include <windows.h>

#include <cstdint>
#include <string>

HWND OpenReviewPractice();

// The practice-mode menu's text for review, with how many words are due today and how many
// new ones a review would ask.
std::wstring ReviewMenuText();
// The words of the current pair to review today: those due, and the new ones of the day.
std::size_t ReviewWordsToday();

// Milliseconds since 1970 UTC; tests put a fixed clock in its place.
extern std::int64_t (*ReviewClock)();
// How far the user's local clock is ahead of UTC at `ms`.
std::int64_t LocalDayOffset(std::int64_t ms);
