#include "results/EditorGridLayout.h"

#include "app/vrkMainForm.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/TrDBGridsPropSave.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/Forms.h"

namespace {

// The file, once the main window has read it (before that nothing is
// written back, so an early end of the start leaves it as it was).
TPropSaveFile* LayoutFile()
{
    TPropSaveFile* file = formMain ? formMain->PropSaveFile1 : nullptr;
    return file && !file->DisableAll ? file : nullptr;
}

QString Key(TCustomForm* Form, TDBGrid* Grid) { return Form->Name() + QLatin1Char('.') + Grid->Name(); }

}  // namespace

void ReadEditorGridLayout(TCustomForm* Form, TDBGrid* Grid)
{
    if (TPropSaveFile* file = LayoutFile()) {
        TDBGridsPropSave saver(nullptr);
        saver.ReadDBGrid(file, Key(Form, Grid), Grid);
    }
}

void SaveEditorGridLayout(TCustomForm* Form, TDBGrid* Grid)
{
    if (TPropSaveFile* file = LayoutFile()) {
        TDBGridsPropSave saver(nullptr);
        saver.SaveDBGrid(file, Key(Form, Grid), Grid);
        file->SaveFileSilent();
    }
}
