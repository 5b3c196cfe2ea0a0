#pragma once
// The processors as the task framework sees them: the affinity of the
// system, the process and the calling thread, the processor groups (one
// group here: the first 64 processors), the NUMA nodes with the distances
// between them, and the process's memory figures, priority and times.
//
// The topology is read once from sysfs (/sys/devices/system): online
// processors, the cores they belong to (thread siblings) and the NUMA nodes
// with their processor lists and distance rows. Without NUMA information the
// machine is one node 0 holding every processor. Tests build an environment
// from a fixture tree (ReadWeftTopology on a folder of their own).
//
// Pools size themselves from Environment()->Process()->Affinity()->Count();
// the pool's scheduler places work through the groups and nodes.

#include "tasks/OsWin32.h"
#include "tasks/WeftCommon.h"
#include "tasks/WeftSync.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// What the environment is built from.
struct TWeftTopology {
    // Online processors (bit n = processor n; the first 64 only).
    uint64_t OnlineMask = 0;
    // One mask per physical core: the logical processors it runs. Empty
    // when unknown (then every processor counts as a core).
    std::vector<uint64_t> Cores;
    struct TNode {
        int32_t Number = 0;
        uint64_t Mask = 0;
        // Distances to node 0, 1, 2 ... (10 = local); may be empty.
        std::vector<int32_t> Distances;
    };
    // Empty when the system has no NUMA information.
    std::vector<TNode> Nodes;
};

// Reads the topology below sysRoot (the folder holding cpu/ and node/).
// Raises "TWeftEnvironment.LoadNUMAInfo: ..." when no processor is found.
TWeftTopology ReadWeftTopology(const QString& sysRoot = QStringLiteral("/sys/devices/system"));
// Parses a kernel cpu list ("0-3,8,10-11") into a mask of the first 64.
uint64_t WeftParseCpuList(const QString& text);

enum TWeftAffinityTarget { atSystem, atProcess, atThread };

class IWeftAffinity : public IInterface {
public:
    virtual QString GetAsString() const = 0;
    virtual int GetCount() const = 0;
    // The physical cores the mask touches.
    virtual int GetCountPhysical() const = 0;
    virtual uint64_t GetMask() const = 0;
    // The system target raises "TWeftAffinity.SetMask: Cannot modify system
    // affinity mask."; a mask the system refuses is silently ineffective.
    virtual void SetAsString(const QString& value) = 0;
    // Restricts to n randomly chosen processors of the system.
    virtual void SetCount(int value) = 0;
    virtual void SetMask(uint64_t value) = 0;
    QString AsString() const { return GetAsString(); }
    int Count() const { return GetCount(); }
    int CountPhysical() const { return GetCountPhysical(); }
    uint64_t Mask() const { return GetMask(); }
};
using PWeftAffinity = std::shared_ptr<IWeftAffinity>;

enum TWeftProcessPriorityClass { pcIdle, pcBelowNormal, pcNormal, pcAboveNormal, pcHigh, pcRealtime };

struct TWeftProcessTimes {
    TDateTime CreationTime = 0;  // UTC
    int64_t UserTime = 0;        // microseconds
    int64_t KernelTime = 0;
};

class IWeftProcessEnvironment : public IInterface {
public:
    virtual PWeftAffinity GetAffinity() const = 0;
    virtual TWeftProcessPriorityClass GetPriorityClass() const = 0;
    virtual TOsProcessMemoryCounters GetMemory() const = 0;
    virtual TWeftProcessTimes GetTimes() const = 0;
    PWeftAffinity Affinity() const { return GetAffinity(); }
    TWeftProcessPriorityClass PriorityClass() const { return GetPriorityClass(); }
    TOsProcessMemoryCounters Memory() const { return GetMemory(); }
    TWeftProcessTimes Times() const { return GetTimes(); }
};

class IWeftSystemEnvironment : public IInterface {
public:
    virtual PWeftAffinity GetAffinity() const = 0;
    PWeftAffinity Affinity() const { return GetAffinity(); }
};

// A processor group number with a set of processors: the value in which
// placements travel. Copies share the set.
class TWeftGroupAffinity {
public:
    TWeftGroupAffinity() = default;
    TWeftGroupAffinity(int32_t groupNumber, uint64_t affinityMask);
    // The record gets its own copy of the set.
    TWeftGroupAffinity(int32_t groupNumber, const TWeftIntegerSet& affinity);
    TWeftGroupAffinity(const TWeftGroupAffinity& other);
    TWeftGroupAffinity& operator=(const TWeftGroupAffinity& other);
    // Made empty on first read; safe to read from several threads at once.
    PWeftIntegerSet Affinity() const;
    int32_t Group() const { return FGroup; }

private:
    mutable std::atomic<std::shared_ptr<TWeftIntegerSet>> FAffinity;
    int32_t FGroup = 0;
};

class IWeftThreadEnvironment : public IInterface {
public:
    virtual PWeftAffinity GetAffinity() const = 0;
    virtual TWeftGroupAffinity GetGroupAffinity() const = 0;
    virtual DWORD GetID() const = 0;
    // Acts on the calling thread; the result is not tested.
    virtual void SetGroupAffinity(const TWeftGroupAffinity& value) = 0;
    PWeftAffinity Affinity() const { return GetAffinity(); }
    TWeftGroupAffinity GroupAffinity() const { return GetGroupAffinity(); }
    DWORD ID() const { return GetID(); }
};
using PWeftThreadEnvironment = std::shared_ptr<IWeftThreadEnvironment>;

class IWeftNUMANode : public IInterface {
public:
    // The node's processors within its group.
    virtual PWeftIntegerSet GetAffinity() const = 0;
    virtual int32_t GetGroupNumber() const = 0;
    virtual int32_t GetNodeNumber() const = 0;
    PWeftIntegerSet Affinity() const { return GetAffinity(); }
    int32_t GroupNumber() const { return GetGroupNumber(); }
    int32_t NodeNumber() const { return GetNodeNumber(); }
};
using PWeftNUMANode = std::shared_ptr<IWeftNUMANode>;

class IWeftNUMANodes : public IInterface {
public:
    // Raises EListError for an index at or above Count.
    virtual PWeftNUMANode GetItem(int idx) const = 0;
    virtual PWeftIntegerSet All() const = 0;
    virtual int Count() const = 0;
    // 10 for a node to itself and wherever the system gives no figure;
    // raises for a node number outside 0 .. the highest node number.
    virtual int32_t Distance(int32_t fromNumaNode, int32_t toNumaNode) const = 0;
    // Null when no node has that number.
    virtual PWeftNUMANode FindNode(int32_t numaNode) const = 0;
    PWeftNUMANode Item(int idx) const { return GetItem(idx); }
    virtual const std::vector<PWeftNUMANode>& Items() const = 0;
    auto begin() const { return Items().begin(); }
    auto end() const { return Items().end(); }
};
using PWeftNUMANodes = std::shared_ptr<IWeftNUMANodes>;

class IWeftProcessorGroup : public IInterface {
public:
    virtual PWeftIntegerSet GetAffinity() const = 0;
    virtual int32_t GetGroupNumber() const = 0;
    PWeftIntegerSet Affinity() const { return GetAffinity(); }
    int32_t GroupNumber() const { return GetGroupNumber(); }
};
using PWeftProcessorGroup = std::shared_ptr<IWeftProcessorGroup>;

class IWeftProcessorGroups : public IInterface {
public:
    virtual PWeftProcessorGroup GetItem(int idx) const = 0;
    virtual PWeftIntegerSet All() const = 0;
    virtual int Count() const = 0;
    // Groups are numbered by their position: Item(groupNumber).
    virtual PWeftProcessorGroup FindGroup(int32_t groupNumber) const = 0;
    PWeftProcessorGroup Item(int idx) const { return GetItem(idx); }
    virtual const std::vector<PWeftProcessorGroup>& Items() const = 0;
    auto begin() const { return Items().begin(); }
    auto end() const { return Items().end(); }
};
using PWeftProcessorGroups = std::shared_ptr<IWeftProcessorGroups>;

class IWeftEnvironment : public IInterface {
public:
    virtual PWeftNUMANodes GetNUMANodes() const = 0;
    virtual PWeftProcessorGroups GetProcessorGroups() const = 0;
    virtual std::shared_ptr<IWeftProcessEnvironment> GetProcess() const = 0;
    virtual std::shared_ptr<IWeftSystemEnvironment> GetSystem() const = 0;
    // A new object for the calling thread on every read.
    virtual PWeftThreadEnvironment GetThread() const = 0;
    PWeftNUMANodes NUMANodes() const { return GetNUMANodes(); }
    PWeftProcessorGroups ProcessorGroups() const { return GetProcessorGroups(); }
    std::shared_ptr<IWeftProcessEnvironment> Process() const { return GetProcess(); }
    std::shared_ptr<IWeftSystemEnvironment> System() const { return GetSystem(); }
    PWeftThreadEnvironment Thread() const { return GetThread(); }
};
using PWeftEnvironment = std::shared_ptr<IWeftEnvironment>;

// The process-wide environment, read from the system on first use (start-up
// reads it through weft::initialize).
PWeftEnvironment Environment();
// An environment over a given topology (tests; the system one uses
// ReadWeftTopology()).
PWeftEnvironment CreateEnvironment(const TWeftTopology& topology);
