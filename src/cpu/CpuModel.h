// CPU model selection and the fetch switch patch the control store; during a
// control-store word the patch is latched and applied after the word.
#pragma once
#include <string>

namespace korva {

// Apply the latched model and fetch patches to the control store (ApplyControlLatch).
void ApplyStorePatches();
void LatchStorePatch();

// The internal-error report's text (without the message box).
std::string InternalErrorText();

}  // namespace korva
