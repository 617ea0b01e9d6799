// About, the two documents of the Help menu, and the help files shipped beside the program.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScopeGuard>

#include "app/DocumentShell.h"
#include "core/PlatformPaths.h"
#include "tests/app/MainWindowFixture.h"

using namespace tolm;

namespace {

struct RecordingShell : DocumentShell {
    bool answer = true;
    QStringList opened;
    QWidget* owner = nullptr;
    bool open(const QString& path, QWidget* ownerWindow) override {
        opened << path;
        owner = ownerWindow;
        return answer;
    }
};

using HelpTest = MainWindowFixture;

}  // namespace

TEST_F(HelpTest, AboutShowsItsFactsAndDocumentsAreShippedOpenedByTheShellOrReported) {
    RecordingShell shell;
    setDocumentShell(&shell);
    const auto unsetShell = qScopeGuard([] { setDocumentShell(nullptr); });
    open();
    dialogs.formScripts.push_back([](QDialog& dialog) {
        const QString text = dialog.findChild<QLabel*>(QStringLiteral("aboutLabel"))->text();
        EXPECT_EQ(dialog.windowTitle(), "About TOLM");
        EXPECT_EQ(dialog.size(), QSize(487, 239));
        EXPECT_TRUE(text.contains(">Version: 2.1.3<")) << qPrintable(text);
        EXPECT_TRUE(text.contains(">PNR 741-508-102-103<"));
        EXPECT_TRUE(text.contains(">Built: Jul 16 2008 15:24:05<"));
        for (const char* placeholder : {"version_string", "pnr_string", "build_date_time"}) {
            EXPECT_FALSE(text.contains(QLatin1String(placeholder))) << placeholder;
        }
        return int(QDialog::Accepted);
    });
    choose("PDI_HELP~PUI_HELP_ABOUT");
    EXPECT_TRUE(dialogs.formScripts.empty());  // the About dialog was shown

    // Documents missing are reported with their path.
    const QString guide = executableDirectory() + "/DOC-604-Rev3.pdf";
    const QString notes = executableDirectory() + "/releasenotes.pdf";
    ASSERT_FALSE(QFile::exists(guide));  // the test programs' directory holds no documents
    choose("PDI_HELP~PUI_HELP_USER_GUIDE");
    choose("PDI_HELP~PUI_HELP_RELEASE_NOTES");
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Warning, "Error", "File not found: " + guide},
                     {MessageKind::Warning, "Error", "File not found: " + notes}}));
    EXPECT_TRUE(shell.opened.isEmpty());

    // An existing document goes to the shell, which may fail.
    dialogs.clear();
    const QString shipped = testenv::binDir() + "/DOC-604-Rev3.pdf";
    window->OpenDocument(shipped);
    EXPECT_EQ(shell.opened, QStringList{shipped});
    EXPECT_EQ(shell.owner, window.data());
    EXPECT_TRUE(dialogs.messages.empty());
    shell.answer = false;
    window->OpenDocument(shipped);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.last().title, "Error");
    EXPECT_EQ(dialogs.last().text, "Failed to open '" + shipped + '\'');

    // The help files and the documents are shipped beside the program.
    const QDir bin(testenv::binDir());
    for (const char* name :
         {"BRIX_AutoDownloadHelp.txt", "BRIX_ClearHelp.txt", "BRIX_AircraftInfoHelp.txt",
          "BRIX_OtherFunctionsHelp.txt", "BRIX_UtilitiesHelp.txt"}) {
        QFile help(bin.filePath(QLatin1String(name)));
        ASSERT_TRUE(help.open(QIODevice::ReadOnly)) << name;
        EXPECT_GT(help.size(), 100) << name;
    }
    for (const char* name : {"DOC-604-Rev3.pdf", "releasenotes.pdf"}) {
        QFile pdf(bin.filePath(QLatin1String(name)));
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(pdf.read(5) == "%PDF-") << name;
        EXPECT_GT(pdf.size(), 10000) << name;
    }
}
