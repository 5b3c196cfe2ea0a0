#pragma once
// The small dialog that asks for a serial port when a port component is
// opened without one: it lists the ports 1 to 50 of the port list that exist.

#include "platform/ui/Forms.h"

class TLabel;
class TButton;
class TBevel;
class TComboBox;

class TComSelectForm : public TForm {
public:
    explicit TComSelectForm(TComponent* AOwner);

    void FormCreate(TComponent* Sender);
    // The chosen entry ("COM3") and its number (3).
    QString SelectedCom() const;
    uint16_t SelectedComNum() const;

    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TButton* OkBtn = nullptr;
    TButton* AbortBtn = nullptr;
    TBevel* Bevel1 = nullptr;
    TComboBox* PortsComboBox = nullptr;
};

// Shows the dialog modally over the given port list; the chosen number, or 0
// when the operator cancelled.
int ShowComSelectForm(const QStringList& Ports);
