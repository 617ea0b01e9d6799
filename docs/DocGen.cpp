// Turns a Markdown source into a PDF document at build time: tolm_docgen <source.md> <out.pdf>
// <title>. Runs headless on the offscreen platform; page numbers are added by the layout.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <source.md> <out.pdf> <title>\n", argv[0]);
        return 2;
    }
    // A build machine has no display and may have no runtime directory.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime(QDir::tempPath() + QStringLiteral("/tolm-docgen-XXXXXX"));
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid()) {
        QFile::setPermissions(runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    }
    QGuiApplication app(argc, argv);

    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "tolm_docgen: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    document.setMarkdown(QString::fromUtf8(source.readAll()));

    const QString output = QString::fromLocal8Bit(argv[2]);
    QPdfWriter writer(output);
    writer.setTitle(QString::fromLocal8Bit(argv[3]));
    writer.setCreator(QStringLiteral("TOLM"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter));
    writer.setResolution(300);
    document.print(&writer);
    if (!QFile::exists(output)) {
        std::fprintf(stderr, "tolm_docgen: %s was not written\n", argv[2]);
        return 1;
    }
    return 0;
}
