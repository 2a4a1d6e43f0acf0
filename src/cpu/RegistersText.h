// The register display text of the debugger's register pane and of the
// internal-error report.
#pragma once
#include <string>

namespace korva {

// Seven lines joined by CR LF: D0-D3, D4-D7, A0-A3, A4-A7, PC with the
// disassembly at PC, SR with its fields, USP/SSP/VBR/SFC/DFC.
std::string RegistersText();

}  // namespace korva
