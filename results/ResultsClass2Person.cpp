// The finish dialog's person and card: the person list and its search, the
// person's own card, receipt, web-show and phone, the card field and the
// no-card and rented-card boxes.

#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/FinishDeskTexts.h"
#include "components/dbcontrols/TrDBCheckBox.h"
#include "components/dbcontrols/TrDBDateTimePicker.h"
#include "components/dbcontrols/TrDBEdit.h"
#include "components/dbcontrols/TrDBLookupComboBox.h"
#include "components/dbcontrols/TrDBMemo.h"
#include "components/framed/FcDBRGrp.h"
#include "components/framed/FcEdit.h"
#include "components/framed/FcLabel.h"
#include "components/framed/FcRadChk.h"
#include "components/grid/rDBGrid.h"
#include "results/vrkPerson.h"
#include "results/vrkResultsClass2.h"

namespace {

bool PlaceholderCard(const QString& Card)
{
    return Card == QLatin1String("200") || Card == QLatin1String("000200") || Card == QLatin1String("00200")
           || Card == QLatin1String("000000");
}

QString Quoted(const QString& Text)
{
    QString t = Text;
    return QLatin1Char('\'') + t.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

// A card number as the database's card questions take it; a text that is
// not a number is no card at all (S21).
bool CardNumber(const QString& Text, int64_t& Number)
{
    bool ok = false;
    Number = Text.trimmed().toLongLong(&ok);
    return ok && Number > 0;
}

}  // namespace

void TformResultsClass2::haeHenkilo(int64_t PersonId)
{
    const bool wasLoading = FLoading;
    FLoading = true;
    const bool rented = RunField(QStringLiteral("RENTED_CHIP")) == QLatin1String("K");
    if (PersonId != 0) {
        for (TControl* c : std::initializer_list<TControl*>{chkWebShow, chkPrintReceipt, edtWebShowAsked, edtPhoneNumber,
                                                             lblPhoneNumber})
            c->SetEnabled(true);
        person->selectDB(PersonId);
        chkPrintReceipt->SetChecked(person->print_receipt() == QLatin1String("K"));
        if (!FOlder)
            lblLainakortti->SetCaption(!rented ? person->infotext()
                                   : person->infotext().isEmpty()
                                       ? fdtxt::RentedChip
                                       : fdtxt::RentedChip + QLatin1Char(',') + person->infotext());
        if (!FOlder && !bChipManuallyEntered && !chkNoChip->Checked() && !bChipRead && !person->control_card().isEmpty()) {
            EditRun();
            RunFieldObj(QStringLiteral("CONTROL_CARD"))->SetAsString(person->control_card());
        }
        chkOwnChip->SetEnabled(true);
        const QString card = edtChip1->Text();
        if (chkRentedChip->Checked() || PlaceholderCard(card) || chkNoChip->Checked()) {
            chkOwnChip->SetChecked(false);
            chkOwnChip->SetEnabled(false);
        } else {
            chkOwnChip->SetChecked(person->control_card() == card);
        }
        chkWebShow->SetChecked(person->web_show() == QLatin1String("K"));
        edtWebShowAsked->SetText(person->web_show_asked());
        edtPhoneNumber->SetText(person->phone_number());
    } else {
        for (TFcCheckBox* b : {chkOwnChip, chkWebShow, chkPrintReceipt}) {
            b->SetChecked(false);
            b->SetEnabled(false);
        }
        for (TFcEdit* e : {edtWebShowAsked, edtPhoneNumber}) {
            e->SetText(QString());
            e->SetEnabled(false);
        }
        lblPhoneNumber->SetEnabled(false);
        if (!FOlder && !bChipManuallyEntered && !chkNoChip->Checked() && !bChipRead) {
            EditRun();
            RunFieldObj(QStringLiteral("CONTROL_CARD"))->SetAsString(QStringLiteral("000000"));
        }
        person->selectDB(0);
        if (!FOlder)
            lblLainakortti->SetCaption(rented ? fdtxt::RentedChip : QString());
    }
    const bool loaded = person->person_id() != 0;
    const bool registerPerson = PersonId == -999 && !FOlder;
    imgOK->SetVisible(loaded || registerPerson);
    imgQuestion->SetVisible(!loaded && !registerPerson);
    actPersonEdit->SetEnabled(loaded);
    bOwnChipChanged = bReceiptPrintChanged = bPhoneNumberChanged = bWebShowChanged = false;
    FLoading = wasLoading;
}

void TformResultsClass2::SelectPerson(int64_t PersonId)
{
    TFbQuery* list = DataModule1->fbQueryLookupPersonFD;
    const int64_t highlighted = list->IsEmpty() ? 0 : list->FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt();
    const int64_t runPerson = RunPersonId();
    auto unfilter = [&] {
        if (list->Filtered()) {
            FLoading = true;
            edtSearchPersons->SetText(QString());
            FLoading = false;
            RefreshQueryLookupPersons();
        }
    };
    if (runPerson != 0 && runPerson == highlighted) {
        unfilter();
        EditRun();
        RunFieldObj(QStringLiteral("PERSON_ID"))->SetAsLargeInt(0);
        list->Locate(QStringLiteral("PERSON_ID"), QVariant::fromValue<qlonglong>(highlighted));
        haeHenkilo(0);
        iLastSelectedPerson = 0;
        return;
    }
    const int64_t id = PersonId == 0 ? highlighted : PersonId;
    unfilter();
    EditRun();
    RunFieldObj(QStringLiteral("PERSON_ID"))->SetAsLargeInt(id);
    list->Locate(QStringLiteral("PERSON_ID"), QVariant::fromValue<qlonglong>(id));
    haeHenkilo(id);
    iLastSelectedPerson = id;
}

void TformResultsClass2::RefreshQueryLookupPersons()
{
    TFbQuery* list = DataModule1->fbQueryLookupPersonFD;
    const bool wasFiltered = list->Filtered();
    list->SetFiltered(false);
    const QString text = edtSearchPersons->Text().trimmed();
    if (!text.isEmpty()) {
        if (RunPersonId() != 0) {
            iLastSelectedPerson = RunPersonId();
            EditRun();
            RunFieldObj(QStringLiteral("PERSON_ID"))->SetAsLargeInt(0);
            haeHenkilo(0);
        }
        const int blank = text.indexOf(QLatin1Char(' '));
        const QString w1 = blank < 0 ? text : text.left(blank);
        QString w2;
        if (blank >= 0) {
            const QString rest = text.mid(blank + 1);
            const int next = rest.indexOf(QLatin1Char(' '));
            w2 = next < 0 ? rest : rest.left(next);
        }
        if (blank < 0)
            list->SetFilter(QStringLiteral("PERSON_NAME like ") + Quoted(QLatin1Char('%') + w1 + QLatin1Char('%')));
        else
            list->SetFilter(QStringLiteral("PERSON_NAME like ")
                            + Quoted(QLatin1Char('%') + w1 + QStringLiteral("% %") + w2 + QLatin1Char('%'))
                            + QStringLiteral(" OR PERSON_NAME like ")
                            + Quoted(QLatin1Char('%') + w2 + QStringLiteral("% %") + w1 + QLatin1Char('%')));
        list->SetFilterOptions(foCaseInsensitive);
        list->SetFiltered(true);
    }
    if (wasFiltered || !text.isEmpty())
        rdbgrdPersons->Invalidate();
}

void TformResultsClass2::rButton1Click(TComponent*)
{
    TFbQuery* list = DataModule1->fbQueryLookupPersonFD;
    if (!edtSearchPersons->Text().isEmpty()) {
        FLoading = true;
        edtSearchPersons->SetText(QString());
        FLoading = false;
        if (iLastSelectedPerson == 0)
            RefreshQueryLookupPersons();
        else {
            RefreshQueryLookupPersons();
            list->Locate(QStringLiteral("PERSON_ID"), QVariant::fromValue<qlonglong>(iLastSelectedPerson));
            SelectPerson(iLastSelectedPerson);
        }
    } else {
        const int64_t highlighted = list->IsEmpty() ? 0 : list->FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt();
        if (RunPersonId() != 0 && RunPersonId() != highlighted)
            list->Locate(QStringLiteral("PERSON_ID"), QVariant::fromValue<qlonglong>(RunPersonId()));
        else if (RunPersonId() == 0 && iLastSelectedPerson != 0) {
            list->Locate(QStringLiteral("PERSON_ID"), QVariant::fromValue<qlonglong>(iLastSelectedPerson));
            SelectPerson(iLastSelectedPerson);
        }
    }
    if (edtSearchPersons->CanFocus())
        edtSearchPersons->SetFocus();
}

void TformResultsClass2::edtChip1Exit(TComponent*)
{
    const QString text = edtChip1->Text().trimmed();
    if (text == vcPrevControlCard)
        return;
    EditRun();
    FLoading = true;
    chkRentedChip->SetChecked(false);
    FLoading = false;
    RunFieldObj(QStringLiteral("RENTED_CHIP"))->SetAsString(QStringLiteral("E"));
    TFbQuery* list = DataModule1->fbQueryLookupPersonFD;
    if (text.isEmpty()) {
        bChipManuallyEntered = false;
        RunFieldObj(QStringLiteral("CONTROL_CARD"))->SetAsString(QStringLiteral("000000"));
    } else if (person->person_id() != 0 && text == person->control_card()) {
        bChipManuallyEntered = false;
    } else {
        bChipManuallyEntered = true;
        const int64_t series = formMain ? formMain->nCurrentProcessedEventS : 0;
        int64_t number = 0;
        QString message;
        const bool numeric = CardNumber(text, number);
        if (numeric && DataModule1->onkoLainakortti(series, number, message) == QLatin1String("K")) {
            FLoading = true;
            chkRentedChip->SetChecked(true);
            FLoading = false;
            RunFieldObj(QStringLiteral("RENTED_CHIP"))->SetAsString(QStringLiteral("K"));
        } else if (numeric && person->person_id() == 0) {
            const int64_t found = DataModule1->haeLainakorttiHenkilo(series, number, message);
            if (found != 0) {
                list->Locate(QStringLiteral("PERSON_ID"), QVariant::fromValue<qlonglong>(found));
                RunFieldObj(QStringLiteral("PERSON_ID"))->SetAsLargeInt(found);
                RunFieldObj(QStringLiteral("RESULT_NOTES"))->SetAsString(QStringLiteral("X"));
            }
        }
    }
    haeHenkilo(list->IsEmpty() ? 0 : list->FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt());
    vcPrevControlCard = edtChip1->Text();
}

void TformResultsClass2::chkNoChipClick(TComponent*)
{
    if (FLoading)
        return;
    if (FNoChipReadOnly) {
        FLoading = true;
        chkNoChip->SetChecked(true);
        FLoading = false;
        return;
    }
    if (chkNoChip->Checked()) {
        chkRentedChip->SetEnabled(false);
        edtChip1->SetEnabled(false);
        bChipManuallyEntered = false;
        EditRun();
        RunFieldObj(QStringLiteral("CONTROL_CARD"))->SetAsString(QStringLiteral("000000"));
    } else {
        chkRentedChip->SetEnabled(true);
        edtChip1->SetEnabled(true);
    }
    haeHenkilo(RunPersonId());
    if (edtSearchPersons->CanFocus())
        edtSearchPersons->SetFocus();
}

void TformResultsClass2::chkRentedChipClick(TComponent*)
{
    if (FLoading || person->person_id() == 0)
        return;
    if (chkRentedChip->Checked()) {
        if (chkOwnChip->Checked())
            bOwnChipChanged = true;
        chkOwnChip->SetChecked(false);
        chkOwnChip->SetEnabled(false);
        lblLainakortti->SetCaption(fdtxt::RentedChip + QLatin1Char(',') + person->infotext());
    } else {
        chkOwnChip->SetEnabled(true);
        lblLainakortti->SetCaption(person->infotext());
    }
}

void TformResultsClass2::chkWebShowClick(TComponent*)
{
    if (FLoading)
        return;
    bWebShowChanged = true;
    edtWebShowAsked->SetText(DateToStr(Date()) + QLatin1Char(' ') + TimeToStr(Now()));
    EditRun();
}

void TformResultsClass2::PersonGridDblClick(TComponent*)
{
    SelectPerson(0);
    if (edtSearchPersons->CanFocus())
        edtSearchPersons->SetFocus();
}

void TformResultsClass2::PersonEditorCall(bool Add)
{
    if (!formPerson || FOlder || !(Add ? actPersonAdd : actPersonEdit)->Enabled())
        return;
    TFbQuery* list = DataModule1->fbQueryLookupPersonFD;
    const int64_t highlighted = list->IsEmpty() ? 0 : list->FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt();
    TPersonEditorRun& editor = formPerson->Run();
    editor.iPersonId = Add ? 0 : RunPersonId();
    const QString card = edtChip1->Text().trimmed();
    editor.vcChip = !chkRentedChip->Checked() && !card.isEmpty() && !PlaceholderCard(card)
                        ? RunField(QStringLiteral("CONTROL_CARD"))
                        : QStringLiteral("0");
    formPerson->Opening();
    formPerson->ShowModal();
    editor.Close();
    const bool changed = editor.bDataChanged;
    const int64_t added = editor.iNewPersonId;
    if (Add && !(changed && added != 0))
        return;
    if (Add && list->Filtered()) {
        // the new person must be on the list to be the run's
        FLoading = true;
        edtSearchPersons->SetText(QString());
        FLoading = false;
        list->SetFiltered(false);
    }
    OpenPersons();
    if (Add) {
        list->Locate(QStringLiteral("PERSON_ID"), QVariant::fromValue<qlonglong>(added));
        EditRun();
        RunFieldObj(QStringLiteral("PERSON_ID"))->SetAsLargeInt(added);
        RunFieldObj(QStringLiteral("RESULT_NOTES"))->SetAsString(QStringLiteral("X"));
        haeHenkilo(added);
        iLastSelectedPerson = added;
    } else {
        list->Locate(QStringLiteral("PERSON_ID"), QVariant::fromValue<qlonglong>(highlighted));
        haeHenkilo(RunPersonId());
        if (changed) {
            EditRun();
            RunFieldObj(QStringLiteral("RESULT_NOTES"))->SetAsString(QStringLiteral("X"));
        }
    }
    rdbgrdPersons->Invalidate();
}

void TformResultsClass2::FormKeyPress(TComponent*, QChar& Key)
{
    TFbQuery* list = DataModule1->fbQueryLookupPersonFD;
    const int64_t highlighted = list->IsEmpty() ? 0 : list->FieldByName(QStringLiteral("PERSON_ID"))->AsLargeInt();
    const int64_t runPerson = RunPersonId();
    const bool personFocus = edtSearchPersons->Focused() || rdbgrdPersons->Focused();
    if (Key == QChar(13)) {
        Key = QChar(0);
        if (personFocus && ((runPerson != 0 && runPerson != highlighted) || (runPerson == 0 && highlighted != 0)))
            SelectPerson(0);
        else
            btnOKClick(this);
    } else if (Key == QChar(27)) {
        if (edtSearchPersons->Focused() && !edtSearchPersons->Text().isEmpty()) {
            FLoading = true;
            edtSearchPersons->SetText(QString());
            FLoading = false;
            RefreshQueryLookupPersons();
            if (iLastSelectedPerson != 0) {
                list->Locate(QStringLiteral("PERSON_ID"), QVariant::fromValue<qlonglong>(iLastSelectedPerson));
                SelectPerson(iLastSelectedPerson);
            }
            return;
        }
        Key = QChar(0);
        if (edtSearchPersons->Focused() && runPerson != 0 && runPerson != highlighted)
            list->Locate(QStringLiteral("PERSON_ID"), QVariant::fromValue<qlonglong>(runPerson));
        else
            cancelClick(this);
    }
}

void TformResultsClass2::FormKeyUp(TComponent*, Word& Key, TShiftState)
{
    TFbQuery* list = DataModule1->fbQueryLookupPersonFD;
    if ((Key == VK_UP || Key == VK_DOWN) && edtSearchPersons->Focused() && list->Active()) {
        if (Key == VK_UP)
            list->Prior();
        else
            list->Next();
    } else if (Key == VK_F5) {
        TWinControl* person = FOlder ? static_cast<TWinControl*>(edtPerson) : edtSearchPersons;
        if (person->CanFocus())
            person->SetFocus();
        if (FOlder)
            bPersonDroppedDown = true;
        else
            bClassDroppedDown = false;
    } else if (Key == VK_F6) {
        // The course list gets the focus; it is not dropped down, so "OK"
        // keeps accepting the run until the operator opens the list.
        if (edtClassCourse->CanFocus())
            edtClassCourse->SetFocus();
    }
}
