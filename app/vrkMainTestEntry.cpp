// The test entry below the results grid: an emit string typed by hand and
// handed to the card dispatch as if the reader had read it ("Uusi (test)",
// shown only when the installation asks for it).

#include "app/vrkMainForm.h"
#include "components/base/rGroupBox.h"
#include "components/framed/FcPanel.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowLayoutTexts.h"

void TformMain::BuildTestEntry()
{
    fcpnlMainGrid = new TFcPanel(this);
    fcpnlMainGrid->SetName(QStringLiteral("fcpnlMainGrid"));
    fcpnlMainGrid->SetParent(grpMainAreaDetails);
    fcpnlMainGrid->SetCaption(QString());
    fcpnlMainGrid->SetHeight(36);
    fcpnlMainGrid->SetAlign(alBottom);
    fcpnlMainGrid->SetVisible(false);
    auto* label = new TLabel(this);
    label->SetName(QStringLiteral("lblChipString"));
    label->SetParent(fcpnlMainGrid);
    label->SetCaption(mwtxt::SyotaChipString);
    label->SetLeft(8);
    label->SetTop(10);
    edtChipString = new TEdit(this);
    edtChipString->SetName(QStringLiteral("edtChipString"));
    edtChipString->SetParent(fcpnlMainGrid);
    edtChipString->SetBounds(130, 6, 560, 24);
    btnChipStringOK = new TButton(this);
    btnChipStringOK->SetName(QStringLiteral("btnChipStringOK"));
    btnChipStringOK->SetParent(fcpnlMainGrid);
    btnChipStringOK->SetCaption(mwtxt::Kasittele);
    btnChipStringOK->SetBounds(698, 5, 90, 26);
    btnChipStringOK->OnClick = [this](TComponent*) { btnChipStringOKClick(); };
}

void TformMain::GridNewTest()
{
    if (!EventHasClasses()) {
        MessageBox(mwtxt::NoCourses, QString(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    fcpnlMainGrid->SetVisible(true);
    edtChipString->SetText(QString());
    edtChipString->SetFocus();
}

void TformMain::btnChipStringOKClick()
{
    const QString text = edtChipString->Text();
    fcpnlMainGrid->SetVisible(false);
    if (!text.isEmpty() && Windows.ChipString)
        Windows.ChipString(text);
}
