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

// The toolkit's data manager: the storages that hold data objects, and the data classes known.
class ZafDataManager {
public:
    explicit ZafDataManager(ZafStorage* storage = nullptr);
    void Add(ZafStorage* storage);
    void AddDataClass(int identifier, const char* name);
    bool Holds(const ZafStorage* storage) const;
    bool KnowsDataClass(int identifier) const;

private:
    QList<ZafStorage*> storages_;
    QList<int> dataClasses_;
};
