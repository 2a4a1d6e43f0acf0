#include "shell/MainFormHooks.h"
#include "shell/ShellSettings.h"

namespace korva {

namespace {
MainFormHooks silentMainForm;
}

MainFormHooks* MainForm = &silentMainForm;

void MainFormHooks::SelectDropFormat(int16_t& code) {
  if (code < 0 || code > 5) code = 4;
  DropFormat = code;
}

void SetMainForm(MainFormHooks* form) { MainForm = form ? form : &silentMainForm; }

VBool FindFormByCaption(const std::string& text) { return MainForm->FindFormByCaption(text); }

}  // namespace korva
