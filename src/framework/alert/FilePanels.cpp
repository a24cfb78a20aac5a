#include "FilePanels.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {
FilePanels::Responder &responder() {
  static FilePanels::Responder r;
  return r;
}

FilePanelOptions &lastPanelOptions() {
  static FilePanelOptions options;
  return options;
}
} // namespace

void FilePanels::setResponder(Responder r) {
  responder() = std::move(r);
}

bool FilePanels::hasResponder() {
  return bool(responder());
}

QString FilePanels::run(const FilePanelRequest &request, QWidget *parent) {
  return run(request, parent, FilePanelOptions());
}

FilePanelOptions FilePanels::lastOptions() {
  return lastPanelOptions();
}

QString FilePanels::run(const FilePanelRequest &request, QWidget *parent, const FilePanelOptions &options) {
  lastPanelOptions() = options;
  QString path;
  if (responder()) {
    path = responder()(request);
  } else {
    QFileDialog panel(parent);
    panel.setObjectName(request.kind);
    panel.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    panel.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    panel.setOption(QFileDialog::DontUseNativeDialog, true);
    panel.setWindowModality(Qt::WindowModal);
    if (!request.fileType.isEmpty()) {
      panel.setDefaultSuffix(request.fileType);
      panel.setNameFilter(QStringLiteral("*.") + request.fileType);
    }
    panel.setDirectory(options.directory.isEmpty() ? QDir::homePath() : options.directory);
    if (!options.title.isEmpty())
      panel.setWindowTitle(options.title);
    if (!request.suggestedName.isEmpty())
      panel.selectFile(request.suggestedName);
    if (panel.exec() == QDialog::Accepted)
      path = panel.selectedFiles().value(0);
  }
  if (path.isEmpty())
    return {};
  if (request.save && !request.fileType.isEmpty() &&
      QFileInfo(path).suffix().compare(request.fileType, Qt::CaseInsensitive) != 0)
    path += u'.' + request.fileType;
  return path;
}

ScriptedFilePanels::ScriptedFilePanels(QString path) : path_(std::move(path)) {
  FilePanels::setResponder([this](const FilePanelRequest &request) {
    asked_ << request;
    return path_;
  });
}

ScriptedFilePanels::~ScriptedFilePanels() {
  FilePanels::setResponder({});
}
