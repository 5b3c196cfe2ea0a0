#pragma once
// TformCourse: the course and control editor window ("Muokkaa tietoja"): a
// page of courses and a page of controls, each the library's grid with the
// row's fields bound to its dataset, over TCourseEditorRun. While it exists
// it fills the data module's CourseEditor link, which hides the other page's
// tab while a row is edited.

#include "platform/ui/Forms.h"
#include "results/vrkCourseEditorRun.h"

class TAction;
class TButton;
class TrDBEdit;
class TrDBGrid;
class TrPageControlEx;
class TTabSheet;

class TformCourse : public TForm {
public:
    explicit TformCourse(TComponent* AOwner);
    ~TformCourse() override;

    TCourseEditorRun& Run() { return FRun; }
    void Opening();  // places the window and opens the data as the showing does

    TrPageControlEx* pcPages;
    TTabSheet *tsCourses, *tsControl;
    TrDBGrid *rdbgrdCourse, *rdbgrdControl;
    TrDBEdit *edtCLASS_NAME, *edtCONTROLS_STRING, *edtFEE, *edtPUNCHING_UNIT2;
    TAction *actCourseEdit, *actControlEdit;
    TButton *btnOK, *btnCancel;

private:
    void BuildCourses();
    void BuildControls();
    void KeyDown(Word& Key);
    void FocusPage();
    void EditsEnded();  // both "Muokkaa" and both tabs back
    TCourseEditorRun FRun;
};

extern TformCourse* formCourse;
