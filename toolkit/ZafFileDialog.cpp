#include "toolkit/ZafFileDialog.h"

#include "toolkit/UserDialogs.h"

ZafEventType ZafFileDialog::RunModal() {
    fileName_ = mode_ == Mode::Open
                    ? userDialogs().openFileName(caption_, directory_, filter_, nullptr)
                    : chooseSaveFileName(caption_, directory_, filter_, nullptr);
    return fileName_.isEmpty() ? S_FILE_DIALOG_CANCEL : S_DIALOG_OK;
}
