#include "components/output/TrXLSExport.h"

#include "components/base/ParioCompGlobalCfg.h"

#include "components/base/rpictool.h"
#include "components/grid/rdbtool.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/ui/DBGrids.h"
#include "resources/ExportTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>
#include <cmath>

namespace {

bool IsDateTimeLike(const TField* F)
{
    const TFieldType t = F->DataType();
    return t == ftDate || t == ftTime || t == ftDateTime || t == ftTimeStamp;
}

bool IsNumber(const TField* F)
{
    return IsNumericFieldType(F->DataType());
}

// A field's display format in the spreadsheet's own codes: "n" is the
// minute there as "m", milliseconds are decimals of the second, and "/" is
// the date separator of the program's settings.
QString SheetDateFormat(const QString& DisplayFormat)
{
    QString out;
    const QString f = DisplayFormat;
    for (int i = 0; i < f.size(); ++i) {
        const QChar c = f[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const int end = f.indexOf(c, i + 1);
            const QString lit = f.mid(i + 1, (end < 0 ? f.size() : end) - i - 1);
            out += QLatin1Char('"') + lit + QLatin1Char('"');
            i = end < 0 ? f.size() : end;
        } else if (c.toLower() == QLatin1Char('n')) {
            out += QLatin1Char('m');
        } else if (c.toLower() == QLatin1Char('z')) {
            int n = 0;
            while (i < f.size() && f[i].toLower() == QLatin1Char('z')) {
                ++i;
                ++n;
            }
            --i;
            out += QLatin1Char('.') + QString(std::min(n, 3), QLatin1Char('0'));
        } else if (f.mid(i, 4).compare(QLatin1String("ampm"), Qt::CaseInsensitive) == 0) {
            out += QStringLiteral("AM/PM");
            i += 3;
        } else if (c == QLatin1Char('/')) {
            out += FormatSettings().DateSeparator;
        } else {
            out += c;
        }
    }
    return out;
}

// A date or time field's value as the sheet's serial number: the sheet
// counts 1900 as a leap year, so days before 1 March 1900 are one less than
// the program's day numbers, and days before 1 January 1900 do not exist
// there (false: the field's text goes in instead).
bool SheetSerial(const TField* F, double& Serial)
{
    const double v = F->AsDateTime();
    if (F->DataType() == ftTime) {
        Serial = v - std::floor(v);
        return true;
    }
    if (v < 2.0)
        return false;
    Serial = v < 61.0 ? v - 1 : v;
    return true;
}

}  // namespace

TrXLSExport::TrXLSExport(TComponent* AOwner) : TExportEngine(AOwner)
{
    Options = xleOpt(xleExportTitles) | xleOpt(xleBoldTitles) | xleOpt(xleAddSumRow) | xleOpt(xleSetCellFormat) |
              xleOpt(xleSetColumnWidth) | xleOpt(xleSetRowHeight) | xleOpt(xleOnlyVisibleFields);
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

void TrXLSExport::Loaded()
{
    TExportEngine::Loaded();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

bool TrXLSExport::ExportDBTable(TCustomDBGrid* Grid, const QString& ExportToSheetName)
{
    FSheetName = ExportToSheetName;
    SyncSharedFlags();
    return ExecuteInt(stGrid, Grid);
}

bool TrXLSExport::ExportDBTable(TDataSet* Dataset, const QString& ExportToSheetName)
{
    FSheetName = ExportToSheetName;
    SyncSharedFlags();
    return ExecuteInt(stDataset, Dataset);
}

bool TrXLSExport::ExportSource(TSourceType AType, TComponent* ASource, const QString& ExportToSheetName)
{
    FSheetName = ExportToSheetName;
    SyncSharedFlags();
    return ExecuteInt(AType, ASource);
}

void TrXLSExport::SyncSharedFlags()
{
    ExportFieldName = Has(xleExportTitles);
    RealFieldNamesAsTitle = Has(xleRealFieldNamesAsTitle);
    ExportOnlyVisibleFields = Has(xleOnlyVisibleFields);
    ExportOnlySelectedRows = Has(xleOnlySelectedRows);
    TrimData = Has(xleTrimData);
}

QString TrXLSExport::NumFormatOf(const TField* F) const
{
    if (!Has(xleSetCellFormat))
        return QString();
    if (IsDateTimeLike(F) && !F->DisplayFormat().isEmpty())
        return SheetDateFormat(F->DisplayFormat());
    if (F->DataType() == ftDate)
        return DefaultDateFormat.isEmpty() ? QStringLiteral("d.m.yyyy") : DefaultDateFormat;
    if (F->DataType() == ftTime)
        return DefaultTimeFormat.isEmpty() ? QStringLiteral("h:mm:ss") : DefaultTimeFormat;
    if (IsDateTimeLike(F))
        return (DefaultDateFormat.isEmpty() ? QStringLiteral("d.m.yyyy") : DefaultDateFormat) + QStringLiteral(" ") +
               (DefaultTimeFormat.isEmpty() ? QStringLiteral("h:mm:ss") : DefaultTimeFormat);
    if (!IsNumber(F))
        return QString();
    if (!F->DisplayFormat().isEmpty())
        return F->DisplayFormat();
    if (F->DataType() == ftCurrency)
        return QStringLiteral("#,##0.00");
    return DefaultNumFormat;
}

int TrXLSExport::CellFormat(const TExportColumn& C, bool Bold, bool Data, bool* Hide)
{
    TXlsxFormat f;
    bool hide = false;
    if (Data)
        CellColors(C, f, hide);
    if (Hide)
        *Hide = hide;
    f.Bold = Bold || f.Bold;
    f.Border = Has(xleSetCellBorders);
    f.VAlign = int(VerticalAlignment);
    f.FontName = Has(xleSetCellFormat) ? SetFontName : QString();
    f.FontSize = Has(xleSetCellFormat) ? SetFontSize : 0;
    if (C.Field && !Bold)
        f.NumFormat = NumFormatOf(C.Field);
    if (!C.Field && C.Col >= 0 && !Bold && Has(xleSetCellFormat))
        f.NumFormat = StringGridFormat(C);
    if (C.Field && !Bold && Has(xleWrapMemoField) && IsMemoField(C.Field))
        f.Wrap = true;
    if (f == TXlsxFormat())
        return -1;
    return FBook->AddFormat(f);
}

QString TrXLSExport::StringGridFormat(const TExportColumn& C) const
{
    const QString date = ConvertDateFormat(DefaultDateFormat.isEmpty() ? QStringLiteral("d/m/yyyy") : DefaultDateFormat);
    const QString time = DefaultTimeFormat.isEmpty() ? QStringLiteral("h:mm:ss") : DefaultTimeFormat;
    switch (StringGridKind(C)) {
    case TGridCellKind::Number: {
        const QString own = StringGridNumFormat(C);
        return own.isEmpty() ? DefaultNumFormat : own;
    }
    case TGridCellKind::Date: return date;
    case TGridCellKind::Time: return time;
    case TGridCellKind::DateTime: return date + QLatin1Char(' ') + time;
    default: return QString();
    }
}

void TrXLSExport::WriteTitles()
{
    const bool bold = Has(xleBoldTitles);
    for (int i = 0; i < int(FN.size()); ++i) {
        TExportColumn title = FN[size_t(i)];
        title.Field = nullptr;
        const QString t = TrimData ? TrimControls(FN[size_t(i)].Title) : FN[size_t(i)].Title;
        FSheet->SetText(FRow, FStartCol - 1 + i, t, CellFormat(title, bold));
        FTextLen[size_t(i)] = std::max(FTextLen[size_t(i)], int(t.size()));
    }
    ++FRow;
}

void TrXLSExport::WriteRow()
{
    for (int i = 0; i < int(FN.size()); ++i) {
        TField* f = FN[size_t(i)].Field;
        if (!f && FN[size_t(i)].Col >= 0)
            WriteGridCell(i);
        if (f && Has(xleExportPictures) && WritePicture(i))
            continue;
        if (!f || f->IsNull())
            continue;
        const int col = FStartCol - 1 + i;
        const int fmt = CellFormat(FN[size_t(i)], false, true);
        if (Has(xleHideText) && Has(xleUseCellValueColor) && FieldKind(f) == 2) {
            // the colour alone shows the value
            FSheet->SetText(FRow, col, QString(), fmt);
            continue;
        }
        double serial = 0;
        if (IsDateTimeLike(f) && SheetSerial(f, serial)) {
            FSheet->SetNumber(FRow, col, serial, fmt);
            FTextLen[size_t(i)] = std::max(FTextLen[size_t(i)], int(NumFormatOf(f).size()));
        } else if (f->DataType() == ftBoolean) {
            FSheet->SetBoolean(FRow, col, f->AsBoolean(), fmt);
            FTextLen[size_t(i)] = std::max(FTextLen[size_t(i)], 5);
        } else if (IsNumber(f)) {
            const double v = f->AsFloat();
            FSheet->SetNumber(FRow, col, v, fmt);
            FSums[size_t(i)] += v;
            FTextLen[size_t(i)] = std::max(FTextLen[size_t(i)], int(f->DisplayText().size()));
        } else {
            // written as a text cell as it is: no leading apostrophe, a "=" stays text
            QString t = RawText(f);
            if (TrimData)
                t = TrimControls(t);
            FSheet->SetText(FRow, col, t, fmt);
            FTextLen[size_t(i)] = std::max(FTextLen[size_t(i)], int(t.size()));
            if (fmt >= 0 && FBook->Format(fmt).Wrap)
                NoteLines(int(t.count(QLatin1Char('\n'))) + 1);
        }
    }
    ++FRow;
    ++FExported;
}

void TrXLSExport::NoteLines(int Lines)
{
    const size_t at = size_t(FRow - (FStartRow - 1));
    if (FRowLines.size() <= at)
        FRowLines.resize(at + 1, 1);
    FRowLines[at] = std::max(FRowLines[at], Lines);
}

QString TrXLSExport::PictureText(TField* F, TPicture& Pic)
{
    if (F && IsGraphicField(F)) {
        if (F->IsNull() || F->AsBytes().isEmpty())
            return QString();
        const TrGraphicType t = ReadPictureFromField(F, &Pic);
        if (t == gtError || t == gtOther || t == gtEMF || Pic.Empty())
            return exptxt::BadPictureFormat;
        return QString();
    }
    if (!OnPreparePictureEvent)
        return exptxt::UsePreparePictureEvent;
    return QString();
}

bool TrXLSExport::WritePicture(int i)
{
    TField* f = FN[size_t(i)].Field;
    if (f && FieldKind(f) != 1)
        return false;
    const int col = FStartCol - 1 + i;
    TPicture pic;
    const QString text = PictureText(f, pic);
    if (!text.isEmpty()) {
        FSheet->SetText(FRow, col, text, -1);
        FTextLen[size_t(i)] = std::max(FTextLen[size_t(i)], int(text.size()));
        return true;
    }
    if (OnPreparePictureEvent)
        OnPreparePictureEvent(this, FRow + 1, col + 1, f, &pic);
    QByteArray png;
    if (pic.Empty() || pic.Width() <= 0 || pic.Height() <= 0 || SavePictureToStream(&pic, png, gtPNG) != gtPNG || png.isEmpty())
        return true;
    // shrunk to the largest size allowed, set off from the cell's corner
    const double scale = std::min({1.0, double(PictureMaxWidth) / pic.Width(), double(PictureMaxHeight) / pic.Height()});
    const double margin = std::max(0, PictureCellMargin);
    const double w = pic.Width() * scale + 2 * margin, h = pic.Height() * scale + 2 * margin;
    TXlsxSheet::TImage image{FRow, col, png, margin, margin, scale, scale};
    image.Shadow = PictureUseShadow;
    FSheet->AddImage(image);
    // the first picture of the run sets its column's width, later ones only widen it
    if (FPicColumnSet.size() < FN.size())
        FPicColumnSet.resize(FN.size(), false);
    const double width = w / ColWidthPixelRatio;
    if (!FPicColumnSet[size_t(i)] || FPicWidths[size_t(i)] * ColWidthPixelRatio < w) {
        FPicWidths.resize(FN.size(), 0.0);
        FPicWidths[size_t(i)] = width;
        FSheet->SetColumnWidth(col, width);
        FPicColumnSet[size_t(i)] = true;
    }
    // a row lower than the picture grows to hold it
    const size_t at = size_t(FRow - (FStartRow - 1));
    if (FRowHeights.size() <= at)
        FRowHeights.resize(at + 1, 0.0);
    FRowHeights[at] = std::max(FRowHeights[at], h / RowHeightPixelRatio);
    ++FPictures;
    return true;
}

void TrXLSExport::FitRows()
{
    for (size_t i = 0; i < FRowHeights.size(); ++i)
        if (FRowHeights[i] > 0)
            FSheet->SetRowHeight(FStartRow - 1 + int(i), FRowHeights[i]);
    // wrapped memo lines make a row taller, up to MaxRowHeight points; rows
    // holding pictures keep the height the pictures gave them
    if (!Has(xleSetRowHeight) || Has(xleExportPictures))
        return;
    for (size_t i = 0; i < FRowLines.size(); ++i)
        if (FRowLines[i] > 1)
            FSheet->SetRowHeight(FStartRow - 1 + int(i), std::min<double>(MaxRowHeight, 15.0 * FRowLines[i]));
}

void TrXLSExport::WriteGridCell(int i)
{
    const TExportColumn& c = FN[size_t(i)];
    QString t = SourceText(c);
    if (TrimData)
        t = TrimControls(t);
    if (t.isEmpty())
        return;
    const int col = FStartCol - 1 + i;
    bool hide = false;
    const int fmt = CellFormat(c, false, true, &hide);
    double v = 0;
    if (hide)
        FSheet->SetText(FRow, col, QString(), fmt);
    else if (StringGridNumber(c, v)) {
        FSheet->SetNumber(FRow, col, v, fmt);
        FSums[size_t(i)] += v;
    } else if (StringGridDateTime(c, v)) {
        FSheet->SetNumber(FRow, col, v, fmt);
    } else if (StringGridKind(c) == TGridCellKind::Boolean) {
        FSheet->SetBoolean(FRow, col, StringGridBool(c), fmt);
    } else {
        FSheet->SetText(FRow, col, t, fmt);
    }
    FTextLen[size_t(i)] = std::max(FTextLen[size_t(i)], int(t.size()));
}

void TrXLSExport::WriteTreeNode(const QString& Text, int Depth)
{
    const QString t = TrimData ? TrimControls(Text) : Text;
    FSheet->SetText(FRow, FStartCol - 1 + Depth, t, -1);
    if (int(FTextLen.size()) <= Depth) {
        FTextLen.resize(size_t(Depth) + 1, 0);
        FSums.resize(size_t(Depth) + 1, 0.0);
    }
    FTextLen[size_t(Depth)] = std::max(FTextLen[size_t(Depth)], int(t.size()));
    ++FRow;
    ++FExported;
}

void TrXLSExport::WriteSumRow()
{
    const bool bold = Has(xleBoldTitles);
    if (SourceType == stTreeView) {
        // no tree column can be summed: the text goes into the first one
        TExportColumn plain;
        FSheet->SetText(FRow, FStartCol - 1, exptxt::Sum, CellFormat(plain, bold));
        ++FRow;
        return;
    }
    bool sumText = false;
    for (int i = 0; i < int(FN.size()); ++i) {
        const TExportColumn& c = FN[size_t(i)];
        const int col = FStartCol - 1 + i;
        const bool summable = c.Field ? IsNumber(c.Field) : c.Col >= 0 && !StringGridIsText(c);
        if (!summable) {
            if (!sumText && (!c.Field || !IsDateTimeLike(c.Field))) {
                TExportColumn plain = c;
                plain.Field = nullptr;
                FSheet->SetText(FRow, col, exptxt::Sum, CellFormat(plain, bold));
                sumText = true;
            }
            continue;
        }
        TXlsxFormat f;
        const int base = CellFormat(c, false);
        if (base >= 0)
            f = FBook->Format(base);
        f.Bold = bold;
        const QString formula = QStringLiteral("SUM(%1:%2)").arg(TXlsxWorkbook::CellName(FFirstDataRow, col),
                                                                 TXlsxWorkbook::CellName(FRow - 1, col));
        FSheet->SetFormula(FRow, col, formula, FSums[size_t(i)], f == TXlsxFormat() ? -1 : FBook->AddFormat(f));
    }
    ++FRow;
}

void TrXLSExport::FitColumns()
{
    for (int i = 0; i < int(FTextLen.size()); ++i) {
        // a picture column keeps the width its pictures gave it
        if (size_t(i) < FPicColumnSet.size() && FPicColumnSet[size_t(i)])
            continue;
        FSheet->SetColumnWidth(FStartCol - 1 + i, std::min(MaxColWidth, std::max(FTextLen[size_t(i)], 4) + 2));
    }
}

bool TrXLSExport::Run()
{
    FWritten.clear();
    OpenForRun();
    FRow = FStartRow - 1;
    FExported = 0;
    FTextLen.assign(FN.size(), 0);
    FSums.assign(FN.size(), 0.0);
    FRowLines.clear();
    FRowHeights.clear();
    FPicColumnSet.clear();
    FPicWidths.clear();
    FPictures = 0;
    if (OnBeforeExport)
        OnBeforeExport(this);
    const bool titles = Has(xleExportTitles) || ExportStructureOnly;
    if (titles)
        WriteTitles();
    if (!ExportStructureOnly) {
        FFirstDataRow = FRow;
        if (SourceType == stTreeView)
            WalkTree([this](const QString& Text, int Depth) { WriteTreeNode(Text, Depth); });
        else if (!WalkSource([this](int) { WriteRow(); }))
            return false;
        if (FExported > 0)
            AddConditionalFormats();
        SetExportedDataRange(FFirstDataRow + 1, FStartCol, FExported, std::max(1, int(FN.size())));
        if (Has(xleAddSumRow) && FExported > 0)
            WriteSumRow();
    }
    if (Has(xleSetColumnWidth))
        FitColumns();
    FitRows();
    if (Has(xleSetPageSetup)) {
        FSheet->WindowZoom = WindowZoom;
        if (PageZoom > 0)
            FSheet->PrintZoom = PageZoom;
    }
    if (titles && Has(xleFreezeTitles))
        FSheet->FreezeRows(FStartRow);
    if (Has(xleSetAutoFilter) && titles)
        FSheet->SetAutoFilter(FStartRow - 1, FStartCol - 1, std::max(FStartRow - 1, FRow - 1), FStartCol - 2 + std::max(1, int(FN.size())));
    if (OnAfterExport)
        OnAfterExport(this);
    FWritten = ExportFile.isEmpty()
                   ? QDir::temp().filePath(QStringLiteral("export-%1.xlsx").arg(QUuid::createUuid().toString(QUuid::Id128).left(12)))
                   : ExportFile;
    FBook->Save(FWritten);
    FOpenedFile = FWritten;
    RunAfterAction(FWritten);
    return true;
}

void TrXLSExport::OpenForRun()
{
    const bool appending = Has(xleAddAsNewSheet) || Has(xleAddToExistingRows);
    auto book = std::make_unique<TXlsxWorkbook>();
    bool loaded = false;
    if (!ExportFile.isEmpty() && QFileInfo::exists(ExportFile)) {
        try {
            book->Load(ExportFile);
            loaded = true;
        } catch (const Exception&) {
            // a file that is no workbook is replaced only when the user did not
            // ask to add to it: its content must not be lost silently
            if (appending)
                throw;
        }
    }
    int target = book->ActiveSheet;
    if (!FSheetName.isEmpty()) {
        target = book->IndexOfSheet(FSheetName);
        if (target < 0) {
            book->AddSheet(FSheetName);
            target = book->SheetCount() - 1;
        }
    } else if (!loaded || Has(xleAddAsNewSheet)) {
        book->AddSheet(QString());
        target = book->SheetCount() - 1;
    }
    book->ActiveSheet = target;
    FWorkbook = std::move(book);
    FBook = FWorkbook.get();
    FSheet = FBook->Sheet(target);
    FOpenedFile = loaded ? ExportFile : QString();
    if (Has(xleAddToExistingRows)) {
        // below the rows that are there; an empty sheet starts at the top
        int r, c, rows, cols;
        FStartRow = FSheet->UsedRange(r, c, rows, cols) ? r + rows + 1 : 1;
    } else {
        FSheet->Clear();
    }
}
