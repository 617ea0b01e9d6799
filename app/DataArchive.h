#pragma once
// File > compress: packs the whole data directory into one gzip-compressed tar archive with the
// external tar and gzip programs, and moves it to the name the user chose.
#include <QString>
#include <QStringList>

namespace tolm {

class DataArchive {
public:
    static inline const QString kDialogCaption = QStringLiteral("Save as...");
    // Asked (Yes, No) under the dialog's caption when the archive's name exists already.
    static inline const QString kOverwriteQuestion =
        QStringLiteral("File already exists. Do you want to overwrite it?");

    // The tools are looked for in toolDirectory first (the executable's directory), then on
    // the system path.
    explicit DataArchive(QString toolDirectory);

    // Asks for the target file and builds the archive; every failure ends in a message box.
    void Run();

    // The name the archive is stored under: the chosen one, with ".gz" appended unless it
    // already ends with ".gz" (exact case).
    static QString TargetName(const QString& chosen);
    // A command as a readable line: the program in quotes, arguments quoted when they hold
    // blanks or quotes.
    static QString CommandLine(const QString& program, const QStringList& arguments);
    // Where a tool is taken from; the path beside the executable when it is found nowhere.
    QString FindTool(const QString& name) const;

private:
    // Runs a tool and waits for it; false when it did not start, crashed or exited non-zero.
    bool RunTool(const QString& program, const QStringList& arguments) const;

    QString toolDirectory_;
};

}  // namespace tolm
