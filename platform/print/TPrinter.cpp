#include "platform/print/TPrinter.h"

#include "platform/print/Printers.h"
#include "platform/rtl/Exception.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
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
    if (FImpl->Image)
        FImpl->SaveImage(OutputFileName, FPageNumber);
    else
        FImpl->Printer->newPage();
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
}

int TPrinter::PageWidth() const
{
    if (FImpl->Image)
        return FImpl->Image->width();
    return FImpl->Printer ? FImpl->Printer->width() : 0;
}

int TPrinter::PageHeight() const
{
    if (FImpl->Image)
        return FImpl->Image->height();
    return FImpl->Printer ? FImpl->Printer->height() : 0;
}

int TPrinter::PixelsPerInchX() const
{
    if (FImpl->Image)
        return FImpl->Image->logicalDpiX();
    return FImpl->Printer ? FImpl->Printer->logicalDpiX() : Resolution;
}

int TPrinter::PixelsPerInchY() const
{
    if (FImpl->Image)
        return FImpl->Image->logicalDpiY();
    return FImpl->Printer ? FImpl->Printer->logicalDpiY() : Resolution;
}
