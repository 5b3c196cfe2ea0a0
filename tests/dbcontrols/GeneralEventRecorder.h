#pragma once
// Records the ids of the general events that senders of one kind raise
// while the recorder lives; the previous hook is put back afterwards.

#include "components/base/ParioCompGlobalCfg.h"

#include <vector>

template <class TSender>
class GeneralEventRecorder {
public:
    GeneralEventRecorder() : FPrevious(ParioCompConfig.Global_OnParioCompGeneralEvent)
    {
        ParioCompConfig.Global_OnParioCompGeneralEvent = [this](TComponent* S, int Id, const TGeneralEventParam&, TComponent*, QVariant&) {
            if (dynamic_cast<TSender*>(S))
                Ids.push_back(Id);
        };
    }
    ~GeneralEventRecorder() { ParioCompConfig.Global_OnParioCompGeneralEvent = FPrevious; }
    GeneralEventRecorder(const GeneralEventRecorder&) = delete;
    GeneralEventRecorder& operator=(const GeneralEventRecorder&) = delete;
    std::vector<int> Ids;

private:
    TParioCompGeneralEvent FPrevious;
};
