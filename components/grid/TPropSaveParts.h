#pragma once
// Controls of the layers above the grid library that its savers take (the
// record view, the data-aware memo): each layer registers, for the saver it
// belongs to, which components it takes and how it reads, saves and deletes
// their settings.

#include "components/grid/TPropSaveMain.h"

#include <functional>
#include <vector>

enum TPropSavePartOf { ppGridSaver, ppLibraryControlsSaver };

struct TPropSavePart {
    std::function<bool(TComponent* Comp)> Takes;
    std::function<void(TPropSaveAction A, TPropSaveFile* F, TComponent* Comp, const QString& Key)> ReadSave;
};

void RegisterPropSavePart(TPropSavePartOf Saver, TPropSavePart Part);
// The registered part that takes Comp, or nullptr.
const TPropSavePart* FindPropSavePart(TPropSavePartOf Saver, TComponent* Comp);
