#include "platform/print/TPrinter.h"

#include "platform/print/Printers.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FileUtils.h"

#include <QFile>
#include <QFontMetrics>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <cmath>
#include <cstdio>

struct TPrinter::TImpl {
    std::unique_ptr<QPrinter> Printer;
    // pages drawn into images ("name.png" gives name-1.png, name-2.png ...)
    std::unique_ptr<QImage> Image;
    void SaveImage(const QString& Name, int Page)
    {
        QString n = Name;
        n.insert(n.size() - 4, QStringLiteral("-%1").arg(Page));
        Image->save(n);
        Image->fill(Qt::white);
    }
    QPainter Painter;
    std::unique_ptr<QTemporaryFile> Tmp;
    // the canvas font last used for cells, and its Qt form
    struct TCellFont {
        QString Name;
        int Size = 0, Ppi = 0;
        unsigned Style = 0;
        TColor Color = clBlack;
        QFont Font;
        std::unique_ptr<QFontMetrics> Metrics;
        int Ascent = 0;
    } Cell;
    void UseCellFont(const TFont& F)
    {
        if (Cell.Metrics && Cell.Name == F.Name() && Cell.Size == F.Size() && Cell.Ppi == F.PixelsPerInch && Cell.Style == F.Style() &&
            Cell.Color == F.Color())
            return;
        Cell.Name = F.Name();
        Cell.Size = F.Size();
        Cell.Ppi = F.PixelsPerInch;
        Cell.Style = F.Style();
        Cell.Color = F.Color();
        Cell.Font = F.ToQFont();
        Cell.Metrics = std::make_unique<QFontMetrics>(Cell.Font, Painter.device());
        Cell.Ascent = Cell.Metrics->ascent();
        Painter.setFont(Cell.Font);
        Painter.setPen(ToQColor(F.Color()));
    }
    // preview pages in memory
    std::vector<std::unique_ptr<TBitmap>> Pages;
    int PreviewW = 0, PreviewH = 0, PreviewDpi = 0;
    bool Preview() const { return PreviewW > 0; }
    QImage& StartPreviewPage()
    {
        auto b = std::make_unique<TBitmap>(PreviewW, PreviewH);
        QImage& img = b->Image();
        img.setDotsPerMeterX(int(std::lround(PreviewDpi * 10000 / 254.0)));
        img.setDotsPerMeterY(int(std::lround(PreviewDpi * 10000 / 254.0)));
        img.fill(Qt::white);
        Pages.push_back(std::move(b));
        return img;
    }
};

TPrinter::TPrinter() : FImpl(std::make_unique<TImpl>()) {}

TPrinter::~TPrinter()
{
    if (FPrinting)
        Abort();
}

void TPrinter::BeginDoc()
{
    if (FPrinting)
        throw Exception(QStringLiteral("Printing is already in progress."));
    if (PreviewMaxWidth > 0) {
        // an A4 page of the printer's resolution, scaled down to the preview's width
        const bool land = Orientation == poLandscape;
        const double w = Resolution * 210 / 25.4, h = Resolution * 297 / 25.4;
        const double s = std::max(1.0, (land ? h : w) / PreviewMaxWidth);
        FImpl->PreviewW = int(std::nearbyint((land ? h : w) / s));
        FImpl->PreviewH = int(std::nearbyint((land ? w : h) / s));
        FImpl->PreviewDpi = int(std::nearbyint(Resolution / s));
        FImpl->Pages.clear();
        FImpl->Painter.begin(&FImpl->StartPreviewPage());
        FCanvas.BeginPaint(&FImpl->Painter, TRect{0, 0, PageWidth(), PageHeight()});
        FPrinting = true;
        FPageNumber = 1;
        return;
    }
    if (OutputFileName.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        const bool land = Orientation == poLandscape;
        const int w = Resolution * 210 * 10 / 254, h = Resolution * 297 * 10 / 254;
        FImpl->Image = std::make_unique<QImage>(land ? h : w, land ? w : h, QImage::Format_RGB32);
        FImpl->Image->setDotsPerMeterX(Resolution * 10000 / 254);
        FImpl->Image->setDotsPerMeterY(Resolution * 10000 / 254);
        FImpl->Image->fill(Qt::white);
        FImpl->Painter.begin(FImpl->Image.get());
        FCanvas.BeginPaint(&FImpl->Painter, TRect{0, 0, PageWidth(), PageHeight()});
        FPrinting = true;
        FPageNumber = 1;
        return;
    }
    auto p = std::make_unique<QPrinter>(QPrinter::PrinterResolution);
    const bool pdf = OutputFileName.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
    if (pdf) {
        FImpl->Tmp = std::make_unique<QTemporaryFile>(QFileInfo(OutputFileName).absolutePath() + QStringLiteral("/.print-XXXXXX.pdf"));
        if (!FImpl->Tmp->open())
            throw Exception(QStringLiteral("Cannot write file \"%1\".").arg(OutputFileName));
        FImpl->Tmp->close();
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(FImpl->Tmp->fileName());
    } else {
        const QString name = PrinterName.isEmpty() ? DefaultPrinterName() : PrinterName;
        if (name.isEmpty() || !PrinterNames().contains(name))
            throw Exception(QStringLiteral("Printer \"%1\" not found.").arg(name));
        p->setPrinterName(name);
    }
    p->setResolution(Resolution);
    p->setDocName(Title);
    p->setPageOrientation(Orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    p->setFullPage(false);
    FImpl->Printer = std::move(p);
    if (!FImpl->Painter.begin(FImpl->Printer.get()))
        throw Exception(QStringLiteral("Cannot start printing."));
    FCanvas.BeginPaint(&FImpl->Painter, TRect{0, 0, PageWidth(), PageHeight()});
    FPrinting = true;
    FPageNumber = 1;
}

void TPrinter::NewPage()
{
    if (!FPrinting)
        return;
    if (FImpl->Preview()) {
        FCanvas.EndPaint();
        FImpl->Painter.end();
        FImpl->Painter.begin(&FImpl->StartPreviewPage());
        FCanvas.BeginPaint(&FImpl->Painter, TRect{0, 0, PageWidth(), PageHeight()});
    } else if (FImpl->Image) {
        FImpl->SaveImage(OutputFileName, FPageNumber);
    } else {
        FImpl->Printer->newPage();
    }
    ++FPageNumber;
}

void TPrinter::EndDoc()
{
    if (!FPrinting)
        return;
    FCanvas.EndPaint();
    if (FImpl->Image)
        FImpl->SaveImage(OutputFileName, FPageNumber);
    FImpl->Painter.end();
    FPrinting = false;
    if (FImpl->Tmp) {
        // rename() puts the finished file in place in one step
        const QByteArray from = QFile::encodeName(FImpl->Tmp->fileName());
        FImpl->Tmp->setAutoRemove(false);
        const bool ok = std::rename(from.constData(), QFile::encodeName(OutputFileName).constData()) == 0;
        if (ok)
            SetUserFileMode(OutputFileName);
        FImpl->Tmp.reset();
        if (!ok) {
            QFile::remove(QString::fromLocal8Bit(from));
            throw Exception(QStringLiteral("Cannot write file \"%1\".").arg(OutputFileName));
        }
    }
}

void TPrinter::Abort()
{
    if (!FPrinting)
        return;
    FCanvas.EndPaint();
    if (FImpl->Printer)
        FImpl->Printer->abort();
    FImpl->Painter.end();
    FPrinting = false;
    FImpl->Tmp.reset();  // removes the unfinished PDF
    FImpl->Pages.clear();
}

void TPrinter::DrawCellText(const TRect& R, const QString& Text, unsigned Align)
{
    if (!FPrinting)
        return;
    FImpl->UseCellFont(*FCanvas.Font());
    // the canvas may have set its own font or pen since: ours go back on
    if (FImpl->Painter.font() != FImpl->Cell.Font)
        FImpl->Painter.setFont(FImpl->Cell.Font);
    const QColor color = ToQColor(FImpl->Cell.Color);
    if (FImpl->Painter.pen().color() != color || FImpl->Painter.pen().style() != Qt::SolidLine)
        FImpl->Painter.setPen(color);
    const QFontMetrics& fm = *FImpl->Cell.Metrics;
    QString shown = Text;
    int w = fm.horizontalAdvance(shown);
    if (w > R.Width()) {
        shown = fm.elidedText(Text, Qt::ElideRight, std::max(0, R.Width()));
        w = fm.horizontalAdvance(shown);
    }
    int x = R.Left;
    if (Align & DT_CENTER)
        x = R.Left + (R.Width() - w) / 2;
    else if (Align & DT_RIGHT)
        x = R.Right - w;
    FImpl->Painter.drawText(x, R.Top + FImpl->Cell.Ascent, shown);
}

std::vector<std::unique_ptr<TBitmap>> TPrinter::TakePreviewPages()
{
    return std::move(FImpl->Pages);
}

int TPrinter::PageWidth() const
{
    if (FImpl->Preview())
        return FImpl->PreviewW;
    if (FImpl->Image)
        return FImpl->Image->width();
    return FImpl->Printer ? FImpl->Printer->width() : 0;
}

int TPrinter::PageHeight() const
{
    if (FImpl->Preview())
        return FImpl->PreviewH;
    if (FImpl->Image)
        return FImpl->Image->height();
    return FImpl->Printer ? FImpl->Printer->height() : 0;
}

int TPrinter::PixelsPerInchX() const
{
    if (FImpl->Preview())
        return FImpl->PreviewDpi;
    if (FImpl->Image)
        return FImpl->Image->logicalDpiX();
    return FImpl->Printer ? FImpl->Printer->logicalDpiX() : Resolution;
}

int TPrinter::PixelsPerInchY() const
{
    if (FImpl->Preview())
        return FImpl->PreviewDpi;
    if (FImpl->Image)
        return FImpl->Image->logicalDpiY();
    return FImpl->Printer ? FImpl->Printer->logicalDpiY() : Resolution;
}
