#pragma once
// The toolkit's file dialog: a filter, an initial directory, a modal run that reports a cancel
// with its own result code, and the chosen file name.
#include <QString>

#include "toolkit/ZafEvent.h"

class ZafFileDialog {
public:
    enum class Mode { Open, Save };
    explicit ZafFileDialog(Mode mode = Mode::Open) : mode_(mode) {}

    void SetFilter(const QString& filter) { filter_ = filter; }
    QString Filter() const { return filter_; }
    void SetInitialDirectory(const QString& directory) { directory_ = directory; }
    QString InitialDirectory() const { return directory_; }
    void SetCaption(const QString& caption) { caption_ = caption; }

    // S_DIALOG_OK with a file chosen, S_FILE_DIALOG_CANCEL otherwise.
    ZafEventType RunModal();
    // The chosen name, cut to fit a buffer of bufferSize characters with its terminator.
    QString FileName(int bufferSize) const { return fileName_.left(bufferSize - 1); }
    QString FileName() const { return fileName_; }

private:
    Mode mode_;
    QString filter_;
    QString directory_;
    QString caption_;
    QString fileName_;
};
