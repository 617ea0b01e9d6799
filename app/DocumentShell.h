#pragma once
// Opening a document with the operating system's viewer: the shell's "open" verb on Windows,
// the desktop's default application elsewhere. Tests install their own shell.
#include <QString>

class QWidget;

namespace tolm {

class DocumentShell {
public:
    virtual ~DocumentShell() = default;
    // Asks the system to open the file at path, with owner as the owning window; false when
    // no viewer could be started.
    virtual bool open(const QString& path, QWidget* owner) = 0;
};

// The shell in use: the system's unless a test installed another.
DocumentShell& documentShell();
// Installs a shell (nullptr restores the system's). The caller keeps ownership.
void setDocumentShell(DocumentShell* shell);

}  // namespace tolm
