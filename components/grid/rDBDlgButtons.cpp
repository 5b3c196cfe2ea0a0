#include "components/grid/rDBDlgButtons.h"

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/PlaceControl.h"

TDlgBottomRow AddDlgBottomRow(TrDBDlgBaseForm* Form, int RightWidth)
{
    TDlgBottomRow row;
    row.Panel = new TPanel(Form);
    row.Panel->SetParent(Form);
    row.Panel->SetBevelOuter(bvNone);
    row.Panel->SetHeight(41);
    row.Panel->SetAlign(alBottom);
    row.Panel->SetParentColor(true);
    row.Right = new TPanel(Form);
    row.Right->SetParent(row.Panel);
    row.Right->SetBevelOuter(bvNone);
    row.Right->SetWidth(RightWidth);
    row.Right->SetAlign(alRight);
    row.Right->SetParentColor(true);
    return row;
}

TrButton* AddDlgButton(TrDBDlgBaseForm* Form, const TDlgBottomRow& Row, int Left, const QString& Caption, TrDlgGlyph Glyph,
                       int ModalResult)
{
    auto* b = PlaceControl<TrButton>(Row.Right, Form, Left, 8, 97, 25, Caption);
    Form->SetButtonGlyph(b, Glyph);
    b->SetModalResult(ModalResult);
    return b;
}

void BindDlgEvents(TrDBDlgBaseForm* Form)
{
    Form->OnShow = [Form](TComponent* S) { Form->FormShow(S); };
    Form->OnActivate = [Form](TComponent* S) { Form->FormActivate(S); };
    Form->OnClose = [Form](TComponent* S, TCloseAction& A) { Form->FormClose(S, A); };
    Form->FormCreate(Form);
}
