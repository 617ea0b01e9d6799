#pragma once
// A window resource file: a Qt binary resource bundle (packed with rcc) holding one Designer
// form per window name, opened read-only.
#include <QList>
#include <QString>

class ZafStorage {
public:
    explicit ZafStorage(const QString& path);
    ~ZafStorage();
    ZafStorage(const ZafStorage&) = delete;
    ZafStorage& operator=(const ZafStorage&) = delete;

    // True when the file is missing or is not a resource bundle.
    bool Error() const { return error_; }
    QString FileName() const { return path_; }
    // Where the bundle's content is mounted in Qt's resource system (":<root>/<name>.ui").
    QString Root() const { return root_; }

private:
    QString path_;
    QString root_;
    bool error_ = true;
};
