// Whether a text can stand as a file or directory name on Windows as it is: the program
// makes file names of words and names the user typed, and a name Windows would change,
// refuse or take for a device must be refused before a file is made of it.
#pragma once

#include <string_view>

// False for an empty name, a control character or one of < > : " / \ | ? *, a name that
// ends in a blank or full stop (Windows drops those), and a device name (CON PRN AUX NUL
// COM1-9 LPT1-9 CONIN$ CONOUT$, any case) before the first full stop, trailing blanks
// and full stops there ignored ("nul.txt", "Con .x").
bool CanNameWindowsFile(std::string_view name);
