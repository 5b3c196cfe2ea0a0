// The settings texts of the per-field lists written and read back: check-box
// values, link kinds, data and status bars, footer cells (content, font and
// alignment tokens) and the data-image sections.

#include "components/grid/rDBGrid.h"

#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "platform/rtl/StrUtils.h"

namespace {

// Writes or (for an empty value) deletes a pair entry; false for a blank name.
bool SetPair(TStringList& List, const QString& Name, const QString& Value)
{
    if (Name.trimmed().isEmpty())
        return false;
    if (Value.isEmpty()) {
        const int i = List.IndexOfName(Name);
        if (i >= 0)
            List.Delete(i);
    } else {
        List.SetValues(Name, Value);
    }
    return true;
}

int SectionStart(const TStringList& List, const QString& FieldName)
{
    return List.IndexOf(QLatin1Char('[') + FieldName + QLatin1Char(']'));
}

int SectionEnd(const TStringList& List, int Start)
{
    int i = Start + 1;
    while (i < List.Count() && !List[i].startsWith(QLatin1Char('[')))
        ++i;
    return i;
}

const QString AlignKey = QStringLiteral("Cfg_Align");

}  // namespace

QString TrDBGrid::Fields_GetBoolValues(const QString& FieldName) const
{
    return FieldsAsBoolean.Values(FieldName);
}

void TrDBGrid::Fields_SetBoolValues(const QString& FieldName, const QString& BoolValues)
{
    if (SetPair(FieldsAsBoolean, FieldName, BoolValues))
        Invalidate();
}

TrLinkType TrDBGrid::Fields_GetLinkType(const QString& FieldName) const
{
    const QString v = FieldsAsLink.Values(FieldName);
    if (v == QLatin1String("mailto:"))
        return ltMailTo;
    if (v == QLatin1String("http://"))
        return ltHTTP;
    return v.isEmpty() ? ltNone : ltUserDefined;
}

void TrDBGrid::Fields_SetLinkType(const QString& FieldName, TrLinkType LinkType)
{
    static const QString values[] = {QString(), QStringLiteral("user_defined"), QStringLiteral("http://"), QStringLiteral("mailto:")};
    if (SetPair(FieldsAsLink, FieldName, values[LinkType]))
        Invalidate();
}

QString TrDBGrid::Fields_SetDataBarSettings(const QString& FieldName, double MinValue, double MaxValue, TrDataBarText ValueType,
                                            TColor ColorFrom, TColor ColorTo)
{
    QString text;
    if (MinValue != 0 || MaxValue != 0) {
        text = FloatToStr(MinValue) + QLatin1Char(';') + FloatToStr(MaxValue) + QLatin1Char(';') + QString::number(int(ValueType));
        // Colour to only follows a colour from.
        if (ColorFrom != clNone) {
            text += QLatin1Char(';') + ColorToString(ColorFrom, false);
            if (ColorTo != clNone)
                text += QLatin1Char(';') + ColorToString(ColorTo, false);
        }
    }
    if (SetPair(FieldsAsDataBar, FieldName, text))
        Invalidate();
    return text;
}

QString TrDBGrid::Fields_SetStatusBarSettings(const QString& FieldName, int Steps, TrStatusBarType BarType, TColor ColorAll,
                                              TColor ColorDone)
{
    QString text;
    if (Steps > 0) {
        text = QString::number(Steps) + QLatin1Char(';') + QString::number(int(BarType));
        if (ColorAll != clNone) {
            text += QLatin1Char(';') + ColorToString(ColorAll, false);
            if (ColorDone != clNone)
                text += QLatin1Char(';') + ColorToString(ColorDone, false);
        }
    }
    if (SetPair(FieldsAsStatusBar, FieldName, text))
        Invalidate();
    return text;
}

bool TrDBGrid::FooterRow_GetSettings(const QString& FieldName, QString& ContentMask, TFont* AFont, int& FontSize, TColor& FontColor,
                                     TFontStylesDefault& FontStyles, TAlignmentDefault& TextAlignment)
{
    // 1.
    const QString text = FieldName.startsWith(QLatin1Char('*')) ? FieldName.mid(1) : FFooterRow.FieldFooterDefs.Values(FieldName);
    QVariant v(text);
    TField* f = DataSet() && !FieldName.startsWith(QLatin1Char('*')) ? DataSet()->FindField(FieldName) : nullptr;
    DoGeneralEventParam(geGetFooterRowParam, nullptr, v, nullptr, f);
    // 2.
    const QString s = v.toString();
    if (s.isEmpty())
        return false;
    // 3. The tokens after the content mask.
    TFont scratch;
    scratch.SetStyle(0);
    scratch.SetSize(0);
    scratch.SetColor(clNone);
    const QStringList parts = s.split(QLatin1Char(';'));
    ContentMask = parts.value(0);
    TextAlignment = tadDefault;
    bool normal = false;
    for (int i = 1; i < parts.size(); ++i) {
        const QString tok = parts[i].trimmed().toUpper();
        if (tok == QLatin1String("L"))
            TextAlignment = tadLeft;
        else if (tok == QLatin1String("R"))
            TextAlignment = tadRight;
        else if (tok == QLatin1String("C"))
            TextAlignment = tadCenter;
        else if (!tok.isEmpty()) {
            bool reset = false;
            UseFontFormatParams(&scratch, tok, reset);
            normal = normal || reset;
            if (AFont)
                UseFontFormatParams(AFont, tok);
        }
    }
    // 4.
    FontStyles.clear();
    if (normal)
        FontStyles.insert(fsdNormal);
    if (scratch.Style() & fsBold)
        FontStyles.insert(fsdBold);
    if (scratch.Style() & fsItalic)
        FontStyles.insert(fsdItalic);
    if (scratch.Style() & fsUnderline)
        FontStyles.insert(fsdUnderline);
    FontColor = scratch.Color();
    FontSize = scratch.Size();
    return true;
}

QString TrDBGrid::FooterRow_SetSettings(const QString& FieldName, const QString& ContentMask, int FontSize, TColor FontColor,
                                        const TFontStylesDefault& FontStyles, TAlignmentDefault TextAlignment)
{
    QString text;
    if (!ContentMask.isEmpty()) {
        text = ContentMask;
        const std::pair<TFontStyleDefault, const char*> styles[] = {{fsdNormal, "N"}, {fsdBold, "B"}, {fsdItalic, "I"}, {fsdUnderline, "U"}};
        for (const auto& [style, token] : styles)
            if (FontStyles.count(style))
                text += QLatin1Char(';') + QLatin1String(token);
        static const char* const aligns[] = {"", "L", "C", "R"};
        if (TextAlignment != tadDefault)
            text += QLatin1Char(';') + QLatin1String(aligns[TextAlignment]);
        if (FontColor != clNone)
            text += QLatin1Char(';') + ColorToString(FontColor, false);
        if (FontSize > 0)
            text += QLatin1Char(';') + QString::number(FontSize);
    }
    if (SetPair(FFooterRow.FieldFooterDefs, FieldName, text))
        Invalidate();
    return text;
}

int TrDBGrid::DataImages_GetSettings(const QString& FieldName, TStringList* ConditionList, QString& ImageAlign) const
{
    ImageAlign.clear();
    const int start = SectionStart(DataImages, FieldName);
    if (!ConditionList)
        return start >= 0 ? 1 : 0;
    ConditionList->Clear();
    if (start < 0)
        return 0;
    const int end = SectionEnd(DataImages, start);
    for (int i = start + 1; i < end; ++i) {
        if (DataImages[i].trimmed().isEmpty())
            continue;
        if (DataImages.Names(i) == AlignKey)
            ImageAlign = DataImages.ValueFromIndex(i);
        else
            ConditionList->Add(DataImages[i]);
    }
    return ConditionList->Count();
}

void TrDBGrid::DataImages_SetSettings(const QString& FieldName, const TStringList* ConditionList, const QString& AddImageAlign)
{
    // The section is rewritten in place (a new one goes at the end).
    int start = SectionStart(DataImages, FieldName);
    if (start >= 0) {
        const int end = SectionEnd(DataImages, start);
        for (int i = end - 1; i > start; --i)
            DataImages.Delete(i);
        if (!ConditionList && AddImageAlign.isEmpty()) {
            DataImages.Delete(start);
            Invalidate();
            return;
        }
    } else if (ConditionList || !AddImageAlign.isEmpty()) {
        DataImages.Add(QLatin1Char('[') + FieldName + QLatin1Char(']'));
        start = DataImages.Count() - 1;
    } else {
        return;
    }
    int at = start + 1;
    if (ConditionList)
        for (int i = 0; i < ConditionList->Count(); ++i)
            DataImages.Insert(at++, (*ConditionList)[i]);
    if (!AddImageAlign.isEmpty())
        DataImages.Insert(at++, AlignKey + QLatin1Char('=') + AddImageAlign);
    Invalidate();
}
