// The debugger's command interpreter: the command line typed in the debugger
// window, its tokenizing into a command word and up to 20 arguments, the
// arguments' values, the dispatch to the command tables, and the output text.
// Everything here runs without a window: Execute(line) runs one line and gives
// back the text it printed, so every command can be exercised as text in, text
// out. The window (debugger/ui) only forwards keys and lines and shows the text.
//
// Adding commands. Each file of commands keeps its own table and nobody else's:
//
//   namespace { void DoThing() { ... read CommandArgs / ArgCount, AppendOutput ... } }
//   const DebugCommand kThingCommands[] = {{"THING TH", &DoThing}, ...};
//   extern const CommandTable ThingCommands{kThingCommands};
//
// and lists `&ThingCommands` once in CommandTables.cpp, on the line reserved
// for its group (extern declaration beside it). Spellings are upper case and
// separated by blanks; a typed command word matches a spelling when both are
// equal after upper-casing the typed word. No spelling may appear twice in all
// tables (a unit test checks it). A handler finds the word that was typed in
// CommandWord (upper-cased), e.g. the digit of "SBR2".
#pragma once
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tables/Types.h"

namespace korva {

// One parsed argument of a command line.
struct CommandArg {
  VBool Present = False;  // the text is not empty, or CheckArguments gave a default
  std::string Text;       // the token as typed
  int16_t Size = 0;       // 0 register name; 1, 2, 4 smallest width that holds it; 5 none
  std::optional<double> Value;  // the number, empty when the text is not one (and for registers)
  VBool ByteOK = False;
  uint8_t ByteValue = 0;
  VBool WordOK = False;
  int16_t WordValue = 0;
  VBool LongOK = False;
  int32_t LongValue = 0;
};

constexpr int CommandArgSlots = 21;  // 0 stays empty, 1..20 the arguments

// ---- State of the command line ----
extern std::string CommandLine;  // typed since the last executed line
extern std::string CommandWord;  // first token of the line executing, upper-cased
extern CommandArg CommandArgs[CommandArgSlots];
extern int16_t ArgCount;         // arguments with text
extern VBool DebugAbort;         // set by the Abort button, cleared by each long loop as it starts
extern VBool CommandRunning;     // a command line is executing

// ---- Options and state of the commands (they live as long as the program) ----
extern VBool UseRamArray;        // memory commands use the cell array (else the bus)
extern VBool TrackTrace;         // each register redraw also lists the instruction at the PC
extern VBool Ascii7Bit;          // dumps and data lines show 7-bit characters
extern VBool DisplacementsHex;   // the disassembler shows displacements in hex
extern VBool UseMmuForDisasm;    // the disassembler and the register pane translate the PC
extern int32_t VersionNumber;    // VersaDOS version of the structure displays: 43, 44 or 45

// Widths of CheckArguments.
enum : int16_t { ArgUnchecked = 0, ArgByte = 1, ArgWord = 2, ArgLong = 4, ArgText = 5 };
struct ArgCheck {
  int16_t Width = ArgUnchecked;
  double Default = 0;          // 0: no default (the argument is required)
  const char* TextDefault = nullptr;  // the default of an ArgText position
};

// ---- Operations used by commands ----
void ClearCommandArgs();
// Values of all 21 records from their texts; sets ArgCount.
void EvaluateArguments();
// Arguments 1..n (at most six) against their widths, missing ones defaulted
// where a default is given; True when every checked argument is present and fits.
bool CheckArguments(std::initializer_list<ArgCheck> checks);
// Adds text at the end of the output; the oldest text goes when the output
// would pass 24000 characters.
void AppendOutput(std::string_view text);
inline constexpr size_t OutputLimit = 24000;
// Characters appended to the output since start-up.
extern uint64_t OutputWritten;
// Sets both refresh requests of the main loop (registers and watches).
void RequestRefresh();

// A flag command's rule: argument 1 must be a byte (else invalidText), 0 or 1
// (else mustText); flag := False / True. Both messages end with CR LF.
void FlagCommand(VBool& flag, std::string_view invalidText, std::string_view mustText);

// ---- Running lines ----
// Runs one command line (as typed, without CR) and returns what it printed.
std::string Execute(std::string_view line);
// A key typed in the command box: Backspace (8) drops the last character of
// CommandLine, Tab (9) adds a blank, CR (13) or LF (10) runs the line, any other
// character is added as typed. A line ended while a command runs is dropped, and
// the output says so on a line of its own (LineNotRunText).
void CommandKey(char key);
inline constexpr std::string_view LineNotRunText = "Line not run: a command is running";

// ---- Command tables ----
struct DebugCommand {
  std::string_view Spellings;  // upper case, separated by blanks
  void (*Run)();
};
using CommandTable = std::span<const DebugCommand>;
// Every table, as listed in CommandTables.cpp.
std::span<const CommandTable* const> AllCommandTables();
// Every spelling of every table, in table order.
std::vector<std::string> AllCommandSpellings();

// ---- The window, as the core sees it ----
// While no window is attached the output is kept in OutputText. A window
// attaches by filling the members; the output ones then act on its text box.
struct DebuggerView {
  size_t (*Length)() = nullptr;
  void (*RemoveFirst)(size_t count) = nullptr;
  void (*Append)(std::string_view text) = nullptr;  // at the end, caret after it
  // The box's text is empty or ends with a line break (typed text included).
  bool (*AtLineStart)() = nullptr;
  void (*SetCaption)(const std::string& caption) = nullptr;
  void (*Show)(int16_t style) = nullptr;  // load when needed (it calls DebuggerLoad), then show
  void (*Unload)() = nullptr;             // save placement, close (it calls DebuggerUnload)
  void (*SetRegisters)(const std::string& text, uint32_t background) = nullptr;
  void (*SetWatch)(int16_t watch, const std::string& text, int32_t visibleLines) = nullptr;
  // Captions of the program's top-level windows, hidden ones too, in creation order.
  std::vector<std::string> (*WindowCaptions)() = nullptr;
};
extern DebuggerView View;
extern std::string OutputText;  // the output while no window is attached
extern std::string Caption;     // the window caption, kept here too

// The caption for text (see ShowStatus) and its setting.
void ShowStatus(const std::string& text);

// ---- Breakpoints ----
void EnableBreakPoints();  // BreakPointsEnabled := some entry enabled
void ClearBreakPoints();   // all entries disabled, skips cleared; addresses stay

// ---- The window's buttons ----
void cmdRunClick();    // run, caption "Running"
void cmdStepClick();   // one instruction when stopped, then redraw the panes
void cmdStopClick();   // stop at the next instruction boundary, then redraw the panes
void cmdAbortClick();  // DebugAbort: a long command ends at its next look

// ---- The window's life, as far as the machine sees it ----
// Shows the window (loading it when needed), clears the breakpoints and the status.
void ShowDebugger(int16_t style);
// Drops the refresh requests, the breakpoints and a counted run, and unloads the window.
void HideDebugger();
// Load: the debugger fetch runs and DebuggerLoaded is set.
void DebuggerLoad();
// Unload: the refresh requests, breakpoints, counted run and the interrupt
// switches of a stop are cleared; the normal fetch runs again.
void DebuggerUnload();
// The state of a freshly created debugger (options, watches, find state,
// version, number base), and the machine's hooks pointed at this core.
void ResetDebuggerState();
void InstallDebugger();

}  // namespace korva
