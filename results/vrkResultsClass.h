#pragma once
// TformResultsClass: the older form of the finish dialog, kept beside it. It
// is created with the other windows but nothing in the program shows it; it
// is the finish dialog in its older configuration: the person is chosen in a
// drop-down list, there is no "Ei korttia" box and no person search, the
// result board is never consulted, a registered card is accepted by itself
// only when its run is clean on the runner's own card, every accepted run
// gets the status "V", and closing does not touch the last-processed box.

#include "results/vrkResultsClass2.h"

class TformResultsClass : public TformResultsClass2 {
public:
    explicit TformResultsClass(TComponent* AOwner);
    ~TformResultsClass() override;
};

extern TformResultsClass* formResultsClass;
