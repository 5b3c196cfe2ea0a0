#include "platform/ui/DBListControls.h"

#include "platform/database/Fields.h"

// ---- TDBComboBox ---------------------------------------------------------------------

TDBComboBox::TDBComboBox(TComponent* AOwner) : TDBFieldControl(AOwner)
{
    FDataLink.OnDataChange = [this](TFieldDataLink*) { DataChange(); };
    FDataLink.OnActiveChange = [this](TFieldDataLink*) { DataChange(); };
    FDataLink.OnUpdateData = [this](TFieldDataLink*) {
        if (TField* f = FDataLink.Field())
            f->SetText(ChosenText());
    };
}

TDBComboBox::~TDBComboBox() { FDataLink.SetDataSource(nullptr); }

QString TDBComboBox::ChosenText() const
{
    if (Style() != csDropDownList)
        return Text();
    const int i = ItemIndex();
    return i >= 0 && i < Count() ? Items().at(i) : QString();
}

void TDBComboBox::DataChange()
{
    TField* f = FDataLink.Field();
    const QString text = f ? f->Text() : QString();
    FShowing = true;
    if (Style() == csDropDownList)
        SetItemIndex(IndexOf(text));
    else
        SetText(text);
    FShowing = false;
}

void TDBComboBox::Change()
{
    if (!FShowing) {
        // Starting to edit shows the record again: the choice is put back.
        const int index = ItemIndex();
        const QString text = Text();
        if (FDataLink.Edit()) {
            FShowing = true;
            if (Style() == csDropDownList)
                SetItemIndex(index);
            else
                SetText(text);
            FShowing = false;
            FDataLink.SetModified();
        } else {
            // A read-only field or dataset takes nothing: the box shows the field again.
            DataChange();
        }
    }
    TComboBox::Change();
}

void TDBComboBox::DoExit()
{
    FDataLink.UpdateRecord();
    TComboBox::DoExit();
}

// ---- TDBListBox ----------------------------------------------------------------------

TDBListBox::TDBListBox(TComponent* AOwner) : TDBFieldControl(AOwner)
{
    FDataLink.OnDataChange = [this](TFieldDataLink*) { DataChange(); };
    FDataLink.OnActiveChange = [this](TFieldDataLink*) { DataChange(); };
    FDataLink.OnUpdateData = [this](TFieldDataLink*) {
        TField* f = FDataLink.Field();
        const int i = ItemIndex();
        if (f && i >= 0 && i < Count())
            f->SetText(Items().at(i));
    };
}

TDBListBox::~TDBListBox() { FDataLink.SetDataSource(nullptr); }

void TDBListBox::DataChange()
{
    TField* f = FDataLink.Field();
    FShowing = true;
    SetItemIndex(f ? Items().indexOf(f->Text()) : -1);
    FShowing = false;
}

void TDBListBox::Click()
{
    if (!FShowing) {
        const int index = ItemIndex();
        if (FDataLink.Edit()) {
            FShowing = true;
            SetItemIndex(index);
            FShowing = false;
            FDataLink.SetModified();
        } else {
            DataChange();
        }
    }
    TListBox::Click();
}

void TDBListBox::DoExit()
{
    FDataLink.UpdateRecord();
    TListBox::DoExit();
}
