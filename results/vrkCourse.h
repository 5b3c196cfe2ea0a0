#pragma once
// TformCourse: the course and control editor window ("Muokkaa tietoja"): a
// page of courses and a page of controls, each a grid with the row's fields
// bound to its dataset, over TCourseEditorRun. While it exists it fills the
// data module's CourseEditor link.

#include "platform/ui/Forms.h"
#include "results/vrkCourseEditorRun.h"

class TAction;
class TButton;
class TDBGrid;
class TPageControl;
class TTabSheet;

class TformCourse : public TForm {
public:
    explicit TformCourse(TComponent* AOwner);
    ~TformCourse() override;

    TCourseEditorRun& Run() { return FRun; }
    void Opening();  // opens the data as the showing does

    TPageControl* pcPages;
    TTabSheet *tsCourses, *tsControl;
    TDBGrid *rdbgrdCourse, *rdbgrdControl;
    TAction *actCourseEdit, *actControlEdit;
    TButton *btnOK, *btnCancel;

private:
    void BuildCourses();
    void BuildControls();
    TCourseEditorRun FRun;
};

extern TformCourse* formCourse;
