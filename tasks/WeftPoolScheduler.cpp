#include "tasks/WeftPoolScheduler.h"

#include <algorithm>
#include <bit>

void TOTPGroupAffinity::SetAffinity(uint64_t value)
{
    FAffinity = value;
    FProcCount = std::popcount(value);
}

TOTPWorkerScheduler::TOTPWorkerScheduler(PWeftEnvironment environment)
    : owsEnvironment(environment ? std::move(environment) : Environment())
{
}

void TOTPWorkerScheduler::Update(const TWeftIntegerSet& affinity, const TWeftIntegerSet& processorGroups,
                                 const TWeftIntegerSet& numaNodes)
{
    // Built aside, so a raise leaves the scheduler as it was.
    std::vector<TOTPGroupAffinity> clusters;
    const PWeftProcessorGroups groups = owsEnvironment->ProcessorGroups();
    if (numaNodes.IsEmpty()) {
        if (processorGroups.IsEmpty()) {
            clusters.emplace_back(0, groups->Item(0)->Affinity()->GetAsMask());
        } else {
            for (int32_t g : processorGroups.GetAsIntArray())
                clusters.emplace_back(g, groups->FindGroup(g)->Affinity()->GetAsMask());
        }
    } else {
        const PWeftNUMANodes nodes = owsEnvironment->NUMANodes();
        for (int32_t n : numaNodes.GetAsIntArray()) {
            const PWeftNUMANode node = nodes->FindNode(n);
            if (!node)
                throw Exception(QStringLiteral("TOTPWorkerScheduler.Update: Unknown NUMA node: %1").arg(n));
            if (!processorGroups.IsEmpty() && !processorGroups.Contains(node->GroupNumber()))
                continue;
            clusters.emplace_back(node->GroupNumber(), node->Affinity()->GetAsMask());
        }
    }
    if (clusters.empty())
        throw Exception(QStringLiteral("TOTPWorkerScheduler.Update: All cores were filtered out"));

    if (!affinity.IsEmpty()) {
        const uint64_t mask = affinity.GetAsMask();
        for (TOTPGroupAffinity& c : clusters)
            c.SetAffinity(c.Affinity() & mask);
    }

    std::stable_sort(clusters.begin(), clusters.end(), [](const TOTPGroupAffinity& a, const TOTPGroupAffinity& b) {
        return a.Group() != b.Group() ? a.Group() < b.Group() : a.Affinity() < b.Affinity();
    });
    for (int i = int(clusters.size()) - 2; i >= 0; --i)
        if (clusters[size_t(i)].Group() == clusters[size_t(i) + 1].Group() &&
            clusters[size_t(i)].Affinity() == clusters[size_t(i) + 1].Affinity())
            clusters.erase(clusters.begin() + i + 1);

    // Weighted round robin: the cluster that has fallen furthest behind its
    // share takes the next slot (the lowest index on a tie).
    std::vector<int32_t> roundRobin;
    int32_t total = 0;
    for (TOTPGroupAffinity& c : clusters) {
        c.FError = c.ProcCount();
        total += c.ProcCount();
    }
    roundRobin.reserve(size_t(total));
    for (int32_t k = 0; k < total; ++k) {
        size_t best = 0;
        for (size_t i = 1; i < clusters.size(); ++i)
            if (clusters[i].FError > clusters[best].FError)
                best = i;
        roundRobin.push_back(int32_t(best));
        clusters[best].FError -= total;
        for (TOTPGroupAffinity& c : clusters)
            c.FError += c.ProcCount();
    }

    owsClusters = std::move(clusters);
    owsRoundRobin = std::move(roundRobin);
    owsNextCluster = 0;
}

TWeftGroupAffinity TOTPWorkerScheduler::Next()
{
    int32_t group;
    uint64_t mask;
    Next(group, mask);
    return TWeftGroupAffinity(group, mask);
}

void TOTPWorkerScheduler::Next(int32_t& group, uint64_t& mask)
{
    if (owsRoundRobin.empty()) {
        group = 0;
        mask = 0;
        return;
    }
    const TOTPGroupAffinity& c = owsClusters[size_t(owsRoundRobin[size_t(owsNextCluster)])];
    owsNextCluster = (owsNextCluster + 1) % int32_t(owsRoundRobin.size());
    group = c.Group();
    mask = c.Affinity();
}
