#include "components/dbcontrols/rDBControlSavers.h"

#include "components/dbcontrols/TrDBMemoEx.h"
#include "components/dbcontrols/TrDBRecView.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/TPropSaveParts.h"

namespace {

void WriteList(TPropSaveFile* F, const QString& Key, const QStringList& L)
{
    TStringList s;
    s.Assign(L);
    F->WriteStrings(Key, s);
}

// The stored list, or Current when the file has none.
QStringList ReadList(TPropSaveFile* F, const QString& Key, const QStringList& Current)
{
    TStringList s;
    s.Assign(Current);
    F->ReadStrings(Key, s);
    return s.ToQStringList();
}

void ReadSaveDBMemo(TPropSaveAction A, TPropSaveFile* F, TComponent* Comp, const QString& Key)
{
    // A plain data-aware memo keeps nothing.
    auto* m = dynamic_cast<TrDBMemoEx*>(Comp);
    if (!m)
        return;
    if (A == psaRead) {
        TFont font = *m->Font();
        F->ReadFont(Key, font, 1.0);
        if (F->ValueExists(Key, QStringLiteral("FontName")))
            m->SetFont(font);
        m->StoredLines = ReadList(F, Key, m->StoredLines);
    } else if (A == psaSave) {
        if (!m->ParentFont())
            F->WriteFont(Key, *m->Font(), 1.0);
        WriteList(F, Key, m->StoredLines);
    } else {
        F->DeleteFont(Key);
        F->DeleteStrings(Key);
    }
}

}  // namespace

void SaveRecView(TPropSaveFile* F, const QString& Key, TrDBRecView* V)
{
    F->WriteFont(Key + QStringLiteral(".ColFont"), *V->Font(), V->ScaleRatio());
    F->WriteFont(Key + QStringLiteral(".SpecFont"), *V->SpecFont(), V->ScaleRatio());
    WriteList(F, Key + QStringLiteral(".Fields"), V->Fields());
    WriteList(F, Key + QStringLiteral(".SpecFields"), V->SpecFields());
    WriteList(F, Key + QStringLiteral(".PickList"), V->PickLists());
}

void ReadRecView(TPropSaveFile* F, const QString& Key, TrDBRecView* V)
{
    F->ReadFont(Key + QStringLiteral(".ColFont"), *V->Font(), V->ScaleRatio());
    F->ReadFont(Key + QStringLiteral(".SpecFont"), *V->SpecFont(), V->ScaleRatio());
    V->SetPickLists(ReadList(F, Key + QStringLiteral(".PickList"), V->PickLists()));
    V->SetSpecFields(ReadList(F, Key + QStringLiteral(".SpecFields"), V->SpecFields()));
    // Setting the rows rebuilds and repaints the view.
    V->SetFields(ReadList(F, Key + QStringLiteral(".Fields"), V->Fields()));
}

void RegisterRecViewSaverPart()
{
    TPropSavePart p;
    p.Takes = [](TComponent* C) { return dynamic_cast<TrDBRecView*>(C) != nullptr; };
    p.ReadSave = [](TPropSaveAction A, TPropSaveFile* F, TComponent* C, const QString& Key) {
        auto* v = static_cast<TrDBRecView*>(C);
        // Deleting leaves the sub-sections: only the main section goes.
        if (A == psaRead)
            ReadRecView(F, Key, v);
        else if (A == psaSave)
            SaveRecView(F, Key, v);
    };
    RegisterPropSavePart(ppGridSaver, std::move(p));
}

void RegisterDBMemoSaverPart()
{
    TPropSavePart p;
    p.Takes = [](TComponent* C) { return dynamic_cast<TrDBMemo*>(C) != nullptr; };
    p.ReadSave = ReadSaveDBMemo;
    RegisterPropSavePart(ppLibraryControlsSaver, std::move(p));
}
