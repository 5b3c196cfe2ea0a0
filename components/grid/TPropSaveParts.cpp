#include "components/grid/TPropSaveParts.h"

namespace {

std::vector<TPropSavePart>& Parts(TPropSavePartOf Saver)
{
    static std::vector<TPropSavePart> parts[2];
    return parts[Saver == ppGridSaver ? 0 : 1];
}

}  // namespace

void RegisterPropSavePart(TPropSavePartOf Saver, TPropSavePart Part)
{
    Parts(Saver).push_back(std::move(Part));
}

const TPropSavePart* FindPropSavePart(TPropSavePartOf Saver, TComponent* Comp)
{
    for (const TPropSavePart& p : Parts(Saver))
        if (p.Takes && p.Takes(Comp))
            return &p;
    return nullptr;
}
