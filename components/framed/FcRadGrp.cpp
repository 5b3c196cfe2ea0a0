#include "components/framed/FcRadGrp.h"

#include "components/framed/FcImageLink.h"
#include "components/framed/FcLegacyProps.h"
#include "components/framed/FcSystem.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"

#include <algorithm>

// ---- TFcGroupButton -----------------------------------------------------------------------

TFcGroupButton::TFcGroupButton(TFcCustomRadioGroup* AGroup) : TFcRadioButton(AGroup), FGroup(AGroup)
{
    FGroup->FButtons.push_back(this);
    FAlignmentVertical = avCenter;
    FAutoSize = true;
    FWordWrap = false;
    SetEnabled(FGroup->Enabled());
    SetParentShowHint(false);
    SetParentFont(false);
    SetParent(FGroup);
}

TFcGroupButton::~TFcGroupButton()
{
    auto& list = FGroup->FButtons;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TFcGroupButton::Click()
{
    FGroup->ButtonClick(this);
}

void TFcGroupButton::ChangeState()
{
    if (FInClick)
        return;
    FInClick = true;
    try {
        if (FGroup->CanModify())
            TFcRadioButton::ChangeState();
    } catch (const Exception& e) {
        FInClick = false;
        if (Application)
            Application->HandleException(&e);
        return;
    }
    FInClick = false;
}

bool TFcGroupButton::DialogChar(Word Key, TShiftState Shift)
{
    return FGroup->CanModify() && TFcRadioButton::DialogChar(Key, Shift);
}

bool TFcGroupButton::WantsKey(Word Key, TShiftState Shift) const
{
    if (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN)
        return true;
    if (Key == VK_RETURN && FGroup->TabOnEnter)
        return true;
    return TFcRadioButton::WantsKey(Key, Shift);
}

void TFcGroupButton::KeyDown(Word& Key, TShiftState Shift)
{
    const bool modify = FGroup->CanModify();
    if (Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN) {
        if (modify)
            FGroup->MoveFocus(this, Key == VK_RIGHT || Key == VK_DOWN);
        Key = 0;
        return;
    }
    if (Key == VK_RETURN && FGroup->TabOnEnter) {
        // Enter moves on to the control after the group, as Tab would
        Key = 0;
        PostTab(true);
        return;
    }
    if (!modify && (Key == VK_SPACE || Key == VK_BACK)) {
        Key = 0;
        return;
    }
    TFcRadioButton::KeyDown(Key, Shift);
    if (Key != 0)
        FGroup->KeyDown(Key, Shift);
}

void TFcGroupButton::KeyPress(QChar& Key)
{
    TFcRadioButton::KeyPress(Key);
    FGroup->KeyPress(Key);
}

// ---- TFcCustomRadioGroup ----------------------------------------------------------------------

TFcCustomRadioGroup::TFcCustomRadioGroup(TComponent* AOwner) : TFcCustomGroupBox(AOwner)
{
    FItemFont.SetName(QStringLiteral("Tahoma"));
    FItemFont.SetSize(8);
    FItemFont.OnChange = [this] { ItemFontChanged(); };
    FCustomGlyphs.OnChange = [this] {
        SetUseCustomGlyphs(!FCustomGlyphs.Empty());
        Invalidate();
    };
}

TFcCustomRadioGroup::~TFcCustomRadioGroup()
{
    FItemFont.OnChange = nullptr;
    FCustomGlyphs.OnChange = nullptr;
    UnlinkImageList(FCustomGlyphImages);
    SetButtonCount(0);
}

void TFcCustomRadioGroup::SetItems(const QStringList& Value)
{
    FItems = Value;
    ItemsChanged();
}

void TFcCustomRadioGroup::ItemsChanged()
{
    if (FReading)
        return;
    if (FItemIndex >= int(FItems.size()))
        FItemIndex = int(FItems.size()) - 1;
    UpdateButtons();
}

void TFcCustomRadioGroup::SetButtonCount(int Value)
{
    while (int(FButtons.size()) < Value)
        new TFcGroupButton(this);
    while (int(FButtons.size()) > Value)
        delete FButtons.back();
}

void TFcCustomRadioGroup::UpdateButtons()
{
    SetButtonCount(int(FItems.size()));
    for (int i = 0; i < int(FButtons.size()); ++i)
        FButtons[size_t(i)]->SetCaption(FItems.at(i));
    if (FItemIndex >= 0 && FItemIndex < int(FButtons.size())) {
        FUpdating = true;
        FButtons[size_t(FItemIndex)]->SetChecked(true);
        FUpdating = false;
    }
    ArrangeButtons();
    Invalidate();
}

void TFcCustomRadioGroup::SetItemIndex(int Value)
{
    if (FReading) {
        FItemIndex = Value;
        return;
    }
    Value = std::clamp(Value, -1, int(FButtons.size()) - 1);
    if (Value == FItemIndex)
        return;
    if (FItemIndex >= 0)
        FButtons[size_t(FItemIndex)]->SetChecked(false);
    // stored before the new button is checked: a refusal of a change made
    // from code keeps the new index (the stored value must show)
    FItemIndex = Value;
    if (FItemIndex < 0)
        return;
    FSettingItemIndex = true;
    try {
        FButtons[size_t(FItemIndex)]->SetChecked(true);
    } catch (...) {
        FSettingItemIndex = false;
        throw;
    }
    FSettingItemIndex = false;
}

bool TFcCustomRadioGroup::CanModify()
{
    return !FReadOnly;
}

bool TFcCustomRadioGroup::CanChange(int NewIndex)
{
    bool allow = true;
    if (OnChanging)
        OnChanging(this, NewIndex, allow);
    return allow;
}

void TFcCustomRadioGroup::ButtonClick(TFcGroupButton* Button)
{
    // 1.
    if (FUpdating)
        return;
    // 2.
    const int n = int(std::find(FButtons.begin(), FButtons.end(), Button) - FButtons.begin());
    if (CanChange(n)) {
        // 3.
        FItemIndex = n;
        Click();
        return;
    }
    // 4. refused: the button of the kept index is chosen again
    FUpdating = true;
    try {
        if (FItemIndex == -1) {
            Button->SetChecked(false);
        } else {
            TFcGroupButton* kept = FButtons[size_t(FItemIndex)];
            kept->SetChecked(true);
            TCustomForm* f = GetParentForm(this);
            if (f && f->Active() && kept->CanFocus())
                kept->SetFocus();
        }
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

void TFcCustomRadioGroup::MoveFocus(TFcGroupButton* From, bool Forward)
{
    std::vector<TFcGroupButton*> visible;
    for (TFcGroupButton* b : FButtons)
        if (b->Visible())
            visible.push_back(b);
    if (visible.size() < 2)
        return;
    auto it = std::find(visible.begin(), visible.end(), From);
    if (it == visible.end())
        return;
    size_t i = size_t(it - visible.begin());
    i = Forward ? (i + 1) % visible.size() : (i + visible.size() - 1) % visible.size();
    TFcGroupButton* target = visible[i];
    if (target->CanFocus())
        target->SetFocus();
    // the keyboard reaching a button chooses it
    if (!target->ReadOnly())
        target->SetChecked(true);
}

void TFcCustomRadioGroup::SetColumns(int Value)
{
    Value = std::clamp(Value, 1, 16);
    if (FColumns != Value) {
        FColumns = Value;
        ArrangeButtons();
        Invalidate();
    }
}

void TFcCustomRadioGroup::SetStartPos(int Index, int Value)
{
    int& field = Index == 1 ? FStartXPos : FStartYPos;
    if (field != Value) {
        field = Value;
        ArrangeButtons();
    }
}

#define FC_RG_SETTER(Name, Type, Field)                 \
    void TFcCustomRadioGroup::Set##Name(Type Value)     \
    {                                                   \
        if (Field == Value)                             \
            return;                                     \
        Field = Value;                                  \
        ArrangeButtons();                               \
    }
FC_RG_SETTER(ItemFrameColor, TColor, FItemFrameColor)
FC_RG_SETTER(ItemHotTrack, bool, FItemHotTrack)
FC_RG_SETTER(ItemHotTrackColor, TColor, FItemHotTrackColor)
FC_RG_SETTER(ItemHotTrackColorType, TFcHotTrackColorType, FItemHotTrackColorType)
FC_RG_SETTER(ItemHighlightColor, TColor, FItemHighlightColor)
FC_RG_SETTER(LightTextStyle, bool, FLightTextStyle)
FC_RG_SETTER(TextStyle, TTextStyle, FTextStyle)
FC_RG_SETTER(TextHighlightColor, TColor, FTextHighlightColor)
FC_RG_SETTER(TextShadowColor, TColor, FTextShadowColor)
FC_RG_SETTER(TextShadowDepth, int, FTextShadowDepth)
FC_RG_SETTER(ReadOnly, bool, FReadOnly)
FC_RG_SETTER(ReadOnlyColor, TColor, FReadOnlyColor)
FC_RG_SETTER(ReadOnlyColorOnFocus, bool, FReadOnlyColorOnFocus)
FC_RG_SETTER(SpaceEvenly, bool, FSpaceEvenly)
FC_RG_SETTER(VerticalSpacing, int, FVerticalSpacing)
FC_RG_SETTER(TransparentColor, TColor, FTransparentColor)
FC_RG_SETTER(WinMaskColor, TColor, FWinMaskColor)
#undef FC_RG_SETTER

void TFcCustomRadioGroup::SetTransparent(bool Value)
{
    TFcCustomGroupBox::SetTransparent(Value);
    ArrangeButtons();
}

void TFcCustomRadioGroup::SetCaption(const QString& Value)
{
    TFcCustomGroupBox::SetCaption(Value);
    ArrangeButtons();
}

void TFcCustomRadioGroup::SetGroupBoxStyle(TFcGroupBoxStyle Value)
{
    TFcCustomGroupBox::SetGroupBoxStyle(Value);
    ArrangeButtons();
    Invalidate();
}

void TFcCustomRadioGroup::SetCustomGlyphs(const TBitmap* Value)
{
    if (Value)
        FCustomGlyphs.Assign(Value);
    else
        FCustomGlyphs.SetSize(0, 0);
    ArrangeButtons();
}

void TFcCustomRadioGroup::SetCustomGlyphImages(TCustomImageList* Value)
{
    if (FCustomGlyphImages == Value)
        return;
    LinkImageList(this, FCustomGlyphImages, Value, [this] { CustomGlyphImagesChanged(); });
    CustomGlyphImagesChanged();
}

void TFcCustomRadioGroup::CustomGlyphImagesChanged()
{
    if (FCustomGlyphImages)
        SetUseCustomGlyphs(FCustomGlyphImages->Count() > 0);
    ArrangeButtons();
    Invalidate();
}

void TFcCustomRadioGroup::Notification(TComponent* AComponent, TOperation Operation)
{
    TFcCustomGroupBox::Notification(AComponent, Operation);
    if (Operation == opRemove && ForgetFreedImageList(FCustomGlyphImages, AComponent)) {
        SetUseCustomGlyphs(FUseCustomGlyphs && !FCustomGlyphs.Empty());
        ArrangeButtons();
    }
}

bool TFcCustomRadioGroup::ReadLegacyProperty(const QString& Name, const QString& Value)
{
    if (Name.compare(QLatin1String("Flat"), Qt::CaseInsensitive) != 0)
        return TFcCustomGroupBox::ReadLegacyProperty(Name, Value);
    SetItemHotTrack(LegacyBool(Value));
    return true;
}

void TFcCustomRadioGroup::BiDiModeChanged()
{
    TFcCustomGroupBox::BiDiModeChanged();
    ArrangeButtons();
}

void TFcCustomRadioGroup::SetUseCustomGlyphs(bool Value)
{
    FUseCustomGlyphs = Value;
    if (Value && FCustomGlyphImages) {
        FGlyphWidth = FCustomGlyphImages->Width();
        FGlyphHeight = FCustomGlyphImages->Height();
    } else if (Value) {
        FGlyphWidth = FCustomGlyphs.Width() / FNumGlyphs;
        FGlyphHeight = FCustomGlyphs.Height();
    } else {
        FGlyphWidth = 13;
        FGlyphHeight = 13;
    }
    ArrangeButtons();
}

void TFcCustomRadioGroup::SetItemFont(const TFont& Value)
{
    if (!(FItemFont == Value))
        FItemFont.Assign(Value);
}

void TFcCustomRadioGroup::ItemFontChanged()
{
    FItemHeight = GetMinFontHeight(FItemFont);
    FItemFontChanged = true;
    ArrangeButtons();
    Invalidate();
}

void TFcCustomRadioGroup::SetItemHeight(int Value)
{
    FItemHeightChanged = true;
    if (FItemHeight != Value) {
        FItemHeight = Value;
        ArrangeButtons();
    }
}

void TFcCustomRadioGroup::FontChanged()
{
    TFcCustomGroupBox::FontChanged();
    if (!FItemFontChanged) {
        auto keep = FItemFont.OnChange;
        FItemFont.OnChange = nullptr;
        FItemFont.Assign(*Font());
        FItemFont.OnChange = keep;
        ArrangeButtons();
    }
}

void TFcCustomRadioGroup::ChangeScale(int M, int D)
{
    TFcCustomGroupBox::ChangeScale(M, D);
    if (FItemFontChanged) {
        auto keep = FItemFont.OnChange;
        FItemFont.OnChange = nullptr;
        FItemFont.SetHeight(MulDiv(FItemFont.Height(), M, D));
        FItemFont.OnChange = keep;
    }
    FVerticalSpacing = MulDiv(FVerticalSpacing, M, D);
    FItemHeight = MulDiv(FItemHeight, M, D);
    FStartYPos = MulDiv(FStartYPos, M, D);
    FStartXPos = MulDiv(FStartXPos, M, D);
    ArrangeButtons();
}

void TFcCustomRadioGroup::EnabledChanged()
{
    TFcCustomGroupBox::EnabledChanged();
    for (TFcGroupButton* b : FButtons)
        b->SetEnabled(Enabled());
}

void TFcCustomRadioGroup::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const bool sized = AWidth != Width() || AHeight != Height();
    TFcCustomGroupBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (sized)
        ArrangeButtons();
}

void TFcCustomRadioGroup::CustomFramingChanged()
{
    TFcCustomGroupBox::CustomFramingChanged();
    const TFcFrameController* c = FrameController();
    if (!c || !c->FrameVisible())
        return;
    SetItemFrameColor(c->FrameColor());
    for (TFcGroupButton* b : FButtons)
        b->SetDisabledColor(c->DisabledColor());
}

void TFcCustomRadioGroup::ArrangeButtons()
{
    if (FReading || FButtons.empty() || FArranging)
        return;
    FArranging = true;
    // 1.
    int visible = 0;
    for (TFcGroupButton* b : FButtons)
        if (b->Visible())
            ++visible;
    const int rows = (visible + FColumns - 1) / FColumns;
    // 2. column widths
    const int evenWidth = (Width() - FStartXPos - 2 * BorderWidth() - 10) / FColumns;
    std::vector<int> widths(size_t(FColumns), 0);
    if (!FSpaceEvenly) {
        TBitmap m(1, 1);
        m.Canvas()->SetFont(FItemFont);
        int layout = 0;
        for (TFcGroupButton* b : FButtons) {
            if (!b->Visible())
                continue;
            const int w = m.Canvas()->TextWidth(RemoveAccelerators(b->Caption().trimmed())) + FGlyphWidth + 12;
            const size_t col = size_t(std::min(FColumns - 1, rows > 0 ? layout / rows : 0));
            widths[col] = std::max(widths[col], w);
            ++layout;
        }
    }
    // 3.
    TRect r = ClientRect();
    AdjustClientRect(r);
    const int topY = FStartYPos + r.Top;
    // 4./5.
    int layout = 0;
    for (TFcGroupButton* b : FButtons) {
        if (!b->Visible())
            continue;
        b->SetFont(FItemFont);
        b->SetBiDiMode(BiDiMode());
        b->SetTextHighlightColor(FTextHighlightColor);
        b->SetTextShadowColor(FTextShadowColor);
        b->SetTextShadowDepth(FTextShadowDepth);
        b->SetLightTextStyle(FLightTextStyle);
        b->SetTextStyle(FTextStyle);
        b->SetTransparent(Transparent());
        b->SetWinMaskColor(FWinMaskColor);
        b->SetTransparentColor(FTransparentColor);
        if (!FCustomGlyphs.Empty())
            b->SetCustomGlyphs(&FCustomGlyphs);
        b->SetCustomGlyphImages(FCustomGlyphImages);
        b->SetUseCustomGlyphs(FUseCustomGlyphs);
        b->SetFrameColor(FItemFrameColor);
        b->SetHotTrack(FItemHotTrack);
        b->SetHighlightColor(FItemHighlightColor);
        b->SetHotTrackColor(FItemHotTrackColor);
        b->SetHotTrackColorType(FItemHotTrackColorType);
        b->TFcCustomGlyphButton::SetReadOnly(FReadOnly);
        b->SetReadOnlyColor(FReadOnlyColor);
        b->SetReadOnlyColorOnFocus(FReadOnlyColorOnFocus);
        const int col = rows > 0 ? layout / rows : 0, row = rows > 0 ? layout % rows : 0;
        const int top = row * (FItemHeight + FVerticalSpacing) + topY;
        int left, width;
        if (FSpaceEvenly) {
            width = evenWidth;
            left = UseRightToLeftAlignment() ? ClientWidth() - (col * evenWidth + BorderWidth()) - evenWidth - FStartXPos
                                             : col * evenWidth + BorderWidth() + FStartXPos;
        } else {
            int sum = 0;
            for (int i = 0; i < col && i < FColumns; ++i)
                sum += widths[size_t(i)];
            const int colWidth = widths[size_t(std::min(col, FColumns - 1))];
            width = colWidth - 4;
            left = UseRightToLeftAlignment() ? ClientWidth() - (sum + BorderWidth()) - colWidth - FStartXPos + 4
                                             : sum + BorderWidth() + FStartXPos;
        }
        // the group places its buttons: their own sizing would undo the columns
        b->SetAutoSize(false);
        b->SetBounds(left, top, width, FItemHeight);
        ++layout;
    }
    FArranging = false;
}
