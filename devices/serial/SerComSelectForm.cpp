#include "devices/serial/SerComSelectForm.h"

#include "devices/serial/SerComPort.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"

#include <memory>

TComSelectForm::TComSelectForm(TComponent* AOwner)
    : TForm(AOwner)
{
    SetCaption(QStringLiteral("Select Port"));
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientWidth(220);
    SetClientHeight(131);
    Font()->SetName(QStringLiteral("MS Sans Serif"));
    Font()->SetHeight(-11);
    Font()->SetColor(clBlack);

    Label1 = new TLabel(this);
    Label1->SetParent(this);
    Label1->SetBounds(18, 14, 190, 13);
    Label1->SetCaption(QStringLiteral("The configured serial port is not valid."));
    Label2 = new TLabel(this);
    Label2->SetParent(this);
    Label2->SetBounds(18, 30, 190, 13);
    Label2->SetCaption(QStringLiteral("Please choose another port."));
    OkBtn = new TButton(this);
    OkBtn->SetParent(this);
    OkBtn->SetBounds(8, 95, 85, 27);
    OkBtn->SetCaption(QStringLiteral("OK"));
    OkBtn->SetDefault(true);
    OkBtn->SetModalResult(mrOk);
    OkBtn->SetTabOrder(0);
    AbortBtn = new TButton(this);
    AbortBtn->SetParent(this);
    AbortBtn->SetBounds(124, 95, 85, 27);
    AbortBtn->SetCaption(QStringLiteral("Cancel"));
    AbortBtn->SetModalResult(mrCancel);
    AbortBtn->SetTabOrder(1);
    Bevel1 = new TBevel(this);
    Bevel1->SetParent(this);
    Bevel1->SetBounds(8, 8, 201, 42);
    PortsComboBox = new TComboBox(this);
    PortsComboBox->SetParent(this);
    PortsComboBox->SetBounds(8, 64, 201, 21);
    PortsComboBox->SetStyle(csDropDownList);
    PortsComboBox->SetTabOrder(2);
    OnCreate = [this](TComponent* Sender) { FormCreate(Sender); };
}

void TComSelectForm::FormCreate(TComponent*)
{
    for (uint32_t n = 1; n <= 50; ++n)
        if (IsPortAvailable(n))
            PortsComboBox->AddItem(QStringLiteral("COM%1").arg(n));
    if (!PortsComboBox->Items().isEmpty())
        PortsComboBox->SetItemIndex(0);
}

QString TComSelectForm::SelectedCom() const
{
    const int i = PortsComboBox->ItemIndex();
    return i < 0 ? QString() : PortsComboBox->Items().value(i);
}

uint16_t TComSelectForm::SelectedComNum() const
{
    // Raises the conversion error for an empty selection, as the dialog did.
    return static_cast<uint16_t>(StrToInt(Copy(SelectedCom(), 4)));
}

int ShowComSelectForm(const QStringList&)
{
    std::unique_ptr<TComSelectForm> form(new TComSelectForm(Application));
    form->AfterConstruction();
    if (form->ShowModal() != mrOk)
        return 0;
    return form->SelectedComNum();
}
