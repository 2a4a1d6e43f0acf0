#include "shell/MainFormHooks.h"

namespace korva {

namespace {
MainFormHooks silentMainForm;
}

MainFormHooks* MainForm = &silentMainForm;

void SetMainForm(MainFormHooks* form) { MainForm = form ? form : &silentMainForm; }

VBool FindFormByCaption(const std::string& text) { return MainForm->FindFormByCaption(text); }

}  // namespace korva
