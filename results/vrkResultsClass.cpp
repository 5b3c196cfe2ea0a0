#include "results/vrkResultsClass.h"

TformResultsClass* formResultsClass = nullptr;

TformResultsClass::TformResultsClass(TComponent* AOwner) : TformResultsClass2(AOwner, true) {}

TformResultsClass::~TformResultsClass()
{
    if (formResultsClass == this)
        formResultsClass = nullptr;
}
