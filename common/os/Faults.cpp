#include "common/os/Internal.h"

#include <array>
#include <mutex>
#include <vector>

namespace mirvel::os {
namespace {

struct Pending {
    long long call;  // the op's call number that it hits
    detail::Injected what;
};

constexpr std::size_t OpCount = static_cast<std::size_t>(Op::Truncate) + 1;

struct State {
    std::mutex mutex;
    std::array<long long, OpCount> calls{};
    std::array<std::vector<Pending>, OpCount> pending;
};

State& Faults()
{
    static State state;
    return state;
}

void Add(Op op, int nth, detail::Injected what)
{
    State& state = Faults();
    std::lock_guard lock(state.mutex);
    const auto index = static_cast<std::size_t>(op);
    state.pending[index].push_back({state.calls[index] + nth, what});
}

}  // namespace

void InjectFault(Op op, int nth, int platformError) { Add(op, nth, {platformError, std::nullopt}); }

void InjectShortTransfer(Op op, int nth, std::size_t bytes) { Add(op, nth, {0, bytes}); }

void ClearFaults()
{
    State& state = Faults();
    std::lock_guard lock(state.mutex);
    for (auto& list : state.pending) list.clear();
}

detail::Injected detail::NextCall(Op op)
{
    State& state = Faults();
    std::lock_guard lock(state.mutex);
    const auto index = static_cast<std::size_t>(op);
    const long long call = ++state.calls[index];
    auto& list = state.pending[index];
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->call == call) {
            const Injected what = it->what;
            list.erase(it);
            return what;
        }
    }
    return {};
}

}  // namespace mirvel::os
