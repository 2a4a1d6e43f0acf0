// The main window's drop area: host files dragged from a file manager and
// dropped here become the drop zone's list (shell/DropTarget.h decides
// everything else); a double click shows the list. Drags that carry no local
// files (a text selection, web links) are not taken.
#pragma once
#include <QLabel>

#include <string>
#include <vector>

class QMimeData;

namespace korva {

class DropZonePicture final : public QLabel {
 public:
  explicit DropZonePicture(QWidget* parent = nullptr);

  // The local files a drag carries, as UTF-8 paths in the drag's order.
  static std::vector<std::string> LocalFiles(const QMimeData* data);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace korva
