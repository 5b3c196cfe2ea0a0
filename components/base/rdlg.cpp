#include "components/base/rdlg.h"

#include "components/base/rtool.h"
#include "platform/os/Sound.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "resources/LibraryTexts.h"

namespace {

const QString* CaptionOf(TDialogType T)
{
    static const QString* captions[] = {&libtxt::DlgCaptionNone, &libtxt::DlgCaptionInformation, &libtxt::DlgCaptionQuestion,
                                        &libtxt::DlgCaptionWarning, &libtxt::DlgCaptionError};
    return captions[T <= dtError ? T : 0];
}

void SetDialogFont(TForm* F)
{
    F->Font()->SetName(ParioCompConfig.rDBToolCfg.rDlg_DefaultFont);
    F->Font()->SetSize(ParioCompConfig.rDBToolCfg.rDlg_DefaultSize);
    DPI_SetFontHeight(F->Font());
}

// Reads the "^B", "^I" … prefixes of a line into the font; returns the rest, trimmed.
QString ApplyFontPrefixes(QString Line, TFont* Font)
{
    while (Line.size() >= 2 && Line[0] == QLatin1Char('^')) {
        switch (Line[1].unicode()) {
        case 'B': Font->SetStyle(Font->Style() | fsBold); break;
        case 'I': Font->SetStyle(Font->Style() | fsItalic); break;
        case 'U': Font->SetStyle(Font->Style() | fsUnderline); break;
        case 'L': Font->SetSize(Font->Size() + 2); break;
        case 'X': Font->SetSize(Font->Size() + 4); break;
        default: break;
        }
        Line.remove(0, 2);
    }
    return Line.trimmed();
}

TForm* GInfoForm = nullptr;

}  // namespace

TrDlgForm::TrDlgForm(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsDialog);
    SetPosition(poOwnerFormCenter);
    auto icon = [this](const char* name) {
        auto* img = new TImage(this);
        img->SetParent(this);
        img->SetBounds(10, 10, 48, 48);
        img->SetVisible(false);
        img->Picture()->Bitmap()->LoadFromResourceName(QLatin1String(name));
        return img;
    };
    imgI = icon("DLGINFORMATION");
    imgQ = icon("DLGQUESTION");
    imgW = icon("DLGWARNING");
    imgE = icon("DLGERROR");
    ImgDlgBtn = new TImageList(this);
    ImgDlgBtn->SetSize(24, 24);
    for (const char* name : {"DLGBTNOK", "DLGBTNCANCEL", "DLGBTNNO"}) {
        TBitmap b;
        b.LoadFromResourceName(QLatin1String(name));
        ImgDlgBtn->Add(&b);
    }
}

int ShowDlg(TDialogType DlgType, TButtonsType ButtonSet, const QVariantList& Lines, bool WordWrap)
{
    std::unique_ptr<TrDlgForm> f(new TrDlgForm(GetActiveOwner()));
    int clientWidth = DPI_ScaleSize(400);
    f->SetCaption(*CaptionOf(DlgType));
    SetDialogFont(f.get());
    f->SetBounds(0, 0, clientWidth, DPI_ScaleSize(600));

    static const int counts[] = {1, 2, 2, 3, 2, 3};
    static const QString* captions[6][3] = {{&libtxt::BtnOk}, {&libtxt::BtnOk, &libtxt::BtnCancel}, {&libtxt::BtnYes, &libtxt::BtnNo},
                                            {&libtxt::BtnYes, &libtxt::BtnNo, &libtxt::BtnCancel}, {}, {}};
    const int n = counts[ButtonSet];
    for (int i = 0; i < n; ++i) {
        auto* b = new TButton(f.get());
        b->SetParent(f.get());
        b->WordWrap = true;
        b->ImageMarginLeft = 4;
        if (captions[ButtonSet][i])
            b->SetCaption(*captions[ButtonSet][i]);
        static const int images[6][3] = {{0}, {0, 1}, {0, 2}, {0, 2, 1}, {-1, -1}, {-1, -1, -1}};
        b->Images = f->ImgDlgBtn;
        b->ImageIndex = images[ButtonSet][i];
        f->Buttons.push_back(b);
    }
    int x = 10, y = 10;
    if (DlgType != dtNone) {
        TImage* img = DlgType == dtInformation ? f->imgI : DlgType == dtQuestion ? f->imgQ : DlgType == dtWarning ? f->imgW : f->imgE;
        img->SetVisible(true);
        x = 10 + img->Width() + 10;
        y = 18;
    }
    const TRect desktop = Screen->DesktopRect();
    for (const QVariant& v : Lines) {
        if (v.typeId() == QMetaType::Int) {
            f->HelpContext = v.toInt();
            continue;
        }
        if (v.typeId() != QMetaType::QString)
            continue;
        const QString line = v.toString();
        if (line.startsWith(QLatin1String("^C"))) {
            f->SetCaption(line.mid(2).trimmed());
            continue;
        }
        if (line.size() >= 2 && line[0] == QLatin1Char('@') && line[1] >= QLatin1Char('1') && line[1] <= QLatin1Char('3')) {
            const int i = line[1].unicode() - '1';
            if (i < n) {
                TButton* b = f->Buttons[size_t(i)];
                b->Font()->Assign(*f->Font());
                b->SetCaption(ApplyFontPrefixes(line.mid(2), b->Font()));
            }
            continue;
        }
        auto* l = new TrHTMLLabel(f.get());
        l->SetParent(f.get());
        l->Font()->Assign(*f->Font());
        l->SetWordWrap(WordWrap);
        l->SetBounds(x, y, clientWidth - x - 10, 13);
        l->OnAnchorClick = ParioCompConfig.rDBToolCfg.rDlg_AnchorClick;
        l->SetCaption(ApplyFontPrefixes(line, l->Font()));
        f->Lines.push_back(l);
        if (l->Left() + l->Width() > desktop.Right)
            l->SetWidth(desktop.Right - x - 20);
        if (l->Left() + l->Width() > clientWidth - 10)
            clientWidth = l->Left() + l->Width() + 10;
        y += l->Height() + 10;
    }
    y = std::max(y + 10, DPI_ScaleSize(60));
    const int bw = ButtonSet >= btnCustom2 ? (clientWidth - 50) / n : 100;
    for (int i = 1; i <= n; ++i) {
        TButton* b = f->Buttons[size_t(i - 1)];
        b->SetBounds(((clientWidth - 20 - n * bw) / (n + 1)) * i + (i - 1) * bw + 10, y, bw, 38);
    }
    f->SetBounds(0, 0, clientWidth, y + 38 + 10);
    static const int results[6][3] = {{mrOk}, {mrOk, mrCancel}, {mrYes, mrNo}, {mrYes, mrNo, mrCancel}, {mrYes, mrNo}, {mrYes, mrNo, mrCancel}};
    for (int i = 0; i < n; ++i)
        f->Buttons[size_t(i)]->SetModalResult(results[ButtonSet][i]);
    f->Buttons[0]->SetDefault(true);
    if (ButtonSet == btnOk)
        f->Buttons[0]->SetCancel(true);
    else if (ButtonSet == btnOkCancel || ButtonSet == btnYesNoCancel || ButtonSet == btnCustom3)
        f->Buttons.back()->SetCancel(true);
    if (ButtonSet == btnYesNo || ButtonSet == btnCustom2)
        f->SetBorderIcons(0);
    const TCursor previous = NCursor();
    int result = f->ShowModal();
    ChCursor(previous);
    // without a close icon or cancel button the dialog answers only with its buttons
    if ((ButtonSet == btnYesNo || ButtonSet == btnCustom2) && result == mrCancel)
        result = mrNo;
    return result;
}

int DlgI(const QString& Text, bool WordWrap) { return ShowDlg(dtInformation, btnOk, {Text}, WordWrap); }
int DlgQ(const QString& Text, bool WordWrap) { return ShowDlg(dtQuestion, btnYesNo, {Text}, WordWrap); }
int DlgQCancel(const QString& Text, bool WordWrap) { return ShowDlg(dtQuestion, btnYesNoCancel, {Text}, WordWrap); }
int DlgW(const QString& Text, bool WordWrap) { return ShowDlg(dtWarning, btnOk, {Text}, WordWrap); }
int DlgE(const QString& Text, bool WordWrap) { return ShowDlg(dtError, btnOk, {Text}, WordWrap); }
int DlgQ2(const QString& T1, const QString& T2, bool WordWrap) { return ShowDlg(dtQuestion, btnYesNo, {QStringLiteral("^B") + T1, T2}, WordWrap); }
int DlgW2(const QString& T1, const QString& T2, bool WordWrap) { return ShowDlg(dtWarning, btnOk, {QStringLiteral("^B") + T1, T2}, WordWrap); }
int DlgE2(const QString& T1, const QString& T2, bool WordWrap) { return ShowDlg(dtError, btnOk, {QStringLiteral("^B") + T1, T2}, WordWrap); }

bool ShowInputCB(const QString& Caption, const QString& Prompt, QString& Value, int Width, QChar PasswordChar,
                 const QStringList* Items, bool ListOnly)
{
    std::unique_ptr<TrDlgForm> f(new TrDlgForm(GetActiveOwner()));
    int clientWidth = DPI_ScaleSize(Width);
    f->SetCaption(Caption);
    SetDialogFont(f.get());
    auto* l = new TrHTMLLabel(f.get());
    l->SetParent(f.get());
    l->Font()->Assign(*f->Font());
    l->SetWordWrap(true);
    l->SetBounds(10, 10, clientWidth - 20, 13);
    l->OnAnchorClick = ParioCompConfig.rDBToolCfg.rDlg_AnchorClick;
    l->SetCaption(Prompt);
    if (l->Left() + l->Width() > clientWidth - 20)
        clientWidth = l->Left() + l->Width() + 10;
    int y = l->Height() + 20;
    TWinControl* input = nullptr;
    if (Items) {
        f->Combo = new TComboBox(f.get());
        f->Combo->SetParent(f.get());
        f->Combo->SetStyle(ListOnly ? csDropDownList : csDropDown);
        f->Combo->SetDropDownCount(12);
        f->Combo->SetItems(*Items);
        f->Combo->SetBounds(10, y, clientWidth - 20, 21);
        if (ListOnly)
            f->Combo->SetItemIndex(int(Items->indexOf(Value)));
        else
            f->Combo->SetText(Value);
        input = f->Combo;
    } else {
        f->Edit = new TEdit(f.get());
        f->Edit->SetParent(f.get());
        f->Edit->SetBounds(10, y, clientWidth - 20, 21);
        f->Edit->SetPasswordChar(PasswordChar);
        f->Edit->SetText(Value);
        f->Edit->SelectAll();
        input = f->Edit;
    }
    y += input->Height() + 10;
    auto* ok = new TButton(f.get());
    ok->SetParent(f.get());
    ok->SetCaption(libtxt::BtnOk);
    ok->SetBounds(10, y, 100, 38);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    ok->Images = f->ImgDlgBtn;
    ok->ImageIndex = 0;
    ok->ImageMarginLeft = 4;
    auto* cancel = new TButton(f.get());
    cancel->SetParent(f.get());
    cancel->SetCaption(libtxt::BtnCancel);
    cancel->SetBounds(ok->Left() + ok->Width() + 20, y, 100, 38);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    cancel->Images = f->ImgDlgBtn;
    cancel->ImageIndex = 1;
    cancel->ImageMarginLeft = 4;
    f->Buttons = {ok, cancel};
    f->SetBounds(0, 0, clientWidth, y + 38 + 10);
    f->SetActiveControl(input);
    const TCursor previous = NCursor();
    const int result = f->ShowModal();
    ChCursor(previous);
    if (result == mrOk)
        Value = f->Combo ? f->Combo->Text() : f->Edit->Text();
    return result == mrOk;
}

bool ShowInput(const QString& Caption, const QString& Prompt, QString& Value, int Width, QChar PasswordChar)
{
    return ShowInputCB(Caption, Prompt, Value, Width, PasswordChar, nullptr, false);
}

bool InputStr(const QString& Caption, const QString& Prompt, QString& Value)
{
    return ShowInput(Caption, Prompt, Value, 350, QChar());
}

bool InputInt(const QString& Caption, const QString& Prompt, int& Value)
{
    for (;;) {
        QString text = QString::number(Value);
        if (!ShowInput(Caption, Prompt, text, 240, QChar()))
            return false;
        bool ok = false;
        const int v = text.trimmed().toInt(&ok);
        if (ok) {
            Value = v;
            return true;
        }
        DlgE2(libtxt::ErrorInInputParameters, libtxt::BadNumberFormat, true);
    }
}

TForm* InfoForm()
{
    return GInfoForm;
}

void ShowInfoProgressBar(const QString& Text, TControl* Control, TNotifyEvent AbortEvent, int Progress)
{
    if (Text.isEmpty()) {
        NCursor();
        delete GInfoForm;
        GInfoForm = nullptr;
        return;
    }
    static TrHTMLLabel* label = nullptr;
    static TProgressBar* bar = nullptr;
    static TrURLLabel* link = nullptr;
    if (!GInfoForm) {
        GInfoForm = new TForm(GetActiveOwner());
        GInfoForm->SetBorderIcons(0);
        GInfoForm->SetBorderStyle(bsToolWindow);
        GInfoForm->SetPosition(poOwnerFormCenter);
        GInfoForm->SetCaption(libtxt::InfoCaption);
        SetDialogFont(GInfoForm);
        GInfoForm->SetBounds(0, 0, DPI_ScaleSize(300), DPI_ScaleSize(120));
        auto* panel = new TPanel(GInfoForm);
        panel->SetParent(GInfoForm);
        panel->SetAlign(alClient);
        panel->SetBevelWidth(2);
        bar = new TProgressBar(GInfoForm);
        bar->SetParent(panel);
        bar->SetAlign(alBottom);
        bar->SetAlignWithMargins(true);
        bar->SetVisible(false);
        label = new TrHTMLLabel(GInfoForm);
        label->SetParent(panel);
        label->SetAutoSize(false);
        label->SetAlign(alClient);
        label->SetAlignment(taCenter);
        label->SetLayout(tlCenter);
        label->SetWordWrap(true);
        link = new TrURLLabel(GInfoForm);
        link->SetParent(panel);
        link->SetCaption(libtxt::Abort);
        link->SetVisible(false);
        GInfoForm->AfterConstruction();
        // the window goes with its owner
        struct Guard : TComponent {
            using TComponent::TComponent;
            ~Guard() override { GInfoForm = nullptr; }
        };
        new Guard(GInfoForm);
    }
    // Over a form the window stays above that form, whichever form is active.
    auto* overForm = dynamic_cast<TCustomForm*>(Control);
    GInfoForm->SetPopupParent(overForm);
    if (Control) {
        const TPoint o = overForm ? TPoint{Control->Left(), Control->Top()} : Control->ClientOrigin();
        GInfoForm->SetBounds(o.X + (Control->Width() - GInfoForm->Width()) / 2, o.Y + (Control->Height() - GInfoForm->Height()) / 2,
                             GInfoForm->Width(), GInfoForm->Height());
    }
    label->SetCaption(Text);
    if (Progress >= 0)
        bar->SetPosition(std::min(Progress, 100));
    GInfoForm->Show();
    if (!AbortEvent) {
        WCursor();
    } else {
        bar->Margins.Right = link->Width() + 16;
        link->SetBounds(bar->Left() + bar->Width() + 8, bar->Top() + (bar->Height() - link->Height()) / 2, link->Width(), link->Height());
        link->OnClick = AbortEvent;
        NCursor();
    }
    bar->SetVisible(Progress >= 0);
    link->SetVisible(bool(AbortEvent));
    GInfoForm->Repaint();
    if (Application)
        Application->ProcessMessages();
}

void ShowInfo(const QString& Text, TControl* Control)
{
    ShowInfoProgressBar(Text, Control, nullptr, -1);
}

void ShowInfoEx(const QString& Text, TControl* Control, TNotifyEvent AbortEvent)
{
    ShowInfoProgressBar(Text, Control, std::move(AbortEvent), -1);
}

void ShowErr(const QString& Text, const std::exception& E, bool Terminate)
{
    if (Application && Application->Terminated())
        return;
    MessageBeep(MB_ICONEXCLAMATION);
    const QString detail = libtxt::ErrorDescription + QStringLiteral("\r") + ExceptionMessage(E);
    if (!Text.isEmpty())
        DlgE2(Text, detail, true);
    else
        DlgE(detail, true);
    if (Terminate && Application)
        Application->Terminate();
}
