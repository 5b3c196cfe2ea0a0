// The display kinds that draw more than text: data bars, status bars, data
// images chosen by a field's value, and markup (HTML cells and the
// highlighted search text); their settings texts and tests.

#include "components/grid/rDBGrid.h"

#include "components/base/rHTMLDrawText.h"
#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "components/grid/rdbtool.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/ImgList.h"

#include <cmath>

namespace {

// Either separator is taken, and a text that holds both reads the first as
// the thousands separator.
double LocaleNumber(const QString& S, double Default)
{
    QString text = S.trimmed();
    const int dot = int(text.indexOf(QLatin1Char('.'))), comma = int(text.indexOf(QLatin1Char(',')));
    if (dot >= 0 && comma >= 0)
        text.remove(dot < comma ? QLatin1Char('.') : QLatin1Char(','));
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? v : Default;
}

double NumberText(const QString& S, double Default)
{
    bool ok = false;
    const double v = QString(S.trimmed()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok ? v : Default;
}

QString ColorHex(TColor C)
{
    const TColor v = C & 0xFFFFFF;
    return QStringLiteral("%1%2%3")
        .arg(v & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((v >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((v >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

// A condition key: "<", ">", "<>", "<~" (at most) or ">~" (at least) directly
// before a number, or before a date in the locale's short form for date-time
// fields. A key that does not convert, or fails to compare, never matches.
bool ImageConditionHolds(TField* Field, const QString& Key)
{
    int n = 0;
    while (n < Key.size() && QStringLiteral("<>~").contains(Key[n]))
        ++n;
    const QString op = Key.left(n), rest = Key.mid(n).trimmed();
    double limit = 0;
    if (IsDateTimeField(Field) ? !TryStrToDate(rest, limit) : !TryStrToFloat(rest, limit))
        return false;
    try {
        const double v = Field->AsFloat();
        return (op == QLatin1String("<") && v < limit) || (op == QLatin1String(">") && v > limit) ||
               (op == QLatin1String("<>") && v != limit) || (op == QLatin1String("<~") && v <= limit) ||
               (op == QLatin1String(">~") && v >= limit);
    } catch (...) {
        return false;
    }
}

}  // namespace

bool TrDBGrid::IsDataBarEx(TField* Field)
{
    bool v = Field && (FieldsAsDataBar.IndexOf(Field->FieldName()) >= 0 || FieldsAsDataBar.IndexOfName(Field->FieldName()) >= 0);
    DoGeneralEventFieldBool(geIsDataBar, Field, v);
    return v;
}

bool TrDBGrid::IsStatusBarEx(TField* Field)
{
    bool v = Field && (FieldsAsStatusBar.IndexOf(Field->FieldName()) >= 0 || FieldsAsStatusBar.IndexOfName(Field->FieldName()) >= 0);
    DoGeneralEventFieldBool(geIsStatusBar, Field, v);
    return v;
}

bool TrDBGrid::Fields_GetDataBarSettings(const QString& FieldName, double& MinValue, double& MaxValue, TrDataBarText& ValueType,
                                         TColor& ColorFrom, TColor& ColorTo)
{
    const QString text = FieldName.startsWith(QLatin1Char('*')) ? FieldName.mid(1) : FieldsAsDataBar.Values(FieldName);
    QVariant v(text);
    TField* f = DataSet() ? DataSet()->FindField(FieldName) : nullptr;
    DoGeneralEventParam(geGetDataBarParam, nullptr, v, nullptr, f);
    if (v.toString().isEmpty())
        return false;
    const QStringList p = v.toString().split(QLatin1Char(';'));
    MinValue = LocaleNumber(p.value(0), 0);
    MaxValue = LocaleNumber(p.value(1), 100);
    ValueType = TrDataBarText(std::clamp(int(NumberText(p.value(2), 0)), 0, 2));
    ColorFrom = StringToColor(p.value(3));
    ColorTo = StringToColor(p.value(4));
    return true;
}

bool TrDBGrid::Fields_GetStatusBarSettings(const QString& FieldName, int& Steps, TrStatusBarType& BarType, TColor& ColorAll,
                                           TColor& ColorDone)
{
    const QString text = FieldName.startsWith(QLatin1Char('*')) ? FieldName.mid(1) : FieldsAsStatusBar.Values(FieldName);
    QVariant v(text);
    TField* f = DataSet() ? DataSet()->FindField(FieldName) : nullptr;
    DoGeneralEventParam(geGetStatusBarParam, nullptr, v, nullptr, f);
    if (v.toString().isEmpty())
        return false;
    const QStringList p = v.toString().split(QLatin1Char(';'));
    Steps = std::max(1, int(NumberText(p.value(0), 5)));
    BarType = TrStatusBarType(std::clamp(int(NumberText(p.value(1), 0)), 0, 5));
    ColorAll = StringToColor(p.value(2));
    ColorDone = StringToColor(p.value(3));
    return true;
}

// The bar: a fraction of the cell from the left, shaded from ColorFrom to ColorTo.
bool TrDBGrid::ShowDataBar(const TRect& Rect, const TRect& TextRect, TField* Field, TColumn* Column)
{
    if (Field->IsNull())
        return true;
    double mn = 0, mx = 100;
    TrDataBarText type = dbtValue;
    TColor from = clNone, to = clNone;
    if (!Fields_GetDataBarSettings(Field->FieldName(), mn, mx, type, from, to))
        return true;
    double value = mn;
    try {
        const QVariant fv = FGeneralEventRec.FieldValue;
        bool ok = false;
        value = OnGeneralEvent && fv.isValid() ? fv.toDouble(&ok) : Field->AsFloat();
        if (OnGeneralEvent && !ok)
            value = Field->AsFloat();
    } catch (...) {
        value = mn;
    }
    TCanvas* c = Canvas();
    const double fraction = DrawDataBar(c, ::Rect(Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1), from, value, mn, mx, to);
    c->Brush()->SetStyle(bsClear);
    if (type == dbtPercent) {
        TRect r = TextRect;
        DrawCellTextAlign(r, QStringLiteral("%1%").arg(std::lround(fraction * 100)), false, taCenter, Column);
        return false;
    }
    return type == dbtValue;
}

// Steps as dots or a segmented bar; Value of them done.
void TrDBGrid::ShowStatusBar(const TRect& Rect, TField* Field)
{
    int steps = 5;
    TrStatusBarType type = sbtProgressBar;
    TColor all = clNone, done = clNone;
    if (!Fields_GetStatusBarSettings(Field->FieldName(), steps, type, all, done))
        return;
    // The value a general-event handler gave for the bar, else the field's own.
    int value = 0;
    try {
        const QVariant fv = FGeneralEventRec.FieldValue;
        bool ok = false;
        value = OnGeneralEvent && fv.isValid() ? int(std::lround(fv.toDouble(&ok))) : Field->AsInteger();
        if (OnGeneralEvent && !ok)
            value = Field->AsInteger();
    } catch (...) {
        value = 0;
    }
    DrawStatusBar(Canvas(), Rect, value, steps, int(type), all, done);
    Canvas()->Brush()->SetStyle(bsClear);
}

// ---- data images ---------------------------------------------------------------------

bool TrDBGrid::IsDataImageEx(TField* Field)
{
    bool v = Field && DataImages.IndexOf(QLatin1Char('[') + Field->FieldName() + QLatin1Char(']')) >= 0;
    DoGeneralEventFieldBool(geIsDataImage, Field, v);
    return v;
}

bool TrDBGrid::GetDataImageDef(TField* Field, TDataImageDef& Def)
{
    Def = TDataImageDef();
    if (!Field)
        return false;
    const int start = DataImages.IndexOf(QLatin1Char('[') + Field->FieldName() + QLatin1Char(']'));
    if (start < 0)
        return false;
    QList<QPair<QString, QString>> lines;
    for (int i = start + 1; i < DataImages.Count() && !DataImages[i].startsWith(QLatin1Char('[')); ++i)
        if (DataImages[i].contains(QLatin1Char('=')))
            lines.append({DataImages.Names(i).trimmed(), DataImages.ValueFromIndex(i)});
    // INI keys match without case.
    auto valueOf = [&lines](const QString& Key) {
        for (const auto& l : lines)
            if (l.first.compare(Key, Qt::CaseInsensitive) == 0)
                return l.second;
        return QString();
    };
    // A value of its own wins over the conditions, whatever the order of the lines.
    QString text = valueOf(Field->AsString());
    if (text.isEmpty() && (dynamic_cast<TNumericField*>(Field) || IsDateTimeField(Field)))
        for (const auto& l : lines)
            if (ImageConditionHolds(Field, l.first)) {
                text = l.second;
                break;
            }
    if (text.isEmpty())
        text = valueOf(QStringLiteral("*"));
    QVariant param(text);
    DoGeneralEventParam(geGetDataImageIndex, nullptr, param, nullptr, Field);
    text = param.toString();
    if (text.isEmpty())
        return false;
    bool isIndex = false;
    const int idx = text.trimmed().toInt(&isIndex);
    Def.UseDataImage = true;
    Def.ImageIndex = isIndex ? idx : -2;
    QVariant align(valueOf(QStringLiteral("Cfg_Align")));
    DoGeneralEventParam(geGetDataImageAlignment, nullptr, align, nullptr, Field);
    Def.ImageAlignment = align.toString();
    if (!isIndex)
        Def.ShowText = text;  // a word instead of an image
    else if (!Def.ImageAlignment.isEmpty())
        Def.ShowText = Field->DisplayText();  // an aligned image leaves room for the value beside it
    return true;
}

void TrDBGrid::ShowDataImage(const TRect& Rect, TField* Field, TColumn* Column, const TDataImageDef& Def, bool Highlight)
{
    QString align = Def.ImageAlignment;
    if (!Def.ShowText.isEmpty()) {
        const QString text = Def.ShowText == QLatin1String("+")          ? Field->DisplayText()
                             : Def.ShowText.startsWith(QLatin1Char('\'')) ? Def.ShowText.mid(1, 255)
                                                                          : Def.ShowText;
        DrawCellText(Rect, text, false, Column);
        if (align.startsWith(QLatin1Char('A'), Qt::CaseInsensitive))
            align = Column->Alignment() == taLeftJustify ? QStringLiteral("R") : QStringLiteral("L");
    }
    if (!FDataImageList || Def.ImageIndex < 0 || Def.ImageIndex >= FDataImageList->Count())
        return;
    TBitmap bmp(FDataImageList->Width(), FDataImageList->Height());
    bmp.Canvas()->Brush()->SetColor(Highlight ? clHighlight : Canvas()->Brush()->Color());
    bmp.Canvas()->FillRect(::Rect(0, 0, bmp.Width(), bmp.Height()));
    FDataImageList->GetBitmap(Def.ImageIndex, &bmp);
    bmp.SetTransparent(FDataImageList->Tag == 0);
    DrawCellBmp(Rect, &bmp, true, align);
}

// ---- markup --------------------------------------------------------------------------

void TrDBGrid::DrawHTMLText(const TRect& Rect, const QString& Text, unsigned Format, bool WordWrap, bool Highlighting)
{
    QString t = Text;
    if (Highlighting) {
        const TOptionsHighlightText& hl = FOptionsEx2.HighlightText;
        QString open, close;
        if (hl.Bold) {
            open += QStringLiteral("<B>");
            close.prepend(QStringLiteral("</B>"));
        }
        if (hl.FontColor != clNone) {
            open += QStringLiteral("<FONT COLOR=#%1>").arg(ColorHex(hl.FontColor));
            close.prepend(QStringLiteral("</FONT>"));
        }
        if (hl.BkColor != clNone) {
            open += QStringLiteral("<BGCOLOR=#%1>").arg(ColorHex(hl.BkColor));
            close.prepend(QStringLiteral("</BGCOLOR>"));
        }
        // Each occurrence keeps its own case; the search goes on after the inserted block.
        int from = 0;
        for (;;) {
            const int p = t.indexOf(hl.HighlightText, from, Qt::CaseInsensitive);
            if (p < 0)
                break;
            const QString block = open + t.mid(p, hl.HighlightText.size()) + close;
            t.replace(p, hl.HighlightText.size(), block);
            from = p + block.size();
        }
    }
    const TAlignment a = (Format & DT_CENTER) ? taCenter : (Format & DT_RIGHT) ? taRightJustify : taLeftJustify;
    const TTextLayout l = (Format & DT_VCENTER) ? tlCenter : (Format & DT_BOTTOM) ? tlBottom : tlTop;
    TRect r = Rect;
    rHTML_DrawText(this, Canvas(), t, r, false, true, WordWrap, false, a, l, 0, 30, hmNormal, clNone, nullptr, -1);
}
