#include "components/base/rHTMLDrawText.h"

#include "platform/rtl/StrUtils.h"
#include "platform/ui/Controls.h"

const char* const FrmStr[20] = {"<B>",   "</B>",   "<I>",     "</I>",     "<U>",      "</U>",    "<BIG>",
                                "</BIG>", "<SMALL>", "</SMALL>", "<A",      "</A>",    "<COLOR=", "</COLOR>",
                                "<FONT COLOR=", "</FONT>", "<BGCOLOR=", "</BGCOLOR>", "<TAB>", "<INDENT>"};

namespace {

QString ReplaceAllCI(QString S, const QString& Old, const QString& New)
{
    return S.replace(Old, New, Qt::CaseInsensitive);
}

// The colour of a tag parameter: "#RRGGBB" or a colour name without "cl".
bool ParseColor(const QString& Param, TColor& Color)
{
    const QString p = Param.trimmed();
    if (p.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint rgb = p.mid(1, 6).toUInt(&ok, 16);
        Color = ok ? RGB(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF)) : clBlack;
        return true;
    }
    return ColorFromName(p, Color);
}

struct TRenderState {
    TRenderState(TCanvas* Canvas, const THTMLRenderParams& Params)
        : C(Canvas), P(Params), BaseFont(*Canvas->Font()), OriginalBrush(*Canvas->Brush())
    {
    }
    TCanvas* C;
    const THTMLRenderParams& P;
    TFont BaseFont;
    TBrush OriginalBrush;
    bool ColorsEnabled = true;
    bool Drawing = false;  // this pass draws
    bool InAnchor = false;
    TAnchorInfo* Anchor = nullptr;
    std::unique_ptr<TFont> BeforeAnchorFont;
    QString LastAnchorText;
    int X = 0, W = 0, Indent = 0, LineHeight = 0, Top = 0, AreaLeft = 0;
};

void EndAnchor(TRenderState& s)
{
    s.LastAnchorText.clear();
    if (s.BeforeAnchorFont) {
        s.C->Font()->Assign(*s.BeforeAnchorFont);
        s.BeforeAnchorFont.reset();
    }
    s.InAnchor = false;
    s.Anchor = nullptr;
}

void StartAnchor(TRenderState& s, const QString& WholeTag, const QString& Param)
{
    if (!s.LastAnchorText.isEmpty() || s.BeforeAnchorFont)
        EndAnchor(s);
    s.LastAnchorText = WholeTag;
    s.BeforeAnchorFont = std::make_unique<TFont>(*s.C->Font());
    if (!s.P.PlainAnchors)
        s.C->Font()->SetStyle(s.C->Font()->Style() | fsUnderline);
    if (s.ColorsEnabled) {
        const bool hot = s.P.Anchors && int(s.P.Anchors->size()) == s.P.ActiveAnchor;
        if (!s.P.PlainAnchors || hot) {
            TColor c = hot ? clHotLight : clHighlight;
            if (s.P.AnchorColor != clNone)
                c = s.P.AnchorColor;
            s.C->Font()->SetColor(c);
        }
    }
    if (s.Drawing && s.P.Anchors) {
        auto* a = new TAnchorInfo;
        const int eq = int(Param.indexOf(QLatin1Char('=')));
        if (eq >= 0) {
            a->LinkType = Param.left(eq).trimmed().toUpper();
            a->LinkName = Param.mid(eq + 1).trimmed();
        } else {
            a->LinkName = Param.trimmed();
        }
        s.P.Anchors->push_back(a);
        s.Anchor = a;
        s.InAnchor = true;
    }
}

// Applies the tag at the start of Text and deletes it; returns its number.
int ProcFrm(TRenderState& s, QString& Text, int Tag)
{
    const QString tag = QLatin1String(FrmStr[Tag - 1]);
    QString param;
    int len = int(tag.size());
    if (Tag == 11 || Tag == 13 || Tag == 15 || Tag == 17) {
        const int close = int(Text.indexOf(QLatin1Char('>'), len));
        if (close >= 0) {
            param = Text.mid(len, close - len);
            len = close + 1;
        } else {
            param.clear();
        }
    }
    const QString whole = Text.left(len);
    Text.remove(0, len);
    TFont* f = s.C->Font();
    switch (Tag) {
    case 1: f->SetStyle(f->Style() | fsBold); break;
    case 2: f->SetStyle(f->Style() & ~fsBold); break;
    case 3: f->SetStyle(f->Style() | fsItalic); break;
    case 4: f->SetStyle(f->Style() & ~fsItalic); break;
    case 5: f->SetStyle(f->Style() | fsUnderline); break;
    case 6: f->SetStyle(f->Style() & ~fsUnderline); break;
    case 7: f->SetSize(f->Size() + 2); break;
    case 9: f->SetSize(f->Size() - 2); break;
    case 8:
    case 10: f->SetHeight(s.BaseFont.Height()); break;
    case 11:
        if (whole.endsWith(QLatin1Char('>')))
            StartAnchor(s, whole, param);
        break;
    case 12: EndAnchor(s); break;
    case 13:
    case 15:
        if (s.ColorsEnabled && whole.endsWith(QLatin1Char('>'))) {
            TColor c = f->Color();
            if (ParseColor(param, c))
                f->SetColor(c);
        }
        break;
    case 14:
    case 16:
        if (s.ColorsEnabled)
            f->SetColor(s.P.BaseColor);
        break;
    case 17:
        if (s.Drawing && s.ColorsEnabled && whole.endsWith(QLatin1Char('>'))) {
            TColor c = s.C->Brush()->Color();
            if (ParseColor(param, c)) {
                s.C->Brush()->SetColor(c);
                s.C->Brush()->SetStyle(bsSolid);
            }
        }
        break;
    case 18:
        if (s.Drawing)
            s.C->Brush()->Assign(s.OriginalBrush);
        break;
    default:
        break;
    }
    return Tag;
}

// One run of plain text: draws (or measures) what fits and returns the rest.
QString DrawTextPart(TRenderState& s, QString Run, int LineStartX)
{
    QString rest;
    const bool empty = Run.isEmpty();
    if (empty)
        Run = QStringLiteral(" ");
    const int room = s.P.RoomWidth - s.X - 2 * s.P.InnerSpace - 2;
    if (s.P.WordWrap && !empty && s.C->TextWidth(Run) > room) {
        static const QString breaks = QStringLiteral(" ._-/\\@#$&|");
        int lastBreak = 0, i = 1;
        for (; i <= Run.size(); ++i) {
            if (breaks.contains(Run[i - 1]))
                lastBreak = i;
            if (s.C->TextWidth(Run.left(i)) > room)
                break;
        }
        const bool moved = s.X - LineStartX > s.P.InnerSpace + 1;
        if (i <= Run.size()) {
            int cut = -1;
            if (i == 1 && !moved && s.P.OverflowAtLineStart)
                cut = -1;  // overflow: nothing cut
            else if (lastBreak > 0)
                cut = lastBreak;
            else if (moved)
                cut = 0;
            else
                cut = std::max(1, i - 1);
            if (cut >= 0) {
                rest = Run.mid(cut);
                Run = Run.left(cut).trimmed();
            }
        }
    }
    const int w = s.C->TextWidth(Run), h = s.C->TextHeight(Run);
    if (s.Drawing && !Run.isEmpty() && (!empty || s.P.DrawEmptyRun)) {
        TRect r = Rect(s.X, s.Top, s.X + w, s.Top + h);
        if (s.Anchor)
            s.Anchor->Rect = r;
        if (s.P.TextFlags & DT_RTLREADING)
            s.C->DrawText(Run, r, DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP | DT_RTLREADING);
        else
            s.C->TextOut(s.X, s.Top, Run);
        if (s.Anchor) {
            s.Anchor->Rect.Right = s.Anchor->Rect.Left + w;
            s.Anchor->Rect.Bottom = s.Anchor->Rect.Top + h;
        }
    }
    s.LineHeight = h;
    s.W += w;
    s.X += w;
    return rest;
}

// One visual line; returns the part of Line that did not fit.
QString ProcLine(TRenderState& s, QString& Line, int LineStartX, bool Measuring)
{
    QString remaining = Line, rest;
    int consumed = 0;
    for (;;) {
        int tag = 0;
        const int p = FindFirstFrm(remaining, s.P.SimpleText, &tag);
        const QString part = p == 0 ? remaining : remaining.left(p - 1);
        if (p == 0 || p > 1 || part.isEmpty()) {
            if (!(p != 0 && part.isEmpty())) {
                rest = DrawTextPart(s, part, LineStartX);
                consumed += int(part.size()) - int(rest.size());
            }
        }
        if (p == 0) {
            break;
        }
        if (!rest.isEmpty()) {
            rest += remaining.mid(p - 1);
            break;
        }
        remaining = remaining.mid(p - 1);
        const int before = int(remaining.size());
        ProcFrm(s, remaining, tag);
        consumed += before - int(remaining.size());
        if (tag == 19) {
            const int grid = std::max(1, s.P.TabGridWidth);
            const int nx = s.AreaLeft + ((s.X - s.AreaLeft) / grid + 1) * grid;
            s.W += nx - s.X;
            s.X = nx;
        } else if (tag == 20 && Measuring) {
            s.Indent = s.X - s.AreaLeft - 1;
        }
        if (remaining.isEmpty()) {
            // a line ending in a tag is as high as a space after it
            DrawTextPart(s, QString(), LineStartX);
            break;
        }
    }
    Line = Line.left(Line.size() - rest.size());
    if (!s.LastAnchorText.isEmpty()) {
        if (!rest.isEmpty())
            rest = s.LastAnchorText + rest;
        EndAnchor(s);
    }
    return rest;
}

}  // namespace

QString PrepareHTMLText(const QString& Source, bool SkipEnter, bool& NoWordWrap)
{
    QString t = Source;
    NoWordWrap = t.contains(QLatin1String("<NOWORDWRAP>"), Qt::CaseInsensitive);
    t = ReplaceAllCI(t, QStringLiteral("<NOWORDWRAP>"), QString());
    t.replace(QLatin1Char('\t'), QStringLiteral("<TAB>"));
    t.remove(QLatin1Char('\n'));
    if (SkipEnter) {
        t = ReplaceAllCI(t, QStringLiteral("<BR>\r"), QStringLiteral("<BR>"));
        t.replace(QLatin1Char('\r'), QLatin1Char(' '));
    }
    t = ReplaceAllCI(t, QStringLiteral("<BR>"), QStringLiteral("\r"));
    if (t.startsWith(QLatin1Char('\r')))
        t.prepend(QLatin1Char(' '));
    while (t.contains(QStringLiteral("\r\r")))
        t.replace(QStringLiteral("\r\r"), QStringLiteral("\r \r"));
    return t;
}

int FindFirstFrm(const QString& Text, bool SimpleText, int* TagNumber)
{
    if (SimpleText)
        return 0;
    int best = -1, bestTag = 0;
    for (int i = 0; i < 20; ++i) {
        const int p = int(Text.indexOf(QLatin1String(FrmStr[i]), 0, Qt::CaseInsensitive));
        if (p >= 0 && (best < 0 || p < best)) {
            best = p;
            bestTag = i + 1;
        }
    }
    if (TagNumber)
        *TagNumber = bestTag;
    return best < 0 ? 0 : best + 1;
}

void rHTML_FreeAnchorInfo(TAnchorList* List)
{
    if (!List)
        return;
    for (TAnchorInfo* a : *List)
        delete a;
    List->clear();
}

TSize RenderHTML(TCanvas* Canvas, const QString& Prepared, const TRect& R, const THTMLRenderParams& P)
{
    TRenderState s(Canvas, P);
    s.C->Font()->SetColor(P.BaseColor);
    s.BaseFont.Assign(*s.C->Font());
    s.AreaLeft = P.TabOrigin;
    if (P.Draw)
        rHTML_FreeAnchorInfo(P.Anchors);
    const QStringList lines = Prepared.split(QLatin1Char('\r'));
    int widest = 0, total = 0;
    for (QString line : lines) {
        if (line.isEmpty())
            break;
        int x0 = 0;
        s.Indent = 0;
        while (!line.isEmpty()) {
            // measuring pass of this visual line
            QString measured = line;
            const TFont saved(*s.C->Font());
            s.Drawing = false;
            s.AreaLeft = 0;
            s.X = x0;
            s.W = x0;
            s.Top = R.Top + total;
            const QString rest = ProcLine(s, measured, x0, true);
            s.AreaLeft = P.TabOrigin;
            const int w = s.W, lineHeight = s.LineHeight;
            if (P.Draw)
                s.C->Font()->Assign(saved);
            widest = std::max(widest, w);
            if (P.Draw) {
                int x = R.Left + x0 + 1;
                if (P.Alignment == taRightJustify)
                    x = P.ClampRightAlignment ? std::max(R.Right - w - 1, R.Left + x0 + 1) : R.Right - w - 1;
                else if (P.Alignment == taCenter)
                    x = std::max(R.Left + (R.Width() - w) / 2, R.Left + x0 + 1);
                auto pass = [&](bool colors, int dx, TColor color, bool overrideColor) {
                    QString text = measured;
                    s.ColorsEnabled = colors;
                    s.Drawing = true;
                    s.X = x + dx;
                    s.W = 0;
                    s.Top = R.Top + total + dx;
                    if (overrideColor)
                        s.C->Font()->SetColor(color);
                    THTMLRenderParams noWrap = P;
                    const_cast<THTMLRenderParams&>(s.P).WordWrap = false;
                    ProcLine(s, text, x, false);
                    const_cast<THTMLRenderParams&>(s.P).WordWrap = noWrap.WordWrap;
                };
                if (!P.Enabled || P.Shadow) {
                    const TFont before(*s.C->Font());
                    pass(false, P.ShadowSize, P.Enabled ? P.ShadowColor : clBtnHighlight, true);
                    s.C->Font()->Assign(before);
                    if (!P.Enabled)
                        s.C->Font()->SetColor(clBtnShadow);
                }
                pass(P.Enabled, 0, clNone, false);
                s.ColorsEnabled = true;
            }
            total += lineHeight;
            if (P.Alignment == taLeftJustify)
                x0 = s.Indent;
            line = rest;
        }
    }
    s.C->Brush()->Assign(s.OriginalBrush);
    return {widest, total};
}

bool rHTML_DrawText(TControl* Control, TCanvas* Canvas, const QString& Text, TRect& R, bool MeasureOnly, bool Enabled,
                    bool WordWrap, bool Beveled, TAlignment Alignment, TTextLayout Layout, int InnerSpace, int TabGridWidth,
                    TrHTMLMode Mode, TColor AnchorColor, TAnchorList* AnchorList, int ActiveAnchor)
{
    const TFont entryFont(*Canvas->Font());
    const TBrush entryBrush(*Canvas->Brush());
    bool noWrap = false;
    const QString prepared = PrepareHTMLText(TrimRight(Text), Mode == hmSkipEnter || Mode == hmSkipEnterPlainAnchors, noWrap);
    if (noWrap)
        WordWrap = false;
    if (prepared.isEmpty())
        return false;
    if (Beveled && !MeasureOnly) {
        const TPen saved(*Canvas->Pen());
        Canvas->Pen()->SetColor(clBtnShadow);
        Canvas->Polyline({{R.Left, R.Bottom - 1}, {R.Left, R.Top}, {R.Right - 1, R.Top}});
        Canvas->Pen()->SetColor(clBtnHighlight);
        Canvas->Polyline({{R.Right - 1, R.Top}, {R.Right - 1, R.Bottom - 1}, {R.Left, R.Bottom - 1}});
        Canvas->Pen()->Assign(saved);
    }
    int top = R.Top;
    if (!MeasureOnly && Layout != tlTop) {
        TRect m = R;
        rHTML_DrawText(nullptr, Canvas, Text, m, true, Enabled, WordWrap, false, Alignment, tlTop, InnerSpace, TabGridWidth, Mode, AnchorColor, nullptr, -1);
        const int free = R.Height() - m.Height();
        if (free > 0)
            top += Layout == tlBottom ? free : free / 2;
    }
    const TRect area = Rect(R.Left + InnerSpace, top + InnerSpace, R.Right - InnerSpace, R.Bottom - InnerSpace);
    rHTML_FreeAnchorInfo(AnchorList);
    THTMLRenderParams p;
    p.Draw = !MeasureOnly;
    p.Enabled = Enabled;
    p.WordWrap = WordWrap;
    p.Alignment = Alignment;
    p.InnerSpace = InnerSpace;
    p.TabGridWidth = TabGridWidth;
    p.SimpleText = Mode == hmSimpleText;
    p.PlainAnchors = Mode == hmPlainAnchors || Mode == hmSkipEnterPlainAnchors;
    p.AnchorColor = AnchorColor;
    p.BaseColor = Enabled ? entryFont.Color() : clBtnShadow;
    p.Anchors = AnchorList;
    p.ActiveAnchor = ActiveAnchor;
    p.RoomWidth = area.Right - area.Left;
    p.TabOrigin = area.Left;
    p.ClampRightAlignment = true;
    p.DrawEmptyRun = false;
    p.OverflowAtLineStart = false;
    p.TextFlags = Control ? Control->DrawTextBiDiModeFlagsReadingOnly() : 0u;
    const TSize ext = RenderHTML(Canvas, prepared, area, p);
    Canvas->Font()->Assign(entryFont);
    Canvas->Brush()->Assign(entryBrush);
    if (MeasureOnly) {
        if (!WordWrap)
            R.Right = area.Left + ext.cx + InnerSpace + 2;
        R.Bottom = area.Top + ext.cy + InnerSpace;
        return false;
    }
    return R.Width() < ext.cx + 2 * InnerSpace || R.Height() < ext.cy + 2 * InnerSpace;
}
