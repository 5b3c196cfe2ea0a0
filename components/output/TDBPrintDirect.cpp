#include "components/output/TDBPrintDirect.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rGlyphs.h"
#include "components/base/rpictool.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "components/dbcontrols/DataItemDefs.h"
#include "components/dbcontrols/TrDBRecView.h"
#include "components/stringgrid/rStringGridEd.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/TreeViews.h"
#include "platform/ui/DBGrids.h"
#include "resources/ExportTexts.h"
#include "resources/PrintTexts.h"

#include <cmath>

namespace {
bool IsNumericType(TFieldType T)
{
    return IsNumericFieldType(T);
}

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
    // a grid's columns keep their screen widths, measured in its own font's "W"
    int gridW = 0;
    if (SourceType == stGrid && DBGrid) {
        TCanvas g;
        g.Font()->Assign(*DBGrid->Font());
        gridW = std::max(1, g.TextWidth(QStringLiteral("W")));
    }
    long total = 0;
    for (const TExportColumn& c : FN) {
        TColumn* col = gridW > 0 ? ColumnOf(c.Field) : nullptr;
        if (col) {
            const int screen = col->Width() < 5 ? col->DefaultWidth() : col->Width();
            ColW.push_back(Round(double(screen) / gridW * w));
        } else {
            ColW.push_back(std::clamp(c.Field ? c.Field->DisplayWidth() : 10, 5, 50) * w);
        }
        total += ColW.back();
    }
    if (FitColumns && total > 0)
        for (int& cw : ColW)
            cw = int(std::floor(double(cw) * (PageWidth - 2 * Hmargin) / double(total)));
}

int TDBPrintDirect::RowLines() const
{
    int lines = 1;
    int x = Hmargin;
    for (size_t i = 0; i < FN.size(); ++i) {
        if (!FN[i].Field && FN[i].Col < 0)
            continue;
        if (x > Hmargin && x + ColW[i] > PageWidth - Hmargin) {
            ++lines;
            x = Hmargin;
        }
        x += ColW[i];
    }
    return lines;
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
    // record views and tree views have no title row
    if (SourceType != stRecView && SourceType != stTreeView)
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
    // white paper needs no white fill: only coloured cells are filled
    if (UseColors && C->Brush()->Color() != clWhite) {
        C->Brush()->SetStyle(bsSolid);
        C->FillRect(R);
    }
    const TRect t{R.Left + ColVSpace / 2, CurY + LineHSpace / 2, R.Right - ColVSpace / 2, CurY + LineHSpace / 2 + LineH};
    FPrinter->DrawCellText(t, Text, Align);
    if (PrintGrid) {
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(R.Left, R.Top, R.Right + 1, R.Bottom + 1);
        C->Brush()->SetStyle(bsSolid);
    }
}

void TDBPrintDirect::PrintTextCell(int Left, int Right, const QStringList& Lines, unsigned Align, int Indent, int Height)
{
    const TRect r{Left, CurY, Right, CurY + Height};
    if (UseColors && C->Brush()->Color() != clWhite) {
        C->Brush()->SetStyle(bsSolid);
        C->FillRect(r);
    }
    int y = CurY + LineHSpace / 2;
    for (const QString& line : Lines) {
        const TRect t{Left + Indent, y, Right - ColVSpace / 2, y + LineH};
        FPrinter->DrawCellText(t, line.isEmpty() ? QStringLiteral(" ") : line, Align);
        y += LineH + LineHSpace;
    }
    if (PrintGrid) {
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
        C->Brush()->SetStyle(bsSolid);
    }
}

void TDBPrintDirect::Fit(int Height)
{
    if (CurY + Height > PageHeight - Vmargin && CurY > Vmargin + LineH + LineHSpace)
        NewPage();
}

void TDBPrintDirect::ColumnStyle(size_t i, bool IsTitle)
{
    C->Font()->SetStyle(0);
    C->Font()->SetColor(clBlack);
    C->Brush()->SetColor(clWhite);
    if (SourceType == stStringGrid && FN[i].Col >= 0) {
        // the grid's own cell style; without "Use items color" in black on white
        if (TrStringGridEd* g = StringGridEd()) {
            const QString name = C->Font()->Name();
            const int size = C->Font()->Size();
            g->GetCellStyle(FN[i].Col, IsTitle ? 0 : RecIdx, C);
            C->Font()->SetName(name);
            C->Font()->SetSize(size);
            if (!UseColors) {
                C->Font()->SetColor(clBlack);
                C->Brush()->SetColor(clWhite);
            }
        }
        return;
    }
    TColumn* col = SourceType == stGrid ? ColumnOf(FN[i].Field) : nullptr;
    if (!col)
        return;
    TFont* f = IsTitle ? col->Title()->Font() : col->Font();
    C->Font()->SetStyle(f->Style());
    if (UseColors) {
        C->Font()->SetColor(f->Color());
        C->Brush()->SetColor(IsTitle ? col->Title()->Color() : col->Color());
    }
}

QString TDBPrintDirect::CellText(size_t i, bool IsTitle, bool IsSum)
{
    TField* f = FN[i].Field;
    if (IsTitle)
        return FN[i].Title;
    if (!f) {
        // a string grid's cell; its number columns are summed
        if (IsSum) {
            if (StringGridIsText(FN[i]))
                return QString();
            const QString format = StringGridNumFormat(FN[i]);
            return format.isEmpty() ? FloatToStr(FSums[i]) : FormatFloat(format, FSums[i]);
        }
        double v = 0;
        if (StringGridNumber(FN[i], v))
            FSums[i] += v;
        return SourceText(FN[i]);
    }
    const bool numeric = IsNumericType(f->DataType());
    if (IsSum) {
        if (!numeric)
            return QString();
        return f->DisplayFormat().isEmpty() ? FloatToStr(FSums[i]) : FormatFloat(f->DisplayFormat(), FSums[i]);
    }
    if (numeric && !f->IsNull())
        FSums[i] += f->AsFloat();
    return DisplayTextOf(f);
}

void TDBPrintDirect::PrintRow(bool IsTitle, bool IsSum)
{
    const int h = LineH + LineHSpace;
    // a record moves whole to the next page, continuation lines included
    if (!IsTitle && CurY + h * RowLines() > PageHeight - Vmargin)
        NewPage();
    if (IsSum) {
        C->Pen()->SetStyle(psDot);
        SepLine(1);
        C->Pen()->SetStyle(psSolid);
    }
    int x = Hmargin;
    bool wrapped = false;
    const bool styled = SourceType == stGrid || SourceType == stStringGrid || UseColors;
    for (size_t i = 0; i < FN.size(); ++i) {
        const TExportColumn& c = FN[i];
        if (!c.Field && c.Col < 0)
            continue;
        if (x > Hmargin && x + ColW[i] > PageWidth - Hmargin) {
            CurY += h;
            x = Hmargin;
            wrapped = true;
        }
        if (styled)
            ColumnStyle(i, IsTitle);
        TFieldAlignment a = c.Field ? c.Field->Alignment() : StringGridAlignment(c, IsTitle ? 0 : RecIdx);
        // the title row follows the column titles' own alignment
        if (TColumn* col = IsTitle && SourceType == stGrid ? ColumnOf(c.Field) : nullptr)
            a = col->Title()->Alignment() == taRightJustify ? TFieldAlignment::RightJustify
                : col->Title()->Alignment() == taCenter    ? TFieldAlignment::Center
                                                            : TFieldAlignment::LeftJustify;
        bool checked = false;
        if (!IsTitle && !IsSum && AsCheckBox(c.Field, checked)) {
            PrintCell(TRect{x, 0, x + ColW[i], 0}, QStringLiteral(" "), 0);
            PrintCheckBox(x, ColW[i], checked);
        } else if (!IsTitle && !IsSum && !c.Field && ParioCompConfig.rDBPrintDirectCfg.BooleanAsCheckBox
                   && StringGridKind(c) == TGridCellKind::Boolean) {
            PrintCell(TRect{x, 0, x + ColW[i], 0}, QStringLiteral(" "), 0);
            PrintGridCheckBox(i, x, StringGridBool(c));
        } else {
            PrintCell(TRect{x, 0, x + ColW[i], 0}, CellText(i, IsTitle, IsSum),
                      a == TFieldAlignment::RightJustify ? DT_RIGHT : a == TFieldAlignment::Center ? DT_CENTER : 0u);
        }
        x += ColW[i];
    }
    if (styled) {
        C->Font()->SetStyle(0);
        C->Font()->SetColor(clBlack);
        C->Brush()->SetColor(clWhite);
    }
    CurY += h;
    if (!PrintGrid && (IsTitle || IsSum || wrapped)) {
        C->Pen()->SetStyle(IsTitle || IsSum ? psSolid : psDot);
        SepLine(IsTitle || IsSum ? 2 : 1);
        C->Pen()->SetStyle(psSolid);
    }
}

bool TDBPrintDirect::AsCheckBox(TField* F, bool& Checked) const
{
    if (!F || !ParioCompConfig.rDBPrintDirectCfg.BooleanAsCheckBox || F->IsNull())
        return false;
    // the caller's grid decides which fields it shows as check boxes
    if (auto* g = dynamic_cast<TrDBGrid*>(DBGrid)) {
        if (!g->IsBoolEx(F))
            return false;
        Checked = g->FieldAsBooleanValue(F);
        return true;
    }
    if (F->DataType() != ftBoolean)
        return false;
    Checked = F->AsBoolean();
    return true;
}

void TDBPrintDirect::PrintCheckBox(int Left, int Width, bool Checked)
{
    auto* g = dynamic_cast<TrDBGrid*>(DBGrid);
    TBitmap* bmp = rGlyphs.BmpFromIndex(TrGlyphsRec::CheckIndex(Checked), g ? g->ScaleRatio() : 1.0, g ? g->CustomGlyphs() : nullptr);
    if (!bmp)
        return;
    const int size = std::max(1, LineH - 2);
    const int x = Left + std::max(1, (Width - size) / 2);
    const int y = CurY + LineHSpace / 2 + 1;
    C->StretchDraw(TRect{x, y, x + size, y + size}, bmp);
}

void TDBPrintDirect::PrintGridCheckBox(size_t i, int Left, bool Checked)
{
    TrStringGridEd* g = StringGridEd();
    if (!g)
        return;
    TBitmap* bmp = rGlyphs.BmpFromIndex(TrGlyphsRec::CheckIndex(Checked), g->ScaleRatio(), g->CustomGlyphs());
    if (!bmp)
        return;
    const int w = ColW[i];
    int dx;
    switch (g->GetCheckboxAlignment(FN[i].Col, RecIdx)) {
    case taRightJustify: dx = w - LineH - ColVSpace / 2 - 1; break;
    case taCenter: dx = (w - LineH - 1) / 2; break;
    default: dx = ColVSpace / 2; break;
    }
    const int size = std::max(1, LineH - 2);
    const int x = Left + std::max(1, dx);
    const int y = CurY + LineHSpace / 2 + 1;
    C->StretchDraw(TRect{x, y, x + size, y + size}, bmp);
}

QStringList TDBPrintDirect::WrapLines(const QString& Text, int Width) const
{
    QStringList out;
    QString all = Text;
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& para : all.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& word : para.split(QLatin1Char(' '))) {
            const QString tried = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (line.isEmpty() || C->TextWidth(tried) <= Width) {
                line = tried;
                continue;
            }
            out << line;
            line = word;
        }
        // a word wider than the column is broken where it reaches the edge
        while (C->TextWidth(line) > Width && line.size() > 1) {
            int n = int(line.size()) - 1;
            while (n > 1 && C->TextWidth(line.left(n)) > Width)
                --n;
            out << line.left(n);
            line.remove(0, n);
        }
        out << line;
    }
    return out;
}

void TDBPrintDirect::TreeNodeStyle(TTreeNode* N)
{
    // the data-aware tree's items carry their own style and colours
    C->Font()->SetStyle(0);
    C->Font()->SetColor(clBlack);
    C->Brush()->SetColor(clWhite);
    auto* node = dynamic_cast<TrTreeNode*>(N);
    if (!node || !node->NodeObject())
        return;
    const TNodeObject* o = node->NodeObject();
    C->Font()->SetStyle(o->Style);
    if (UseColors) {
        C->Font()->SetColor(o->FontColor == clNone ? clBlack : o->FontColor);
        C->Brush()->SetColor(o->BkColor == clNone ? clWhite : o->BkColor);
    }
}

int TDBPrintDirect::PrintTreeView()
{
    int n = 0;
    TCustomImageList* images = PrintPictures ? TreeView->Images : nullptr;
    WalkTreeNodes([&](TTreeNode* N, int Depth) {
        TreeNodeStyle(N);
        const int left = Hmargin + Depth * LineH;
        const bool image = images && N->ImageIndex >= 0 && N->ImageIndex < images->Count();
        // the cell holds the picture and the text; the text wraps in what is left
        const int indent = 4 + (image ? int(std::lround(1.5 * LineH)) : 0);
        const int right = PageWidth - Hmargin;
        const QStringList lines = WrapLines(N->Text().isEmpty() ? QStringLiteral(" ") : N->Text(),
                                            std::max(LineH, right - left - indent - ColVSpace / 2));
        const int h = int(lines.size()) * (LineH + LineHSpace);
        Fit(h);
        PrintTextCell(left, right, lines, 0, indent, h);
        if (image) {
            TBitmap bmp;
            images->GetBitmap(N->ImageIndex, &bmp);
            const int y = CurY + std::max(0, (h - LineH) / 2);
            C->StretchDraw(TRect{left + 4, y, left + 4 + LineH, y + LineH}, &bmp);
        }
        CurY += h;
        ++n;
    });
    C->Font()->SetStyle(0);
    C->Font()->SetColor(clBlack);
    C->Brush()->SetColor(clWhite);
    return n;
}

bool TDBPrintDirect::PrintPicture(const TExportColumn& Col, int Left, int& Height)
{
    if (!PrintPictures || !Col.Field || !IsGraphicField(Col.Field))
        return false;
    const int h = LineH + LineHSpace;
    Height = h;
    if (Col.Field->IsNull()) {
        Fit(h);
        PrintCell(TRect{Left, 0, PageWidth - Hmargin, 0}, QStringLiteral(" "), 0);
        return true;
    }
    TBitmap bmp;
    const TrGraphicType kind = ReadBitmapFromField(Col.Field, &bmp);
    if (kind == gtError || kind == gtNoPicture || bmp.Width() <= 0 || bmp.Height() <= 0) {
        Fit(h);
        PrintCell(TRect{Left, 0, PageWidth - Hmargin, 0}, prntxt::PictureCorrupted, 0);
        return true;
    }
    // as wide as the value column at most, as high as what is left of a page
    const int maxW = PageWidth - Hmargin - Left;
    double w = bmp.Width(), ph = bmp.Height();
    if (w > maxW) {
        ph = ph * maxW / w;
        w = maxW;
    }
    if (CurY + ph > PageHeight - Vmargin)
        NewPage();
    const double room = PageHeight - Vmargin - CurY;
    if (ph > room) {
        w = w * room / ph;
        ph = room;
    }
    C->StretchDraw(TRect{Left, CurY, Left + int(w), CurY + int(ph)}, &bmp);
    if (PrintGrid) {
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(Left, CurY, PageWidth - Hmargin + 1, CurY + int(ph) + 1);
        C->Brush()->SetStyle(bsSolid);
    }
    Height = std::max(h, int(ph));
    return true;
}

int TDBPrintDirect::PrintRecView()
{
    // one field a line: the caption on the left, the value after the widest caption
    int captionW = 0, valueW = 0;
    for (const TExportColumn& c : FN) {
        captionW = std::max(captionW, C->TextWidth(c.Title + QStringLiteral(":")));
        for (const QString& line : SourceText(c).split(QLatin1Char('\n')))
            valueW = std::max(valueW, C->TextWidth(line));
    }
    const int valueX = Hmargin + captionW + LineH + 4;
    const int right = PageWidth - Hmargin;
    const QString fontName = C->Font()->Name();
    const int fontSize = C->Font()->Size();
    const unsigned plainStyle = C->Font()->Style();
    RecIdx = 0;
    for (const TExportColumn& c : FN) {
        const int line = LineH + LineHSpace;
        int height = 0;
        if (!PrintPicture(c, valueX, height)) {
            // with "Use items color" the view's own font style for the field
            if (UseColors && RecView && c.ViewIndex >= 0) {
                RecView->GetFontStyle(c.ViewIndex, C->Font(), true);
                C->Font()->SetName(fontName);
                C->Font()->SetSize(fontSize);
            }
            const bool rightAligned = RecView && c.ViewIndex >= 0 && (RecView->GetDataAlignment(c.ViewIndex) & DT_RIGHT);
            const int valueRight = rightAligned ? std::min(right, valueX + valueW + 4) : right;
            const QString v = SourceText(c);
            // a long or multi-line value goes on as many lines as it needs, in one cell
            const QStringList lines = v.isEmpty() ? QStringList{QStringLiteral(" ")}
                                                  : WrapLines(v, std::max(LineH, valueRight - valueX - ColVSpace - 2));
            height = int(lines.size()) * line;
            Fit(height);
            PrintTextCell(valueX, valueRight, lines, rightAligned ? DT_RIGHT : 0, 2, height);
            C->Font()->SetStyle(plainStyle);
            C->Font()->SetColor(clBlack);
        }
        // the caption beside the value's cell, on the same page and as high
        PrintTextCell(Hmargin, valueX, {c.Title + QStringLiteral(":")}, 0, 2, height);
        CurY += height;
    }
    return 1;
}

void TDBPrintDirect::SetUpPrinter(TPrinter& P) const
{
    P.PrinterName = PrinterName;
    P.OutputFileName = ExportFile;
    P.Orientation = Orientation;
    P.Title = Caption;
    P.PreviewMaxWidth = PreviewMaxWidth;
}

int TDBPrintDirect::LinesPerPage()
{
    TPrinter printer;
    SetUpPrinter(printer);
    printer.PreviewMaxWidth = std::max(PreviewMaxWidth, 400);
    printer.BeginDoc();
    FPrinter = &printer;
    InitPage();
    const int lines = int((PageHeight - 2 * Vmargin) / (LineH * (LineSpaceRatio + 1)));
    printer.Abort();
    FPrinter = nullptr;
    C = nullptr;
    return lines;
}

bool TDBPrintDirect::Run()
{
    TPrinter printer;
    SetUpPrinter(printer);
    FPrinter = &printer;
    FPages = 0;
    FLimited = false;
    FPreview.clear();
    printer.BeginDoc();
    try {
        InitPage();
        ColumnWidths();
        FSums.assign(FN.size(), 0.0);
        PrintHeader();
        int printed = 0;
        if (SourceType == stTreeView)
            printed = PrintTreeView();
        else if (SourceType == stRecView)
            printed = PrintRecView();
        const bool done = SourceType == stTreeView || SourceType == stRecView || WalkSource([&](int) {
            PrintRow(false);
            ++printed;
            // a preview holds a limited number of pages in memory
            if (PreviewMaxWidth > 0 && printer.PageNumber() >= PreviewPageLimit) {
                FLimited = true;
                DoAbort();
            }
        });
        if (!done && !FLimited) {
            printer.Abort();
            return false;
        }
        Aborted = false;
        if (PrintSum && SourceType != stTreeView && SourceType != stRecView)
            PrintRow(false, true);
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
        FPreview = printer.TakePreviewPages();
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
