#pragma once
// The few building blocks every start-desk window is laid out from: a named
// control at a place, the library's grid with its columns, a row of tool
// buttons on actions, captioned data-bound edits and check boxes, and the
// placing of an editor over the main window.
#include "app/vrkMainForm.h"
#include "app/vrkProgramToolbars.h"
#include "components/framed/FcToolbar.h"
#include "components/base/rButton.h"
#include "components/dbcontrols/TrDBCheckBox.h"
#include "components/dbcontrols/TrDBEdit.h"
#include "components/grid/TrDBAction.h"
#include "components/grid/rDBGrid.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include <QString>

#include <functional>
#include <initializer_list>

namespace startdesk {

inline QString L(const char* s) { return QString::fromUtf8(s); }

template <class T>
T* Make(TComponent* owner, TWinControl* parent, int x, int y, int w, int h, const QString& name)
{
    auto* c = new T(owner);
    c->SetName(name);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    return c;
}

struct TGridColumnDef {
    const char* Field;
    const char* Title;
    int Width;
};

inline void AddGridColumns(TDBGrid* Grid, std::initializer_list<TGridColumnDef> Columns)
{
    for (const auto& c : Columns) {
        TColumn* col = Grid->Columns()->Add();
        col->SetFieldName(QString::fromLatin1(c.Field));
        col->Title()->SetCaption(L(c.Title));
        col->SetWidth(c.Width);
    }
}

// The library's grid over a dataset, whole rows selected; the editors edit
// in their fields, never in the grid.
inline TrDBGrid* MakeGrid(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H, const QString& Name,
                          TDataSource* Source, std::initializer_list<TGridColumnDef> Columns)
{
    auto* g = Make<TrDBGrid>(Owner, Parent, X, Y, W, H, Name);
    g->SetOptions(dgTitles | dgColLines | dgRowLines | dgRowSelect | dgAlwaysShowSelection);
    g->SetReadOnly(true);
    g->SetDataSource(Source);
    AddGridColumns(g, Columns);
    return g;
}

// The chosen row's own colour shows while the operator works elsewhere: the
// cursor row is marked only while the grid has the focus.
inline void ChosenRowsShow(TrDBGrid* Grid) { Grid->SetOptions(Grid->Options() & ~dgAlwaysShowSelection); }

// The grid the grid actions (find, sort, export) work on, sorted again after
// its dataset was reopened.
inline void MakeActiveGrid(TrDBGrid* Grid)
{
    if (rDBAction)
        rDBAction->SetActiveGrid(Grid);
    Grid->ReSort();
}

// The grid action module's menu and shortcuts on an editor's grid: a right
// click makes the grid the one the module acts on, so find, sort, filter,
// columns and export reach the rows the operator pointed at.
inline void GiveGridActions(TrDBGrid* Grid)
{
    if (!rDBAction)
        return;
    Grid->SetPopupMenu(rDBAction->pmDBAction);
    Grid->OnContextPopup = [Grid](TComponent*, TPoint, bool&) { rDBAction->SetActiveGrid(Grid); };
    // Esc stays the window's (it closes or drops an edit there).
    Grid->OnKeyDown = [Grid, own = Grid->OnKeyDown](TComponent* Sender, Word& Key, TShiftState Shift) {
        if (own)
            own(Sender, Key, Shift);
        if (Key != 0 && Key != VK_ESCAPE && rDBAction && rDBAction->GetActiveGrid() == Grid)
            rDBAction->CheckShortcut(Key, Shift);
    };
}

struct TEditorButton {
    TAction* Action;
    const char* Caption;
    std::function<void()> Run;
};

// "Muokkaa", "Uusi", "Poista" and the like, from X on the top row, on a
// framed tool bar with a spacer between neighbours; each button follows its
// action, which the data module's rules enable and disable.
inline void AddEditorButtons(TComponent* Owner, TWinControl* Parent, int X, std::initializer_list<TEditorButton> Buttons)
{
    TFcToolbar* bar = progbars::MakeDialogToolbar(Owner, Parent, "", X, 3, int(Buttons.size()) * 90, 26);
    for (const auto& b : Buttons) {
        b.Action->SetCaption(L(b.Caption));
        b.Action->OnExecute = [run = b.Run](TComponent*) { run(); };
        if (bar->ControlCount() > 0)
            progbars::AddSpacer(Owner, bar, "", 10);
        progbars::AddDialogButton(Owner, bar, b.Action, 90);
    }
    bar->SetWidth(progbars::RowWidth(bar));
    bar->Realign();
}

// The editors' keys: F9 runs "Muokkaa", F10 "Uusi" (each only while its
// action is enabled), Escape presses "Peruuta"; those keys are consumed.
inline void EditorKey(Word& Key, TAction* Edit, TAction* New, TButton* Cancel)
{
    if (Key == VK_F9)
        Edit->Execute();
    else if (Key == VK_F10)
        New->Execute();
    else if (Key == VK_ESCAPE)
        Cancel->Click();
    else
        return;
    Key = 0;
}

// The editor pattern's window events: the keys on their press, Escape's
// release dropping an edit still pending after the question was answered
// with Cancel (and giving the toolbar back), and the closing question.
inline void AttachEditorEvents(TForm* Form, std::function<void(Word&)> Keys, std::function<bool()> DropPending,
                               std::function<void()> GiveBack, std::function<bool()> CloseQuery)
{
    Form->OnKeyDown = [Keys](TComponent*, Word& Key, TShiftState) { Keys(Key); };
    Form->OnKeyUp = [DropPending, GiveBack](TComponent*, Word& Key, TShiftState) {
        if (Key == VK_ESCAPE && DropPending())
            GiveBack();
    };
    Form->OnCloseQuery = [CloseQuery](TComponent*, bool& CanClose) { CanClose = CloseQuery(); };
}

// The editor's toolbar and list, out of reach while a row is typed.
inline void EditorToolbarEnabled(bool Enabled, std::initializer_list<TAction*> Actions, TControl* Grid)
{
    for (TAction* a : Actions)
        a->SetEnabled(Enabled);
    Grid->SetEnabled(Enabled);
}

// A caption and the library's edit of one field below the previous one (Y
// moves on). The edit's own field-named label gives way to the caption.
inline TrDBEdit* AddFieldEdit(TComponent* Owner, TWinControl* Parent, TDataSource* Source, int Left, int CaptionWidth,
                              int& Y, const char* Caption, const char* FieldName, int Width)
{
    auto* l = Make<TLabel>(Owner, Parent, Left, Y + 4, CaptionWidth, 16, QString());
    l->SetCaption(L(Caption));
    auto* e = Make<TrDBEdit>(Owner, Parent, Left + CaptionWidth + 10, Y, Width, 24,
                             QStringLiteral("edt") + QString::fromLatin1(FieldName));
    e->SetDataSource(Source);
    e->SetDataField(QString::fromLatin1(FieldName));
    e->DBEditLabel()->SetVisible(false);
    e->DBEditLabel()->StoreVisible();
    Y += 30;
    return e;
}

// A "K"/"E" field as the library's check box.
inline TrDBCheckBox* AddFieldCheck(TComponent* Owner, TWinControl* Parent, TDataSource* Source, int Left, int Y,
                                   int Width, const char* Caption, const char* FieldName)
{
    auto* b = Make<TrDBCheckBox>(Owner, Parent, Left, Y, Width, 20, QStringLiteral("chk") + QString::fromLatin1(FieldName));
    b->SetCaption(L(Caption));
    b->ValueChecked = L("K");
    b->ValueUnchecked = L("E");
    b->SetDataSource(Source);
    b->SetDataField(QString::fromLatin1(FieldName));
    return b;
}

// Centred across the main window, Offset pixels below its middle (the
// editors sit a little apart so that one opened from another shows both).
// Integer division truncates toward zero, as the offsets were measured with.
inline void CentreOnMainForm(TCustomForm* Form, int Offset)
{
    if (!formMain)
        return;
    Form->SetLeft(formMain->Left() + (formMain->Width() - Form->Width()) / 2);
    Form->SetTop(formMain->Top() + (formMain->Height() - Form->Height()) / 2 + Offset);
}

// What the operator typed reaches the row before the checks read it.
inline void PostTypedText(TDataSet& DataSet)
{
    if (DataSet.State() == dsEdit || DataSet.State() == dsInsert)
        DataSet.UpdateRecord();
}

}  // namespace startdesk
