#include "components/framed/FcCustomizeToolbar.h"

#include "components/framed/FcSystem.h"
#include "components/framed/FcToolButton.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/ImgList.h"

// ---- the captions and the tool bar's entry ---------------------------------------------------------

QString TFcCustomizeCaptions::Caption(int Index) const
{
    return Index >= 1 && Index <= 9 ? FTexts[Index - 1] : QString();
}

void TFcCustomizeCaptions::SetCaption(int Index, const QString& Value)
{
    if (Index >= 1 && Index <= 9)
        FTexts[Index - 1] = Value;
    FStoreCaptions = true;
}

void TFcToolbar::Customize(bool ShowTextOptions)
{
    auto dialog = std::make_unique<TFcFrmCustomizeToolbar>(nullptr);
    dialog->CompOwner = Owner();
    dialog->Toolbar = this;
    dialog->Reposition();
    dialog->UpdateControls(FCustomizeCaptions, ShowTextOptions);
    dialog->ShowModal();
}

// ---- the dialog ---------------------------------------------------------------------------------------------

namespace {

template <class T>
T* Put(TForm* Form, int X, int Y, int W, int H)
{
    auto* c = new T(Form);
    c->SetParent(Form);
    c->SetBounds(X, Y, W, H);
    return c;
}

}  // namespace

TFcFrmCustomizeToolbar::TFcFrmCustomizeToolbar(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsDialog);
    SetCaption(QStringLiteral("Customize Toolbar"));
    SetClientWidth(337);
    SetClientHeight(280);
    Font()->SetName(QStringLiteral("Verdana"));
    Font()->SetSize(8);
    SetShowHint(true);
    LblHint = Put<TLabel>(this, 8, 8, 225, 14);
    LstControls = Put<TFcCheckList>(this, 8, 24, 225, 205);
    LstControls->SetItemHeight(20);
    BtnClose = Put<TFcButton>(this, 244, 24, 85, 25);
    BtnClose->SetModalResult(mrOk);
    BtnMoveUp = Put<TFcButton>(this, 244, 84, 85, 25);
    BtnMoveDown = Put<TFcButton>(this, 244, 116, 85, 25);
    LblTextOptions = Put<TLabel>(this, 8, 236, 225, 14);
    CbxTextOptions = Put<TFcComboBox>(this, 8, 252, 225, 21);
    CbxTextOptions->SetStyle(csDropDownList);
    BtnMoveUp->OnClick = [this](TComponent*) { MoveUp(); };
    BtnMoveDown->OnClick = [this](TComponent*) { MoveDown(); };
    LstControls->OnClick = [this](TComponent*) { UpdateMoveButtons(); };
    // dragging a row onto another moves it there; held at an edge, the list scrolls
    LstControls->OnMouseDown = [this](TComponent*, TMouseButton Button, TShiftState, int X, int Y) {
        OldIdx = Button == mbLeft && X >= LstControls->GlyphWidth() + 4 ? LstControls->ItemAtPos(Point(X, Y), true) : -1;
    };
    LstControls->OnMouseMove = [this](TComponent*, TShiftState Shift, int X, int Y) {
        if (OldIdx >= 0 && (Shift & ssLeft))
            DragOver(X, Y);
    };
    LstControls->OnMouseUp = [this](TComponent*, TMouseButton Button, TShiftState, int X, int Y) {
        Timer1->SetEnabled(false);
        NewIdx = LstControls->ItemAtPos(Point(X, Y), true);
        if (Button == mbLeft && OldIdx >= 0 && NewIdx >= 0 && NewIdx != OldIdx)
            MoveRow(OldIdx, NewIdx);
        OldIdx = -1;
    };
    LstControls->OnDrawItem = [this](TWinControl*, int Index, const TRect& R, TOwnerDrawState) { DrawRow(Index, R); };
    Timer1 = new TTimer(this);
    Timer1->SetEnabled(false);
    Timer1->SetInterval(100);
    Timer1->OnTimer = [this](TComponent*) { ScrollStep(); };
    // the two spacer pictures, each a strip of two 16 x 16 cells on olive
    auto spacerGlyph = [](bool Grooved) {
        TBitmap g(32, 16);
        g.Canvas()->Brush()->SetColor(clOlive);
        g.Canvas()->FillRect(Rect(0, 0, 32, 16));
        for (int cell = 0; cell < 2; ++cell) {
            const int x = cell * 16;
            g.Canvas()->Pen()->SetColor(cell == 0 ? clBlack : clGray);
            // a gap between two bars, grooved: a sunken line in the gap
            g.Canvas()->MoveTo(x + 3, 3);
            g.Canvas()->LineTo(x + 3, 13);
            g.Canvas()->MoveTo(x + 12, 3);
            g.Canvas()->LineTo(x + 12, 13);
            if (Grooved) {
                g.Canvas()->Pen()->SetColor(clBtnShadow);
                g.Canvas()->MoveTo(x + 7, 2);
                g.Canvas()->LineTo(x + 7, 14);
                g.Canvas()->Pen()->SetColor(clBtnHighlight);
                g.Canvas()->MoveTo(x + 8, 2);
                g.Canvas()->LineTo(x + 8, 14);
            }
        }
        return g;
    };
    BtnSpacer = Put<TSpeedButton>(this, 8, 8, 25, 25);
    BtnSpacer->SetHint(QStringLiteral("Add a Spacer"));
    BtnSpacer->SetVisible(false);
    BtnGrooveSpacer = Put<TSpeedButton>(this, 40, 8, 25, 25);
    BtnGrooveSpacer->SetHint(QStringLiteral("Add a Grooved Spacer"));
    BtnGrooveSpacer->SetVisible(false);
    {
        TBitmap plain = spacerGlyph(false), grooved = spacerGlyph(true);
        BtnSpacer->SetGlyph(&plain);
        BtnGrooveSpacer->SetGlyph(&grooved);
    }
    LstControls->OnStateChange = [this](TComponent*, int Index, TCheckBoxState State) {
        // a row's check mark is its control's visibility
        if (!Toolbar || Index >= Toolbar->ToolbarControls()->Count())
            return;
        if (TControl* c = Toolbar->ToolbarControls()->Items(Index).Control)
            c->SetVisible(State == cbChecked);
        Toolbar->PositionControls();
    };
    CbxTextOptions->OnClick = [this](TComponent*) {
        static const TFcToolbarTextOptions options[3] = {ttoNoTextLabels, ttoShowTextLabels, ttoSelectiveTextOnRight};
        const int i = CbxTextOptions->ItemIndex();
        if (Toolbar && i >= 0 && i < 3)
            Toolbar->SetTextOptions(options[i]);
    };
    AfterConstruction();
}

void TFcFrmCustomizeToolbar::Reposition()
{
    if (!Toolbar || !CompOwner)
        return;
    const TRect b = Toolbar->BoundsRect();
    TPoint p;
    switch (Toolbar->Align()) {
    case alBottom: p = Point(b.Left, b.Top - Height() - 5); break;
    case alLeft: p = Point(b.Right, b.Top); break;
    case alRight: p = Point(b.Left - Width() - 5, b.Top); break;
    default: p = Point(b.Left, b.Bottom); break;
    }
    if (auto* owner = dynamic_cast<TControl*>(CompOwner))
        p = owner->ClientToScreen(p);
    const int x = std::max(0, p.X + 15), y = std::max(0, p.Y + 25);
    const TRect d = GetDesktopClientRect();
    SetBounds(x + Width() > d.Right ? d.Right - Width() : x, y + Height() > d.Bottom ? d.Bottom - Height() : y, Width(),
              Height());
}

QString TFcFrmCustomizeToolbar::RowText(const TControl* Control)
{
    if (auto* b = dynamic_cast<const TFcToolButton*>(Control))
        if (!b->Caption().isEmpty())
            return b->Caption();
    if (dynamic_cast<const TFcSpacer*>(Control))
        return QStringLiteral("Spacer");
    return Control->Hint().isEmpty() ? Control->Name() : Control->Hint();
}

void TFcFrmCustomizeToolbar::UpdateControls(const TFcCustomizeCaptions& C, bool ShowTextOptions)
{
    // 1. the texts
    SetCaption(C.Caption(1));
    LblHint->SetCaption(C.Caption(2));
    BtnClose->SetCaption(C.Caption(3));
    BtnMoveUp->SetCaption(C.Caption(4));
    BtnMoveDown->SetCaption(C.Caption(5));
    LblTextOptions->SetCaption(C.Caption(6));
    CbxTextOptions->SetItems({C.Caption(7), C.Caption(8), C.Caption(9)});
    if (Toolbar && Toolbar->TextOptions() != ttoCustom)
        CbxTextOptions->SetItemIndex(int(Toolbar->TextOptions()));
    // 2.
    if (!ShowTextOptions) {
        CbxTextOptions->SetVisible(false);
        LblTextOptions->SetVisible(false);
        SetClientHeight(LstControls->Top() + LstControls->Height() + 8);
    }
    // 3. one row per listed control
    LstControls->Clear();
    if (Toolbar)
        for (int i = 0; i < Toolbar->ToolbarControls()->Count(); ++i) {
            const TControl* c = Toolbar->ToolbarControls()->Items(i).Control;
            if (c)
                LstControls->AddEx(RowText(c), c->Visible(), true);
        }
    // 4.
    const bool rows = LstControls->Count() > 0;
    BtnMoveUp->SetEnabled(rows);
    BtnMoveDown->SetEnabled(rows);
    if (rows) {
        LstControls->SetItemIndex(0);
        UpdateMoveButtons();
    }
}

void TFcFrmCustomizeToolbar::UpdateMoveButtons()
{
    const int i = LstControls->ItemIndex();
    BtnMoveUp->SetEnabled(i > 0);
    BtnMoveDown->SetEnabled(i >= 0 && i < LstControls->Count() - 1);
}

void TFcFrmCustomizeToolbar::MoveRow(int From, int To)
{
    if (From < 0 || To < 0 || To >= LstControls->Count())
        return;
    LstControls->MoveItem(From, To);
    if (Toolbar) {
        Toolbar->ToolbarControls()->Move(From, To);
        Toolbar->PositionControls();
    }
    LstControls->SetItemIndex(To);
    LstControls->Invalidate();
    UpdateMoveButtons();
}

void TFcFrmCustomizeToolbar::MoveUp()
{
    const int i = LstControls->ItemIndex();
    if (i > 0)
        MoveRow(i, i - 1);
}

void TFcFrmCustomizeToolbar::MoveDown()
{
    const int i = LstControls->ItemIndex();
    if (i >= 0)
        MoveRow(i, i + 1);
}

void TFcFrmCustomizeToolbar::DragOver(int X, int Y)
{
    const int row = LstControls->ItemAtPos(Point(X, Y), true);
    if (row >= 0)
        LstControls->SetItemIndex(row);
    // the bands one row high at the list's top and bottom scroll it
    const int band = LstControls->ItemHeight();
    if (Y >= LstControls->ClientHeight() - band) {
        GoingUp = false;
        Timer1->SetEnabled(true);
    } else if (Y < band) {
        GoingUp = true;
        Timer1->SetEnabled(true);
    } else {
        Timer1->SetEnabled(false);
    }
}

void TFcFrmCustomizeToolbar::ScrollStep()
{
    const int top = LstControls->TopIndex();
    if (GoingUp ? top <= 0 : top >= LstControls->Count() - 1) {
        Timer1->SetEnabled(false);
        return;
    }
    LstControls->SetTopIndex(top + (GoingUp ? -1 : 1));
}

void TFcFrmCustomizeToolbar::DrawRowPicture(TCanvas* C, const TControl* Control, int X, int Y)
{
    if (auto* b = dynamic_cast<const TFcToolButton*>(Control)) {
        if (TCustomImageList* images = b->ImageList(); images && b->ImageIndex() >= 0)
            images->Draw(C, X, Y, b->ImageIndex(), b->Enabled());
        return;
    }
    const TSpeedButton* glyphOf = dynamic_cast<const TSpeedButton*>(Control);
    int cell = 0;
    if (auto* spacer = dynamic_cast<const TFcSpacer*>(Control)) {
        glyphOf = spacer->Grooved() ? BtnGrooveSpacer : BtnSpacer;
        cell = 16;
    }
    if (!glyphOf)
        return;
    auto* source = const_cast<TSpeedButton*>(glyphOf)->Glyph();
    if (source->Width() == 0 || source->Height() == 0)
        return;
    // the first cell, its bottom-left pixel the see-through colour
    const int w = cell ? cell : source->Width() / std::max(1, glyphOf->NumGlyphs());
    const int h = cell ? cell : source->Height();
    TBitmap part(w, h);
    part.Canvas()->CopyRect(Rect(0, 0, w, h), source->Canvas(), Rect(0, 0, w, h));
    part.SetTransparentColor(source->Pixel(0, source->Height() - 1));
    part.SetTransparent(true);
    C->Draw(X, Y, &part);
}

void TFcFrmCustomizeToolbar::DrawRow(int Index, const TRect& R)
{
    TCanvas* c = LstControls->Canvas();
    c->FillRect(R);
    const TControl* control = Toolbar && Index < Toolbar->ToolbarControls()->Count()
                                  ? Toolbar->ToolbarControls()->Items(Index).Control
                                  : nullptr;
    if (control)
        DrawRowPicture(c, control, R.Left + 2, R.Top + 2);
    const QString text = LstControls->Strings(Index);
    const int y = R.Top + (LstControls->ItemHeight() - c->TextHeight(QStringLiteral("Pp"))) / 2;
    c->Brush()->SetStyle(bsClear);
    c->TextRect(Rect(R.Left + 28, R.Top, R.Right, R.Bottom), R.Left + 30, y, text);
    c->Brush()->SetStyle(bsSolid);
}
