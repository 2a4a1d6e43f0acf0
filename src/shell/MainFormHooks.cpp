#include "shell/MainFormHooks.h"
#include "shell/ShellSettings.h"

namespace korva {

namespace {
MainFormHooks silentMainForm;
}

MainFormHooks* MainForm = &silentMainForm;
MainFormHooks* (*MainFormFactory)() = nullptr;

void MainFormHooks::SelectDropFormat(int16_t& code) {
  if (code < 0 || code > 5) code = 4;
  DropFormat = code;
}

void SetMainForm(MainFormHooks* form) { MainForm = form ? form : &silentMainForm; }

void CreateMainForm() {
  if (MainForm == &silentMainForm && MainFormFactory) SetMainForm(MainFormFactory());
}

VBool FindFormByCaption(const std::string& text) { return MainForm->FindFormByCaption(text); }

}  // namespace korva
