#pragma once
// The reader that builds windows from a window resource file. It knows the toolkit's object
// classes by name: the standard ones are built on Qt widgets, BRIXButton and BRIXGroup are ours.
// Forms may name objects by their Qt class or by the toolkit class name.
#include <QUiLoader>
#include <vector>

class ZafStorage;

class UserPersist : public QUiLoader {
public:
    struct ClassEntry {
        int identifier;
        const char* name;
        const char* qtClass;  // the widget that implements it (empty for data classes)
    };
    static constexpr int kEndOfTable = 0xFFFF;

    explicit UserPersist(ZafStorage* storage);

    ZafStorage* Storage() const { return storage_; }
    bool Contains(const QString& windowName) const;
    // Builds the form of that window as a child of parent; nullptr when there is none.
    QWidget* Load(const QString& windowName, QWidget* parent);

    // The registration tables, each ended by an entry with the identifier 0xFFFF.
    static const std::vector<ClassEntry>& DataClasses();
    static const std::vector<ClassEntry>& ObjectClasses();

protected:
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override;

private:
    QString PathOf(const QString& windowName) const;
    ZafStorage* storage_;
};
