#include "platform/office/TXlsxWorkbook.h"

#include "platform/rtl/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <xlsxwriter.h>

void TXlsxSheet::SetText(int Row, int Col, const QString& Text, int Format)
{
    FCells.push_back({Row, Col, TKind::Text, Format, 0, Text});
}

void TXlsxSheet::SetNumber(int Row, int Col, double Value, int Format)
{
    FCells.push_back({Row, Col, TKind::Number, Format, Value, QString()});
}

void TXlsxSheet::SetFormula(int Row, int Col, const QString& Formula, double Result, int Format)
{
    FCells.push_back({Row, Col, TKind::Formula, Format, Result, Formula});
}

void TXlsxSheet::SetCellFormat(int Row, int Col, int Format)
{
    for (auto it = FCells.rbegin(); it != FCells.rend(); ++it)
        if (it->Row == Row && it->Col == Col) {
            it->Format = Format;
            return;
        }
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
    FSheets.push_back(std::make_unique<TXlsxSheet>(Name));
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
    if (F.Wrap)
        format_set_text_wrap(f);
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
    if (S.FrozenRows() > 0)
        worksheet_freeze_panes(Ws, lxw_row_t(S.FrozenRows()), 0);
    for (const TXlsxSheet::TCell& c : S.Cells()) {
        lxw_format* f = c.Format >= 0 ? Formats.at(size_t(c.Format)) : nullptr;
        lxw_error e = LXW_NO_ERROR;
        switch (c.Kind) {
        case TXlsxSheet::TKind::Text:
            e = c.Text.isEmpty() ? worksheet_write_blank(Ws, lxw_row_t(c.Row), lxw_col_t(c.Col), f)
                                 : worksheet_write_string(Ws, lxw_row_t(c.Row), lxw_col_t(c.Col), c.Text.toUtf8().constData(), f);
            break;
        case TXlsxSheet::TKind::Number: e = worksheet_write_number(Ws, lxw_row_t(c.Row), lxw_col_t(c.Col), c.Number, f); break;
        case TXlsxSheet::TKind::Formula:
            e = worksheet_write_formula_num(Ws, lxw_row_t(c.Row), lxw_col_t(c.Col), c.Text.toUtf8().constData(), f, c.Number);
            break;
        }
        if (e != LXW_NO_ERROR)
            throw Exception(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(lxw_strerror(e)), TXlsxWorkbook::CellName(c.Row, c.Col)));
    }
}

}  // namespace

void TXlsxWorkbook::Save(const QString& FileName) const
{
    const QFileInfo target(FileName);
    QTemporaryFile tmp(target.absoluteDir().filePath(QStringLiteral(".xlsx-XXXXXX")));
    if (!tmp.open())
        throw Exception(QStringLiteral("Cannot write file \"%1\". %2").arg(FileName, tmp.errorString()));
    const QString tmpName = tmp.fileName();
    tmp.close();
    lxw_workbook_options opt{};
    opt.constant_memory = LXW_FALSE;
    opt.use_zip64 = LXW_FALSE;
    lxw_workbook* wb = workbook_new_opt(tmpName.toUtf8().constData(), &opt);
    if (!wb)
        throw Exception(QStringLiteral("Cannot write file \"%1\".").arg(FileName));
    try {
        std::vector<lxw_format*> formats;
        for (const TXlsxFormat& f : FFormats)
            formats.push_back(MakeFormat(wb, f));
        for (const auto& s : FSheets) {
            lxw_worksheet* ws = workbook_add_worksheet(wb, s->Name.isEmpty() ? nullptr : s->Name.toUtf8().constData());
            if (!ws)
                throw Exception(QStringLiteral("Bad sheet name \"%1\".").arg(s->Name));
            WriteSheet(ws, *s, formats);
        }
    } catch (...) {
        workbook_close(wb);
        throw;
    }
    const lxw_error e = workbook_close(wb);
    if (e != LXW_NO_ERROR)
        throw Exception(QStringLiteral("Cannot write file \"%1\". %2").arg(FileName, QString::fromUtf8(lxw_strerror(e))));
    // rename() replaces the old file in one step: readers see the old or the new workbook
    if (std::rename(QFile::encodeName(tmpName).constData(), QFile::encodeName(FileName).constData()) != 0)
        throw Exception(QStringLiteral("Cannot write file \"%1\".").arg(FileName));
}
