#include "app/DocumentShell.h"

#include <QWidget>

#ifdef Q_OS_WIN
#include <shellapi.h>
#include <windows.h>
#else
#include <QDesktopServices>
#include <QUrl>
#endif

namespace tolm {

namespace {

class SystemShell : public DocumentShell {
public:
    bool open(const QString& path, QWidget* owner) override {
#ifdef Q_OS_WIN
        const HWND window = owner ? reinterpret_cast<HWND>(owner->winId()) : nullptr;
        const QByteArray file = path.toLocal8Bit();
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteA(window, "open", file.constData(), nullptr, nullptr, SW_SHOWNORMAL));
        return result > 32;
#else
        Q_UNUSED(owner);
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#endif
    }
};

SystemShell systemShell;
DocumentShell* current = &systemShell;

}  // namespace

DocumentShell& documentShell() {
    return *current;
}

void setDocumentShell(DocumentShell* shell) {
    current = shell ? shell : &systemShell;
}

}  // namespace tolm
