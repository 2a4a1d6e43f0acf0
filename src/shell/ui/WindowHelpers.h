// Window helpers shared by the windows: finding a loaded window by the start of
// its caption, and keeping one window above all others.
#pragma once
#include <QPointer>
#include <QWidget>
#include <string>

#include "tables/Types.h"

namespace korva {

// True when the caption of some loaded top-level window (shown or hidden)
// begins with text, letter case ignored. text is in the machine's code page.
// The main window answers the core's FindFormByCaption with it.
VBool FindWindowByCaption(const std::string& text);

// Makes form the one window kept on top: the window kept so far loses the
// place, form gets it. Neither moves, changes size or is activated.
void SetTopMost(QWidget* form);
extern QPointer<QWidget> TopMostForm;

}  // namespace korva
