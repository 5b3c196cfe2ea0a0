#include "platform/office/TXlsxWorkbook.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/FileUtils.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryFile>
#include <climits>
#include <cmath>
#include <cstdio>
#include <xlsxwriter.h>

QString TXlsxSheet::FitText(const QString& Text)
{
    if (Text.size() <= MaxTextLength)
        return Text;
    // the rest of the text is dropped, and the mark shows that it was
    qsizetype keep = MaxTextLength - CutMark.size();
    if (Text[keep - 1].isHighSurrogate())
        --keep;
    return Text.left(keep) + CutMark;
}

void TXlsxSheet::SetText(int Row, int Col, const QString& Text, int Format)
{
    FCells.push_back({Row, Col, TKind::Text, Format, 0, FitText(Text)});
    Touch(Row);
}

void TXlsxSheet::SetNumber(int Row, int Col, double Value, int Format)
{
    FCells.push_back({Row, Col, TKind::Number, Format, Value, QString()});
    Touch(Row);
}

void TXlsxSheet::SetBoolean(int Row, int Col, bool Value, int Format)
{
    FCells.push_back({Row, Col, TKind::Boolean, Format, Value ? 1.0 : 0.0, QString()});
    Touch(Row);
}

void TXlsxSheet::SetFormula(int Row, int Col, const QString& Formula, double Result, int Format)
{
    FCells.push_back({Row, Col, TKind::Formula, Format, Result, Formula});
    Touch(Row);
}

bool TXlsxSheet::SettingsChanged() const
{
    return FSettingsChanged || WindowZoom != FReadZoom[0] || PrintZoom != FReadZoom[1] || FitWide != FReadPage[0]
           || FitTall != FReadPage[1] || Orientation != FReadPage[2];
}

void TXlsxSheet::MarkRead()
{
    FFirstChangedRow = INT_MAX;
    FSettingsChanged = false;
    FReadZoom[0] = WindowZoom;
    FReadZoom[1] = PrintZoom;
    FReadPage[0] = FitWide;
    FReadPage[1] = FitTall;
    FReadPage[2] = Orientation;
    int r, c, rows, cols;
    SourceRowEnd = UsedRange(r, c, rows, cols) ? r + rows : 0;
}

void TXlsxSheet::SetCellFormat(int Row, int Col, int Format)
{
    Touch(Row);
    for (auto it = FCells.rbegin(); it != FCells.rend(); ++it)
        if (it->Row == Row && it->Col == Col) {
            it->Format = Format;
            return;
        }
}

void TXlsxSheet::ForEachCell(int FirstRow, int FirstCol, int LastRow, int LastCol, const std::function<void(TCell&)>& Change)
{
    Touch(FirstRow);
    // the last write of each cell is the one that counts
    QHash<qint64, size_t> last;
    for (size_t i = 0; i < FCells.size(); ++i)
        last[qint64(FCells[i].Row) << 20 | FCells[i].Col] = i;
    for (int r = FirstRow; r <= LastRow; ++r)
        for (int c = FirstCol; c <= LastCol; ++c) {
            const auto it = last.constFind(qint64(r) << 20 | c);
            if (it == last.constEnd()) {
                FCells.push_back({r, c, TKind::Text, -1, 0, QString()});
                Change(FCells.back());
            } else {
                Change(FCells[*it]);
            }
        }
}

void TXlsxSheet::Clear()
{
    FCells.clear();
    FConditionals.clear();
    Touch(0);
}

const TXlsxSheet::TCell* TXlsxSheet::CellAt(int Row, int Col) const
{
    for (auto it = FCells.rbegin(); it != FCells.rend(); ++it)
        if (it->Row == Row && it->Col == Col)
            return &*it;
    return nullptr;
}

QVariant TXlsxSheet::Value(int Row, int Col) const
{
    const TCell* c = CellAt(Row, Col);
    if (!c || (c->Kind == TKind::Text && c->Text.isEmpty()))
        return QVariant();
    if (c->Kind == TKind::Text)
        return QVariant(c->Text);
    if (c->Kind == TKind::Boolean)
        return QVariant(c->Number != 0);
    if (FFormats && c->Format >= 0 && size_t(c->Format) < FFormats->size() && IsDateFormat((*FFormats)[size_t(c->Format)].NumFormat)) {
        // serial days from 30 December 1899, the fraction the time of day
        const double days = std::floor(c->Number);
        const int ms = int(std::llround((c->Number - days) * 86400000.0));
        return QVariant(QDateTime(QDate(1899, 12, 30).addDays(qint64(days)), QTime::fromMSecsSinceStartOfDay(std::min(ms, 86399999))));
    }
    return QVariant(c->Number);
}

bool TXlsxSheet::IsDateFormat(const QString& Format)
{
    // date and time codes outside quotes, brackets (colours, [h]) and escapes
    bool quoted = false;
    for (int i = 0; i < Format.size(); ++i) {
        const QChar c = Format[i];
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == QLatin1Char('\\')) {
            ++i;
        } else if (c == QLatin1Char('[')) {
            const int end = Format.indexOf(QLatin1Char(']'), i);
            const QString inside = Format.mid(i + 1, end - i - 1).toLower();
            if (inside == QLatin1String("h") || inside == QLatin1String("hh") || inside == QLatin1String("m")
                || inside == QLatin1String("mm") || inside == QLatin1String("s") || inside == QLatin1String("ss"))
                return true;
            if (end < 0)
                return false;
            i = end;
        } else if (QStringLiteral("dmyhsDMYHS").contains(c)) {
            return true;
        }
    }
    return false;
}

bool TXlsxSheet::Filled(int Row, int Col) const
{
    return Value(Row, Col).isValid();
}

bool TXlsxSheet::UsedRange(int& Row, int& Col, int& RowCount, int& ColCount) const
{
    int r0 = INT_MAX, c0 = INT_MAX, r1 = -1, c1 = -1;
    for (const TCell& c : FCells) {
        r0 = std::min(r0, c.Row);
        c0 = std::min(c0, c.Col);
        r1 = std::max(r1, c.Row);
        c1 = std::max(c1, c.Col);
    }
    if (r1 < 0)
        return false;
    Row = r0;
    Col = c0;
    RowCount = r1 - r0 + 1;
    ColCount = c1 - c0 + 1;
    return true;
}

void TXlsxSheet::CurrentRegion(int Row, int Col, int& FirstRow, int& FirstCol, int& RowCount, int& ColCount) const
{
    QSet<qint64> filled;
    for (const TCell& c : FCells)
        if (Filled(c.Row, c.Col))
            filled.insert(qint64(c.Row) << 20 | c.Col);
    const auto has = [&](int R, int C) { return R >= 0 && C >= 0 && filled.contains(qint64(R) << 20 | C); };
    int r0 = Row, c0 = Col, r1 = Row, c1 = Col;
    // grow the rectangle while a filled cell touches it, corners included
    for (bool grown = true; grown;) {
        grown = false;
        for (int c = c0 - 1; c <= c1 + 1 && !grown; ++c)
            if (has(r0 - 1, c)) {
                --r0;
                grown = true;
            } else if (has(r1 + 1, c)) {
                ++r1;
                grown = true;
            }
        for (int r = r0 - 1; r <= r1 + 1 && !grown; ++r)
            if (has(r, c0 - 1)) {
                --c0;
                grown = true;
            } else if (has(r, c1 + 1)) {
                ++c1;
                grown = true;
            }
    }
    FirstRow = r0;
    FirstCol = c0;
    RowCount = r1 - r0 + 1;
    ColCount = c1 - c0 + 1;
}

int TXlsxWorkbook::IndexOfSheet(const QString& Name) const
{
    for (size_t i = 0; i < FSheets.size(); ++i)
        if (FSheets[i]->Name.compare(Name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void TXlsxWorkbook::DeleteSheet(int Index)
{
    if (Index < 0 || Index >= SheetCount())
        return;
    FSheets.erase(FSheets.begin() + Index);
    if (ActiveSheet >= SheetCount())
        ActiveSheet = std::max(0, SheetCount() - 1);
}

void TXlsxWorkbook::DefineName(const QString& Name, const QString& Ref)
{
    for (TDefinedName& d : DefinedNames)
        if (d.Name.compare(Name, Qt::CaseInsensitive) == 0) {
            d.Ref = Ref;
            return;
        }
    DefinedNames.push_back({Name, Ref});
}

QString TXlsxWorkbook::NameRef(const QString& Name) const
{
    for (const TDefinedName& d : DefinedNames)
        if (d.Name.compare(Name, Qt::CaseInsensitive) == 0)
            return d.Ref;
    return QString();
}

bool TXlsxWorkbook::ParseCellName(const QString& Name, int& Row, int& Col)
{
    int i = 0, col = 0, row = 0;
    const QString n = QString(Name).remove(QLatin1Char('$')).toUpper();
    while (i < n.size() && n[i] >= QLatin1Char('A') && n[i] <= QLatin1Char('Z'))
        col = col * 26 + (n[i++].unicode() - 'A' + 1);
    if (i == 0 || i == n.size() || col > 16384)
        return false;
    bool ok = false;
    row = n.mid(i).toInt(&ok);
    if (!ok || row < 1)
        return false;
    Row = row - 1;
    Col = col - 1;
    return true;
}

QString TXlsxWorkbook::QuoteSheet(const QString& Name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.]*$"));
    if (plain.match(Name).hasMatch())
        return Name;
    return QLatin1Char('\'') + QString(Name).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

int TXlsxWorkbook::AddFormat(const TXlsxFormat& F)
{
    for (size_t i = 0; i < FFormats.size(); ++i)
        if (FFormats[i] == F)
            return int(i);
    FFormats.push_back(F);
    return int(FFormats.size()) - 1;
}

TXlsxSheet* TXlsxWorkbook::AddSheet(const QString& Name)
{
    QString name = Name;
    for (int n = SheetCount() + 1; name.isEmpty() || (Name.isEmpty() && IndexOfSheet(name) >= 0); ++n)
        name = QStringLiteral("Sheet%1").arg(n);
    FSheets.push_back(std::make_unique<TXlsxSheet>(name, &FFormats));
    return FSheets.back().get();
}

QString TXlsxWorkbook::CellName(int Row, int Col)
{
    QString letters;
    for (int c = Col + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(Row + 1);
}

namespace {

lxw_format* MakeFormat(lxw_workbook* Wb, const TXlsxFormat& F)
{
    lxw_format* f = workbook_add_format(Wb);
    if (F.Bold)
        format_set_bold(f);
    if (F.Italic)
        format_set_italic(f);
    if (F.Underline)
        format_set_underline(f, LXW_UNDERLINE_SINGLE);
    if (F.Border)
        format_set_border(f, LXW_BORDER_THIN);
    // our side styles: 1 thin, 2 medium, 3 dashed, 4 dotted, 5 thick, 6 double, 7 hair
    static const uint8_t styles[8] = {LXW_BORDER_NONE, LXW_BORDER_THIN, LXW_BORDER_MEDIUM, LXW_BORDER_DASHED,
                                      LXW_BORDER_DOTTED, LXW_BORDER_THICK, LXW_BORDER_DOUBLE, LXW_BORDER_HAIR};
    void (*const sides[4])(lxw_format*, uint8_t) = {format_set_left, format_set_top, format_set_right, format_set_bottom};
    for (int i = 0; i < 4; ++i)
        if (F.Sides[i] > 0 && F.Sides[i] < 8)
            sides[i](f, styles[F.Sides[i]]);
    if (F.BorderColor != 0xFFFFFFFF)
        format_set_border_color(f, F.BorderColor);
    if (F.Wrap)
        format_set_text_wrap(f);
    if (F.VAlign == 1)
        format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
    else if (F.VAlign == 2)
        format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
    else if (F.VAlign == 3)
        format_set_align(f, LXW_ALIGN_VERTICAL_BOTTOM);
    if (!F.NumFormat.isEmpty())
        format_set_num_format(f, F.NumFormat.toUtf8().constData());
    if (!F.FontName.isEmpty())
        format_set_font_name(f, F.FontName.toUtf8().constData());
    if (F.FontSize > 0)
        format_set_font_size(f, F.FontSize);
    if (F.FontColor != 0xFFFFFFFF)
        format_set_font_color(f, F.FontColor);
    if (F.BgColor != 0xFFFFFFFF) {
        format_set_pattern(f, LXW_PATTERN_SOLID);
        format_set_bg_color(f, F.BgColor);
    }
    return f;
}

uint8_t IconStyle(int IconSetType)
{
    switch (IconSetType) {
    case 12: return LXW_CONDITIONAL_ICONS_4_RATINGS;
    case 16: return LXW_CONDITIONAL_ICONS_5_RATINGS;
    case 17: return LXW_CONDITIONAL_ICONS_5_QUARTERS;
    default: return LXW_CONDITIONAL_ICONS_3_TRAFFIC_LIGHTS_UNRIMMED;
    }
}

void WriteConditional(lxw_worksheet* Ws, const TXlsxConditional& C)
{
    lxw_conditional_format f{};
    const auto colour = [](uint32_t V) { return V == TXlsxConditional::Default ? lxw_color_t(0) : lxw_color_t(V); };
    switch (C.Kind) {
    case TXlsxConditional::TKind::DataBar:
        f.type = LXW_CONDITIONAL_DATA_BAR;
        f.bar_color = colour(C.BarColor);
        f.bar_border_color = colour(C.BarBorderColor);
        f.bar_only = C.ShowValue ? 0 : 1;
        break;
    case TXlsxConditional::TKind::ColorScale:
        f.type = C.UseMid ? LXW_CONDITIONAL_3_COLOR_SCALE : LXW_CONDITIONAL_2_COLOR_SCALE;
        f.min_color = colour(C.MinColor);
        f.mid_color = colour(C.MidColor);
        f.max_color = colour(C.MaxColor);
        break;
    case TXlsxConditional::TKind::IconSet:
        f.type = LXW_CONDITIONAL_TYPE_ICON_SETS;
        f.icon_style = IconStyle(C.IconSetType);
        f.icons_only = C.IconsOnly ? 1 : 0;
        break;
    }
    if (C.FixedPoints && C.Kind != TXlsxConditional::TKind::IconSet) {
        f.min_rule_type = LXW_CONDITIONAL_RULE_TYPE_NUMBER;
        f.min_value = C.MinValue;
        f.max_rule_type = LXW_CONDITIONAL_RULE_TYPE_NUMBER;
        f.max_value = C.MaxValue;
        if (C.UseMid) {
            f.mid_rule_type = LXW_CONDITIONAL_RULE_TYPE_NUMBER;
            f.mid_value = C.MidValue;
        }
    }
    const lxw_error e = worksheet_conditional_format_range(Ws, lxw_row_t(C.FirstRow), lxw_col_t(C.Col), lxw_row_t(C.LastRow),
                                                           lxw_col_t(C.Col), &f);
    if (e != LXW_NO_ERROR)
        throw Exception(QString::fromUtf8(lxw_strerror(e)));
}

void WriteSheet(lxw_worksheet* Ws, const TXlsxSheet& S, const std::vector<lxw_format*>& Formats)
{
    for (const TXlsxConditional& c : S.Conditionals())
        WriteConditional(Ws, c);
    for (const auto& [col, width] : S.Widths())
        worksheet_set_column(Ws, lxw_col_t(col), lxw_col_t(col), width, nullptr);
    for (const auto& [row, height] : S.Heights())
        worksheet_set_row(Ws, lxw_row_t(row), height, nullptr);
    if (S.WindowZoom >= 10 && S.WindowZoom <= 400)
        worksheet_set_zoom(Ws, uint16_t(S.WindowZoom));
    if (S.PrintZoom >= 10 && S.PrintZoom <= 400)
        worksheet_set_print_scale(Ws, uint16_t(S.PrintZoom));
    if (S.FitWide > 0 || S.FitTall > 0)
        worksheet_fit_to_pages(Ws, uint16_t(std::max(0, S.FitWide)), uint16_t(std::max(0, S.FitTall)));
    if (S.Orientation == 1)
        worksheet_set_portrait(Ws);
    else if (S.Orientation == 2)
        worksheet_set_landscape(Ws);
    if (S.FrozenRows() > 0 || S.FrozenCols() > 0)
        worksheet_freeze_panes(Ws, lxw_row_t(S.FrozenRows()), lxw_col_t(S.FrozenCols()));
    for (const TXlsxSheet::TImage& i : S.Images()) {
        lxw_image_options o{};
        o.x_offset = int32_t(i.XOffset);
        o.y_offset = int32_t(i.YOffset);
        o.x_scale = i.XScale;
        o.y_scale = i.YScale;
        const lxw_error e = worksheet_insert_image_buffer_opt(Ws, lxw_row_t(i.Row), lxw_col_t(i.Col),
                                                              reinterpret_cast<const unsigned char*>(i.Data.constData()),
                                                              size_t(i.Data.size()), &o);
        if (e != LXW_NO_ERROR)
            throw Exception(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(lxw_strerror(e)), TXlsxWorkbook::CellName(i.Row, i.Col)));
    }
    const TXlsxSheet::TArea& f = S.AutoFilter();
    if (f.FirstRow >= 0 && f.LastCol >= f.FirstCol)
        worksheet_autofilter(Ws, lxw_row_t(f.FirstRow), lxw_col_t(f.FirstCol), lxw_row_t(std::max(f.FirstRow, f.LastRow)),
                             lxw_col_t(f.LastCol));
    for (const TXlsxSheet::TCell& c : S.Cells()) {
        lxw_format* f = c.Format >= 0 ? Formats.at(size_t(c.Format)) : nullptr;
        lxw_error e = LXW_NO_ERROR;
        switch (c.Kind) {
        case TXlsxSheet::TKind::Text:
            e = c.Text.isEmpty() ? worksheet_write_blank(Ws, lxw_row_t(c.Row), lxw_col_t(c.Col), f)
                                 : worksheet_write_string(Ws, lxw_row_t(c.Row), lxw_col_t(c.Col), c.Text.toUtf8().constData(), f);
            break;
        case TXlsxSheet::TKind::Number: e = worksheet_write_number(Ws, lxw_row_t(c.Row), lxw_col_t(c.Col), c.Number, f); break;
        case TXlsxSheet::TKind::Boolean:
            e = worksheet_write_boolean(Ws, lxw_row_t(c.Row), lxw_col_t(c.Col), c.Number != 0 ? 1 : 0, f);
            break;
        case TXlsxSheet::TKind::Formula:
            e = worksheet_write_formula_num(Ws, lxw_row_t(c.Row), lxw_col_t(c.Col), c.Text.toUtf8().constData(), f, c.Number);
            break;
        }
        if (e != LXW_NO_ERROR)
            throw Exception(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(lxw_strerror(e)), TXlsxWorkbook::CellName(c.Row, c.Col)));
    }
}

}  // namespace

void TXlsxWorkbook::WriteBook(const QString& FileName, const std::vector<int>& Sheets, bool WithNames) const
{
    lxw_workbook_options opt{};
    opt.constant_memory = LXW_FALSE;
    opt.use_zip64 = LXW_FALSE;
    lxw_workbook* wb = workbook_new_opt(FileName.toUtf8().constData(), &opt);
    if (!wb)
        throw Exception(QStringLiteral("Cannot write file \"%1\".").arg(FileName));
    try {
        std::vector<lxw_format*> formats;
        for (const TXlsxFormat& f : FFormats)
            formats.push_back(MakeFormat(wb, f));
        for (const int i : Sheets) {
            const TXlsxSheet& s = *FSheets[size_t(i)];
            lxw_worksheet* ws = workbook_add_worksheet(wb, s.Name.isEmpty() ? nullptr : s.Name.toUtf8().constData());
            if (!ws)
                throw Exception(QStringLiteral("Bad sheet name \"%1\".").arg(s.Name));
            WriteSheet(ws, s, formats);
            if (i == ActiveSheet)
                worksheet_activate(ws);
        }
        for (const TDefinedName& d : DefinedNames) {
            if (!WithNames)
                break;
            const QString formula = QLatin1Char('=') + d.Ref;
            if (workbook_define_name(wb, d.Name.toUtf8().constData(), formula.toUtf8().constData()) != LXW_NO_ERROR)
                throw Exception(QStringLiteral("Bad range name \"%1\" (%2).").arg(d.Name, d.Ref));
        }
    } catch (...) {
        workbook_close(wb);
        throw;
    }
    const lxw_error e = workbook_close(wb);
    if (e != LXW_NO_ERROR)
        throw Exception(QStringLiteral("Cannot write file \"%1\". %2").arg(FileName, QString::fromUtf8(lxw_strerror(e))));
    PostEdit(FileName, Sheets);
}

bool TXlsxWorkbook::CanMerge() const
{
    // a workbook read from a file that is still there and still holds every
    // sheet the file had, under the same names
    if (FSourceFile.isEmpty() || !QFileInfo::exists(FSourceFile))
        return false;
    for (const QString& name : FSourceSheets) {
        const int i = IndexOfSheet(name);
        if (i < 0 || FSheets[size_t(i)]->SourcePart.isEmpty())
            return false;
    }
    return true;
}

void TXlsxWorkbook::Save(const QString& FileName)
{
    const QFileInfo target(FileName);
    QTemporaryFile tmp(target.absoluteDir().filePath(QStringLiteral(".xlsx-XXXXXX")));
    if (!tmp.open())
        throw Exception(QStringLiteral("Cannot write file \"%1\". %2").arg(FileName, tmp.errorString()));
    const QString tmpName = tmp.fileName();
    tmp.close();
    std::vector<QString> parts;
    if (CanMerge()) {
        parts = SaveMerged(tmpName);
    } else {
        std::vector<int> all;
        for (int i = 0; i < SheetCount(); ++i) {
            all.push_back(i);
            // libxlsxwriter names the sheet parts by their order
            parts.push_back(QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1));
        }
        WriteBook(tmpName, all, true);
    }
    // rename() replaces the old file in one step: readers see the old or the new workbook
    if (std::rename(QFile::encodeName(tmpName).constData(), QFile::encodeName(FileName).constData()) != 0)
        throw Exception(QStringLiteral("Cannot write file \"%1\".").arg(FileName));
    SetUserFileMode(FileName);
    // the file holds the workbook now: a later save starts from it
    FSourceFile = QFileInfo(FileName).absoluteFilePath();
    FSourceSheets.clear();
    for (size_t i = 0; i < FSheets.size(); ++i) {
        FSheets[i]->SourcePart = i < parts.size() ? parts[i] : QString();
        FSheets[i]->MarkRead();
        FSourceSheets.push_back(FSheets[i]->Name);
    }
}
