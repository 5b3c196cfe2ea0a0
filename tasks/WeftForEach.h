#pragma once
// The parallel ForEach loop: runs a body once for every item of a source on
// several worker tasks and, by configuration, simply returns, folds the
// bodies' results into one aggregate, or passes them into a blocking
// collection (optionally in source order). Items come from a source
// provider and are handed out by a data manager (WeftDataManager.h).
//
//   int64_t sum = ParallelForEach(1, 100)->AggregateSum()
//       ->Execute([](const TWeftValue& v, TWeftValue& r) { r = v; }).AsInt64();
//
//   ParallelForEach(1, 1000)->PreserveOrder()->Into(output)
//       ->Execute([](const TWeftValue& v, TWeftValue& r) { r = v; });
//
// Sources: an integer range, a blocking collection, a value enumerator, an
// enumerator procedure, or any C++ range (ParallelForEachOf).
//
// A body that raises ends its worker; the other workers go on, and once all
// have ended the waiting Execute raises the first such exception on the
// calling thread (after completing the output and calling the stop
// handler). A loop that did not wait reports it through WaitFor,
// FatalException and DetachException.

#include "tasks/WeftDataManager.h"
#include "tasks/WeftWorkerGroup.h"

#include <functional>
#include <iterator>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

enum TWeftParallelLoopOption : uint32_t { ploNoWait = 1, ploPreserveOrder = 2 };
using TWeftParallelLoopOptions = uint32_t;

using TWeftIteratorDelegate = std::function<void(const TWeftValue& value)>;
using TWeftIteratorTaskDelegate = std::function<void(const PWeftTask& task, const TWeftValue& value)>;
using TWeftIteratorIntoDelegate = std::function<void(const TWeftValue& value, TWeftValue& result)>;
using TWeftIteratorIntoTaskDelegate =
    std::function<void(const PWeftTask& task, const TWeftValue& value, TWeftValue& result)>;
using TWeftIteratorStateDelegate = std::function<void(const TWeftValue& value, TWeftValue& taskState)>;
using TWeftIteratorStateTaskDelegate =
    std::function<void(const PWeftTask& task, const TWeftValue& value, TWeftValue& taskState)>;
using TWeftAggregatorDelegate = std::function<void(TWeftValue& aggregate, const TWeftValue& value)>;
using TWeftTaskInitializerDelegate = std::function<void(TWeftValue& taskState)>;
using TWeftTaskFinalizerDelegate = std::function<void(const TWeftValue& taskState)>;
using TWeftTaskControlCreateDelegate = std::function<void(const PWeftTaskControl& task)>;
using TEnumeratorDelegate = std::function<bool(TWeftValue& next)>;
// A block of integer items first, first+step, ... last (step may be
// negative); the sum form returns the block's sum.
using TWeftIntegerBlockDelegate =
    std::function<void(const PWeftTask& task, int64_t first, int64_t last, int32_t step)>;
using TWeftIntegerBlockSumDelegate =
    std::function<int64_t(const PWeftTask& task, int64_t first, int64_t last, int32_t step)>;

// Runs body(i) for every i of a block; inlined into the caller's body.
template <class F>
inline void WeftForBlock(int64_t first, int64_t last, int32_t step, F& body)
{
    if (step == 1) {
        for (int64_t i = first; i <= last; ++i)
            body(i);
    } else if (step > 0) {
        for (int64_t i = first; i <= last; i += step)
            body(i);
    } else {
        for (int64_t i = first; i >= last; i += step)
            body(i);
    }
}

namespace weft_detail {

// The items of an integer block as one value stored in place per item, the
// body called inline (no delegate per item); a set token is looked at
// before every item, as the delegate forms do.
template <class F>
inline void ForValueBlock(int64_t first, int64_t last, int32_t step, const IWeftCancellationToken* token,
                          TWeftValue& value, F& body)
{
    if (!token) {
        auto one = [&](int64_t i) {
            value.SetAsInt64(i);
            body(std::as_const(value));
        };
        WeftForBlock(first, last, step, one);
        return;
    }
    for (int64_t i = first;; i += step) {
        if (token->IsSignalled())
            return;
        value.SetAsInt64(i);
        body(std::as_const(value));
        if (i == last)
            return;
    }
}

}  // namespace weft_detail

class IWeftParallelLoop;
class IWeftParallelAggregatorLoop;
class IWeftParallelInitializedLoop;
class IWeftParallelIntoLoop;
using PWeftParallelLoop = std::shared_ptr<IWeftParallelLoop>;
using PWeftParallelAggregatorLoop = std::shared_ptr<IWeftParallelAggregatorLoop>;
using PWeftParallelInitializedLoop = std::shared_ptr<IWeftParallelInitializedLoop>;
using PWeftParallelIntoLoop = std::shared_ptr<IWeftParallelIntoLoop>;

// What every form of the loop reports once it runs.
class IWeftParallelLoopRun {
public:
    virtual ~IWeftParallelLoopRun() = default;
    // True when every worker ended within the time.
    virtual bool WaitFor(DWORD maxWait_ms) = 0;
    // The first exception of a loop body (kept by the loop), or null.
    virtual std::exception_ptr FatalException() = 0;
    virtual std::exception_ptr DetachException() = 0;
};

class IWeftParallelAggregatorLoop : public virtual IWeftParallelLoopRun {
public:
    // Runs the loop and returns the final aggregate. Raises "NoWait cannot
    // be used with Aggregate" for a loop that does not wait.
    virtual TWeftValue Execute(const TWeftIteratorIntoDelegate& loopBody) = 0;
    virtual TWeftValue Execute(const TWeftIteratorIntoTaskDelegate& loopBody) = 0;
    // Any other callable body(value, result): the same loop; AggregateSum
    // over an integer range calls it inline, a block of items at a time.
    template <class F>
        requires std::is_invocable_v<F&, const TWeftValue&, TWeftValue&>
    TWeftValue Execute(F body)
    {
        if (!SumsIntegerRange())
            return Execute(TWeftIteratorIntoDelegate(std::move(body)));
        const IWeftCancellationToken* token = LoopToken();
        return ExecuteBlocks([body, token](const PWeftTask&, int64_t first, int64_t last, int32_t step) mutable {
            TWeftValue value, result;
            int64_t sum = 0;
            auto fold = [&](const TWeftValue& v) {
                body(v, result);
                if (!result.IsEmpty()) {
                    sum += result.CastToInt64();
                    result.Clear();
                }
            };
            weft_detail::ForValueBlock(first, last, step, token, value, fold);
            return sum;
        });
    }
    // AggregateSum only: the items as integers, blocks of them at a time
    // (see IWeftParallelLoop::ExecuteBlocks); the block sums are added.
    virtual TWeftValue ExecuteBlocks(const TWeftIntegerBlockSumDelegate& blockBody) = 0;
    // AggregateSum only: body(int64_t item) returns the item's int64_t
    // term; no value is made per item.
    template <class F>
    TWeftValue ExecuteInt(F body)
    {
        return ExecuteBlocks([body](const PWeftTask&, int64_t first, int64_t last, int32_t step) mutable {
            int64_t sum = 0;
            auto add = [&](int64_t i) { sum += static_cast<int64_t>(body(i)); };
            WeftForBlock(first, last, step, add);
            return sum;
        });
    }

protected:
    // AggregateSum over an integer range (Execute may then go by blocks),
    // and the loop's cancellation token (null: none).
    virtual bool SumsIntegerRange() const = 0;
    virtual const IWeftCancellationToken* LoopToken() const = 0;
};

class IWeftParallelInitializedLoop : public virtual IWeftParallelLoopRun {
public:
    virtual PWeftParallelInitializedLoop Finalize(const TWeftTaskFinalizerDelegate& taskFinalizer) = 0;
    virtual PWeftParallelInitializedLoop Initialize(const TWeftTaskInitializerDelegate& taskInitializer) = 0;
    // Both the initializer and the finalizer must have been given.
    virtual void Execute(const TWeftIteratorStateDelegate& loopBody) = 0;
    virtual void Execute(const TWeftIteratorStateTaskDelegate& loopBody) = 0;
};

class IWeftParallelIntoLoop : public virtual IWeftParallelLoopRun {
public:
    // The collection is completed once all workers ended.
    virtual void Execute(const TWeftIteratorIntoDelegate& loopBody) = 0;
    virtual void Execute(const TWeftIteratorIntoTaskDelegate& loopBody) = 0;
};

class IWeftParallelLoop : public virtual IWeftParallelLoopRun {
public:
    virtual PWeftParallelAggregatorLoop Aggregate(const TWeftValue& defaultAggregateValue,
                                                  const TWeftAggregatorDelegate& aggregator) = 0;
    // Adds 64-bit integers, starting at 0.
    virtual PWeftParallelAggregatorLoop AggregateSum() = 0;
    virtual PWeftParallelLoop CancelWith(const PWeftCancellationToken& token) = 0;
    virtual PWeftParallelInitializedLoop Finalize(const TWeftTaskFinalizerDelegate& taskFinalizer) = 0;
    virtual PWeftParallelInitializedLoop Initialize(const TWeftTaskInitializerDelegate& taskInitializer) = 0;
    virtual PWeftParallelIntoLoop Into(const PWeftBlockingCollection& queue) = 0;
    virtual PWeftParallelLoop NoWait() = 0;
    // n > 0 workers, n < 0 the processor count + n; 0 fails an assertion.
    virtual PWeftParallelLoop NumTasks(int taskCount) = 0;
    virtual PWeftParallelLoop OnMessage(uint16_t msgID, const TWeftOnMessageFunction& eventHandler) = 0;
    // Called in each worker before its first item; may be set once.
    virtual PWeftParallelLoop OnTaskCreate(const TWeftTaskDelegate& taskCreateDelegate) = 0;
    // Called with each worker's task control before it starts; may be set once.
    virtual PWeftParallelLoop OnTaskCreate(const TWeftTaskControlCreateDelegate& taskCreateDelegate) = 0;
    virtual PWeftParallelLoop OnStop(const std::function<void()>& stopCode) = 0;
    virtual PWeftParallelLoop OnStop(const TWeftTaskDelegate& stopCode) = 0;
    virtual PWeftParallelLoop OnStopInvoke(const std::function<void()>& stopCode) = 0;
    virtual PWeftParallelLoop PreserveOrder() = 0;
    virtual PWeftParallelLoop TaskConfig(const PWeftTaskConfig& config) = 0;
    virtual void Execute(const TWeftIteratorDelegate& loopBody) = 0;
    virtual void Execute(const TWeftIteratorTaskDelegate& loopBody) = 0;
    // Any other callable body(value): the same loop; over an integer range
    // the body is called inline, a block of items at a time.
    template <class F>
        requires std::is_invocable_v<F&, const TWeftValue&>
    void Execute(F body)
    {
        if (!IntegerRange()) {
            Execute(TWeftIteratorDelegate(std::move(body)));
            return;
        }
        const IWeftCancellationToken* token = LoopToken();
        ExecuteBlocks([body, token](const PWeftTask&, int64_t first, int64_t last, int32_t step) mutable {
            TWeftValue value;
            weft_detail::ForValueBlock(first, last, step, token, value, body);
        });
    }
    // The items as 64-bit integers, handed out a block at a time (an
    // integer range gives the batch a worker claims at once, at most 64
    // items; other sources one item, converted with CastToInt64). The
    // cancellation token is checked between blocks.
    virtual void ExecuteBlocks(const TWeftIntegerBlockDelegate& blockBody) = 0;
    // body(int64_t item) for every item with no value made per item: for
    // integer ranges, where the item type is known.
    template <class F>
    void ExecuteInt(F body)
    {
        ExecuteBlocks([body](const PWeftTask&, int64_t first, int64_t last, int32_t step) mutable {
            WeftForBlock(first, last, step, body);
        });
    }

protected:
    // Whether the items come from an integer range, and the loop's
    // cancellation token (null: none).
    virtual bool IntegerRange() const = 0;
    virtual const IWeftCancellationToken* LoopToken() const = 0;
};

// An enumerator over a procedure: MoveNext calls it with the value to fill.
class TWeftDelegateEnumerator final : public TWeftValueEnumerator {
public:
    explicit TWeftDelegateEnumerator(TEnumeratorDelegate d) : FDelegate(std::move(d)) {}
    TWeftValue GetCurrent() override { return FValue; }
    bool MoveNext() override { return FDelegate(FValue); }

private:
    TEnumeratorDelegate FDelegate;
    TWeftValue FValue;
};

// The loop over a provider; owned tells whether the loop frees it.
PWeftParallelLoop CreateParallelLoop(TWeftSourceProvider* sourceProvider, bool owned);
PWeftParallelLoop ParallelForEach(int32_t low, int32_t high, int32_t step = 1);
PWeftParallelLoop ParallelForEach(const PWeftBlockingCollection& source);
// The enumerator is not owned and must outlive the loop.
PWeftParallelLoop ParallelForEach(TWeftValueEnumerator* enumerator);
PWeftParallelLoop ParallelForEach(const TEnumeratorDelegate& enumerator);

// Any C++ range: items go to the body as TWeftValue::CastFrom of each
// element. An rvalue range is kept by the loop; an lvalue range must
// outlive the loop.
template <class Range>
PWeftParallelLoop ParallelForEachOf(Range&& range)
{
    using Stored = std::conditional_t<std::is_lvalue_reference_v<Range>, Range, std::remove_cvref_t<Range>>;
    struct Holder {
        Stored Items;
        decltype(std::begin(std::declval<Stored&>())) It;
        decltype(std::end(std::declval<Stored&>())) End;
        explicit Holder(Range&& r) : Items(std::forward<Range>(r)), It(std::begin(Items)), End(std::end(Items)) {}
    };
    auto holder = std::make_shared<Holder>(std::forward<Range>(range));
    return ParallelForEach(TEnumeratorDelegate([holder](TWeftValue& next) {
        if (holder->It == holder->End)
            return false;
        next = TWeftValue::CastFrom(*holder->It);
        ++holder->It;
        return true;
    }));
}

// Typed bodies: the item (and result) as T, converted with CastTo/CastFrom.
template <class T>
TWeftIteratorDelegate WeftTyped(std::function<void(T value)> body)
{
    return [body = std::move(body)](const TWeftValue& v) { body(v.CastTo<T>()); };
}
template <class T, class R>
TWeftIteratorIntoDelegate WeftTypedInto(std::function<void(T value, R& result)> body)
{
    return [body = std::move(body)](const TWeftValue& v, TWeftValue& result) {
        R r{};
        body(v.CastTo<T>(), r);
        result = TWeftValue::CastFrom(r);
    };
}
