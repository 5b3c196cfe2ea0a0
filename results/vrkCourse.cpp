// The course and control editor window's layout; OK and "Peruuta" hand over
// to its logic.

#include "results/vrkCourse.h"
#include "results/StartDeskLayout.h"

#include "data/vrkDataModule.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/StdCtrls.h"
#include "resources/StartDeskTexts.h"

using namespace startdesk;

TformCourse* formCourse = nullptr;

namespace {

struct TCol {
    const char* Field;
    const char* Title;
    int Width;
};

TDBGrid* Grid(TComponent* owner, TWinControl* parent, const char* name, TDataSource* source,
              std::initializer_list<TCol> cols)
{
    auto* g = Make<TDBGrid>(owner, parent, 6, 34, 736, 200, QString::fromLatin1(name));
    g->SetDataSource(source);
    for (const auto& c : cols) {
        TColumn* col = g->Columns()->Add();
        col->SetFieldName(QString::fromLatin1(c.Field));
        col->Title()->SetCaption(L(c.Title));
        col->SetWidth(c.Width);
    }
    return g;
}

// The fields of one page in two columns under its grid.
class TFieldColumns {
public:
    TFieldColumns(TComponent* owner, TWinControl* parent, TDataSource* source)
        : FOwner(owner), FParent(parent), FSource(source) {}
    TDBEdit* Edit(const char* caption, const char* field, int width, const char* hint = nullptr)
    {
        Label(caption);
        auto* e = Make<TDBEdit>(FOwner, FParent, FLeft + 130, FY, width, 24, QStringLiteral("edt") + QString::fromLatin1(field));
        e->SetDataSource(FSource);
        e->SetDataField(QString::fromLatin1(field));
        if (hint)
            e->SetHint(L(hint));
        FY += 30;
        return e;
    }
    TDBCheckBox* Check(const char* caption, const char* field, const char* hint = nullptr)
    {
        auto* b = Make<TDBCheckBox>(FOwner, FParent, FLeft, FY, 320, 20, QStringLiteral("chk") + QString::fromLatin1(field));
        b->SetCaption(L(caption));
        b->SetDataSource(FSource);
        b->SetDataField(QString::fromLatin1(field));
        b->ValueChecked = L("K");
        b->ValueUnchecked = L("E");
        if (hint)
            b->SetHint(L(hint));
        FY += 26;
        return b;
    }
    void NextColumn()
    {
        FLeft = 390;
        FY = 246;
    }

private:
    void Label(const char* caption)
    {
        auto* l = Make<TLabel>(FOwner, FParent, FLeft, FY + 4, 124, 16, QString());
        l->SetCaption(L(caption));
    }
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

TButton* EditButton(TComponent* owner, TWinControl* parent, TAction* action, std::function<void()> run)
{
    action->SetCaption(L("Muokkaa"));
    auto* b = Make<TButton>(owner, parent, 6, 4, 90, 24, QString());
    b->SetCaption(L("Muokkaa"));
    b->OnClick = [run = std::move(run)](TComponent*) { run(); };
    return b;
}

}  // namespace

TformCourse::TformCourse(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("formCourse"));
    SetCaption(txt::startdesk::EditorCaption);
    SetBounds(0, 0, 760, 640);
    SetKeyPreview(true);
    pcPages = Make<TPageControl>(this, this, 4, 4, 752, 590, L("pcPages"));
    tsCourses = Page(this, pcPages, "tsCourses", "Radat");
    tsControl = Page(this, pcPages, "tsControl", "Rastit");
    actCourseEdit = new TAction(this);
    actControlEdit = new TAction(this);
    BuildCourses();
    BuildControls();
    pcPages->SetActivePage(tsCourses);

    btnCancel = Make<TButton>(this, this, 550, 604, 96, 28, L("btnCancel"));
    btnCancel->SetCaption(L("Peruuta"));
    btnCancel->OnClick = [this](TComponent*) {
        if (FRun.Cancel())
            SetModalResult(mrCancel);
    };
    btnOK = Make<TButton>(this, this, 654, 604, 96, 28, L("btnOK"));
    btnOK->SetCaption(L("OK"));
    btnOK->SetDefault(true);
    btnOK->OnClick = [this](TComponent*) {
        // What the operator typed reaches the rows before the checks read them.
        for (TDataSet* d : {&FRun.Courses(), &FRun.Controls()})
            if (d->State() == dsEdit || d->State() == dsInsert)
                d->UpdateRecord();
        if (FRun.Ok())
            SetModalResult(mrOk);
    };
    // F9 runs the first enabled "Muokkaa": the course's before the control's.
    OnKeyDown = [this](TComponent*, Word& Key, TShiftState) {
        if (Key == VK_F9) {
            if (actCourseEdit->Enabled())
                FRun.EditCourse();
            else if (actControlEdit->Enabled())
                FRun.EditControl();
        } else if (Key == VK_ESCAPE) {
            btnCancel->Click();
        } else {
            return;
        }
        Key = 0;
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
    EditButton(this, tsCourses, actCourseEdit, [this] { FRun.EditCourse(); });
    rdbgrdCourse = Grid(this, tsCourses, "rdbgrdCourse", DataModule1->dsCourseFD,
                        {{"CLASS_NAME", "Rata", 200}, {"COURSE_LENGTH", "Radan pituus (m)", 130}, {"CONTROLS_STRING", "Koodit", 380}});
    TFieldColumns f(this, tsCourses, DataModule1->dsCourseFD);
    f.Edit("Radan nimi", "CLASS_NAME", 220, "Radan nimi, joka näytetään tuloksissa.");
    f.Edit("Radan pituus (m)", "COURSE_LENGTH", 100);
    f.Edit("Rastit", "CONTROLS_STRING", 220,
           "Sarjan radan rastit pilkuilla eroteltuma merkkijonona. Älä syötä maalin koodia.");
    f.Edit("Maalin koodi", "FINISH_CODE", 60);
    f.Edit("Maksu", "FEE", 100);
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
    EditButton(this, tsControl, actControlEdit, [this] { FRun.EditControl(); });
    rdbgrdControl = Grid(this, tsControl, "rdbgrdControl", DataModule1->dsControlFD,
                         {{"CONTROL_CODE", "Rastikoodi", 100},
                          {"PUNCHING_UNIT1", "Leimasin 1", 100},
                          {"PUNCHING_UNIT2", "Leimasin 2", 100},
                          {"PUNCHING_UNIT3", "Leimasin 3", 100},
                          {"PUNCHING_UNIT4", "Leimasin 4", 100},
                          {"PUNCHING_UNIT5", "Leimasin 5", 100}});
    TFieldColumns f(this, tsControl, DataModule1->dsControlFD);
    f.Edit("Rastikoodi", "CONTROL_CODE", 80)->SetEnabled(false);
    f.Edit("Leimasinkoodi 1", "PUNCHING_UNIT1", 80)->SetEnabled(false);
    f.Check("Pakollinen rasti", "MANDATORY_CONTROL",
            "Onko juoksijan leimattava tällä rastilla oikeassa järjestyksessä saadakseen OK -suorituksen. Poista "
            "valinta esimerkiksi silloin, kun leimauslaite on varastettu rastilta.");
    f.Edit("Lisätty", "INSERTED", 140)->SetReadOnly(true);
    f.Edit("Muutettu", "UPDATED", 140)->SetReadOnly(true);
    f.NextColumn();
    const char* units[][2] = {{"Leimasinkoodi 2", "PUNCHING_UNIT2"},
                              {"Leimasinkoodi 3", "PUNCHING_UNIT3"},
                              {"Leimasinkoodi 4", "PUNCHING_UNIT4"},
                              {"Leimasinkoodi 5", "PUNCHING_UNIT5"}};
    for (const auto& u : units)
        f.Edit(u[0], u[1], 80);
    f.Check("Online -rasti", "ONLINE_CONTROL", "Ei käytössä vielä!");
}

TformCourse::~TformCourse()
{
    if (DataModule1)
        DataModule1->CourseEditor = {};
}

void TformCourse::Opening() { FRun.Open(); }
