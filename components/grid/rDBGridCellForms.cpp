// The memo and picture dialogs the grid opens on memo, rich-text and
// picture cells.

#include "components/grid/rDBGridCellForms.h"

#include "components/grid/TParioCompsPropSave.h"
#include "components/grid/TPropSaveMain.h"

#include "components/base/rImageZoom.h"
#include "components/base/rMemoEx.h"
#include "components/base/rRichEdit.h"
#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Menus.h"
#include "resources/GridDialogTexts.h"
#include "resources/LibraryTexts.h"

namespace {

TMenuItem* AddItem(TComponent* Owner, TMenuItem* Parent, const QString& Caption)
{
    auto* m = new TMenuItem(Owner);
    m->SetCaption(Caption);
    Parent->Add(m);
    return m;
}

// The base form's show handling, then the dialog's own; Escape closes without a change.
void ShowAndEscape(TrDlgBaseForm* F, std::function<void()> Shown)
{
    const TNotifyEvent baseShow = F->OnShow;
    F->OnShow = [baseShow, Shown](TComponent* S) {
        if (baseShow)
            baseShow(S);
        Shown();
    };
    F->OnKeyPress = [F](TComponent*, QChar& Key) {
        if (Key == QChar(27)) {
            Key = QChar();
            F->SetModalResult(mrCancel);
        }
    };
}

}  // namespace

// ---- memo dialog ----------------------------------------------------------------------------

TrDBGridMemoForm::TrDBGridMemoForm(TComponent* AOwner) : TrDlgBaseForm(AOwner)
{
    SetName(QStringLiteral("rDBGridMemoForm"));
    SetKeyPreview(true);
    SetBounds(0, 0, 520, 360);
    Memo = new TrMemoEx(this);
    Memo->SetParent(this);
    Memo->SetAlign(alClient);
    rRichEdit = new TrRichEdit(this);
    rRichEdit->SetParent(this);
    rRichEdit->SetAlign(alClient);
    rRichEdit->SetVisible(false);
    MainMenu = new TMainMenu(this);
    mnProperties = AddItem(this, MainMenu->Items(), gdlgtxt::MenuProperties);
    mnEnter = AddItem(this, mnProperties, gdlgtxt::WantsEnter);
    mnTab = AddItem(this, mnProperties, gdlgtxt::WantsTabs);
    mnWrap = AddItem(this, mnProperties, gdlgtxt::WrapLines);
    mnEnter->SetName(QStringLiteral("mnEnter"));
    mnTab->SetName(QStringLiteral("mnTab"));
    mnWrap->SetName(QStringLiteral("mnWrap"));
    mnEnter->SetChecked(true);
    mnWrap->SetChecked(true);
    for (TMenuItem* m : {mnEnter, mnTab, mnWrap}) {
        m->SetAutoCheck(true);
        m->OnClick = [this](TComponent*) { SetAll(); };
    }
    mnWindow = AddItem(this, MainMenu->Items(), gdlgtxt::MenuWindow);
    mnFont = AddItem(this, mnWindow, gdlgtxt::FontDots);
    mnFont->OnClick = [this](TComponent*) {
        TFontDialog dlg(this);
        dlg.Font.Assign(*Memo->Font());
        if (dlg.Execute())
            Memo->Font()->Assign(dlg.Font);
    };
    SetMenu(MainMenu);
    DlgPropSave = new TPropSaveMain(this);
    DlgPropSave->SetName(QStringLiteral("DlgPropSave"));
    DlgPropSave->PropSaveEvents = pseNone;
    DlgPropSave->StdCtrl()->Components.Assign(QStringList{QStringLiteral("mnEnter"), QStringLiteral("mnTab"), QStringLiteral("mnWrap")});
    DlgPropSave->OnReadProperties = [this](TPropSaveFile* F, const QString& Key) {
        TFont font = *Memo->Font();
        F->ReadFont(Key + QStringLiteral(".Memo"), font, 1.0);
        Memo->Font()->Assign(font);
        SetAll();
    };
    DlgPropSave->OnSaveProperties = [this](TPropSaveFile* F, const QString& Key) {
        F->WriteFont(Key + QStringLiteral(".Memo"), *Memo->Font(), 1.0);
    };
    btOk->SetModalResult(mrNone);
    btOk->OnClick = [this](TComponent*) { btOkClick(); };
    ShowAndEscape(this, [this] { FormShow(); });
}

void TrDBGridMemoForm::FormShow()
{
    rRichEdit->SetVisible(IsRichEdit);
    Memo->SetVisible(!IsRichEdit);
    mnProperties->SetVisible(!IsRichEdit);
    mnWindow->SetVisible(!IsRichEdit);
    MainMenu->Rebuild();
    if (IsRichEdit) {
        rRichEdit->SetRtfText(Text);
        rRichEdit->SetSelStart(rRichEdit->Text().size());
    } else {
        Memo->SetText(Text);
        Memo->SetSelStart(Memo->Text().size());
    }
    SetAll();
}

void TrDBGridMemoForm::SetAll()
{
    btOk->SetEnabled(IsEdit);
    Memo->SetReadOnly(!IsEdit);
    rRichEdit->SetReadOnly(!IsEdit);
    Memo->WantReturns = mnEnter->Checked();
    Memo->WantTabs = mnTab->Checked();
    Memo->SetWordWrap(mnWrap->Checked());
    Memo->SetScrollBars(mnWrap->Checked() ? ssVertical : ssBoth);
}

void TrDBGridMemoForm::btOkClick()
{
    if (!IsEdit)
        return;
    Text = IsRichEdit ? rRichEdit->GetRtfText() : Memo->Text();
    SetModalResult(mrOk);
}

// ---- picture dialog -----------------------------------------------------------------------------

TrDBGridGraphicForm::TrDBGridGraphicForm(TComponent* AOwner) : TrDlgBaseForm(AOwner)
{
    SetName(QStringLiteral("rDBGridGraphicForm"));
    SetKeyPreview(true);
    SetBounds(0, 0, 480, 400);
    pTools = new TPanel(this);
    pTools->SetParent(this);
    pTools->SetAlign(alTop);
    pTools->SetHeight(32);
    pTools->SetBevelOuter(bvNone);
    int x = 4;
    auto tool = [&](const QString& Caption, int W) {
        auto* b = new TButton(this);
        b->SetParent(pTools);
        b->SetBounds(x, 4, W, 25);
        b->SetCaption(Caption);
        x += W + 4;
        return b;
    };
    tbLoad = tool(gdlgtxt::LoadFromFile, 100);
    tbSave = tool(gdlgtxt::SaveToFile, 90);
    tbCopy = tool(gdlgtxt::Copy, 60);
    tbPaste = tool(gdlgtxt::Insert, 60);
    tbClear = tool(gdlgtxt::Cut, 60);
    const TGridPictureLayer& layer = GridPictureLayer();
    FDataAwarePicture = layer.Make && layer.Bind;
    DBImg = FDataAwarePicture ? layer.Make(this) : new TrImageZoom(this);
    DBImg->SetName(QStringLiteral("DBImg"));
    DlgPropSave = new TPropSaveMain(this);
    DlgPropSave->SetName(QStringLiteral("DlgPropSave"));
    DlgPropSave->PropSaveEvents = pseNone;
    ParioCompsPropSave1 = new TParioCompsPropSave(this);
    ParioCompsPropSave1->SetName(QStringLiteral("ParioCompsPropSave1"));
    ParioCompsPropSave1->SetPropSaveMain(DlgPropSave);
    ParioCompsPropSave1->Components.Add(QStringLiteral("DBImg"));
    DBImg->SetParent(this);
    DBImg->SetAlign(alClient);
    DBImg->SetBorderColor(clBtnShadow);
    DBImg->SetReduceToFit(true);
    btOk->SetVisible(false);
    btCancel->SetCaption(gdlgtxt::Close);
    tbLoad->OnClick = [this](TComponent*) {
        TPicture p;
        if (IsGraphicTypeValid(OpenDlg_PictureFromFile(&p, QString(), gtNoPicture))) {
            DBImg->SetPicture(&p);
            StorePicture();
        }
        SetAll();
    };
    tbSave->OnClick = [this](TComponent*) { SaveDlg_PictureToFile(DBImg->Picture(), QString(), GrType); };
    tbCopy->OnClick = [this](TComponent*) { CopyClick(); };
    tbPaste->OnClick = [this](TComponent*) { PasteClick(); };
    tbClear->OnClick = [this](TComponent*) { ClearClick(); };
    ShowAndEscape(this, [this] {
        LoadPicture();
        SetAll();
    });
}

TGridPictureLayer& GridPictureLayer()
{
    static TGridPictureLayer layer;
    return layer;
}

void TrDBGridGraphicForm::LoadPicture()
{
    TPicture p;
    GrType = Field ? ReadPictureFromField(Field, &p) : gtNoPicture;
    // A data-aware picture shows the field itself and follows every write.
    if (FDataAwarePicture && Source && Field)
        GridPictureLayer().Bind(DBImg, Source, Field->FieldName());
    else
        DBImg->SetPicture(&p);
    DBImg->Invalidate();
}

void TrDBGridGraphicForm::SetAll()
{
    DBImg->ReadOnly = !IsEdit;
    tbLoad->SetEnabled(IsEdit);
    tbPaste->SetEnabled(IsEdit);
    tbClear->SetEnabled(IsEdit);
}

bool TrDBGridGraphicForm::StorePicture()
{
    if (!IsEdit || !Field)
        return false;
    TDataSet* ds = Field->DataSet();
    if (ds && ds->State() != dsEdit && ds->State() != dsInsert)
        ds->Edit();
    if (DBImg->Picture()->Empty()) {
        Field->Clear();
        GrType = gtNoPicture;
        return true;
    }
    const TrGraphicType t = IsGraphicTypeValid(GrType) ? GrType : gtPNG;
    if (!WritePictureToField(Field, DBImg->Picture(), t))
        return false;
    GrType = t;
    return true;
}

bool TrDBGridGraphicForm::LoadFromFile(const QString& FileName)
{
    if (!IsEdit)
        return false;
    TPicture p;
    const TrGraphicType t = LoadPictureFromFile(&p, FileName, false);
    if (!IsGraphicTypeValid(t))
        return false;
    DBImg->SetPicture(&p);
    GrType = t;
    const bool ok = StorePicture();
    SetAll();
    return ok;
}

bool TrDBGridGraphicForm::SaveToFile(const QString& FileName)
{
    return !DBImg->Picture()->Empty() && IsGraphicTypeValid(SavePictureToFile(DBImg->Picture(), FileName, GrType));
}

void TrDBGridGraphicForm::CopyClick()
{
    if (DBImg->Picture()->Empty())
        return;
    TBitmap b;
    GetBitmapFromPicture(&b, DBImg->Picture());
    Clipboard()->AssignBitmap(&b);
}

bool TrDBGridGraphicForm::PasteClick()
{
    if (!IsEdit)
        return false;
    TBitmap b;
    if (!Clipboard()->GetBitmap(&b))
        return false;
    TPicture p;
    p.AssignBitmap(&b);
    DBImg->SetPicture(&p);
    GrType = gtPNG;
    const bool ok = StorePicture();
    SetAll();
    DBImg->Invalidate();
    return ok;
}

void TrDBGridGraphicForm::ClearClick()
{
    if (!IsEdit)
        return;
    TPicture p;
    DBImg->SetPicture(&p);
    StorePicture();
    SetAll();
    DBImg->Invalidate();
}

namespace {

void LinkDialogSaver(TPropSaveMain* Saver, TPropSaveFile* File)
{
    Saver->SetPropSaveFile(File ? File : GetGlobal_PropSaveFile());
}

}  // namespace

void TrDBGridMemoForm::LinkPropSaveFile(TPropSaveFile* File)
{
    LinkDialogSaver(DlgPropSave, File);
}

void TrDBGridGraphicForm::LinkPropSaveFile(TPropSaveFile* File)
{
    LinkDialogSaver(DlgPropSave, File);
}
