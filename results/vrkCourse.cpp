// The course and control editor window's layout; OK, "Peruuta" and the keys
// hand over to its logic.

#include "results/vrkCourse.h"
#include "results/StartDeskLayout.h"
#include "results/EditorGridLayout.h"

#include "app/vrkMainForm.h"
#include "components/base/rTabControlEx.h"
#include "data/vrkDataModule.h"
#include "platform/ui/ComCtrls.h"
#include "resources/StartDeskTexts.h"

using namespace startdesk;

TformCourse* formCourse = nullptr;

namespace {

// The fields of one page in two columns under its grid.
class TFieldColumns {
public:
    TFieldColumns(TComponent* owner, TWinControl* parent, TDataSource* source)
        : FOwner(owner), FParent(parent), FSource(source) {}
    TrDBEdit* Edit(const char* caption, const char* field, int width, const char* hint = nullptr)
    {
        TrDBEdit* e = AddFieldEdit(FOwner, FParent, FSource, FLeft, 124, FY, caption, field, width);
        if (hint)
            e->SetHint(L(hint));
        return e;
    }
    TrDBCheckBox* Check(const char* caption, const char* field, const char* hint = nullptr)
    {
        TrDBCheckBox* b = AddFieldCheck(FOwner, FParent, FSource, FLeft, FY + 2, 320, caption, field);
        if (hint)
            b->SetHint(L(hint));
        FY += 30;
        return b;
    }
    void NextColumn()
    {
        FLeft = 386;
        FY = 246;
    }

private:
    TComponent* FOwner;
    TWinControl* FParent;
    TDataSource* FSource;
    int FLeft = 6;
    int FY = 246;
};

TTabSheet* Page(TComponent* owner, TPageControl* pages, const char* name, const char* caption)
{
    auto* s = new TTabSheet(owner);
    s->SetName(QString::fromLatin1(name));
    s->SetPageControl(pages);
    s->SetCaption(L(caption));
    return s;
}

}  // namespace

TformCourse::TformCourse(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("formCourse"));
    SetCaption(txt::startdesk::EditorCaption);
    SetBorderStyle(bsDialog);
    SetBounds(0, 0, 760, 560);
    SetKeyPreview(true);
    pcPages = Make<TrPageControlEx>(this, this, 4, 4, 752, 510, L("pcPages"));
    tsCourses = Page(this, pcPages, "tsCourses", "Radat");
    tsControl = Page(this, pcPages, "tsControl", "Rastit");
    actCourseEdit = new TAction(this);
    actControlEdit = new TAction(this);
    BuildCourses();
    BuildControls();
    pcPages->SetActivePage(tsCourses);
    pcPages->OnChange = [this](TComponent*) { FocusPage(); };

    btnCancel = Make<TrButton>(this, this, 556, 524, 96, 28, L("btnCancel"));
    btnCancel->SetCaption(L("Peruuta"));
    btnCancel->OnClick = [this](TComponent*) {
        if (FRun.Cancel())
            SetModalResult(mrCancel);
    };
    btnOK = Make<TrButton>(this, this, 660, 524, 96, 28, L("btnOK"));
    btnOK->SetCaption(L("OK"));
    btnOK->SetDefault(true);
    btnOK->OnClick = [this](TComponent*) {
        // What the operator typed reaches the rows before the checks read them.
        PostTypedText(FRun.Courses());
        PostTypedText(FRun.Controls());
        if (!FRun.Ok()) {
            edtCLASS_NAME->SetFocus();
            return;
        }
        SetModalResult(mrOk);
    };
    OnKeyDown = [this](TComponent*, Word& Key, TShiftState) { KeyDown(Key); };
    // Escape's release drops an edit still pending after a question was
    // answered with Cancel, and gives both "Muokkaa" and both tabs back.
    OnKeyUp = [this](TComponent*, Word& Key, TShiftState) {
        if (Key == VK_ESCAPE && FRun.DropPending())
            EditsEnded();
    };
    OnCloseQuery = [this](TComponent*, bool& CanClose) { CanClose = FRun.CloseQuery(); };
    OnClose = [this](TComponent*, TCloseAction&) {
        for (TrDBGrid* g : {rdbgrdCourse, rdbgrdControl})
            SaveEditorGridLayout(this, g);
        if (formMain && formMain->rdbgrdResultsClass && rDBAction)
            rDBAction->SetActiveGrid(formMain->rdbgrdResultsClass);
    };

    TDataModule1::TCourseEditorLink& link = DataModule1->CourseEditor;
    link.actCourseEdit = actCourseEdit;
    link.actControlEdit = actControlEdit;
    link.tsCourses = tsCourses;
    link.tsControl = tsControl;
    link.bDataChangedCourse = &FRun.bDataChangedCourse;
    link.bDataChangedControl = &FRun.bDataChangedControl;
}

void TformCourse::BuildCourses()
{
    AddEditorButtons(this, tsCourses, 6, {{actCourseEdit, "Muokkaa", [this] { FRun.EditCourse(); }}});
    rdbgrdCourse = MakeGrid(this, tsCourses, 6, 34, 732, 200, L("rdbgrdCourse"), DataModule1->dsCourseFD,
                            {{"CLASS_NAME", "Rata", 200}, {"COURSE_LENGTH", "Radan pituus (m)", 130},
                             {"CONTROLS_STRING", "Koodit", 380}});
    GiveGridActions(rdbgrdCourse);
    TFieldColumns f(this, tsCourses, DataModule1->dsCourseFD);
    edtCLASS_NAME = f.Edit("Radan nimi", "CLASS_NAME", 220, "Radan nimi, joka näytetään tuloksissa.");
    f.Edit("Radan pituus (m)", "COURSE_LENGTH", 100);
    edtCONTROLS_STRING = f.Edit("Rastit", "CONTROLS_STRING", 220,
                                "Sarjan radan rastit pilkuilla eroteltuma merkkijonona. Älä syötä maalin koodia.");
    f.Edit("Maalin koodi", "FINISH_CODE", 60);
    edtFEE = f.Edit("Maksu", "FEE", 100);
    f.Edit("Nousu", "CLIMB", 100);
    f.Edit("Yhteislähdön aika", "MASS_START_TIME", 100, "HH:MM:SS");
    f.NextColumn();
    f.Edit("Pistelaskenta", "CALC_SCORING", 200);
    f.Edit("Lisätiedot", "NOTES", 200);
    f.Edit("Lisätty", "INSERTED", 140)->SetReadOnly(true);
    f.Edit("Muutettu", "UPDATED", 140)->SetReadOnly(true);
    f.Check("Aktiivinen rata", "ACTIVE_CLASS");
}

void TformCourse::BuildControls()
{
    AddEditorButtons(this, tsControl, 6, {{actControlEdit, "Muokkaa", [this] { FRun.EditControl(); }}});
    rdbgrdControl = MakeGrid(this, tsControl, 6, 34, 732, 200, L("rdbgrdControl"), DataModule1->dsControlFD,
                             {{"CONTROL_CODE", "Rastikoodi", 100},
                              {"PUNCHING_UNIT1", "Leimasin 1", 100},
                              {"PUNCHING_UNIT2", "Leimasin 2", 100},
                              {"PUNCHING_UNIT3", "Leimasin 3", 100},
                              {"PUNCHING_UNIT4", "Leimasin 4", 100},
                              {"PUNCHING_UNIT5", "Leimasin 5", 100}});
    GiveGridActions(rdbgrdControl);
    TFieldColumns f(this, tsControl, DataModule1->dsControlFD);
    // The code and the first unit are the control's own: shown, never
    // edited, and drawn as fields that cannot be entered.
    for (TrDBEdit* e : {f.Edit("Rastikoodi", "CONTROL_CODE", 80), f.Edit("Leimasinkoodi 1", "PUNCHING_UNIT1", 80)}) {
        e->SetEnabled(false);
        e->SetReadOnly(true);
        e->SetColor(clBtnFace);
    }
    f.Check("Pakollinen rasti", "MANDATORY_CONTROL",
            "Onko juoksijan leimattava tällä rastilla oikeassa järjestyksessä saadakseen OK -suorituksen. Poista "
            "valinta esimerkiksi silloin, kun leimauslaite on varastettu rastilta.");
    f.Edit("Lisätty", "INSERTED", 140)->SetReadOnly(true);
    f.Edit("Muutettu", "UPDATED", 140)->SetReadOnly(true);
    f.NextColumn();
    edtPUNCHING_UNIT2 = f.Edit("Leimasinkoodi 2", "PUNCHING_UNIT2", 80);
    f.Edit("Leimasinkoodi 3", "PUNCHING_UNIT3", 80);
    f.Edit("Leimasinkoodi 4", "PUNCHING_UNIT4", 80);
    f.Edit("Leimasinkoodi 5", "PUNCHING_UNIT5", 80);
    f.Check("Online -rasti", "ONLINE_CONTROL", "Ei käytössä vielä!");
}

// F9 runs the first enabled "Muokkaa": the course's before the control's.
// Escape cancels as "Peruuta" does.
void TformCourse::KeyDown(Word& Key)
{
    if (Key == VK_F9) {
        if (!actCourseEdit->Execute())
            actControlEdit->Execute();
    } else if (Key == VK_ESCAPE) {
        btnCancel->Click();
    } else {
        return;
    }
    Key = 0;
}

void TformCourse::EditsEnded()
{
    actCourseEdit->SetEnabled(true);
    actControlEdit->SetEnabled(true);
    tsCourses->SetTabVisible(true);
    tsControl->SetTabVisible(true);
}

void TformCourse::FocusPage()
{
    if (pcPages->ActivePage() == tsControl)
        edtPUNCHING_UNIT2->SetFocus();
    else
        edtCLASS_NAME->SetFocus();
}

TformCourse::~TformCourse()
{
    if (DataModule1)
        DataModule1->CourseEditor = {};
}

void TformCourse::Opening()
{
    CentreOnMainForm(this, 0);
    for (TrDBGrid* g : {rdbgrdCourse, rdbgrdControl})
        ReadEditorGridLayout(this, g);
    rdbgrdControl->SetEnabled(true);
    FRun.Open();
    MakeActiveGrid(rdbgrdCourse);
    MakeActiveGrid(rdbgrdControl);
    EditsEnded();
    FocusPage();
}
