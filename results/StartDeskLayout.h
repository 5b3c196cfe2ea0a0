#pragma once
// The few building blocks every start-desk window is laid out from: a named
// control at a place, a grid's columns, a row of tool buttons, a captioned
// data-bound edit.
#include "platform/ui/ActnList.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/DBGrids.h"
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

struct TEditorButton {
    TAction* Action;
    const char* Caption;
    std::function<void()> Run;
};

// "Muokkaa", "Uusi", "Poista" and the like, side by side from X on the top row.
inline void AddEditorButtons(TComponent* Owner, TWinControl* Parent, int X, std::initializer_list<TEditorButton> Buttons)
{
    for (const auto& b : Buttons) {
        b.Action->SetCaption(L(b.Caption));
        auto* button = Make<TButton>(Owner, Parent, X, 4, 90, 24, QString());
        button->SetCaption(L(b.Caption));
        button->OnClick = [run = b.Run](TComponent*) { run(); };
        X += 96;
    }
}

// A caption and the edit of one field below the previous one (Y moves on).
inline TDBEdit* AddFieldEdit(TComponent* Owner, TWinControl* Parent, TDataSource* Source, int Left, int CaptionWidth,
                             int& Y, const char* Caption, const char* FieldName, int Width)
{
    auto* l = Make<TLabel>(Owner, Parent, Left, Y + 4, CaptionWidth, 16, QString());
    l->SetCaption(L(Caption));
    auto* e = Make<TDBEdit>(Owner, Parent, Left + CaptionWidth + 10, Y, Width, 24,
                            QStringLiteral("edt") + QString::fromLatin1(FieldName));
    e->SetDataSource(Source);
    e->SetDataField(QString::fromLatin1(FieldName));
    Y += 30;
    return e;
}

// What the operator typed reaches the row before the checks read it.
inline void PostTypedText(TDataSet& DataSet)
{
    if (DataSet.State() == dsEdit || DataSet.State() == dsInsert)
        DataSet.UpdateRecord();
}

}  // namespace startdesk
