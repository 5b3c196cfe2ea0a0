#include "app/vrkFirstUse.h"

#include "app/vrkCommon.h"
#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "app/vrkMainWebLink.h"
#include "data/vrkDataModule.h"
#include "components/framed/FcEdit.h"
#include "components/framed/FcPanel.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowTexts.h"
#include "sync/jsonnode.h"

TFormFirstUse* FormFirstUse = nullptr;

namespace {

// Each message of the dialog on a framed panel of its own, the text
// wrapped inside it.
TLabel* TextLabel(TFormFirstUse* F, const char* Name, const QString& Text, int Top, int Height)
{
    auto* p = new TFcPanel(F);
    p->SetParent(F);
    p->SetBorderOuter(fsNone);
    p->SetBorderInner(fsNone);
    p->SetCaption(QString());
    p->SetBounds(16, Top, 448, Height);
    auto* l = new TLabel(F);
    l->SetName(QString::fromLatin1(Name));
    l->SetParent(p);
    l->SetAutoSize(false);
    l->SetWordWrap(true);
    l->SetCaption(Text);
    l->SetBounds(0, 0, 448, Height);
    return l;
}

}  // namespace

TFormFirstUse::TFormFirstUse(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("FormFirstUse"));
    SetCaption(txt::FirstUseCaption);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 480, 250);
    TLabel* welcome = TextLabel(this, "lblWelcome", txt::FirstUseWelcome, 14, 20);
    welcome->Font()->SetStyle(fsBold);
    TextLabel(this, "lblInfo", txt::FirstUseInfo, 42, 64);
    TextLabel(this, "lblInternet", txt::FirstUseInternet, 110, 20);
    auto* code = new TLabel(this);
    code->SetName(QStringLiteral("lblTempClientID"));
    code->SetParent(this);
    code->SetCaption(txt::FirstUseCodeLabel);
    code->SetBounds(16, 148, 180, 20);
    fcdtTempClientID = new TFcEdit(this);
    fcdtTempClientID->SetName(QStringLiteral("fcdtTempClientID"));
    fcdtTempClientID->SetParent(this);
    fcdtTempClientID->SetBounds(200, 144, 200, 24);
    btnOK = new TButton(this);
    btnOK->SetName(QStringLiteral("btnOK"));
    btnOK->SetParent(this);
    btnOK->SetCaption(txt::ButtonOK);
    btnOK->SetDefault(true);
    btnOK->SetBounds(296, 206, 80, 28);
    btnOK->OnClick = [this](TComponent*) { OKClick(); };
    btnCancel = new TButton(this);
    btnCancel->SetName(QStringLiteral("btnCancel"));
    btnCancel->SetParent(this);
    btnCancel->SetCaption(txt::ButtonCancel);
    btnCancel->SetCancel(true);
    btnCancel->SetBounds(384, 206, 80, 28);
    btnCancel->OnClick = [this](TComponent*) { CancelClick(); };
    SetActiveControl(fcdtTempClientID);
    OnShow = [this](TComponent*) {
        SetBounds(centreleft(Width()), centretop(Height()), Width(), Height());
        fcdtTempClientID->SetFocus();
    };
    // Closing the window without a choice is a cancel: an unlinked computer
    // cannot go on.
    OnClose = [this](TComponent*, TCloseAction&) {
        if (!FDone)
            CancelClick();
    };
}

TFormFirstUse::~TFormFirstUse()
{
    if (FormFirstUse == this)
        FormFirstUse = nullptr;
}

void TFormFirstUse::InsertClient(const QString& Reply)
{
    std::unique_ptr<TJsonNode> row = TJsonNode::Parse(Reply);
    if (!row)
        throw Exception(QStringLiteral("Tyhjä vastaus"));
    auto required = [&](const char16_t* Name) {
        const TJsonNode* n = row->Items() ? row->Items()->Find(Name) : nullptr;
        if (!n)
            throw Exception(QStringLiteral("Puuttuva tieto: ") + QString::fromUtf16(Name));
        return n->AsString();
    };
    auto optional = [&](TFbStoredProc& P, const char* Param, const char16_t* Name) {
        const TJsonNode* n = row->Items() ? row->Items()->Find(Name) : nullptr;
        if (n)
            P.ParamByName(QString::fromLatin1(Param)).SetAsString(n->AsString());
        else
            P.ParamByName(QString::fromLatin1(Param)).Clear();
    };
    TDataModule1& M = *DataModule1;
    const int64_t id = required(u"client_id").toInt();
    const QString name = required(u"client_name");
    const QString inUse = required(u"in_use");
    if (!M.fbTrUpdateCallFD->Active())
        M.fbTrUpdateCallFD->StartTransaction();
    TFbStoredProc& P = *M.fbProcInsertClientFD;
    P.ParamByName(QStringLiteral("IN_CLIENT")).SetAsLargeInt(id);
    P.ParamByName(QStringLiteral("IN_CLIENT_NAME")).SetAsString(name);
    optional(P, "IN_OWNER", u"owner");
    P.ParamByName(QStringLiteral("IN_IN_USE")).SetAsString(inUse);
    optional(P, "IN_NOTES", u"notes");
    optional(P, "IN_CLIENT_VERSION", u"client_version");
    optional(P, "IN_CLIENT_SECRET", u"client_secret");
    P.ExecProc();
    M.fbTrUpdateCallFD->Commit();
}

void TFormFirstUse::OKClick()
{
    Screen->SetCursor(crHourGlass);
    const QString code = fcdtTempClientID->Text();
    if (code.isEmpty()) {
        do_message(true, txt::FirstUseCodeRequired, MSG_ERROR);
        fcdtTempClientID->SetFocus();
        Screen->SetCursor(crDefault);
        return;
    }
    try {
        QString reply;
        if (MainWebLink().RegisterClient(code, reply) != 0) {
            std::unique_ptr<TJsonNode> refusal = TJsonNode::Parse(reply);
            if (!refusal)
                throw Exception(QStringLiteral("Tyhjä vastaus"));
            do_message(true, txt::FirstUseRefused + QStringLiteral(" ") + refusal->Member(u"message").AsString(), MSG_ERROR);
            fcdtTempClientID->SetFocus();
            Screen->SetCursor(crDefault);
            return;
        }
        InsertClient(reply);
        Screen->SetCursor(crDefault);
        FDone = true;
        formMain->FirstUseOK();
        SetModalResult(mrOk);
        Close();
    } catch (const std::exception& e) {
        do_message(true, txt::FirstUseRefused + QStringLiteral(" ") + DataModule1->GetDbMessage(ExceptionMessage(e)), MSG_ERROR);
        if (DataModule1->fbTrUpdateCallFD->Active())
            DataModule1->fbTrUpdateCallFD->Rollback();
        fcdtTempClientID->SetFocus();
        Screen->SetCursor(crDefault);
    }
}

void TFormFirstUse::CancelClick()
{
    if (FDone)
        return;
    FDone = true;
    do_message(true, txt::FirstUseCancelled, MSG_ERROR);
    SetModalResult(mrCancel);
    if (formMain)
        formMain->FirstUseNOTOK();
}
