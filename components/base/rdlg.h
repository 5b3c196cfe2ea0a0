#pragma once
// The library's modal message dialogs, input boxes, error report and the one
// floating information window with an optional progress bar and abort link.
// Every text line of a dialog is an HTML label.

#include "components/base/rHTMLLabel.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"

#include <QStringList>
#include <QVariant>

enum TDialogType : uint8_t { dtNone = 0, dtInformation = 1, dtQuestion = 2, dtWarning = 3, dtError = 4 };
enum TButtonsType : uint8_t { btnOk = 0, btnOkCancel = 1, btnYesNo = 2, btnYesNoCancel = 3, btnCustom2 = 4, btnCustom3 = 5 };

// The dialog form the message dialogs and input boxes are laid out on.
class TrDlgForm : public TForm {
public:
    explicit TrDlgForm(TComponent* AOwner);
    TImage* imgI = nullptr;
    TImage* imgQ = nullptr;
    TImage* imgW = nullptr;
    TImage* imgE = nullptr;
    // 24 x 24 button images: 0 Ok/Yes, 1 Cancel, 2 No.
    TImageList* ImgDlgBtn = nullptr;
    std::vector<TButton*> Buttons;
    std::vector<TrHTMLLabel*> Lines;
    TEdit* Edit = nullptr;
    TComboBox* Combo = nullptr;
};

// Lines: strings ("^C" caption, "@1".."@3" button captions, font prefixes
// "^B", "^I", "^U", "^L", "^X"), an integer sets the help context.
int ShowDlg(TDialogType DlgType, TButtonsType Buttons, const QVariantList& Lines, bool WordWrap);
int DlgI(const QString& Text, bool WordWrap = true);
int DlgQ(const QString& Text, bool WordWrap = true);
int DlgQCancel(const QString& Text, bool WordWrap = true);
int DlgW(const QString& Text, bool WordWrap = true);
int DlgE(const QString& Text, bool WordWrap = true);
int DlgQ2(const QString& Text1, const QString& Text2, bool WordWrap = true);
int DlgW2(const QString& Text1, const QString& Text2, bool WordWrap = true);
int DlgE2(const QString& Text1, const QString& Text2, bool WordWrap = true);

bool ShowInputCB(const QString& Caption, const QString& Prompt, QString& Value, int Width, QChar PasswordChar,
                 const QStringList* Items, bool ListOnly);
bool ShowInput(const QString& Caption, const QString& Prompt, QString& Value, int Width, QChar PasswordChar);
bool InputStr(const QString& Caption, const QString& Prompt, QString& Value);
bool InputInt(const QString& Caption, const QString& Prompt, int& Value);

void ShowInfoProgressBar(const QString& Text, TControl* Control, TNotifyEvent AbortEvent, int Progress);
void ShowInfo(const QString& Text, TControl* Control);
void ShowInfoEx(const QString& Text, TControl* Control, TNotifyEvent AbortEvent);
// The floating window while it is shown (nullptr otherwise).
TForm* InfoForm();

void ShowErr(const QString& Text, const std::exception& E, bool Terminate);
