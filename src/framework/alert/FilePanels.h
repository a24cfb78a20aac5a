#pragma once

#include <QList>
#include <QString>
#include <functional>

class QWidget;

// What an open or save panel asks: its kind (the caller's name for it), whether it saves, the
// file type and the suggested file name.
struct FilePanelRequest {
  QString kind;
  bool save = true;
  QString fileType;
  QString suggestedName;
};

// A panel's title and the folder it starts in (empty: the home folder).
struct FilePanelOptions {
  QString title;
  QString directory;
};

// The one road of every open and save panel, beside ModalQuestions: a panel runs here, so that
// tests (and automation) answer it by script, without a window. An empty answer is a cancel.
class FilePanels {
public:
  using Responder = std::function<QString(const FilePanelRequest &)>;
  static void setResponder(Responder responder);
  static bool hasResponder();

  // Runs the panel window-modal on `parent` (the responder answers instead when installed).
  // Answers the chosen path, with the file type added when the name lacks it; empty on cancel.
  static QString run(const FilePanelRequest &request, QWidget *parent);
  static QString run(const FilePanelRequest &request, QWidget *parent, const FilePanelOptions &options);
  // The options of the last panel run (what a scripted answer cannot see).
  static FilePanelOptions lastOptions();
};

// A script for tests: answers every panel with `path` and remembers what was asked.
class ScriptedFilePanels {
public:
  explicit ScriptedFilePanels(QString path);
  ~ScriptedFilePanels();
  ScriptedFilePanels(const ScriptedFilePanels &) = delete;
  ScriptedFilePanels &operator=(const ScriptedFilePanels &) = delete;
  const QList<FilePanelRequest> &asked() const { return asked_; }

private:
  QString path_;
  QList<FilePanelRequest> asked_;
};
