#include "components/base/rHTMLLabel.h"

#include "components/base/rtool.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/Forms.h"

TrHTMLLabel::TrHTMLLabel(TComponent* AOwner) : TCustomLabel(AOwner)
{
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

TrHTMLLabel::~TrHTMLLabel()
{
    rHTML_FreeAnchorInfo(&AnchorInfoList);
}

void TrHTMLLabel::Loaded()
{
    TCustomLabel::Loaded();
    ACaptionAsHint = FHint.isEmpty();
    AdjustBounds();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

void TrHTMLLabel::Changed()
{
    AdjustBounds();
    Invalidate();
}

void TrHTMLLabel::SetCaptionStrings(const QStringList& Lines)
{
    FCaptionStrings = Lines;
    FText.clear();
    Changed();
}

void TrHTMLLabel::FreeAnchorInfo()
{
    rHTML_FreeAnchorInfo(&AnchorInfoList);
}

QString TrHTMLLabel::GetLabelText()
{
    QString text = TrimRight(FCaptionStrings.join(QStringLiteral("\r\n")));
    if (text.isEmpty())
        text = FText;
    // variables: "<VAR>name</VAR>" becomes the handler's value
    for (;;) {
        const int a = int(text.indexOf(QLatin1String("<VAR>"), 0, Qt::CaseInsensitive));
        if (a < 0)
            break;
        const int b = int(text.indexOf(QLatin1String("</VAR>"), a, Qt::CaseInsensitive));
        if (b < 0)
            break;
        QString value = text.mid(a + 5, b - a - 5);
        if (OnGetParameter)
            OnGetParameter(this, value);
        else
            value.clear();
        value.remove(QLatin1String("<VAR>"), Qt::CaseInsensitive);
        value.remove(QLatin1String("</VAR>"), Qt::CaseInsensitive);
        text.replace(a, b + 6 - a, value);
    }
    bool noWrap = false;
    const QString prepared = PrepareHTMLText(text, FCaptionSkipEnter, noWrap);
    if (noWrap && FWordWrap) {
        FWordWrap = false;  // the property itself changes, for good
        AdjustBounds();
    }
    return prepared;
}

void TrHTMLLabel::DoDrawText(TRect& R, unsigned Flags)
{
    const QString text = GetLabelText();
    if (text.isEmpty())
        return;
    TCanvas* c = Canvas();
    const bool drawing = !(Flags & DT_CALCRECT);
    if (FShowBeveled && drawing) {
        const TPen saved(*c->Pen());
        c->Pen()->SetColor(clBtnShadow);
        c->Polyline({{0, FHeight - 1}, {0, 0}, {FWidth - 1, 0}});
        c->Pen()->SetColor(clBtnHighlight);
        c->Polyline({{FWidth - 1, 0}, {FWidth - 1, FHeight - 1}, {0, FHeight - 1}});
        c->Pen()->Assign(saved);
    }
    const bool plain = !FShowText3D && FindFirstFrm(text, FCaptionSimpleText) == 0 && FFontColor == clNone;
    if (plain) {
        R.Inflate(-FInnerSpace, -FInnerSpace);
        QString shown = text;
        shown.replace(QLatin1Char('\r'), QStringLiteral("\r\n"));
        shown.replace(QStringLiteral("<TAB>"), QStringLiteral("\t"), Qt::CaseInsensitive);
        c->Font()->Assign(FFont);
        unsigned flags = Flags;
        if (!FShowAccelChar)
            flags |= DT_NOPREFIX;
        if (!FEnabled && drawing) {
            R.Offset(1, 1);
            c->Font()->SetColor(clBtnHighlight);
            c->DrawText(shown, R, flags);
            R.Offset(-1, -1);
            c->Font()->SetColor(clBtnShadow);
        }
        c->DrawText(shown, R, flags);
        R.Inflate(FInnerSpace, FInnerSpace);
        if (drawing && ACaptionAsHint && !FAutoSize)
            FHint = c->TextWidth(shown) > FWidth + 3 ? shown : QString();
        return;
    }
    TRect area = R;
    area.Inflate(-FInnerSpace, -FInnerSpace);
    c->Font()->Assign(FFont);
    c->Brush()->SetStyle(bsClear);
    THTMLRenderParams p;
    p.Draw = drawing;
    p.Enabled = FEnabled;
    p.WordWrap = FWordWrap;
    p.Alignment = FAlignment;
    p.InnerSpace = FInnerSpace;
    p.TabGridWidth = FTabGridWidth;
    p.SimpleText = FCaptionSimpleText;
    p.AnchorColor = FAnchorColor;
    p.BaseColor = FFontColor != clNone ? FFontColor : GetStyleFontColor_LabelText(FFont.Color());
    p.Shadow = FShowText3D;
    p.ShadowColor = FShadowColor;
    p.ShadowSize = FShadowSize;
    p.Anchors = &AnchorInfoList;
    p.ActiveAnchor = actAnchorItem;
    p.RoomWidth = FWidth;
    p.TextFlags = DrawTextBiDiModeFlagsReadingOnly();
    const TSize ext = RenderHTML(c, text, area, p);
    if (!FWordWrap)
        R.Right = R.Left + ext.cx + FInnerSpace + 2 + FInnerSpace;
    R.Bottom = R.Top + ext.cy + 2 * FInnerSpace + 2;
}

int TrHTMLLabel::AnchorAt(int X, int Y) const
{
    for (size_t i = 0; i < AnchorInfoList.size(); ++i) {
        const TRect& r = AnchorInfoList[i]->Rect;
        if (r.Left < X && X < r.Right && r.Top < Y && Y < r.Bottom)
            return int(i);
    }
    return -1;
}

void TrHTMLLabel::MouseMove(TShiftState Shift, int X, int Y)
{
    const int previous = actAnchorItem;
    actAnchorItem = AnchorAt(X, Y);
    ShowCursorShape(actAnchorItem >= 0 ? crHandPoint : FCursor);
    if (previous != actAnchorItem)
        Repaint();
    TCustomLabel::MouseMove(Shift, X, Y);
}

void TrHTMLLabel::MouseLeave()
{
    ShowCursorShape(FCursor);
    if (actAnchorItem >= 0) {
        actAnchorItem = -1;
        Invalidate();
    }
    TCustomLabel::MouseLeave();
}

void TrHTMLLabel::Click()
{
    // a stale index (the caption changed since the last move) is ignored
    if (actAnchorItem >= 0)
        ShowCursorShape(FCursor);
    if (actAnchorItem >= 0 && actAnchorItem < int(AnchorInfoList.size())) {
        const TAnchorInfo* a = AnchorInfoList[size_t(actAnchorItem)];
        if (a->LinkType == QLatin1String("HREF"))
            RunFile(a->LinkName, QString(), QString(), SW_SHOWNORMAL, true);
        else if (OnAnchorClick)
            OnAnchorClick(this, a->LinkName);
    }
    TCustomLabel::Click();
}

// ---- TrURLLabel ----------------------------------------------------------------

TrURLLabel::TrURLLabel(TComponent* AOwner) : TCustomLabel(AOwner)
{
    FCursor = crHandPoint;
    FShowAccelChar = false;
}

void TrURLLabel::Loaded()
{
    TCustomLabel::Loaded();
    if (FHint.isEmpty())
        FHint = FURLCommand;
    SetParentFont(true);
}

void TrURLLabel::SetURLCommand(const QString& V)
{
    if (FHint == FURLCommand)
        SetHint(V);
    FURLCommand = V;
}

void TrURLLabel::DoDrawText(TRect& R, unsigned Flags)
{
    QString text = FText;
    if ((Flags & DT_CALCRECT) && text.isEmpty())
        text = QStringLiteral(" ");
    if (!FShowAccelChar)
        Flags |= DT_NOPREFIX;
    Flags |= DrawTextBiDiModeFlagsReadingOnly();
    TCanvas* c = Canvas();
    c->Font()->Assign(FFont);
    c->Font()->SetStyle(FFont.Style() | fsUnderline);
    if (FEnabled) {
        c->Font()->SetColor(MouseOver ? HotColor : FontColor);
        c->DrawText(text, R, Flags);
    } else {
        R.Offset(1, 1);
        c->Font()->SetColor(clBtnHighlight);
        c->DrawText(text, R, Flags);
        R.Offset(-1, -1);
        c->Font()->SetColor(clBtnShadow);
        c->DrawText(text, R, Flags);
    }
}

void TrURLLabel::MouseEnter()
{
    MouseOver = true;
    Invalidate();
    TCustomLabel::MouseEnter();
}

void TrURLLabel::MouseLeave()
{
    MouseOver = false;
    Invalidate();
    TCustomLabel::MouseLeave();
}

void TrURLLabel::Click()
{
    TCustomLabel::Click();
    if (!FURLCommand.isEmpty())
        RunFile(FURLCommand, QString(), QString(), SW_SHOWNORMAL, true);
}
