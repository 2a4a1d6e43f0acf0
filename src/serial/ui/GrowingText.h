// A read-only view of a console's text, which grows at its end between whole
// rewrites: what was added since the view was last shown is appended to it,
// anything else shows the text anew. CR LF breaks become the view's line breaks.
#pragma once
#include <QString>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdint>
#include <string>

#include "host/qt/QtText.h"

namespace korva::ui {

inline QString ViewText(const std::string& machineText) {
  QString t = ToQt(machineText);
  t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return t;
}

class GrowingText {
 public:
  // Shows text in view (a QTextEdit or QPlainTextEdit) and scrolls to its end;
  // rewrites is the console's count of whole rewrites. Nothing added: nothing done.
  template <class View>
  void Show(View& view, const std::string& text, uint64_t rewrites) {
    if (rewrites == shownRewrites_ && text.size() >= shownSize_) {
      if (text.size() == shownSize_) return;
      QTextCursor end(view.document());
      end.movePosition(QTextCursor::End);
      end.insertText(ViewText(text.substr(shownSize_)));
    } else {
      view.setPlainText(ViewText(text));
      shownRewrites_ = rewrites;
    }
    shownSize_ = text.size();
    view.moveCursor(QTextCursor::End);
    view.ensureCursorVisible();
  }

 private:
  size_t shownSize_ = 0;        // bytes of the console's text the view shows
  uint64_t shownRewrites_ = 0;  // the console's rewrite count when it was shown whole
};

}  // namespace korva::ui
