#include "components/output/TDBPrintDirect.h"

#include "resources/ExportTexts.h"
#include "resources/PrintTexts.h"

#include <cmath>

namespace {
int Round(double v)
{
    return int(std::nearbyint(v));  // halves to the even neighbour
}
}  // namespace

TDBPrintDirect::TDBPrintDirect(TComponent* AOwner) : TExportEngine(AOwner)
{
    ActionAfter = aaNone;
}

void TDBPrintDirect::InitPage()
{
    mmx = Round(FPrinter->PixelsPerInchX() / 25.4);
    mmy = Round(FPrinter->PixelsPerInchY() / 25.4);
    Hmargin = mmx * HMarginMM;
    Vmargin = mmy * VMarginMM;
    PageWidth = FPrinter->PageWidth();
    PageHeight = FPrinter->PageHeight();
    C = FPrinter->Canvas();
    C->Font()->PixelsPerInch = FPrinter->PixelsPerInchY();
    C->Font()->SetName(FontName);
    C->Font()->SetSize(FontSize);
    LineH = C->TextHeight(QStringLiteral("Wg"));
    LineHSpace = Round(LineH * LineSpaceRatio);
    ColVSpace = Round(mmx * (LineSpaceRatio + 1));
    CurY = Vmargin;
}

void TDBPrintDirect::ColumnWidths()
{
    ColW.clear();
    const int w = C->TextWidth(QStringLiteral("W"));
    long total = 0;
    for (const TExportColumn& c : FN) {
        ColW.push_back(std::clamp(c.Field ? c.Field->DisplayWidth() : 10, 5, 50) * w);
        total += ColW.back();
    }
    if (FitColumns && total > 0)
        for (int& cw : ColW)
            cw = int(std::floor(double(cw) * (PageWidth - 2 * Hmargin) / double(total)));
}

void TDBPrintDirect::SepLine(int Width)
{
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetWidth(Width);
    C->MoveTo(Hmargin, CurY + Width + 1);
    C->LineTo(PageWidth - Hmargin, CurY + Width + 1);
    CurY += 2 * Width + 1;
}

void TDBPrintDirect::PrintHeader()
{
    if (!Caption.isEmpty()) {
        TRect r{Hmargin, Round(Vmargin - 1.5 * LineH), PageWidth - Hmargin, Round(Vmargin - 0.5 * LineH)};
        C->DrawText(Caption, r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
        C->Pen()->SetWidth(2);
        C->MoveTo(Hmargin, r.Bottom);
        C->LineTo(PageWidth - Hmargin, r.Bottom);
    }
    PrintRow(true);
}

void TDBPrintDirect::PrintFooter()
{
    if (!PrintPageNumber)
        return;
    const int top = Round(PageHeight - Vmargin + 0.5 * LineH);
    TRect r{Hmargin, top, PageWidth - Hmargin, top + Round(1.1 * LineH)};
    C->DrawText(QString::number(FPrinter->PageNumber()), r, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    C->Pen()->SetWidth(2);
    C->MoveTo(Hmargin, top);
    C->LineTo(PageWidth - Hmargin, top);
}

void TDBPrintDirect::NewPage()
{
    PrintFooter();
    FPrinter->NewPage();
    CurY = Vmargin;
    PrintHeader();
}

void TDBPrintDirect::PrintCell(TRect R, const QString& Text, unsigned Align)
{
    R.Top = CurY;
    R.Bottom = CurY + LineH + LineHSpace;
    TRect t{R.Left + ColVSpace / 2, CurY + LineHSpace / 2, R.Right - ColVSpace / 2, CurY + LineHSpace / 2 + LineH};
    C->DrawText(Text.isEmpty() ? QStringLiteral(" ") : Text, t, Align | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (PrintGrid) {
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(R.Left, R.Top, R.Right + 1, R.Bottom + 1);
        C->Brush()->SetStyle(bsSolid);
    }
}

void TDBPrintDirect::PrintRow(bool IsTitle)
{
    const int h = LineH + LineHSpace;
    if (!IsTitle && CurY + h > PageHeight - Vmargin)
        NewPage();
    int x = Hmargin;
    bool wrapped = false;
    for (size_t i = 0; i < FN.size(); ++i) {
        const TExportColumn& c = FN[i];
        if (!c.Field)
            continue;
        if (x > Hmargin && x + ColW[i] > PageWidth - Hmargin) {
            CurY += h;
            x = Hmargin;
            wrapped = true;
        }
        const QString text = IsTitle ? c.Title : DisplayTextOf(c.Field);
        const TFieldAlignment a = c.Field->Alignment();
        PrintCell(TRect{x, 0, x + ColW[i], 0}, text,
                  a == TFieldAlignment::RightJustify ? DT_RIGHT : a == TFieldAlignment::Center ? DT_CENTER : 0u);
        x += ColW[i];
    }
    CurY += h;
    if (!PrintGrid && (IsTitle || wrapped)) {
        C->Pen()->SetStyle(IsTitle ? psSolid : psDot);
        SepLine(IsTitle ? 2 : 1);
        C->Pen()->SetStyle(psSolid);
    }
}

bool TDBPrintDirect::Run()
{
    TPrinter printer;
    printer.PrinterName = PrinterName;
    printer.OutputFileName = ExportFile;
    printer.Orientation = Orientation;
    printer.Title = Caption;
    FPrinter = &printer;
    FPages = 0;
    printer.BeginDoc();
    try {
        InitPage();
        ColumnWidths();
        PrintHeader();
        int printed = 0;
        const bool done = WalkRecords([&](int) {
            PrintRow(false);
            ++printed;
        });
        if (!done) {
            printer.Abort();
            return false;
        }
        if (PrintRecCount) {
            CurY += LineH;
            if (CurY + LineH > PageHeight - Vmargin)
                NewPage();
            TRect r{Hmargin, CurY, PageWidth - Hmargin, CurY + LineH};
            C->DrawText(exptxt::TotalRecords.arg(printed), r, DT_SINGLELINE | DT_NOPREFIX);
        }
        PrintFooter();
        FPages = printer.PageNumber();
        printer.EndDoc();
    } catch (...) {
        // the printer document is dropped after an error, not sent half done
        printer.Abort();
        throw;
    }
    return true;
}

QString TDBPrintDirect::ErrorText() const
{
    return prntxt::ErrorCreating;
}
