#include "components/framed/FcCmboBx.h"

#include "platform/os/Sound.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/ComboEditKeys.h"
#include "platform/ui/ExtCtrls.h"

TFcCustomComboBox::TFcCustomComboBox(TComponent* AOwner) : TComboBox(AOwner), FTimer(std::make_unique<TTimer>(nullptr))
{
    FcCommonInitialize();
    TComboBox::SetAutoComplete(false);
    SetColor(clWindow);
    FNormalColor = Color();
    FTimer->SetEnabled(false);
    FTimer->SetInterval(IncrementalSearchResetDelay);
    FTimer->OnTimer = [this](TComponent*) { SearchTimerExpired(); };
}

TFcCustomComboBox::~TFcCustomComboBox()
{
    if (FFrameController)
        FFrameController->RemoveControl(this);
}

QWidget* TFcCustomComboBox::CreateWidget()
{
    QWidget* w = TComboBox::CreateWidget();
    FWidget = w;
    RouteEditKeysToCombo(this);
    UpdateFrameLayer();
    return w;
}

void TFcCustomComboBox::SetStyle(TComboBoxStyle Value)
{
    TComboBox::SetStyle(Value);
    RouteEditKeysToCombo(this);
    UpdateFrameLayer();
}

void TFcCustomComboBox::SetDisabledColor(TColor Value)
{
    FDisabledColor = Value;
    if (!Enabled())
        UpdateColors();
}

void TFcCustomComboBox::SetFocusColor(TColor Value)
{
    FFocusColor = Value;
    if (FIsFocused)
        UpdateColors();
}

void TFcCustomComboBox::SetReadOnlyColor(TColor Value)
{
    FReadOnlyColor = Value;
    if (FReadOnly)
        UpdateColors();
}

void TFcCustomComboBox::SetReadOnly(bool Value)
{
    if (FReadOnly == Value)
        return;
    FReadOnly = Value;
    UpdateColors();
    UpdateFrameLayer();
    Invalidate();
}

void TFcCustomComboBox::SetFrameController(TFcFrameController* Value)
{
    ChangeFrameController(this, FFrameController, Value);
}

void TFcCustomComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFrameController)
        FFrameController = nullptr;
}

void TFcCustomComboBox::SetFrameProperty(TFcFrameControllerProperty P, const TFcFrameController* C)
{
    switch (P) {
    case fcpColor: SetColor(C->Color()); break;
    case fcpFocusColor: SetFocusColor(C->FocusColor()); break;
    case fcpDisabledColor: SetDisabledColor(C->DisabledColor()); break;
    case fcpReadOnlyColor: SetReadOnlyColor(C->ReadOnlyColor()); break;
    case fcpReadOnlyColorOnFocus: ReadOnlyColorOnFocus = C->ReadOnlyColorOnFocus(); break;
    case fcpParentColor: SetParentColor(C->ParentColor()); break;
    case fcpFlatButtonColor: FlatButtonColor = C->FlatButtonColor(); break;
    case fcpFlatButtons: FlatButtons = C->FlatButtons(); break;
    default: TakeFrameProperty(P, C); break;
    }
    Invalidate();
}

void TFcCustomComboBox::DrawItem(int Index, TRect R, TOwnerDrawState State)
{
    TComboBox::DrawItem(Index, R, State);
    // the focus rectangle drawn after the item inverts this one away
    if ((State & odFocused) && !ShowFocus)
        Canvas()->DrawFocusRect(R);
}

void TFcCustomComboBox::DeleteItem(void* Item)
{
    if (OnDeleteItem)
        OnDeleteItem(this, Item);
}

void TFcCustomComboBox::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    // the item's data is told of and cleared before the item goes
    if (void* data = Objects(Index)) {
        DeleteItem(data);
        SetObjects(Index, nullptr);
    }
    QStringList items = Items();
    std::vector<void*> objects;
    for (int i = 0; i < Count(); ++i)
        if (i != Index)
            objects.push_back(Objects(i));
    items.removeAt(Index);
    SetItems(items);
    for (int i = 0; i < Count(); ++i)
        SetObjects(i, objects[size_t(i)]);
}

void TFcCustomComboBox::ClearItems()
{
    for (int i = 0; i < Count(); ++i)
        if (void* data = Objects(i))
            DeleteItem(data);
    Clear();
}

void TFcCustomComboBox::InvalidKeyPressed()
{
    if (BeepOnInvalidKey)
        MessageBeep(0);
}

void TFcCustomComboBox::UpdateColors()
{
    if (Loading())
        return;
    FUpdatingColor = true;
    TColor c;
    if (!Enabled())
        c = FDisabledColor;
    else if (FIsFocused)
        c = FReadOnly && ReadOnlyColorOnFocus ? FReadOnlyColor : FFocusColor;
    else
        c = FReadOnly ? FReadOnlyColor : FNormalColor;
    SetColor(c);
    FUpdatingColor = false;
}

void TFcCustomComboBox::ColorChanged()
{
    if (!FUpdatingColor) {
        if (FFocusColor == FNormalColor)
            FFocusColor = Color();
        FNormalColor = Color();
    }
    TComboBox::ColorChanged();
}

void TFcCustomComboBox::EnabledChanged()
{
    TComboBox::EnabledChanged();
    UpdateColors();
}

void TFcCustomComboBox::Loaded()
{
    TComboBox::Loaded();
    UpdateColors();
}

int TFcCustomComboBox::FindClosest(const QString& S) const
{
    const QStringList items = Items();
    for (int i = 0; i < items.size(); ++i)
        if (items.at(i).startsWith(S, Qt::CaseInsensitive))
            return i;
    return -1;
}

bool TFcCustomComboBox::FindItem(const QString& S)
{
    const int i = IndexOf(S);
    if (i >= 0)
        SetItemIndex(i);
    return i >= 0;
}

bool TFcCustomComboBox::FindClosestItem(const QString& S)
{
    const int i = FindClosest(S);
    if (i >= 0)
        SetItemIndex(i);
    return i >= 0;
}

void TFcCustomComboBox::ForceText(const QString& S)
{
    if (Text() == S)
        return;
    const bool keep = FAutoComplete;
    FAutoComplete = false;
    SetText(S);
    FAutoComplete = keep;
}

void TFcCustomComboBox::SetText(const QString& Value)
{
    TComboBox::SetText(Value);
    // 3. text set from code completes to the first item beginning with it
    // (an open list shows the user's own choice: it is left as it is)
    if (!FAutoComplete || FCompleting || Style() != csDropDown || Value.isEmpty() || DroppedDown())
        return;
    const int i = FindClosest(Value);
    if (i < 0)
        return;
    FCompleting = true;
    FSearchString = Value;
    SetItemIndex(i);
    SetSelStart(int(Value.size()));
    SetSelLength(int(Items().at(i).size()) - int(Value.size()));
    FCompleting = false;
}

int CharLengthBefore(const QString& S, int Pos)
{
    if (Pos <= 0 || Pos > S.size())
        return 0;
    return Pos >= 2 && S.at(Pos - 1).isLowSurrogate() && S.at(Pos - 2).isHighSurrogate() ? 2 : 1;
}

int CharLengthAt(const QString& S, int Pos)
{
    if (Pos < 0 || Pos >= S.size())
        return 0;
    return Pos + 1 < S.size() && S.at(Pos).isHighSurrogate() && S.at(Pos + 1).isLowSurrogate() ? 2 : 1;
}

void TFcCustomComboBox::FireKeyPress(QChar Key)
{
    if (OnKeyPress && !Key.isNull()) {
        QChar k = Key;
        OnKeyPress(this, k);
    }
}

void TFcCustomComboBox::ChangeAndClick()
{
    Click();
    Change();
}

void TFcCustomComboBox::Change()
{
    // a paste or cut completes from what the field now holds
    if (FCompleteAfterPaste && !FCompleting) {
        FCompleteAfterPaste = false;
        FSearchString = Text();
        FCompleting = true;
        FindListItem(FSearchString, QChar());
        FCompleting = false;
    }
    TComboBox::Change();
}

bool TFcCustomComboBox::FindListItem(const QString& S, QChar Key)
{
    const int old = ItemIndex();
    const int i = FindClosest(S);
    if (i < 0)
        return false;
    FCompleting = true;
    const QString item = Items().at(i);
    if (KeepSearchCase) {
        TComboBox::SetText(S + item.mid(S.size()));
    } else {
        SetItemIndex(-1);
        SetItemIndex(i);
    }
    FCompleting = false;
    ChangeAndClick();
    FireKeyPress(Key);
    SetSelStart(int(S.size()));
    SetSelLength(int(item.size() - S.size()));
    if (ItemIndex() != old)
        Match();
    return true;
}

void TFcCustomComboBox::Match()
{
    if (OnMatch)
        OnMatch(this);
}

void TFcCustomComboBox::NotInList()
{
    if (OnNotInList)
        OnNotInList(this);
}

void TFcCustomComboBox::UpdateIndex(const QString& S, QChar Key)
{
    const int i = FindClosest(S);
    if (i < 0) {
        InvalidKeyPressed();
        return;
    }
    SetItemIndex(i);
    FSearchString = S;
    ChangeAndClick();
    FireKeyPress(Key);
}

void TFcCustomComboBox::SearchTimerExpired()
{
    if (FKeyCount != 0)
        return;
    FTimer->SetEnabled(false);
    FSearchString.clear();
}

void TFcCustomComboBox::KeyDown(Word& Key, TShiftState Shift)
{
    FTabKeyDown = Key == VK_TAB;
    if (FReadOnly && ((Key == 'C' || Key == VK_INSERT) && Shift == ssCtrl)) {
        // the copy is done here: the edit would take its character for typing
        TComboBox::KeyDown(Key, Shift);
        if (Key != 0 && !SelText().isEmpty())
            Clipboard()->SetAsText(SelText());
        Key = 0;
        return;
    }
    if (FReadOnly && !ReadOnlyKeyPasses(Key, Shift)) {
        Key = 0;
        return;
    }
    switch (Key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
    case VK_ESCAPE:
        FSearchString.clear();
        break;
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_RIGHT:
        FSearchString = Style() == csDropDownList ? QString() : Text();
        break;
    case VK_DELETE:
        if (Style() != csDropDownList)
            FSearchString = TextLessDeleted();
        if (!AllowEdit && SelLength() != int(Text().size()))
            Key = 0;
        break;
    case VK_INSERT:
        if (Shift == ssShift && AllowEdit)
            FCompleteAfterPaste = true;
        else if (!AllowEdit)
            Key = 0;
        break;
    case 'V':
    case 'X':
        if (Shift == ssCtrl) {
            if (AllowEdit)
                FCompleteAfterPaste = Style() == csDropDown && FAutoComplete;
            else
                Key = 0;
        }
        break;
    default:
        break;
    }
    if (Key != 0)
        TComboBox::KeyDown(Key, Shift);
}

bool TFcCustomComboBox::ReadOnlyKeyPasses(Word Key, TShiftState Shift) const
{
    // Tab moves the focus on in every style; the editable styles keep the caret
    // and Shift selection (for a copy) but nothing that changes the choice or text
    if (Key == VK_TAB)
        return true;
    if (Style() == csDropDownList)
        return false;
    if (Shift & ssAlt)
        return Key == VK_F4;
    switch (Key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
    case VK_DELETE:
    case VK_F4:
        return false;
    case VK_INSERT:
        return !(Shift & ssShift);  // Shift+Insert pastes
    default:
        return true;
    }
}

QString TFcCustomComboBox::TextLessDeleted() const
{
    QString text = Text();
    const int start = std::clamp(SelStart(), 0, int(text.size()));
    const int length = SelLength() > 0 ? SelLength() : CharLengthAt(text, start);
    return text.remove(start, length);
}

void TFcCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // a click puts the caret anywhere: typing goes on from the whole text
    if (Button == mbLeft && Style() == csDropDown)
        FSearchString = Text();
    TComboBox::MouseDown(Button, Shift, X, Y);
}

void TFcCustomComboBox::KeyUp(Word& Key, TShiftState Shift)
{
    // a paste of nothing changed nothing: no completion waits for later typing
    FCompleteAfterPaste = false;
    TComboBox::KeyUp(Key, Shift);
}

void TFcCustomComboBox::AfterKeyPress(QChar Key)
{
    if (!AutoDropDown)
        return;
    if (Key == QLatin1Char('\t')) {
        if (DroppedDown())
            SetDroppedDown(false);
    } else if (!Key.isNull() && Key != QLatin1Char('\b') && Key != QChar(27) && !DroppedDown()) {
        SetDroppedDown(true);
    }
}

void TFcCustomComboBox::ListSearchKey(QChar& Key)
{
    // 4. the list styles search as the user types
    if (Key == QLatin1Char('\b')) {
        if (FSearchString.isEmpty()) {
            InvalidKeyPressed();
            UpdateIndex(QString(), Key);
        } else {
            FSearchString.chop(CharLengthBefore(FSearchString, int(FSearchString.size())));
            if (FSearchString.isEmpty()) {
                SetItemIndex(0);
                ChangeAndClick();
                FireKeyPress(Key);
            } else {
                UpdateIndex(FSearchString, Key);
            }
        }
        Key = QChar();
        return;
    }
    if (Key.unicode() >= 32 && Key.unicode() <= 255) {
        FKeyCount = 1;
        UpdateIndex(FSearchString + Key, Key);
        FTimer->SetEnabled(false);
        FTimer->SetEnabled(true);
        FKeyCount = 0;
        Key = QChar();
    }
}

void TFcCustomComboBox::KeyPress(QChar& Key)
{
    if (TabOnEnter && Key == QLatin1Char('\r') && !DroppedDown()) {
        Key = QChar();
        if (Parent())
            Parent()->PostTab(true);
        return;
    }
    if (FReadOnly) {
        // Ctrl+C copies; Tab (whatever character it brings) moves the focus on
        if (Key != QChar(3) && !FTabKeyDown)
            Key = QChar();
        return;
    }
    if (Style() == csDropDown && MaxLength > 0 && Key.unicode() >= 32 && int(Text().size()) >= MaxLength && SelLength() == 0) {
        InvalidKeyPressed();
        Key = QChar();
        return;
    }
    const QChar typed = Key;
    if (Style() == csDropDownList || IsOwnerDrawn()) {
        ListSearchKey(Key);
        AfterKeyPress(typed);
        return;
    }
    CompleteTypedKey(Key);
    AfterKeyPress(typed);
}

void TFcCustomComboBox::BackspaceSearchString()
{
    const int start = SelStart();
    const int length = SelLength();
    if (start >= FSearchString.size()) {
        FSearchString.chop(CharLengthBefore(FSearchString, int(FSearchString.size())));
    } else if (length > 0 && AllowEdit) {
        // the edit takes the selection away; the completion starts over from what is left
        FSearchString.remove(start, length);
        SetItemIndex(-1);
        SetSelStart(start);
        SetSelLength(length);  // kept, so that the edit removes just that
    } else if (AllowEdit && start > 0) {
        const int n = CharLengthBefore(FSearchString, start);
        FSearchString.remove(start - n, n);
    }
}

void TFcCustomComboBox::CompleteTypedKey(QChar& Key)
{
    if (!FAutoComplete) {
        TComboBox::KeyPress(Key);
        return;
    }
    if (Key == QLatin1Char('\b')) {
        if (FSearchString.isEmpty()) {
            InvalidKeyPressed();
            return;
        }
        BackspaceSearchString();
        Change();
        if (FSearchString.isEmpty()) {
            SetItemIndex(-1);
            if (KeepSearchCase)
                TComboBox::SetText(QString());
            ChangeAndClick();
            FireKeyPress(Key);
            Key = QChar();
            return;
        }
        if (FindListItem(FSearchString, Key))
            Key = QChar();
        return;
    }
    if (Key == QLatin1Char('\r')) {
        if (DroppedDown())
            SelEndOk();
        return;
    }
    if (Key == QChar(27)) {
        FSearchString.clear();
        if (!DroppedDown())
            Key = QChar();
        return;
    }
    if ((Key == QChar(22) || Key == QChar(24)) && !AllowEdit) {
        Key = QChar();
        return;
    }
    if (Key.unicode() < 32)
        return;
    TComboBox::KeyPress(Key);
    if (Key.isNull() || Key.unicode() < 32)
        return;
    // a printable character: the typed prefix (its case kept) without the
    // selected part, the key inserted at the caret
    QString text = FSearchString.isEmpty() || SelStart() > FSearchString.size() ? Text() : FSearchString;
    const int start = std::clamp(SelStart(), 0, int(text.size()));
    text.remove(start, SelLength());
    const QString before = FSearchString;
    QString typed(Key);
    const QString pending = PendingKeyText();
    if (Key.isHighSurrogate() && !pending.isEmpty() && pending.at(0).isLowSurrogate())
        typed += pending.at(0);
    const QString candidate = text.left(start) + typed + text.mid(start);
    if (FindListItem(candidate, Key)) {
        FSearchString = candidate;
        Key = QChar();
        return;
    }
    if (AllowEdit) {
        FSearchString = candidate;
        return;  // the edit inserts it as typed
    }
    InvalidKeyPressed();
    FSearchString = before;
    Key = QChar();
}

void TFcCustomComboBox::DoEnter()
{
    TComboBox::DoEnter();
    FIsFocused = true;
    UpdateColors();
}

void TFcCustomComboBox::DoExit()
{
    TComboBox::DoExit();
    FIsFocused = false;
    FSearchString.clear();
    UpdateColors();
    if (Style() == csDropDown && !Text().isEmpty() && IndexOf(Text()) < 0)
        NotInList();
}

void TFcCustomComboBox::ItemChosen()
{
    // an item taken from the open list, by mouse or key, ends the selection with "ok"
    if (FListOpen || FListClosing)
        SelEndOk();
}

void TFcCustomComboBox::SelEndOk()
{
    if (FSelectionEnded)
        return;
    FSelectionEnded = true;
    if (OnSelEndOk)
        OnSelEndOk(this);
}

void TFcCustomComboBox::SelEndCancel()
{
    if (FSelectionEnded)
        return;
    FSelectionEnded = true;
    if (OnSelEndCancel)
        OnSelEndCancel(this);
}

void TFcCustomComboBox::CloseUp()
{
    FListOpen = false;
    FListClosing = true;
    TComboBox::CloseUp();
    // the chosen item is reported just after the list closes: without one, the
    // list was left by Escape, a click elsewhere or the button
    PostCall([this] {
        FListClosing = false;
        SelEndCancel();
    });
}

void TFcCustomComboBox::DropDown()
{
    FListOpen = true;
    FListClosing = false;
    FSelectionEnded = false;
    TComboBox::DropDown();
    if (DropDownWidth() > 0)
        return;
    // as wide as the widest item, never narrower than the box
    TBitmap m(1, 1);
    m.Canvas()->SetFont(*Font());
    int w = 0;
    for (const QString& item : Items())
        w = std::max(w, m.Canvas()->TextWidth(item));
    if (Count() > DropDownCount())
        w += 17;
    w = std::max(w + 8, Width());
    TComboBox::SetDropDownWidth(w == Width() ? 0 : w);
}

// ---- TFcComboBox ----------------------------------------------------------------------------------

void TFcComboBox::SetValues(const QStringList& Value)
{
    FValues = Value;
    FForceSetValue = true;
    SetValue(GetValue());
    FForceSetValue = false;
}

void TFcComboBox::ClearItemsValues()
{
    FValues.clear();
    SetItems({});
}

void TFcComboBox::AddItemValue(const QString& Item, const QString& Value)
{
    const int at = AddItem(Item);
    while (FValues.size() < at)
        FValues.append(QString());
    FValues.insert(at, Value);
}

void TFcComboBox::InsertItemValue(int Index, const QString& Item, const QString& Value)
{
    QStringList items = Items();
    items.insert(Index, Item);
    SetItems(items);
    while (FValues.size() < Index)
        FValues.append(QString());
    FValues.insert(Index, Value);
}

void TFcComboBox::DeleteItemValue(int Index)
{
    QStringList items = Items();
    if (Index >= 0 && Index < items.size()) {
        items.removeAt(Index);
        SetItems(items);
    }
    if (Index >= 0 && Index < FValues.size())
        FValues.removeAt(Index);
}

QString TFcComboBox::GetItemValue(int Index) const
{
    if (Index >= 0 && Index < FValues.size() && !FValues.at(Index).isEmpty())
        return FValues.at(Index);
    if (Index >= 0 && Index < Items().size())
        return Items().at(Index);
    return QString();
}

QString TFcComboBox::GetValue()
{
    const int i = Style() == csDropDownList || IsOwnerDrawn() ? ItemIndex() : (Text().isEmpty() ? -1 : IndexOf(Text()));
    if (i >= 0 && i < FValues.size() && !FValues.at(i).isEmpty()) {
        FValue = FValues.at(i);
        return FValue;
    }
    return Text();
}

void TFcComboBox::Change()
{
    if (!FInSetValue && !FForceSetValue)
        TFcCustomComboBox::Change();
}

void TFcComboBox::Click()
{
    if (!FInSetValue)
        TFcCustomComboBox::Click();
}

void TFcComboBox::SetValue(const QString& Value)
{
    if (Value == FValue && !FForceSetValue)
        return;
    FInSetValue = true;
    int found = -1;
    for (int i = 0; i < Count(); ++i)
        if (GetItemValue(i) == Value) {
            found = i;
            break;
        }
    SetItemIndex(found);
    FValue = Value;
    FInSetValue = false;
}
