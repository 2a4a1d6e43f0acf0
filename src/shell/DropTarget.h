// The main window's drop target: host files dropped on the drop area become the
// drop zone's list, named for the guest by the chosen drop format; a double
// click shows the list and can empty it. The window passes the local file paths
// of a drop; everything else is decided here.
#pragma once
#include <string>
#include <vector>

namespace korva {

// The Options menu captions of the drop formats 0-5 ("CPM 68K" for 4).
const char* DropFormatCaption(int format);

// A drop of host paths (UTF-8), in the order the drag lists them. An empty
// list (a drag without files) changes nothing.
void DropFiles(const std::vector<std::string>& paths);

// The double click on the drop area.
void ShowDropList();

}  // namespace korva
