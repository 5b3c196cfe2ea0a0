#include "platform/print/PrintDocument.h"

#include "platform/print/Printers.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FileUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <memory>

const QString PdfFilePrinter = QStringLiteral("PDF file");

bool IsPdfFilePrinter(const QString& Name)
{
    return Name == PdfFilePrinter;
}

QStringList PrinterChoices()
{
    const QStringList names = PrinterNames();
    return names.isEmpty() ? QStringList{PdfFilePrinter} : names;
}

namespace {

enum class TDocKind { Pdf, PostScript, Text, Picture, Office };

TDocKind KindOf(const QString& Document)
{
    const QString ext = QFileInfo(Document).suffix().toLower();
    if (ext == QLatin1String("pdf"))
        return TDocKind::Pdf;
    if (ext == QLatin1String("ps"))
        return TDocKind::PostScript;
    static const QStringList text{QStringLiteral("txt"), QStringLiteral("csv"), QStringLiteral("tsv"), QStringLiteral("log"),
                                  QStringLiteral("prn"), QStringLiteral("ini")};
    if (text.contains(ext))
        return TDocKind::Text;
    static const QStringList pictures{QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("bmp"),
                                      QStringLiteral("gif")};
    if (pictures.contains(ext))
        return TDocKind::Picture;
    return TDocKind::Office;
}

QString DecodeText(const QByteArray& Bytes)
{
    // a byte-order mark names the encoding; else UTF-8, else the Windows letters of older files
    auto enc = QStringConverter::encodingForData(Bytes);
    if (enc) {
        QStringDecoder d(*enc, QStringDecoder::Flag::ConvertInitialBom);
        return d.decode(Bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString s = utf8.decode(Bytes);
    if (!utf8.hasError())
        return s;
    QStringDecoder cp1252("windows-1252");
    return cp1252.isValid() ? QString(cp1252.decode(Bytes)) : QString::fromLatin1(Bytes);
}

std::unique_ptr<QPdfWriter> A4Writer(const QString& PdfFile, const QString& Title)
{
    auto w = std::make_unique<QPdfWriter>(PdfFile);
    w->setPageSize(QPageSize(QPageSize::A4));
    w->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    w->setResolution(300);
    w->setTitle(Title);
    return w;
}

// Lines of the text, tabs expanded, each cut into pieces of at most Width
// characters so that nothing of a long line is lost.
QStringList PageLines(const QString& Text, int Width)
{
    QStringList out;
    QString all = Text;
    all.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (all.endsWith(QLatin1Char('\n')))
        all.chop(1);
    for (const QString& raw : all.split(QLatin1Char('\n'))) {
        QString line;
        for (const QChar c : raw)
            line += c == QLatin1Char('\t') ? QString(8 - line.size() % 8, QLatin1Char(' ')) : QString(c);
        do {
            out << line.left(Width);
            line.remove(0, Width);
        } while (!line.isEmpty());
    }
    return out;
}

void TextToPdf(const QString& Document, const QString& PdfFile)
{
    QFile f(Document);
    if (!f.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot read file \"%1\". %2").arg(Document, f.errorString()));
    const QString text = DecodeText(f.readAll());
    auto w = A4Writer(PdfFile, QFileInfo(Document).fileName());
    QPainter p;
    if (!p.begin(w.get()))
        throw Exception(QStringLiteral("Cannot write file \"%1\".").arg(PdfFile));
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(9);
    p.setFont(font);
    const QFontMetrics fm(font, w.get());
    const QRect page = w->pageLayout().paintRectPixels(w->resolution());
    const int width = std::max(10, page.width() / std::max(1, fm.horizontalAdvance(QLatin1Char('M'))));
    const int perPage = std::max(1, page.height() / std::max(1, fm.lineSpacing()));
    const QStringList lines = PageLines(text, width);
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0 && i % perPage == 0)
            w->newPage();
        p.drawText(0, (i % perPage) * fm.lineSpacing() + fm.ascent(), lines[i]);
    }
    p.end();
}

void PictureToPdf(const QString& Document, const QString& PdfFile)
{
    QImageReader reader(Document);
    const QImage img = reader.read();
    if (img.isNull())
        throw Exception(QStringLiteral("Cannot read picture \"%1\". %2").arg(Document, reader.errorString()));
    auto w = A4Writer(PdfFile, QFileInfo(Document).fileName());
    QPainter p;
    if (!p.begin(w.get()))
        throw Exception(QStringLiteral("Cannot write file \"%1\".").arg(PdfFile));
    const QRect page = w->pageLayout().paintRectPixels(w->resolution());
    // pictures are taken at screen size (96 pixels an inch) and made smaller to fit the page
    QSize size = img.size() * (double(w->resolution()) / 96.0);
    if (size.width() > page.width() || size.height() > page.height())
        size = size.scaled(page.size(), Qt::KeepAspectRatio);
    p.drawImage(QRect(QPoint(0, 0), size), img);
    p.end();
}

// One LibreOffice profile per process: LibreOffice keeps one running
// instance per profile, so a user's open office window neither takes over
// the conversion nor sees it.
QString OfficeProfile()
{
    static QTemporaryDir profile(QDir::temp().filePath(QStringLiteral("sorvex-office-XXXXXX")));
    return profile.path();
}

void OfficeToPdf(const QString& Document, const QString& PdfFile)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        throw Exception(QStringLiteral("LibreOffice (soffice) is not installed, so \"%1\" cannot be converted for printing.")
                            .arg(Document));
    QTemporaryDir out(QDir::temp().filePath(QStringLiteral("sorvex-print-XXXXXX")));
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + OfficeProfile(), QStringLiteral("--headless"),
                      QStringLiteral("--norestore"), QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"),
                      out.path(), QFileInfo(Document).absoluteFilePath()});
    if (!p.waitForStarted(30000) || !p.waitForFinished(180000)) {
        p.kill();
        p.waitForFinished(5000);
        throw Exception(QStringLiteral("LibreOffice did not convert \"%1\": %2").arg(Document, p.errorString()));
    }
    const QString made = QDir(out.path()).filePath(QFileInfo(Document).completeBaseName() + QStringLiteral(".pdf"));
    if (!QFileInfo::exists(made))
        throw Exception(QStringLiteral("LibreOffice could not convert \"%1\". %2")
                            .arg(Document, QString::fromLocal8Bit(p.readAll()).trimmed()));
    QFile::remove(PdfFile);
    if (!QFile::rename(made, PdfFile) && !QFile::copy(made, PdfFile))
        throw Exception(QStringLiteral("Cannot write file \"%1\".").arg(PdfFile));
}

}  // namespace

void ConvertDocumentToPdf(const QString& Document, const QString& PdfFile)
{
    if (!QFileInfo(Document).isFile())
        throw Exception(QStringLiteral("File \"%1\" does not exist.").arg(Document));
    // the new PDF is made beside the target and put in place whole
    QTemporaryFile tmp(QFileInfo(PdfFile).absoluteDir().filePath(QStringLiteral(".print-XXXXXX.pdf")));
    if (!tmp.open())
        throw Exception(QStringLiteral("Cannot write file \"%1\". %2").arg(PdfFile, tmp.errorString()));
    tmp.close();
    switch (KindOf(Document)) {
    case TDocKind::Pdf:
        QFile::remove(tmp.fileName());
        if (!QFile::copy(Document, tmp.fileName()))
            throw Exception(QStringLiteral("Cannot write file \"%1\".").arg(PdfFile));
        break;
    case TDocKind::Text: TextToPdf(Document, tmp.fileName()); break;
    case TDocKind::Picture: PictureToPdf(Document, tmp.fileName()); break;
    case TDocKind::PostScript:
    case TDocKind::Office: OfficeToPdf(Document, tmp.fileName()); break;
    }
    QFile::remove(PdfFile);
    if (!QFile::rename(tmp.fileName(), PdfFile))
        throw Exception(QStringLiteral("Cannot write file \"%1\".").arg(PdfFile));
    tmp.setAutoRemove(false);
    SetUserFileMode(PdfFile);
}

void PrintDocument(const QString& Document, const QString& Printer, int Copies)
{
    if (IsPdfFilePrinter(Printer))
        throw Exception(QStringLiteral("Choose a file for the PDF printer."));
    const QString lp = QStandardPaths::findExecutable(QStringLiteral("lp"));
    if (lp.isEmpty())
        throw Exception(QStringLiteral("The printing system (lp) is not installed."));
    QString pdf = Document;
    QTemporaryDir dir(QDir::temp().filePath(QStringLiteral("sorvex-print-XXXXXX")));
    const TDocKind kind = KindOf(Document);
    if (kind != TDocKind::Pdf && kind != TDocKind::PostScript) {
        pdf = QDir(dir.path()).filePath(QFileInfo(Document).completeBaseName() + QStringLiteral(".pdf"));
        ConvertDocumentToPdf(Document, pdf);
    }
    QStringList args;
    if (!Printer.isEmpty())
        args << QStringLiteral("-d") << Printer;
    if (Copies > 1)
        args << QStringLiteral("-n") << QString::number(Copies);
    args << QStringLiteral("-t") << QFileInfo(Document).fileName() << QStringLiteral("--") << pdf;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(lp, args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished(5000);
        throw Exception(QStringLiteral("The printing system did not take \"%1\": %2").arg(Document, p.errorString()));
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw Exception(QString::fromLocal8Bit(p.readAll()).trimmed());
}
