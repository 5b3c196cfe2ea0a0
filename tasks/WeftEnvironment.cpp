#include "tasks/WeftEnvironment.h"

#include "platform/rtl/Exception.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <bit>
#include <sys/resource.h>

namespace {

QString ReadText(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(f.readAll()).trimmed();
}

int BitCount(uint64_t mask)
{
    return std::popcount(mask);
}

uint64_t LowBits(int n)
{
    return n >= 64 ? ~uint64_t(0) : (uint64_t(1) << n) - 1;
}

PWeftIntegerSet SetOfMask(uint64_t mask)
{
    auto set = std::make_shared<TWeftIntegerSet>();
    set->SetAsMask(mask);
    return set;
}

// --- Affinity ------------------------------------------------------------------

class TWeftAffinity final : public IWeftAffinity {
public:
    TWeftAffinity(TWeftAffinityTarget target, std::shared_ptr<const TWeftTopology> topology)
        : oaTarget(target), oaTopology(std::move(topology))
    {
    }

    QString GetAsString() const override { return OsAffinityMaskToString(GetMask()); }
    int GetCount() const override { return BitCount(GetMask()); }

    int GetCountPhysical() const override
    {
        uint64_t m = GetMask();
        if (oaTopology->Cores.empty())
            return BitCount(m);
        int n = 0;
        for (uint64_t core : oaTopology->Cores)
            if (core & m) {
                m &= ~core;
                ++n;
            }
        return n;
    }

    uint64_t GetMask() const override
    {
        switch (oaTarget) {
        case atSystem:
            return oaTopology->OnlineMask;
        case atProcess:
            return OsGetProcessAffinityMask();
        case atThread:
            return OsGetThreadAffinityMask();
        }
        return 0;
    }

    void SetAsString(const QString& value) override
    {
        switch (oaTarget) {
        case atSystem:
            throw Exception(QStringLiteral("TWeftAffinity.SetMask: Cannot modify system affinity mask."));
        case atProcess:
            OsSetProcessAffinity(value);
            break;
        case atThread:
            OsSetThreadAffinity(value);
            break;
        }
    }

    void SetCount(int value) override
    {
        QString s = OsAffinityMaskToString(oaTopology->OnlineMask);
        QString result;
        while (value > 0 && !s.isEmpty()) {
            const int i = int(QRandomGenerator::global()->bounded(qint64(s.size())));
            result.append(s.at(i));
            s.remove(i, 1);
            --value;
        }
        SetAsString(result);
    }

    void SetMask(uint64_t value) override { SetAsString(OsAffinityMaskToString(value)); }

private:
    TWeftAffinityTarget oaTarget;
    std::shared_ptr<const TWeftTopology> oaTopology;
};

// --- Process, system, thread ---------------------------------------------------

class TWeftProcessEnvironment final : public IWeftProcessEnvironment {
public:
    explicit TWeftProcessEnvironment(const std::shared_ptr<const TWeftTopology>& topology)
        : opeAffinity(std::make_shared<TWeftAffinity>(atProcess, topology))
    {
    }
    PWeftAffinity GetAffinity() const override { return opeAffinity; }

    TWeftProcessPriorityClass GetPriorityClass() const override
    {
        // The nice value stands for the priority class.
        errno = 0;
        const int nice = ::getpriority(PRIO_PROCESS, 0);
        if (errno != 0)
            return pcNormal;
        if (nice >= 15)
            return pcIdle;
        if (nice > 0)
            return pcBelowNormal;
        if (nice <= -15)
            return pcHigh;
        if (nice < 0)
            return pcAboveNormal;
        return pcNormal;
    }

    TOsProcessMemoryCounters GetMemory() const override
    {
        TOsProcessMemoryCounters c;
        if (!OsGetProcessMemory(c))
            c = TOsProcessMemoryCounters();
        return c;
    }

    TWeftProcessTimes GetTimes() const override
    {
        TWeftProcessTimes t;
        if (!OsGetProcessTimes(t.CreationTime, t.UserTime, t.KernelTime))
            t = TWeftProcessTimes();
        return t;
    }

private:
    PWeftAffinity opeAffinity;
};

class TWeftSystemEnvironment final : public IWeftSystemEnvironment {
public:
    explicit TWeftSystemEnvironment(const std::shared_ptr<const TWeftTopology>& topology)
        : oseAffinity(std::make_shared<TWeftAffinity>(atSystem, topology))
    {
    }
    PWeftAffinity GetAffinity() const override { return oseAffinity; }

private:
    PWeftAffinity oseAffinity;
};

class TWeftThreadEnvironment final : public IWeftThreadEnvironment {
public:
    explicit TWeftThreadEnvironment(const std::shared_ptr<const TWeftTopology>& topology)
        : oteAffinity(std::make_shared<TWeftAffinity>(atThread, topology)), oteThreadID(GetThreadId())
    {
    }
    PWeftAffinity GetAffinity() const override { return oteAffinity; }
    // One group: the thread's own mask in group 0.
    TWeftGroupAffinity GetGroupAffinity() const override
    {
        return TWeftGroupAffinity(0, OsGetThreadAffinityMask());
    }
    DWORD GetID() const override { return oteThreadID; }
    void SetGroupAffinity(const TWeftGroupAffinity& value) override
    {
        // Only group 0 exists; an empty mask would be refused anyway.
        const uint64_t mask = value.Affinity()->GetAsMask();
        if (value.Group() == 0 && mask != 0)
            OsSetThreadAffinityMask(mask);
    }

private:
    PWeftAffinity oteAffinity;
    DWORD oteThreadID;
};

// --- Nodes and groups ------------------------------------------------------------

class TWeftNUMANode final : public IWeftNUMANode {
public:
    TWeftNUMANode(int32_t nodeNumber, int32_t groupNumber, uint64_t mask)
        : FAffinity(SetOfMask(mask)), FGroupNumber(groupNumber), FNodeNumber(nodeNumber)
    {
    }
    PWeftIntegerSet GetAffinity() const override { return FAffinity; }
    int32_t GetGroupNumber() const override { return FGroupNumber; }
    int32_t GetNodeNumber() const override { return FNodeNumber; }

private:
    PWeftIntegerSet FAffinity;
    int32_t FGroupNumber;
    int32_t FNodeNumber;
};

[[noreturn]] void IndexError(int idx)
{
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(idx));
}

class TWeftNUMANodes final : public IWeftNUMANodes {
public:
    explicit TWeftNUMANodes(const std::shared_ptr<const TWeftTopology>& topology) : FTopology(topology) {}

    void Add(const PWeftNUMANode& node) { FNodes.push_back(node); }
    void Sort()
    {
        std::stable_sort(FNodes.begin(), FNodes.end(),
                         [](const PWeftNUMANode& a, const PWeftNUMANode& b) {
                             return a->NodeNumber() < b->NodeNumber();
                         });
    }

    PWeftNUMANode GetItem(int idx) const override
    {
        if (idx < 0 || idx >= Count())
            IndexError(idx);
        return FNodes[size_t(idx)];
    }
    PWeftIntegerSet All() const override
    {
        auto set = std::make_shared<TWeftIntegerSet>();
        for (const PWeftNUMANode& n : FNodes)
            set->Add(n->NodeNumber());
        return set;
    }
    int Count() const override { return int(FNodes.size()); }

    int32_t Distance(int32_t fromNumaNode, int32_t toNumaNode) const override
    {
        std::call_once(FProximityInitialized, [this] { InitializeProximity(); });
        const int32_t n = int32_t(FProximity.size());
        if (fromNumaNode < 0 || toNumaNode < 0 || fromNumaNode >= n || toNumaNode >= n)
            throw Exception(QStringLiteral("TWeftNUMANodes.Distance: NUMA node out of range [0..%1]: %2, %3")
                                .arg(n - 1)
                                .arg(fromNumaNode)
                                .arg(toNumaNode));
        return FProximity[size_t(fromNumaNode)][size_t(toNumaNode)];
    }

    PWeftNUMANode FindNode(int32_t numaNode) const override
    {
        for (const PWeftNUMANode& n : FNodes)
            if (n->NodeNumber() == numaNode)
                return n;
        return nullptr;
    }
    const std::vector<PWeftNUMANode>& Items() const override { return FNodes; }

private:
    void InitializeProximity() const
    {
        int32_t highest = 0;
        for (const PWeftNUMANode& n : FNodes)
            highest = std::max(highest, n->NodeNumber());
        FProximity.assign(size_t(highest) + 1, std::vector<int32_t>(size_t(highest) + 1, 10));
        // The system's distance rows; a row that is short or names nodes
        // beyond the highest one is used as far as it goes.
        for (const TWeftTopology::TNode& node : FTopology->Nodes) {
            if (node.Number < 0 || node.Number > highest)
                continue;
            for (size_t to = 0; to < node.Distances.size() && to <= size_t(highest); ++to)
                if (node.Distances[to] > 0)
                    FProximity[size_t(node.Number)][to] = node.Distances[to];
        }
    }

    std::shared_ptr<const TWeftTopology> FTopology;
    std::vector<PWeftNUMANode> FNodes;
    mutable std::once_flag FProximityInitialized;
    mutable std::vector<std::vector<int32_t>> FProximity;
};

class TWeftProcessorGroup final : public IWeftProcessorGroup {
public:
    TWeftProcessorGroup(int32_t groupNumber, uint64_t mask) : FAffinity(SetOfMask(mask)), FGroupNumber(groupNumber)
    {
    }
    PWeftIntegerSet GetAffinity() const override { return FAffinity; }
    int32_t GetGroupNumber() const override { return FGroupNumber; }

private:
    PWeftIntegerSet FAffinity;
    int32_t FGroupNumber;
};

class TWeftProcessorGroups final : public IWeftProcessorGroups {
public:
    void Add(const PWeftProcessorGroup& group) { FGroups.push_back(group); }
    PWeftProcessorGroup GetItem(int idx) const override
    {
        if (idx < 0 || idx >= Count())
            IndexError(idx);
        return FGroups[size_t(idx)];
    }
    PWeftIntegerSet All() const override
    {
        auto set = std::make_shared<TWeftIntegerSet>();
        for (const PWeftProcessorGroup& g : FGroups)
            set->Add(g->GroupNumber());
        return set;
    }
    int Count() const override { return int(FGroups.size()); }
    PWeftProcessorGroup FindGroup(int32_t groupNumber) const override { return GetItem(groupNumber); }
    const std::vector<PWeftProcessorGroup>& Items() const override { return FGroups; }

private:
    std::vector<PWeftProcessorGroup> FGroups;
};

// --- Environment -------------------------------------------------------------------

class TWeftEnvironment final : public IWeftEnvironment {
public:
    explicit TWeftEnvironment(const TWeftTopology& topology)
        : oeTopology(std::make_shared<const TWeftTopology>(topology)),
          oeProcessEnv(std::make_shared<TWeftProcessEnvironment>(oeTopology)),
          oeSystemEnv(std::make_shared<TWeftSystemEnvironment>(oeTopology)),
          oeNUMANodes(std::make_shared<TWeftNUMANodes>(oeTopology)),
          oeProcessorGroups(std::make_shared<TWeftProcessorGroups>())
    {
        const uint64_t all = oeTopology->OnlineMask;
        oeProcessorGroups->Add(std::make_shared<TWeftProcessorGroup>(0, all));
        if (oeTopology->Nodes.empty()) {
            oeNUMANodes->Add(std::make_shared<TWeftNUMANode>(0, 0, all));
        } else {
            for (const TWeftTopology::TNode& n : oeTopology->Nodes)
                oeNUMANodes->Add(std::make_shared<TWeftNUMANode>(n.Number, 0, n.Mask & all));
        }
        oeNUMANodes->Sort();
    }

    PWeftNUMANodes GetNUMANodes() const override { return oeNUMANodes; }
    PWeftProcessorGroups GetProcessorGroups() const override { return oeProcessorGroups; }
    std::shared_ptr<IWeftProcessEnvironment> GetProcess() const override { return oeProcessEnv; }
    std::shared_ptr<IWeftSystemEnvironment> GetSystem() const override { return oeSystemEnv; }
    PWeftThreadEnvironment GetThread() const override
    {
        return std::make_shared<TWeftThreadEnvironment>(oeTopology);
    }

private:
    std::shared_ptr<const TWeftTopology> oeTopology;
    std::shared_ptr<TWeftProcessEnvironment> oeProcessEnv;
    std::shared_ptr<TWeftSystemEnvironment> oeSystemEnv;
    std::shared_ptr<TWeftNUMANodes> oeNUMANodes;
    std::shared_ptr<TWeftProcessorGroups> oeProcessorGroups;
};

}  // namespace

// --- Topology ----------------------------------------------------------------------

uint64_t WeftParseCpuList(const QString& text)
{
    uint64_t mask = 0;
    for (const QString& part : text.trimmed().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList range = part.trimmed().split(QLatin1Char('-'));
        bool ok1 = false;
        bool ok2 = true;
        const int first = range.value(0).toInt(&ok1);
        const int last = range.size() > 1 ? range.value(1).toInt(&ok2) : first;
        if (!ok1 || !ok2 || first < 0 || last < first)
            continue;
        for (int i = first; i <= last && i < 64; ++i)
            mask |= uint64_t(1) << i;
    }
    return mask;
}

TWeftTopology ReadWeftTopology(const QString& sysRoot)
{
    TWeftTopology t;
    const QString cpuDir = sysRoot + QStringLiteral("/cpu");
    QString online = ReadText(cpuDir + QStringLiteral("/online"));
    t.OnlineMask = WeftParseCpuList(online);
    if (t.OnlineMask == 0) {
        // Without sysfs: as many processors as the system reports.
        const long n = ::sysconf(_SC_NPROCESSORS_ONLN);
        if (sysRoot == QStringLiteral("/sys/devices/system") && n > 0)
            t.OnlineMask = LowBits(int(n));
        else
            throw Exception(QStringLiteral("TWeftEnvironment.LoadNUMAInfo: no online processors in %1").arg(cpuDir));
    }
    // Physical cores: each processor's thread siblings, counted once.
    uint64_t seen = 0;
    for (int cpu = 0; cpu < 64; ++cpu) {
        const uint64_t bit = uint64_t(1) << cpu;
        if (!(t.OnlineMask & bit) || (seen & bit))
            continue;
        const QString siblings =
            ReadText(cpuDir + QStringLiteral("/cpu%1/topology/thread_siblings_list").arg(cpu));
        uint64_t core = siblings.isEmpty() ? bit : (WeftParseCpuList(siblings) | bit);
        core &= t.OnlineMask;
        seen |= core;
        t.Cores.push_back(core);
    }
    // NUMA nodes.
    const QDir nodeDir(sysRoot + QStringLiteral("/node"));
    const QStringList entries = nodeDir.entryList({QStringLiteral("node*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& e : entries) {
        bool ok = false;
        const int number = e.mid(4).toInt(&ok);
        if (!ok || number < 0)
            continue;
        TWeftTopology::TNode node;
        node.Number = number;
        node.Mask = WeftParseCpuList(ReadText(nodeDir.filePath(e + QStringLiteral("/cpulist"))));
        for (const QString& d : ReadText(nodeDir.filePath(e + QStringLiteral("/distance")))
                                    .split(QLatin1Char(' '), Qt::SkipEmptyParts))
            node.Distances.push_back(d.toInt());
        t.Nodes.push_back(std::move(node));
    }
    std::sort(t.Nodes.begin(), t.Nodes.end(),
              [](const TWeftTopology::TNode& a, const TWeftTopology::TNode& b) { return a.Number < b.Number; });
    return t;
}

// --- Group affinity ----------------------------------------------------------------

TWeftGroupAffinity::TWeftGroupAffinity(int32_t groupNumber, uint64_t affinityMask)
    : FAffinity(SetOfMask(affinityMask)), FGroup(groupNumber)
{
}

TWeftGroupAffinity::TWeftGroupAffinity(int32_t groupNumber, const TWeftIntegerSet& affinity)
    : FAffinity(SetOfMask(affinity.GetAsMask())), FGroup(groupNumber)
{
}

TWeftGroupAffinity::TWeftGroupAffinity(const TWeftGroupAffinity& other)
    : FAffinity(other.FAffinity.load()), FGroup(other.FGroup)
{
}

TWeftGroupAffinity& TWeftGroupAffinity::operator=(const TWeftGroupAffinity& other)
{
    if (this != &other) {
        FAffinity.store(other.FAffinity.load());
        FGroup = other.FGroup;
    }
    return *this;
}

PWeftIntegerSet TWeftGroupAffinity::Affinity() const
{
    PWeftIntegerSet current = FAffinity.load();
    if (current)
        return current;
    auto fresh = std::make_shared<TWeftIntegerSet>();
    PWeftIntegerSet expected;
    if (FAffinity.compare_exchange_strong(expected, fresh))
        return fresh;
    return expected;  // another thread installed one first
}

// --- Process-wide ------------------------------------------------------------------

PWeftEnvironment CreateEnvironment(const TWeftTopology& topology)
{
    return std::make_shared<TWeftEnvironment>(topology);
}

PWeftEnvironment Environment()
{
    static const PWeftEnvironment env = CreateEnvironment(ReadWeftTopology());
    return env;
}
