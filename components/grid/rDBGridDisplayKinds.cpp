// The display kinds that draw more than text: data bars, status bars, data
// images chosen by a field's value, and markup (HTML cells and the
// highlighted search text); their settings texts and tests.

#include "components/grid/rDBGrid.h"

#include "components/base/rHTMLDrawText.h"
#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "platform/database/Fields.h"
#include "platform/ui/ImgList.h"

#include <cmath>

namespace {

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
    MinValue = NumberText(p.value(0), 0);
    MaxValue = NumberText(p.value(1), 100);
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
    Fields_GetDataBarSettings(Field->FieldName(), mn, mx, type, from, to);
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
    Fields_GetStatusBarSettings(Field->FieldName(), steps, type, all, done);
    int value = 0;
    try {
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
    const QString text = Field->AsString();
    const bool numeric = !IsApostrField(Field) && !Field->IsNull();
    QString chosen, fallback;
    for (int i = start + 1; i < DataImages.Count() && !DataImages[i].startsWith(QLatin1Char('[')); ++i) {
        const QString key = DataImages.Names(i), val = DataImages.ValueFromIndex(i);
        if (key.compare(QLatin1String("Cfg_Align"), Qt::CaseInsensitive) == 0) {
            Def.ImageAlignment = val;
            continue;
        }
        if (key == QLatin1String("*")) {
            fallback = val;
            continue;
        }
        if (!chosen.isEmpty())
            continue;
        if (key == text) {
            chosen = val;
            continue;
        }
        if (!numeric)
            continue;
        // Conditions: <, >, <>, <~ (at most), >~ (at least) before a number.
        static const char* ops[] = {"<>", "<~", ">~", "<", ">"};
        for (const char* op : ops) {
            const QString o = QLatin1String(op);
            if (!key.startsWith(o))
                continue;
            bool ok = false;
            const double n = key.mid(o.size()).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
            const double v = Field->AsFloat();
            if (ok && ((o == QLatin1String("<>") && v != n) || (o == QLatin1String("<~") && v <= n) ||
                       (o == QLatin1String(">~") && v >= n) || (o == QLatin1String("<") && v < n) || (o == QLatin1String(">") && v > n)))
                chosen = val;
            break;
        }
    }
    if (chosen.isEmpty())
        chosen = fallback;
    if (chosen.isEmpty())
        return false;
    bool isIndex = false;
    const int idx = chosen.trimmed().toInt(&isIndex);
    Def.UseDataImage = true;
    if (isIndex) {
        Def.ImageIndex = idx;
        // An aligned image leaves room for the value beside it.
        if (!Def.ImageAlignment.isEmpty())
            Def.ShowText = Field->DisplayText();
    } else {
        Def.ImageIndex = -2;  // a word instead of an image
        Def.ShowText = chosen;
    }
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
    TRect r = Rect;
    if (align.startsWith(QLatin1Char('L'), Qt::CaseInsensitive))
        r.Right = r.Left + bmp.Width() + 4;
    else if (align.startsWith(QLatin1Char('R'), Qt::CaseInsensitive))
        r.Left = r.Right - bmp.Width() - 4;
    DrawBMPInCell(r, &bmp);
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
