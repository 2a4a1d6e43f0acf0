#include "board/KeyboardForm.h"

namespace korva {

KeyboardFormHooks KeyboardFormHook;

}  // namespace korva
