#include "shell/ui/WindowHelpers.h"

#include <QApplication>

#include "host/CodePage.h"

namespace korva {

QPointer<QWidget> TopMostForm;

namespace {

// Changing a window flag hides the window; show it again where it was, without
// taking the focus.
void KeepOnTop(QWidget* w, bool on) {
  if (w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
  const bool visible = w->isVisible();
  const QRect geometry = w->geometry();
  const bool quiet = w->testAttribute(Qt::WA_ShowWithoutActivating);
  w->setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (!visible) return;
  w->setAttribute(Qt::WA_ShowWithoutActivating, true);
  w->setGeometry(geometry);
  w->show();
  w->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
}

}  // namespace

VBool FindWindowByCaption(const std::string& text) {
  const QString start = QString::fromStdString(Cp1252ToUtf8(text));
  for (const QWidget* w : QApplication::topLevelWidgets())
    if (w->windowTitle().startsWith(start, Qt::CaseInsensitive)) return True;
  return False;
}

void SetTopMost(QWidget* form) {
  if (TopMostForm && TopMostForm != form) KeepOnTop(TopMostForm, false);
  if (form) KeepOnTop(form, true);
  TopMostForm = form;
}

}  // namespace korva
