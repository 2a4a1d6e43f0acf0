// Start-up and the main loop. RunMachine is the program's event loop: it steps
// the control store while the processor runs and processes window messages
// every CpuThrottleMask + 1 words; while stopped it serves the debugger's
// refresh requests and waits for window messages.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "tables/Types.h"

namespace korva {

// Words of the command line, stored from index 1 (index 0 unused).
extern std::vector<std::string> CommandWords;
extern int32_t CommandWordCount;
// The settings profile: "" or the first command-line word reduced to A-Z and 0-9.
extern std::string ProfileName;
extern VBool QuitRequested;
extern int32_t CpuThrottleMask;  // 2^n - 1; messages are processed when (step AND mask) = 0
extern VBool RefreshRegsRequest, RefreshWatchRequest;
extern VBool DebuggerLoaded;
extern VBool PowerOnResetDone;

// The program: builds every table in order, shows the main window, runs RunMachine.
// Returns the exit code (the caller ends the program with it).
int Main();
void RunMachine();

// Split `commandLine` into at most maxWords words (blanks and tabs separate words).
void ParseCommandLine(int16_t maxWords, const std::string& commandLine);
// The profile from the command line's first word (when it is a plain name), and
// the settings store under the application title followed by it.
void ChooseProfile(const std::string& commandLine);
// True when text is not empty and holds none of ".", "\", ":" and "/".
VBool IsPlainName(const std::string& text);

// The host's command line as ParseCommandLine sees it (set by the program's main()).
extern std::string ProgramCommandLine;

}  // namespace korva
