#include "tasks/WeftTaskGroup.h"

#include <algorithm>
#include <chrono>
#include <mutex>

namespace {

class TWeftTaskGroup final : public IWeftTaskGroup {
public:
    void Add(const PWeftTaskControl& task) override
    {
        if (!task)
            return;
        std::lock_guard lock(FLock);
        if (Find(task->UniqueID()) == FTasks.end())
            FTasks.push_back(task);
    }
    void Remove(const PWeftTaskControl& task) override
    {
        if (!task)
            return;
        std::lock_guard lock(FLock);
        const auto it = Find(task->UniqueID());
        if (it != FTasks.end())
            FTasks.erase(it);
    }
    int Count() override
    {
        std::lock_guard lock(FLock);
        return int(FTasks.size());
    }
    bool Contains(int64_t taskID) override
    {
        std::lock_guard lock(FLock);
        return Find(taskID) != FTasks.end();
    }
    std::vector<PWeftTaskControl> Tasks() override
    {
        std::lock_guard lock(FLock);
        return FTasks;
    }
    void StopAll() override
    {
        for (const PWeftTaskControl& task : Tasks())
            task->Stop();
    }
    bool WaitForAll(DWORD maxWait_ms) override
    {
        using clock = std::chrono::steady_clock;
        const auto start = clock::now();
        for (const PWeftTaskControl& task : Tasks()) {
            DWORD left = INFINITE;
            if (maxWait_ms != INFINITE) {
                const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(clock::now() - start).count();
                left = spent >= int64_t(maxWait_ms) ? 0 : DWORD(int64_t(maxWait_ms) - spent);
            }
            if (!task->WaitFor(left))
                return false;
        }
        return true;
    }

private:
    std::vector<PWeftTaskControl>::iterator Find(int64_t taskID)
    {
        return std::find_if(FTasks.begin(), FTasks.end(),
                            [taskID](const PWeftTaskControl& t) { return t->UniqueID() == taskID; });
    }

    std::mutex FLock;
    std::vector<PWeftTaskControl> FTasks;
};

}  // namespace

PWeftTaskGroup CreateTaskGroup()
{
    return std::make_shared<TWeftTaskGroup>();
}
