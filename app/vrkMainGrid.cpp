// The results grid: its columns and cell colours, showing and hiding it,
// its refresh, the enabled state of its actions and the actions themselves.

#include "components/base/rGroupBox.h"
#include "components/framed/FcToolbar.h"
#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/database/Fields.h"
#include "platform/ui/ActnList.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridSorter.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowLayoutTexts.h"

namespace {

struct TGridColumnDef {
    const char16_t* Caption;
    const char* Field;
    bool Shown;
    TAlignment Alignment;
};

// Column widths that fit their usual contents.
int ColumnWidth(const char* Field)
{
    static const std::pair<const char*, int> widths[] = {
        {"CLASS_NAME", 90},   {"RESULT_STATUS", 120}, {"PERSON_NAME", 180}, {"CLUB_NAME", 160}, {"CONTROL_CARD", 80},
        {"RENTED_CHIP", 45},  {"STATUS", 110},        {"TIME_STR", 75},     {"INSERTED", 140}};
    for (const auto& [name, w] : widths)
        if (QLatin1String(name) == QLatin1String(Field))
            return w;
    return 90;
}

const TGridColumnDef kColumns[] = {
    {u"Rata", "CLASS_NAME", true, taLeftJustify},        {u"Rata", "COURSE_NAME", false, taLeftJustify},
    {u"Pituus", "COURSE_LENGTH", false, taRightJustify}, {u"Nousu", "CLIMB", false, taRightJustify},
    {u"Tulos", "RESULT_STATUS", true, taLeftJustify},    {u"Henkilö", "PERSON_NAME", true, taLeftJustify},
    {u"Seura", "CLUB_NAME", true, taLeftJustify},        {u"Lähtönumero", "START_NUMBER", false, taRightJustify},
    {u"Kortti", "CONTROL_CARD", true, taLeftJustify},    {u"Laina", "RENTED_CHIP", true, taCenter},
    {u"Maksu", "ENTRY_FEE", false, taRightJustify},      {u"Tila", "STATUS", true, taCenter},
    {u"Aika", "TIME_STR", true, taRightJustify},         {u"Nollaleimaus", "START_PUNCH_TIME", false, taLeftJustify},
    {u"Lähtöaika", "START_TIME", false, taLeftJustify},  {u"Maaliaika", "FINISH_TIME", false, taLeftJustify},
    {u"Sakko", "PENALTY_TIME_STR", false, taRightJustify}, {u"Lisätty", "INSERTED", true, taLeftJustify},
    {u"Client", "ORIGIN_CLIENT_NAME", false, taLeftJustify},
};

QString FieldText(TDataSet* D, const char* Name)
{
    const TField* f = D ? D->FindField(QString::fromLatin1(Name)) : nullptr;
    return f ? f->AsString() : QString();
}

}  // namespace

// The "Tulos" cell's background and the "Tila" cell's text colour, by the
// run's codes and origin; other cells keep the grid's colours.
struct TResultsCellColours {
    static bool Tulos(const QString& Code, bool OtherClient, TColor& Colour)
    {
        const bool inForest = Code == QLatin1String("I") || Code == QLatin1String("M");
        if (OtherClient) {
            Colour = inForest ? RGB(238, 232, 170) : RGB(192, 192, 192);
            return true;
        }
        if (Code == QLatin1String("L") || Code == QLatin1String("T"))
            Colour = RGB(250, 128, 114);
        else if (Code == QLatin1String("V") || inForest)
            Colour = RGB(238, 232, 170);
        else if (Code == QLatin1String("W"))
            Colour = RGB(144, 238, 144);
        else
            return false;
        return true;
    }
    static bool Tila(const QString& Code, TColor& Colour)
    {
        if (Code == QLatin1String("0") || Code == QLatin1String("5"))
            Colour = clWindowText;
        else if (Code == QLatin1String("3"))
            Colour = clRed;
        else if (Code == QLatin1String("1") || Code == QLatin1String("2"))
            Colour = RGB(255, 140, 0);
        else
            return false;
        return true;
    }
};

void TformMain::BindGrid()
{
    rdbgrdResultsClass->SetDataSource(DataModule1->dsResultsClassFD);
    DataModule1->MainGrid.actMainGridEdit = actMainGridEdit;
    DataModule1->MainGrid.actMainGridDelete = actMainGridDelete;
    DataModule1->MainGrid.actMainGridToResult = actMainGridToResult;
}

void TformMain::BuildGridColumns()
{
    for (const TGridColumnDef& c : kColumns) {
        TColumn* col = rdbgrdResultsClass->Columns()->Add();
        col->SetFieldName(QString::fromLatin1(c.Field));
        col->Title()->SetCaption(QString::fromUtf16(c.Caption));
        col->SetVisible(c.Shown);
        col->SetWidth(ColumnWidth(c.Field));
        col->SetAlignment(c.Alignment);
        col->DropDownRows = 10;
        if (QLatin1String(c.Field) == QLatin1String("INSERTED"))
            col->SetReadOnly(true);
    }
    rdbgrdResultsClass->SetOptions(rdbgrdResultsClass->Options() & ~dgEditing);
    rdbgrdResultsClass->SetTitleLines(2);
    rdbgrdResultsClass->SetSortFieldName(QStringLiteral("INSERTED"));
    rdbgrdResultsClass->SetSortDesc(true);
    rdbgrdResultsClass->FieldsAsBoolean.Add(QStringLiteral("RENTED_CHIP=K;E"));
    for (const char* line : {"[1::Lisätty::Red::Red::<<INSERTED>>::0]", "INSERTED=M", "ORIGIN_CLIENT_NAME=0", "",
                             "[2::Rata::Red::Red::<<CLASS_NAME>>::0]", "CLASS_NAME=M", "COURSE_NAME=0", "COURSE_LENGTH=0",
                             "CLIMB=0", "", "[3::Aika::Green::Green::<<TIME_STR>>::0]", "TIME_STR=M", "START_PUNCH_TIME=0",
                             "START_TIME=0", "FINISH_TIME=0", "PENALTY_TIME_STR=0", ""})
        rdbgrdResultsClass->FieldsGroups.Add(QString::fromUtf8(line));
    rdbgrdResultsClass->FieldsGroupsChanged();
    rdbgrdResultsClass->SetGroupsActive(true);
    rdbgrdResultsClass->OnDrawColumnCell = [this](TComponent*, const TRect& R, int DataCol, TColumn* Column,
                                                  TGridDrawState State) {
        TDataSet* d = DataModule1 ? DataModule1->fbQueryResultsCFD : nullptr;
        TColor colour;
        if (Column->FieldName() == QLatin1String("RESULT_STATUS")) {
            const bool other = FieldText(d, "ORIGIN_CLIENT_NAME") != (Client ? Client->client_name() : QString());
            if (TResultsCellColours::Tulos(FieldText(d, "RESULT_STATUS_CODE"), other, colour)) {
                rdbgrdResultsClass->Canvas()->Brush()->SetColor(colour);
                rdbgrdResultsClass->DefaultDrawColumnCell(R, DataCol, Column, State);
            }
        } else if (Column->FieldName() == QLatin1String("STATUS")) {
            if (TResultsCellColours::Tila(FieldText(d, "STATUS_CODE"), colour)) {
                rdbgrdResultsClass->Canvas()->Font()->SetColor(colour);
                rdbgrdResultsClass->DefaultDrawColumnCell(R, DataCol, Column, State);
            }
        }
    };
    rdbgrdResultsClass->OnDblClick = [this](TComponent*) { GridEdit(true); };
}

void TformMain::ClearLastResult()
{
    for (TLabel* l : {lblSarja, lblNimi, lblSeura, lblAika, lblTulos})
        l->SetCaption(QString());
    // Only the caption bar stays until the next result opens it again.
    grpLastResult->SetMinimized(true);
}

void TformMain::nayta_tulokset_grid()
{
    if (!bResultsGridVisible) {
        grpMainAreaDetails->SetVisible(true);
        rdbgrdResultsClass->SetVisible(true);
        grpLastResult->SetVisible(true);
        ClearLastResult();
        bResultsGridVisible = true;
    }
    TFbQuery& q = *DataModule1->fbQueryResultsCFD;
    q.Close();
    q.ParamByName(QStringLiteral("EVENT_ID")).SetAsLargeInt(event->event_id());
    q.ParamByName(QStringLiteral("MESSAGE_LANGUAGE")).SetAsString(vcUILanguageCode);
    q.Open();
    rdbgrdResultsClass->ReSort();
    ShowGridBars(true);
    for (TAction* a : {actMainGridEdit, actMainGridEditPerson, actMainGridMergePerson, actMainGridPrintBadge,
                       actMainGridDelete, actMainGridNew, actMainGridToResult, actMainGridNewTest})
        a->SetEnabled(false);
}

void TformMain::piilota_tulokset_grid()
{
    if (!bResultsGridVisible)
        return;
    grpMainAreaDetails->SetVisible(false);
    DataModule1->fbQueryResultsCFD->Close();
    bResultsGridVisible = false;
    ShowGridBars(false);
    nMainGridCurrentResultClassId = 0;
}

void TformMain::refreshMainGrid()
{
    try {
        rdbgrdResultsClass->Invalidate();
        TFbQuery& q = *DataModule1->fbQueryResultsCFD;
        if (q.Active()) {
            q.ParamByName(QStringLiteral("MESSAGE_LANGUAGE")).SetAsString(vcUILanguageCode);
            // Only what changed since the last reading is read again (every
            // desk's runs and the upload marks); the whole query when that
            // cannot be told.
            if (!DataModule1->RefreshChangedRuns())
                rDBGridSorter_FireDac1->DoRefresh(rdbgrdResultsClass, &q);
            // The refresh keeps the current record without a scroll: bring
            // the current run id in step with it.
            DataModule1->ResultsGridAfterScroll(&q);
        }
        refreshEventData();
        if (!q.Active() || q.IsEmpty() || FieldText(&q, "RESULTS_CLASS_ID").toLongLong() == 0)
            nMainGridCurrentResultClassId = 0;
        SetGridActions();
    } catch (const std::exception&) {
        // The grid keeps its last content.
    }
}

void TformMain::SetGridActions()
{
    for (TAction* a : {actMainGridEdit, actMainGridEditPerson, actMainGridMergePerson, actMainGridPrintBadge,
                       actMainGridDelete, actMainGridNew, actMainGridToResult, actMainGridNewTest})
        a->SetEnabled(false);
    if (nCurrentProcessedEvent == 0 || !EventHasClasses())
        return;
    actMainGridNew->SetEnabled(true);
    actMainGridNewTest->SetEnabled(actMainGridNewTest->Visible());
    if (nMainGridCurrentResultClassId == 0)
        return;
    for (TAction* a : {actMainGridEdit, actMainGridEditPerson, actMainGridMergePerson, actMainGridDelete})
        a->SetEnabled(true);
    actMainGridPrintBadge->SetEnabled(!vcChipPrinterPort.isEmpty());
    const QString code = FieldText(DataModule1->fbQueryResultsCFD, "RESULT_STATUS_CODE");
    actMainGridToResult->SetEnabled(code == QLatin1String("I") || code == QLatin1String("M"));
}

void TformMain::ShowTestAction(bool Visible)
{
    actMainGridNewTest->SetVisible(Visible);
    // The bar closes the gap of a hidden button (or opens one) at once.
    fctlbrMainGrid->PositionControls();
}

void TformMain::WrapDialog(const std::function<void()>& Open, bool ClassesNeeded)
{
    if (nCurrentProcessedEvent != 0 && Windows.DisableDevice)
        Windows.DisableDevice();
    Open();
    if (nCurrentProcessedEvent != 0 && (!ClassesNeeded || EventHasClasses()) && Windows.EnableDevice)
        Windows.EnableDevice();
}

void TformMain::GridNew()
{
    if (!EventHasClasses()) {
        MessageBox(mwtxt::NoCourses, QString(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    WrapDialog(
        [this] {
            if (vc_main_function == QLatin1String("LAHTO")) {
                if (Windows.CheckInDialog)
                    Windows.CheckInDialog(0, event->web_entries() == QLatin1String("K"));
            } else if (Windows.FinishDialog) {
                Windows.FinishDialog(0, true);
            }
        },
        false);
}

void TformMain::GridEdit(bool FromDoubleClick)
{
    if (FromDoubleClick && !actMainGridEdit->Enabled()) {
        if (nCurrentProcessedEvent == 0)
            MessageBox(mwtxt::EditNotAllowed, QString(), MB_OK);
        return;
    }
    if (!EventHasClasses()) {
        MessageBox(mwtxt::NoCourses, QString(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    TDataSet* d = DataModule1->fbQueryResultsCFD;
    const int64_t id = FieldText(d, "RESULTS_CLASS_ID").toLongLong();
    const QString code = FieldText(d, "RESULT_STATUS_CODE");
    WrapDialog(
        [&] {
            if (code == QLatin1String("I") || code == QLatin1String("M")) {
                if (Windows.CheckInDialog)
                    Windows.CheckInDialog(id, event->web_entries() == QLatin1String("K"));
            } else if (Windows.FinishDialog) {
                Windows.FinishDialog(id, !FromDoubleClick);
            }
        },
        false);
}

void TformMain::GridToResult()
{
    const int64_t id = FieldText(DataModule1->fbQueryResultsCFD, "RESULTS_CLASS_ID").toLongLong();
    WrapDialog([&] { if (Windows.FinishDialog) Windows.FinishDialog(id, false); }, false);
}

void TformMain::GridEditPerson()
{
    const int64_t id = FieldText(DataModule1->fbQueryResultsCFD, "PERSON_ID").toLongLong();
    bool changed = false;
    WrapDialog([&] { changed = Windows.PersonEditor && Windows.PersonEditor(id); }, false);
    if (changed)
        refreshMainTreeEvent();
}

void TformMain::GridMergePerson()
{
    const int64_t id = FieldText(DataModule1->fbQueryResultsCFD, "PERSON_ID").toLongLong();
    bool changed = false;
    WrapDialog([&] { changed = Windows.PersonMerge && Windows.PersonMerge(id); }, false);
    if (changed) {
        refreshMainGrid();
        refreshMainTreeEvent();
    }
    ClearLastResult();
}

void TformMain::actMainGridDeleteExecute()
{
    const QString code = FieldText(DataModule1->fbQueryResultsCFD, "RESULT_STATUS_CODE");
    const QString question = code == QLatin1String("M") ? mwtxt::DeleteForest : mwtxt::DeleteRun;
    if (MessageBox(question, QString(), MB_YESNO | MB_ICONQUESTION) == IDYES) {
        DataModule1->deleteResultsClass(nMainGridCurrentResultClassId);
        refreshMainGrid();
    }
    ClearLastResult();
}

void TformMain::GridPrintBadge()
{
    const int64_t id = FieldText(DataModule1->fbQueryResultsCFD, "RESULTS_CLASS_ID").toLongLong();
    if (id != 0 && Windows.PrintBadge)
        Windows.PrintBadge(id);
}

void TformMain::RadatMuokkaa()
{
    const int64_t classId = FieldText(DataModule1->fbQueryResultsCFD, "CLASS_ID").toLongLong();
    bool changed = false;
    WrapDialog([&] { changed = Windows.CourseEditor && Windows.CourseEditor(classId).Control; }, true);
    if (changed)
        refreshMainGrid();
}

void TformMain::RadatUusi()
{
    WrapDialog([&] { if (Windows.NewClassDialog) Windows.NewClassDialog(); }, true);
    refreshMainGrid();
}

void TformMain::NotImplementedBox()
{
    MessageBox(mwtxt::NotImplemented, QString(), MB_OK);
}

void TformMain::RefreshDevices()
{
    if (Windows.RefreshDevices)
        Windows.RefreshDevices();
}

void TformMain::ShowDeviceForm()
{
    if (Windows.DeviceForm)
        Windows.DeviceForm();
}

void TformMain::ShowSettings()
{
    WrapDialog([&] { if (Windows.Settings) Windows.Settings(); }, true);
}
