// Turns a Markdown source into a PDF document at build time: tolm_docgen <source.md> <out.pdf>
// <title>. Runs headless on the offscreen platform; page numbers are added by the layout.
// Pictures are found beside the source; one wider than the text is drawn at the text's width.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

namespace {

// The width of the text on the page, in the document's units (pixels at 96 dpi): A4 less the
// page margins below and the 2 cm margins that printing adds on each side.
constexpr double kTextWidth = 480.0;

// Names every picture by its file and gives one wider than the text the text's width, keeping
// its proportions. A picture that cannot be read stops the build.
void fitPictures(QTextDocument& document) {
    struct Picture {
        int position;
        QTextImageFormat format;
    };
    QList<Picture> pictures;  // collected first: changing a format may merge fragments
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                pictures.append(
                    {it.fragment().position(), it.fragment().charFormat().toImageFormat()});
            }
        }
    }
    for (Picture& picture : pictures) {
        QTextImageFormat& image = picture.format;
        // Named by its absolute path: printing lays out a copy of the document, which does not
        // know where the source was.
        const QString path = document.baseUrl().resolved(QUrl(image.name())).toLocalFile();
        const QImage pixels(path);
        if (pixels.isNull()) {
            std::fprintf(stderr, "tolm_docgen: no picture %s\n", qPrintable(path));
            std::exit(1);
        }
        image.setName(QUrl::fromLocalFile(path).toString());
        if (pixels.width() > kTextWidth) {
            image.setWidth(kTextWidth);
            image.setHeight(kTextWidth * pixels.height() / pixels.width());
        }
        QTextCursor cursor(&document);
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + 1, QTextCursor::KeepAnchor);  // the one character
        cursor.setCharFormat(image);
    }
}

}  // namespace

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
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(source).absolutePath() + QLatin1Char('/')));
    document.setMarkdown(QString::fromUtf8(source.readAll()));
    fitPictures(document);

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
