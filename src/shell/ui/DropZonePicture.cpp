#include "shell/ui/DropZonePicture.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>

#include "shell/DropTarget.h"

namespace korva {

DropZonePicture::DropZonePicture(QWidget* parent) : QLabel(parent) {
  setAcceptDrops(true);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setAlignment(Qt::AlignCenter);
  setText(QStringLiteral("Drop Zone"));
}

std::vector<std::string> DropZonePicture::LocalFiles(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QByteArray path = url.toLocalFile().toUtf8();
    if (!path.isEmpty()) paths.emplace_back(path.constData(), static_cast<size_t>(path.size()));
  }
  return paths;
}

void DropZonePicture::dragEnterEvent(QDragEnterEvent* event) {
  if (LocalFiles(event->mimeData()).empty())
    event->ignore();
  else
    event->acceptProposedAction();
}

void DropZonePicture::dragMoveEvent(QDragMoveEvent* event) {
  if (LocalFiles(event->mimeData()).empty())
    event->ignore();
  else
    event->acceptProposedAction();
}

void DropZonePicture::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths = LocalFiles(event->mimeData());
  if (paths.empty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  // The list is built after the drop has been answered, so that the file
  // manager is not held while a question or a message box is up.
  QTimer::singleShot(0, this, [files = std::move(paths)] { DropFiles(files); });
}

void DropZonePicture::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  ShowDropList();
}

}  // namespace korva
