// The parts of start-up that need no window, shared by the program and the
// command-line companion: the command line and the current pair.
#pragma once

#include <string>

struct CommandLine {
    bool recorderMode = false;
    std::string requestedPair;
};

// "record" alone turns on recorder mode; a first "/"-piece holding "gk " names a pair.
CommandLine ParseCommandLine(const std::string& text);

// Makes the requested pair current for this run, unless the current pair already
// starts with that name on either side.
void ApplyRequestedPair(const std::string& requested);

// Builds the catalogue (or shows NoIni and ends the process), reads the saved
// selection, applies the requested pair and sets its collation.
void PrepareCatalogue(const CommandLine& commandLine);

// The saved practice list, forgotten when its directory is gone.
void CheckSavedPracticeList();
