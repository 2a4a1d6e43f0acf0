// Fixed texts of the debugger: the help text, and the register dumps of the
// serial and parallel boards.
#pragma once
#include <span>
#include <string>
#include <string_view>

namespace korva {

// The lines of HELP, without line ends.
std::span<const std::string_view> HelpLines();

// The register and state dump of MVME400 card 0 or 1, and of the MVME410's PIA 1 or 2.
std::string Mvme400Setup(int card);
std::string Mvme410Setup(int pia);

}  // namespace korva
