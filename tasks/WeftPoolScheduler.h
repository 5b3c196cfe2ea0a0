#pragma once
// Where a thread pool runs its work: processor clusters (a NUMA node, a
// whole processor group, or the first group) taken in a weighted round
// robin, so that each cluster gets work in proportion to its processors.
// The pool rebuilds the scheduler when it starts and whenever its processor
// restrictions change.

#include "tasks/WeftEnvironment.h"

#include <vector>

class TOTPGroupAffinity {
public:
    TOTPGroupAffinity(int32_t group, uint64_t affinity) : FGroup(group) { SetAffinity(affinity); }
    uint64_t Affinity() const { return FAffinity; }
    // Recounts the processors.
    void SetAffinity(uint64_t value);
    int32_t Group() const { return FGroup; }
    int32_t ProcCount() const { return FProcCount; }
    int32_t FError = 0;  // working value of the round-robin construction

private:
    uint64_t FAffinity = 0;
    int32_t FGroup = 0;
    int32_t FProcCount = 0;
};

class TOTPWorkerScheduler {
public:
    // The environment whose groups and nodes the clusters come from
    // (the process's by default).
    explicit TOTPWorkerScheduler(PWeftEnvironment environment = nullptr);

    // Rebuilds clusters and round robin from processor indexes, group
    // numbers and node numbers (an empty set: no restriction). Raises
    // "TOTPWorkerScheduler.Update: Unknown NUMA node: %d" or "...: All cores
    // were filtered out"; after a raise the previous clusters stay in use.
    void Update(const TWeftIntegerSet& affinity, const TWeftIntegerSet& processorGroups,
                const TWeftIntegerSet& numaNodes);
    // The group and mask for the next work item.
    TWeftGroupAffinity Next();
    // The same as a plain group and mask, with nothing allocated.
    void Next(int32_t& group, uint64_t& mask);
    // The total number of processors over all clusters.
    int Count() const { return int(owsRoundRobin.size()); }
    const std::vector<TOTPGroupAffinity>& Clusters() const { return owsClusters; }
    const std::vector<int32_t>& RoundRobin() const { return owsRoundRobin; }

private:
    PWeftEnvironment owsEnvironment;
    std::vector<TOTPGroupAffinity> owsClusters;
    int32_t owsNextCluster = 0;
    std::vector<int32_t> owsRoundRobin;
};
