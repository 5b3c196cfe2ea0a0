// The check-in's run logic: opening in its three modes, the person and card
// handling, the course, web entries, the entry fee and saving with OK.

#include "results/vrkResultsClassForestRun.h"

#include "app/vrkDoMessage.h"
#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/database/FbConnection.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/Dialogs.h"
#include "resources/StartDeskTexts.h"

namespace st = txt::startdesk;

int TResultsClassForestRun::Tila = -1;

namespace {

QString L(const char* s) { return QString::fromLatin1(s); }
const QString kNoCard = QStringLiteral("99999999");
const QString kNoCardElsewhere = QStringLiteral("000000");

TDataModule1& M() { return *DataModule1; }

}  // namespace

QString CurrencyText2(Currency Value)
{
    const int64_t cents = Value.ToScaled(2);
    const int64_t whole = (cents < 0 ? -cents : cents) / 100;
    const int64_t part = (cents < 0 ? -cents : cents) % 100;
    return (cents < 0 ? QStringLiteral("-") : QString()) + QString::number(whole) + FormatSettings().DecimalSeparator +
           QStringLiteral("%1").arg(part, 2, 10, QLatin1Char('0'));
}

// ---------------------------------------------------------------- helpers

bool TResultsClassForestRun::IsPlaceholderCard(const QString& Card)
{
    static const QStringList kPlaceholders = {L("200"), L("000200"), L("00200"), L("000000"), L("0"), QString()};
    return kPlaceholders.contains(Card.trimmed());
}

QString TResultsClassForestRun::TilaStatus(int Item)
{
    switch (Item) {
    case 1: return L("E");
    case 2: return L("O");
    case 3: return L("-1");
    case 4: return L("-2");
    default: return L("M");
    }
}

bool TResultsClassForestRun::IsBalanceType(const QString& PaymentType)
{
    return PaymentType == L("SALDO") || PaymentType == L("FIRMASARJA") || PaymentType == L("MAKSULUOKKA");
}

QString TResultsClassForestRun::PersonFilter(const QString& Search)
{
    const QString s = Search.trimmed();
    if (s.isEmpty())
        return QString();
    const QStringList w = s.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (w.size() < 2)
        return L("PERSON_NAME like ") + QuotedStr(L("%") + s + L("%"));
    return L("PERSON_NAME like ") + QuotedStr(L("%") + w[0] + L("% %") + w[1] + L("%")) + L(" OR PERSON_NAME like ") +
           QuotedStr(L("%") + w[1] + L("% %") + w[0] + L("%"));
}

TDataSet& TResultsClassForestRun::RunSet() const { return *M().fbQueryCurrResultFD; }
TField& TResultsClassForestRun::RunField(const char* Name) const { return *RunSet().FieldByName(L(Name)); }
bool TResultsClassForestRun::RunOpen() const { return M().fbQueryCurrResultFD->Active() && !RunSet().IsEmpty(); }

void TResultsClassForestRun::EditRun()
{
    if (RunOpen() && RunSet().State() == dsBrowse)
        RunSet().Edit();
}

int64_t TResultsClassForestRun::RunPersonId() const
{
    return RunOpen() ? RunField("PERSON_ID").AsLargeInt() : 0;
}

int64_t TResultsClassForestRun::ListPersonId() const
{
    TDataSet& p = *M().fbQueryLookupPersonFD;
    return p.Active() && !p.IsEmpty() ? p.FieldByName(L("PERSON_ID"))->AsLargeInt() : 0;
}

int64_t TResultsClassForestRun::CourseId() const
{
    return RunOpen() ? RunField("CLASS_COURSE_ID").AsLargeInt() : 0;
}

void TResultsClassForestRun::MenuShow(const QString& State, const QString& Caption)
{
    if (State == L("MENU1_QUESTION")) {
        Menu1State = State;
        Menu1Text = st::Menu1Question;
    } else if (State == L("MENU1_EXLAMATION")) {
        Menu1State = State;
        Menu1Text = st::Menu1Exclamation;
    } else if (State == L("MENU1_OK")) {
        Menu1State = State;
        Menu1Text = Caption;
    } else if (State == L("MENU2_QUESTION")) {
        Menu2State = State;
        Menu2Text = st::Menu2Question;
    } else if (State == L("MENU2_OK")) {
        Menu2State = State;
        Menu2Text = st::Menu2Course + Caption;
    }
}

static QString NameAndClub(const QString& Name, const QString& Club)
{
    return Club.isEmpty() ? Name : Name + L(", ") + Club;
}

void TResultsClassForestRun::Menu1ForPerson()
{
    const int64_t id = RunPersonId();
    if (id != 0 && (person->person_id() != 0 || id == -999)) {
        MenuShow(L("MENU1_OK"), NameAndClub(person->person_name(), person->club_name()));
        PersonEditEnabled = id != -999;
    } else {
        MenuShow(L("MENU1_QUESTION"));
        PersonEditEnabled = false;
    }
}

// ---------------------------------------------------------------- opening

bool TResultsClassForestRun::InsertRun()
{
    QString wasInForest, message, flag;
    int64_t id = 0;
    M().insertResultsClass(vcChipString, L("K"), QString(), vcControlCard, id, wasInForest, message, flag);
    if (!message.isEmpty() || id == 0) {
        do_message(true, st::InsertFailed + message, MSG_ERROR);
        return false;
    }
    iResultsClassId = id;
    if (wasInForest == L("K")) {
        do_message(true, st::AlreadyInForest, MSG_ERROR);
        M().deleteResultsClass(id);
        return false;
    }
    return true;
}

bool TResultsClassForestRun::Open()
{
    bNewResult = false;
    bCancelOpen = false;
    vcControlCard.clear();
    bOwnChipChanged = bReceiptPrintChanged = bPhoneNumberChanged = bWebShowChanged = false;
    Menu1State.clear();
    Menu1Text.clear();
    MenuShow(L("MENU2_QUESTION"));
    DetachWebEntry();
    WebSearch.clear();
    // Any move of the entry list's cursor detaches the entry (the operator
    // looks at another entry than the one marked).
    M().WebEntries.OnCursorMoved = [this] { WebEntryCursorMoved(); };
    bShowWebEntries = event->web_entries() == L("K");
    bChipManuallyEntered = false;
    vcPrevControlCard.clear();
    NoChip = false;
    PersonSearch.clear();
    iLastSelectedPerson = 0;
    M().fbQueryLookupPersonFD->SetFiltered(false);

    if (!vcChipString.isEmpty()) {
        bChipRead = true;
        if (!InsertRun()) {
            bCancelOpen = true;
            return false;
        }
        resultsClass->selectDB(iResultsClassId);
        if (resultsClass->control_card() == formMain->vc_last_read_chip &&
            MessageBox(st::SameCardAgain, st::CheckInCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
            M().deleteResultsClass(iResultsClassId);
            bCancelOpen = true;
            return false;
        }
        bNewResult = true;
    } else if (iResultsClassId == 0) {
        bChipRead = false;
        vcControlCard = L("0");
        if (!InsertRun()) {
            bCancelOpen = true;
            return false;
        }
        resultsClass->selectDB(iResultsClassId);
        bNewResult = true;
    } else {
        bShowWebEntries = false;
        bChipRead = true;
        resultsClass->selectDB(iResultsClassId);
    }
    ShowData();
    Focus = TFocus::PersonSearch;
    if (!bNewResult && CourseId() != 0)
        MenuShow(L("MENU2_OK"), M().fbQuerySelectClassCourseFFD->FieldByName(L("CLASS_NAME"))->AsString());
    formMain->vc_last_read_chip = resultsClass->control_card();

    if (bShowWebEntries && bNewResult)
        LoadWebEntries();
    if (!bShowWebEntries) {
        Menu1ForPerson();
        if (RunPersonId() != 0)
            Focus = bNewResult ? TFocus::CourseList : TFocus::Course;
    }
    LoadPayments(true);
    return true;
}

void TResultsClassForestRun::ShowData()
{
    M().OpenCurrentResult(iResultsClassId);
    Card = RunField("CONTROL_CARD").AsString();

    TFbQuery& persons = *M().fbQueryLookupPersonFD;
    persons.Close();
    persons.ParamByName(L("EVENT_SERIES_ID")).SetAsLargeInt(formMain->nCurrentProcessedEventS);
    persons.ParamByName(L("CONTROL_CARD")).SetAsString(Card);
    persons.Open();
    persons.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(RunPersonId()));
    ShowPerson(RunPersonId());

    TFbQuery& courses = *M().fbQuerySelectClassCourseFFD;
    courses.Close();
    courses.ParamByName(L("RESULTS_CLASS_ID")).SetAsLargeInt(iResultsClassId);
    courses.ParamByName(L("RESULTS_CLASS_ID2")).SetAsLargeInt(iResultsClassId);
    courses.ParamByName(L("MESSAGE_LANGUAGE")).SetAsString(formMain->vcUILanguageCode);
    courses.Open();
    courses.Locate(L("CLASS_COURSE_ID"), QVariant::fromValue<qlonglong>(CourseId()));
    TFbQuery& extra = *M().fbQuerySelectAdditionalClassFD;
    extra.Close();
    extra.ParamByName(L("CLASS_COURSE_ID")).SetAsLargeInt(CourseId());
    extra.Open();

    CardVisible = Card != kNoCardElsewhere;
    if (Card == kNoCard) {
        NoChip = true;
        Card.clear();
    }
    RentedChip = RunField("RENTED_CHIP").AsString() == L("K");
    if (RentedChip)
        RentedLabel = person->infotext().isEmpty() ? st::RentedChip : st::RentedChip + L(",") + person->infotext();
}

// ---------------------------------------------------------------- person

void TResultsClassForestRun::ShowPerson(int64_t PersonId)
{
    const bool rented = RunOpen() && RunField("RENTED_CHIP").AsString() == L("K");
    if (PersonId != 0) {
        PersonDetailsEnabled = true;
        person->selectDB(PersonId);
        PrintReceipt = person->print_receipt() == L("K");
        RentedLabel = !rented ? person->infotext()
                              : (person->infotext().isEmpty() ? st::RentedChip : st::RentedChip + L(",") + person->infotext());
        WebShow = person->web_show() == L("K");
        WebShowAsked = person->web_show_asked();
        Phone = person->phone_number();
        if (!bChipRead && !bChipManuallyEntered && !NoChip) {
            EditRun();
            TDataSet& entries = *M().fbQueryWebEntriesFD;
            QString card;
            if (bShowWebEntries && WebMark == TWebMark::OK && entries.Active() && !entries.IsEmpty() &&
                !entries.FieldByName(L("EMIT_NR"))->AsString().isEmpty())
                card = entries.FieldByName(L("EMIT_NR"))->AsString();
            else
                card = person->control_card();
            Card = card;
            if (RunOpen())
                RunField("CONTROL_CARD").SetAsString(card);
            if (!card.isEmpty())
                NoChip = false;
        }
        OwnChipEnabled = true;
        if (!RentedChip && !IsPlaceholderCard(Card)) {
            OwnChip = person->control_card() == Card;
        } else {
            OwnChip = false;
            OwnChipEnabled = false;
        }
    } else {
        if (!Card.isEmpty() && !bChipManuallyEntered && !bChipRead) {
            EditRun();
            Card.clear();
            if (RunOpen())
                RunField("CONTROL_CARD").SetAsString(QString());
        }
        OwnChip = WebShow = PrintReceipt = false;
        OwnChipEnabled = PersonDetailsEnabled = false;
        WebShowAsked.clear();
        Phone.clear();
        person->selectDB(0);
        RentedLabel = rented ? st::RentedChip : QString();
    }
    bOwnChipChanged = bReceiptPrintChanged = bPhoneNumberChanged = bWebShowChanged = false;
}

void TResultsClassForestRun::SelectPerson(int64_t PersonId)
{
    TFbQuery& persons = *M().fbQueryLookupPersonFD;
    const int64_t current = RunPersonId();
    if (current != 0 && current == ListPersonId() && (PersonId == 0 || PersonId == current)) {
        if (bShowWebEntries && (WebMark == TWebMark::OK || WebMark == TWebMark::Exclamation))
            return;
        if (persons.Filtered()) {
            persons.SetFiltered(false);
            PersonSearch.clear();
        }
        EditRun();
        RunField("PERSON_ID").SetAsLargeInt(0);
        persons.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(current));
        ShowPerson(0);
        iLastSelectedPerson = 0;
    } else {
        const int64_t id = PersonId != 0 ? PersonId : ListPersonId();
        if (persons.Filtered()) {
            persons.SetFiltered(false);
            PersonSearch.clear();
        }
        EditRun();
        RunField("PERSON_ID").SetAsLargeInt(id);
        persons.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(id));
        ShowPerson(id);
        iLastSelectedPerson = id;
    }
    Menu1ForPerson();
}

void TResultsClassForestRun::SearchPersons(const QString& Text)
{
    PersonSearch = Text;
    // While no entry is attached, the entries follow the person search.
    if (bShowWebEntries && WebMark != TWebMark::OK) {
        WebSearch = Text.trimmed();
        RefreshWebEntries();
    }
    TFbQuery& persons = *M().fbQueryLookupPersonFD;
    persons.SetFiltered(false);
    const QString filter = PersonFilter(Text);
    if (filter.isEmpty())
        return;
    if (RunPersonId() != 0) {
        iLastSelectedPerson = RunPersonId();
        EditRun();
        RunField("PERSON_ID").SetAsLargeInt(0);
        ShowPerson(0);
        Menu1ForPerson();
    }
    persons.SetFilterOptions(foCaseInsensitive);
    persons.SetFilter(filter);
    persons.SetFiltered(true);
}

void TResultsClassForestRun::ClearSearch()
{
    TFbQuery& persons = *M().fbQueryLookupPersonFD;
    if (!PersonSearch.isEmpty()) {
        PersonSearch.clear();
        persons.SetFiltered(false);
        if (bShowWebEntries && WebMark != TWebMark::OK && !WebSearch.isEmpty()) {
            WebSearch.clear();
            RefreshWebEntries();
        }
        if (iLastSelectedPerson != 0) {
            persons.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(iLastSelectedPerson));
            SelectPerson(iLastSelectedPerson);
        }
    } else if (RunPersonId() != 0) {
        persons.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(RunPersonId()));
    } else {
        if (iLastSelectedPerson != 0)
            persons.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(iLastSelectedPerson));
        if (ListPersonId() != 0)
            SelectPerson(ListPersonId());
    }
}

QString TResultsClassForestRun::ChipForPersonEditor() const
{
    return !RentedChip && !NoChip && !IsPlaceholderCard(Card) ? RunField("CONTROL_CARD").AsString() : L("0");
}

void TResultsClassForestRun::PersonEdited(int64_t NewPersonId, bool Added, bool Changed)
{
    TFbQuery& persons = *M().fbQueryLookupPersonFD;
    const int64_t current = ListPersonId();
    persons.Close();
    persons.Open();
    if (Added) {
        if (!Changed || NewPersonId == 0)
            return;
        persons.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(NewPersonId));
        ShowPerson(NewPersonId);
        EditRun();
        RunField("PERSON_ID").SetAsLargeInt(NewPersonId);
        iLastSelectedPerson = NewPersonId;
    } else {
        persons.Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(current));
        ShowPerson(RunPersonId());
        // An editor closed without a save leaves the run as it was: nothing
        // to write and no note that the person was taken by hand.
        if (!Changed) {
            Menu1ForPerson();
            return;
        }
        EditRun();
    }
    RunField("RESULT_NOTES").SetAsString(L("X"));
    Menu1ForPerson();
}

void TResultsClassForestRun::ClickOwnChip(bool Checked)
{
    OwnChip = Checked;
    bOwnChipChanged = true;
    if (Checked && RentedChip) {
        EditRun();
        RentedChip = false;
        RunField("RENTED_CHIP").SetAsString(L("E"));
    }
}

void TResultsClassForestRun::ClickRentedChip(bool Checked)
{
    RentedChip = Checked;
    EditRun();
    RunField("RENTED_CHIP").SetAsString(Checked ? L("K") : L("E"));
    if (person->person_id() != 0) {
        if (Checked) {
            OwnChip = false;
            bOwnChipChanged = true;
        }
        OwnChipEnabled = !Checked;
    }
    RentedLabel = Checked ? st::RentedChip + L(",") + person->infotext() : person->infotext();
}

void TResultsClassForestRun::ClickPrintReceipt(bool Checked)
{
    PrintReceipt = Checked;
    bReceiptPrintChanged = true;
}

void TResultsClassForestRun::ClickWebShow(bool Checked, const QString& Now)
{
    WebShow = Checked;
    bWebShowChanged = true;
    WebShowAsked = Now;
}

void TResultsClassForestRun::ChangePhone(const QString& Text)
{
    Phone = Text;
    bPhoneNumberChanged = true;
}

// ---------------------------------------------------------------- card

void TResultsClassForestRun::EnterCard() { vcPrevControlCard = Card; }

void TResultsClassForestRun::LeaveCard(const QString& Text)
{
    Card = Text.trimmed();
    if (Card != vcPrevControlCard && !bChipRead) {
        EditRun();
        RunField("CONTROL_CARD").SetAsString(Card);
        RentedChip = false;
        RunField("RENTED_CHIP").SetAsString(L("E"));
        bool numeric = false;
        const qlonglong number = Card.toLongLong(&numeric);
        if (Card.isEmpty() || Card == person->control_card()) {
            bChipManuallyEntered = false;
        } else {
            bChipManuallyEntered = true;
            QString message;
            // A card that is no whole number is neither rented nor anybody's.
            if (numeric && M().onkoLainakortti(formMain->nCurrentProcessedEventS, number, message) == L("K")) {
                RentedChip = true;
                RunField("RENTED_CHIP").SetAsString(L("K"));
            } else if (numeric && person->person_id() == 0) {
                const int64_t owner = M().haeLainakorttiHenkilo(formMain->nCurrentProcessedEventS, number, message);
                if (owner != 0) {
                    M().fbQueryLookupPersonFD->Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(owner));
                    RunField("PERSON_ID").SetAsLargeInt(owner);
                    RunField("RESULT_NOTES").SetAsString(L("X"));
                    iLastSelectedPerson = owner;
                    Focus = TFocus::CourseList;
                }
            }
        }
        ShowPerson(ListPersonId());
        if (person->person_id() != 0 && RunPersonId() == person->person_id() && !RentedChip)
            OwnChip = person->control_card() == Card;
        vcPrevControlCard = Card;
        Menu1ForPerson();
    }
    nPaymentTypeId = 0;
    LoadPayments();
}

void TResultsClassForestRun::SetNoChip(bool Checked)
{
    NoChip = Checked;
    if (Checked) {
        EditRun();
        Card.clear();
        RunField("CONTROL_CARD").SetAsString(QString());
        bChipManuallyEntered = false;
    }
    ShowPerson(ListPersonId());
    Focus = TFocus::PersonSearch;
}

// ---------------------------------------------------------------- course

void TResultsClassForestRun::ChooseCourse(int64_t ClassCourseId)
{
    // A list still open as the window closes closes after the run.
    if (!RunOpen())
        return;
    EditRun();
    RunField("CLASS_COURSE_ID").SetAsLargeInt(ClassCourseId);
    TFbQuery& courses = *M().fbQuerySelectClassCourseFFD;
    if (ClassCourseId != 0) {
        courses.Locate(L("CLASS_COURSE_ID"), QVariant::fromValue<qlonglong>(ClassCourseId));
        TFbQuery& extra = *M().fbQuerySelectAdditionalClassFD;
        extra.Close();
        extra.ParamByName(L("CLASS_COURSE_ID")).SetAsLargeInt(ClassCourseId);
        extra.Open();
        RunField("ADDITIONAL_CLASS_ID").Clear();
        MenuShow(L("MENU2_OK"), courses.FieldByName(L("CLASS_NAME"))->AsString());
    } else {
        RunField("ADDITIONAL_CLASS_ID").Clear();
        RunField("ADDITIONAL_CLASS_NOTES").Clear();
        MenuShow(L("MENU2_QUESTION"));
    }
    Tila = 0;
}

int64_t TResultsClassForestRun::AdditionalClassId() const
{
    return RunOpen() ? RunField("ADDITIONAL_CLASS_ID").AsLargeInt() : 0;
}

void TResultsClassForestRun::ChooseAdditionalClass(int64_t AdditionalClassId)
{
    if (!RunOpen() || CourseId() == 0 || AdditionalClassId == this->AdditionalClassId())
        return;
    EditRun();
    if (AdditionalClassId == 0)
        RunField("ADDITIONAL_CLASS_ID").Clear();
    else
        RunField("ADDITIONAL_CLASS_ID").SetAsLargeInt(AdditionalClassId);
}

QString TResultsClassForestRun::AdditionalNotes() const
{
    return RunOpen() ? RunField("ADDITIONAL_CLASS_NOTES").AsString() : QString();
}

void TResultsClassForestRun::SetAdditionalNotes(const QString& Text)
{
    if (!RunOpen() || CourseId() == 0 || Text == AdditionalNotes())
        return;
    EditRun();
    RunField("ADDITIONAL_CLASS_NOTES").SetAsString(Text);
}

// ---------------------------------------------------------------- web entries

void TResultsClassForestRun::LoadWebEntries()
{
    TFbQuery& entries = *M().fbQueryWebEntriesFD;
    entries.SetFiltered(false);
    entries.Close();
    entries.ParamByName(L("EVENT_ID")).SetAsLargeInt(formMain->nCurrentProcessedEvent);
    entries.Open();
    if (!bChipRead) {
        entries.First();
        WebMark = TWebMark::None;
        Menu1ForPerson();
        return;
    }
    int64_t entryId = 0;
    QString status, message;
    M().selectWebEntryChip(iResultsClassId, resultsClass->control_card(), entryId, status, message);
    WebMark = TWebMark::None;
    if (!message.isEmpty()) {
        do_message(true, st::WebEntryFailed + L(" ") + message, MSG_ERROR);
    } else if (status == L("OK") || status == L("EXLAMATION")) {
        entries.Locate(L("RASTILIPPU_ENTRIES_ID"), QVariant::fromValue<qlonglong>(entryId));
        WebMark = status == L("OK") ? TWebMark::OK : TWebMark::Exclamation;
        // a proposal to check is not attached until the operator confirms it
        FAttachedEntryId = status == L("OK") ? entryId : 0;
        TakeWebEntry();
        return;
    } else {
        WebMark = TWebMark::Question;
    }
    Menu1ForPerson();
}

void TResultsClassForestRun::ToggleWebEntry()
{
    if (WebMark == TWebMark::OK) {
        DetachWebEntry();
        return;
    }
    TFbQuery& entries = *M().fbQueryWebEntriesFD;
    if (!entries.Active() || entries.IsEmpty())
        return;
    WebMark = TWebMark::OK;
    FAttachedEntryId = entries.FieldByName(L("RASTILIPPU_ENTRIES_ID"))->AsLargeInt();
    TakeWebEntry();
}

void TResultsClassForestRun::DetachWebEntry()
{
    WebMark = TWebMark::None;
    FAttachedEntryId = 0;
}

void TResultsClassForestRun::WebEntryCursorMoved()
{
    if (!FMovingEntries)
        DetachWebEntry();
}

bool TResultsClassForestRun::OnAttachedEntry()
{
    TFbQuery& entries = *M().fbQueryWebEntriesFD;
    if (FAttachedEntryId == 0 || !entries.Active())
        return false;
    FMovingEntries = true;
    const bool wasFiltered = entries.Filtered();
    bool found = entries.Locate(L("RASTILIPPU_ENTRIES_ID"), QVariant::fromValue<qlonglong>(FAttachedEntryId));
    if (!found && wasFiltered) {
        entries.SetFiltered(false);
        found = entries.Locate(L("RASTILIPPU_ENTRIES_ID"), QVariant::fromValue<qlonglong>(FAttachedEntryId));
    }
    FMovingEntries = false;
    return found;
}

void TResultsClassForestRun::RefreshWebEntries()
{
    TFbQuery& entries = *M().fbQueryWebEntriesFD;
    if (!entries.Active())
        return;
    // A new filter is not the operator's move: an attached entry stays so,
    // and the list stays on it while it is shown.
    FMovingEntries = true;
    entries.SetFiltered(false);
    const QString t = WebSearch.trimmed();
    if (!t.isEmpty()) {
        QString q = L("%") + t + L("%");
        q.replace(L("'"), L("''"));
        entries.SetFilterOptions(foCaseInsensitive);
        entries.SetFilter(L("LAST_NAME like '") + q + L("' or FIRST_NAME like '") + q + L("'"));
        entries.SetFiltered(true);
    }
    if (FAttachedEntryId != 0)
        entries.Locate(L("RASTILIPPU_ENTRIES_ID"), QVariant::fromValue<qlonglong>(FAttachedEntryId));
    FMovingEntries = false;
}

bool TResultsClassForestRun::WebEntryPerson(QString& Chip, QString& SportId, QString& Name) const
{
    TFbQuery& entries = *M().fbQueryWebEntriesFD;
    if (!entries.Active() || entries.IsEmpty())
        return false;
    Chip = entries.FieldByName(L("RENTAL_EMIT"))->AsString() == L("E") ? entries.FieldByName(L("EMIT_NR"))->AsString()
                                                                          : L("0");
    if (Chip.isEmpty())
        Chip = L("0");
    SportId = entries.FieldByName(L("SPORT_ID"))->AsString();
    Name = entries.FieldByName(L("LAST_NAME"))->AsString() + L(" ") + entries.FieldByName(L("FIRST_NAME"))->AsString();
    return true;
}

void TResultsClassForestRun::WebEntryPersonAdded(int64_t NewPersonId)
{
    PersonEdited(NewPersonId, true, true);
    RunField("RESULT_NOTES").SetAsString(L("X"));
    WebMark = TWebMark::None;
    ToggleWebEntry();
}

void TResultsClassForestRun::TakeWebEntry()
{
    TFbQuery& entries = *M().fbQueryWebEntriesFD;
    if (!entries.Active() || entries.IsEmpty())
        return;
    int64_t personId = 0;
    QString status, message;
    M().selectWebEntry(entries.FieldByName(L("RASTILIPPU_ENTRIES_ID"))->AsLargeInt(), personId, status, message);
    if (!message.isEmpty()) {
        do_message(true, st::WebEntryFailed + L(" ") + message, MSG_ERROR);
        if (WebMark == TWebMark::OK)
            DetachWebEntry();
        return;
    }
    if (status != L("OK") && status != L("EXLAMATION")) {
        MenuShow(L("MENU1_QUESTION"));
        Focus = TFocus::PersonSearch;
        return;
    }
    const QString entryCard = entries.FieldByName(L("EMIT_NR"))->AsString();
    EditRun();
    if (!bChipRead && !entryCard.isEmpty()) {
        Card = entryCard;
        RunField("CONTROL_CARD").SetAsString(entryCard);
        NoChip = false;
        bChipManuallyEntered = true;  // the entry's card, not the person's own
    }
    M().fbQueryLookupPersonFD->Locate(L("PERSON_ID"), QVariant::fromValue<qlonglong>(personId));
    ShowPerson(personId);
    RunField("PERSON_ID").SetAsLargeInt(personId);
    RunField("RESULT_NOTES").SetAsString(L("X"));
    iLastSelectedPerson = personId;
    if (status == L("EXLAMATION")) {
        MenuShow(L("MENU1_EXLAMATION"));
        Focus = TFocus::PersonSearch;
    } else {
        MenuShow(L("MENU1_OK"), NameAndClub(person->person_name(), person->club_name()));
        Focus = TFocus::CourseList;
    }
}

// ---------------------------------------------------------------- payment

void TResultsClassForestRun::ResetPaymentChoice()
{
    nPaymentType.clear();
    nPaymentMethodId = 0;
    nPaymentPrice = Currency();
    PriceField = Currency();
    nPaymentInfo.clear();
    InfoField.clear();
    nChipBalanceBefore = Currency();
    nChipBalanceOptionsId = 0;
    nChipBalancePaid = Currency();
    vcChipBalanceInfo.clear();
    nChipBalanceAddToBalance = Currency();
}

void TResultsClassForestRun::LoadPayments(bool AtOpening)
{
    nPaymentTypeId = 0;
    TFbQuery& rows = *M().fbQueryPaymentMethodsFD;
    rows.Close();
    rows.ParamByName(L("EVENT_ID")).SetAsLargeInt(formMain->nCurrentProcessedEvent);
    rows.ParamByName(L("CONTROL_CARD")).SetAsString(Card);
    rows.ParamByName(L("MESSAGE_LANGUAGE")).SetAsString(formMain->vcUILanguageCode);
    if (bNewResult)
        rows.ParamByName(L("RESULTS_CLASS_ID")).Clear();
    else
        rows.ParamByName(L("RESULTS_CLASS_ID")).SetAsLargeInt(iResultsClassId);
    rows.Open();
    if (AtOpening && bNewResult) {
        ResetPaymentChoice();
    } else if (AtOpening) {
        nPaymentPrice = resultsClass->PaymentPrice();
        nPaymentInfo = resultsClass->PaymentInfo();
        nChipBalanceBefore = resultsClass->ChipBalanceBefore();
        nChipBalanceOptionsId = resultsClass->ChipBalanceOptionsId();
        nChipBalancePaid = resultsClass->ChipBalancePaid();
        vcChipBalanceInfo = resultsClass->ChipBalanceInfo();
        nChipBalanceAddToBalance = resultsClass->ChipBalanceAdd();
    }
    // Later reloads keep what the chip balance payment recorded.
    ShowPayBalanceButton();
    if (!rows.Locate(L("OUT_SELECTED_METHOD"), L("K")))
        rows.Last();
    TakeProposedPayment();
}

void TResultsClassForestRun::TakeProposedPayment()
{
    TFbQuery& rows = *M().fbQueryPaymentMethodsFD;
    if (nPaymentTypeId != 0 || !rows.Active() || !rows.Locate(L("OUT_SELECTED_METHOD"), L("K")))
        return;
    nPaymentTypeId = rows.FieldByName(L("OUT_ID"))->AsLargeInt();
    nPaymentType = rows.FieldByName(L("OUT_PAYMENT_TYPE"))->AsString();
    nPaymentMethodId = rows.FieldByName(L("OUT_PAYMENT_METHOD_ID"))->AsLargeInt();
    if (bNewResult) {
        PriceField = nPaymentPrice = rows.FieldByName(L("OUT_PAYMENT_METHOD_PRICE"))->AsCurrency();
        InfoField = rows.FieldByName(L("OUT_PAYMENT_METHOD_NAME"))->AsString();
        nChipBalanceBefore = rows.FieldByName(L("OUT_CHIP_BALANCE_BEFORE"))->AsCurrency();
    } else {
        PriceField = nPaymentPrice;
        InfoField = nPaymentInfo;
    }
    ShowPaymentRow();
}

void TResultsClassForestRun::ChoosePayment()
{
    TFbQuery& rows = *M().fbQueryPaymentMethodsFD;
    if (!rows.Active() || rows.IsEmpty())
        return;
    const int64_t current = rows.FieldByName(L("OUT_ID"))->AsLargeInt();
    if (nPaymentTypeId == 0 || nPaymentTypeId != current) {
        nPaymentTypeId = current;
        nPaymentType = rows.FieldByName(L("OUT_PAYMENT_TYPE"))->AsString();
        nPaymentMethodId = rows.FieldByName(L("OUT_PAYMENT_METHOD_ID"))->AsLargeInt();
        PriceField = nPaymentPrice = rows.FieldByName(L("OUT_PAYMENT_METHOD_PRICE"))->AsCurrency();
        InfoField = rows.FieldByName(L("OUT_PAYMENT_METHOD_NAME"))->AsString();
        nChipBalanceBefore = rows.FieldByName(L("OUT_CHIP_BALANCE_BEFORE"))->AsCurrency();
        EditRun();
        const int64_t chosen = nPaymentTypeId;
        const QString type = nPaymentType;
        const int64_t method = nPaymentMethodId;
        const Currency price = nPaymentPrice, before = nChipBalanceBefore;
        const QString info = InfoField;
        LoadPayments();
        // The reload proposes a row of its own; the operator's choice stands.
        nPaymentTypeId = chosen;
        nPaymentType = type;
        nPaymentMethodId = method;
        PriceField = nPaymentPrice = price;
        nChipBalanceBefore = before;
        InfoField = info;
        Focus = TFocus::Price;
    }
    rows.Locate(L("OUT_ID"), QVariant::fromValue<qlonglong>(nPaymentTypeId));
    ShowPaymentRow();
}

// Only a changed value puts the run into editing: an existing run whose
// fields were merely passed through stays unwritten.
void TResultsClassForestRun::SetPrice(Currency Value)
{
    const bool changed = Value != PriceField;
    PriceField = Value;
    nPaymentPrice = Value;
    if (changed)
        EditRun();
    ShowPaymentRow();
}

void TResultsClassForestRun::SetInfo(const QString& Text)
{
    if (Text.left(200) == InfoField)
        return;
    InfoField = Text.left(200);
    EditRun();
}

void TResultsClassForestRun::ShowPaymentRow()
{
    if (!IsBalanceType(nPaymentType)) {
        PriceLabel = st::PriceFee;
        PriceHint = st::PriceFeeHint;
        BalanceLabel.clear();
        BalanceWarning = false;
        return;
    }
    PriceLabel = st::PriceBalance;
    PriceHint = st::PriceBalanceHint;
    BalanceLabel = st::BalanceAfter + CurrencyText2(BalanceAfter());
    BalanceWarning = BalanceAfter() <= Currency::FromDouble(eventSeries->payment_flex_amount());
}

void TResultsClassForestRun::ShowPayBalanceButton()
{
    PayBalanceBold = nChipBalancePaid != Currency();
    PayBalanceCaption = PayBalanceBold ? st::Paid + CurrencyText2(nChipBalancePaid) : st::PayBalance;
}

void TResultsClassForestRun::AfterBalancePayment()
{
    EditRun();
    ShowPayBalanceButton();
    const int64_t chosen = nPaymentTypeId;
    TFbQuery& rows = *M().fbQueryPaymentMethodsFD;
    rows.Close();
    rows.Open();
    nPaymentTypeId = chosen;
    rows.Locate(L("OUT_ID"), QVariant::fromValue<qlonglong>(chosen));
    ShowPaymentRow();
}

// ---------------------------------------------------------------- OK

bool TResultsClassForestRun::Ok()
{
    if (RunPersonId() == 0) {
        do_message(true, st::NoPerson, MSG_ERROR);
        Focus = TFocus::PersonSearch;
        return false;
    }
    if (!NoChip && (Card.isEmpty() || Card == L("0"))) {
        do_message(true, st::NoCard, MSG_ERROR);
        Focus = TFocus::Card;
        return false;
    }
    if (CourseId() == 0) {
        do_message(true, st::NoCourse, MSG_ERROR);
        Focus = TFocus::CourseList;
        return false;
    }
    if (bNewResult && !NoChip) {
        QString err;
        if (M().onkoKirjattuMaastoon(formMain->nCurrentProcessedEvent, Card, err) == L("K") &&
            MessageBox(st::CardInForestAsk, st::CheckInCaption, MB_YESNO | MB_ICONWARNING) != IDYES)
            return false;
    }
    if (bShowWebEntries && WebMark == TWebMark::OK && !OnAttachedEntry())
        DetachWebEntry();
    UpdatePersonDetails();
    if (bShowWebEntries && WebMark == TWebMark::OK && M().fbQueryWebEntriesFD->Active()) {
        QString message;
        M().setWebEntryStatus(M().fbQueryWebEntriesFD->FieldByName(L("RASTILIPPU_ENTRIES_ID"))->AsLargeInt(),
                              iResultsClassId, L("M"), message);
    }
    WriteRun();
    bNewResult = false;
    formMain->vc_last_result_action = L("LAHTO_MAASTOON");
    if (M().fbTrPaymentMethodFD->Active())
        M().fbTrPaymentMethodFD->Commit();
    Close();
    return true;
}

void TResultsClassForestRun::UpdatePersonDetails()
{
    const int64_t id = RunPersonId();
    QString err;
    // The own-card and receipt headings run straight into the error's text;
    // the later ones are kept apart from it by a blank.
    auto report = [&](const QString& head, bool blank = true) {
        if (!err.isEmpty())
            do_message(true, head + (blank ? L(" ") : QString()) + err, MSG_ERROR);
        err.clear();
    };
    if (!NoChip && bOwnChipChanged && OwnChipEnabled) {
        M().updatePersonChip(id, Card, OwnChip ? L("K") : L("E"), err);
        report(st::OwnChipFailed, false);
    }
    if (bReceiptPrintChanged) {
        M().updatePersonReceiptPrint(id, PrintReceipt ? L("K") : L("E"), err);
        report(st::ReceiptFailed, false);
    }
    if (bPhoneNumberChanged) {
        M().updatePersonPhoneNumber(id, Phone, err);
        report(st::PhoneFailed);
    }
    if (bWebShowChanged) {
        M().updatePersonWebShow(id, WebShow ? L("K") : L("E"), WebShowAsked, err);
        report(st::WebShowFailed);
    }
    if (bShowWebEntries && WebMark == TWebMark::OK && M().fbQueryWebEntriesFD->Active()) {
        M().updatePersonSportID(id, M().fbQueryWebEntriesFD->FieldByName(L("SPORT_ID"))->AsString(), err);
        report(st::SportIdFailed);
    }
}

void TResultsClassForestRun::WriteRun()
{
    TDataSet& run = RunSet();
    const bool pending = run.State() == dsEdit;
    if (!pending && !bNewResult)
        return;
    if (!pending)
        run.Edit();
    RunField("RESULT_STATUS").SetAsString(pending ? TilaStatus(Tila) : L("M"));
    if (NoChip)
        RunField("CONTROL_CARD").SetAsString(kNoCard);
    else if (!pending)
        RunField("CONTROL_CARD").SetAsString(Card);
    RunField("PAYMENT_TYPE").SetAsString(nPaymentType);
    RunField("PAYMENT_METHOD_ID").SetAsLargeInt(nPaymentMethodId);
    RunField("PAYMENT_PRICE").SetAsCurrency(pending ? PriceField : nPaymentPrice);
    RunField("PAYMENT_INFO").SetAsString(pending ? InfoField : nPaymentInfo);
    // Written on both paths: the balance the fee was taken from belongs to
    // the run whether or not the operator changed anything.
    RunField("CHIP_BALANCE_BEFORE").SetAsCurrency(nChipBalanceBefore);
    RunField("CHIP_BALANCE_OPTIONS_ID").SetAsLargeInt(nChipBalanceOptionsId);
    RunField("CHIP_BALANCE_PAID").SetAsCurrency(nChipBalancePaid);
    RunField("CHIP_BALANCE_INFO").SetAsString(vcChipBalanceInfo);
    RunField("CHIP_BALANCE_ADD").SetAsCurrency(nChipBalanceAddToBalance);
    run.Post();
    M().fbTransactionUpdateDefaultFD->Commit();
}

// ---------------------------------------------------------------- cancel and close

void TResultsClassForestRun::Cancel()
{
    if (M().fbTrPaymentMethodFD->Active())
        M().fbTrPaymentMethodFD->Commit();
    Close();
}

TResultsClassForestRun::~TResultsClassForestRun()
{
    if (DataModule1)
        DataModule1->WebEntries.OnCursorMoved = nullptr;
}

void TResultsClassForestRun::Close()
{
    DetachWebEntry();
    if (bCancelOpen)
        return;
    if (bNewResult) {
        if (RunOpen() && RunSet().State() != dsBrowse)
            RunSet().Cancel();
        RunSet().Close();
        M().fbQueryLookupPersonFD->Close();
        if (M().fbTransactionUpdateDefaultFD->Active())
            M().fbTransactionUpdateDefaultFD->Commit();
        M().deleteResultsClass(iResultsClassId);
        bNewResult = false;
        return;
    }
    if (RunOpen() && RunSet().State() != dsBrowse)
        RunSet().Cancel();
    RunSet().Close();
    M().fbQueryLookupPersonFD->Close();
    if (M().fbTransactionUpdateDefaultFD->Active())
        M().fbTransactionUpdateDefaultFD->Commit();
    if (OnRunClosed)
        OnRunClosed(iResultsClassId);
}
