#pragma once
// A set of task controls that tasks join and leave by themselves
// (IWeftTaskControl::Join / Leave). The group keeps each member's control
// alive until it leaves or the group goes, and lets its owner stop or wait
// for all members at once.

#include "tasks/WeftTask.h"

#include <memory>
#include <vector>

class IWeftTaskGroup : public IInterface {
public:
    // Adding a member twice keeps one entry; removing a non-member does
    // nothing.
    virtual void Add(const PWeftTaskControl& task) = 0;
    virtual void Remove(const PWeftTaskControl& task) = 0;
    virtual int Count() = 0;
    virtual bool Contains(int64_t taskID) = 0;
    // The members in joining order.
    virtual std::vector<PWeftTaskControl> Tasks() = 0;
    // Asks every member to end and returns at once.
    virtual void StopAll() = 0;
    // True when every member ended within the time (serving the members'
    // synchronous calls to this thread meanwhile).
    virtual bool WaitForAll(DWORD maxWait_ms = INFINITE) = 0;
};
using PWeftTaskGroup = std::shared_ptr<IWeftTaskGroup>;

PWeftTaskGroup CreateTaskGroup();
