// A connection point: subscribers of one event interface, each of which gets
// every event.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include <lindor/ComPtr.h>

namespace lindor {

template <class Sink>
class EventSinks {
public:
    // Keeps a reference to the sink until Unadvise; false for a null sink or cookie slot.
    bool Advise(Sink* sink, std::uint32_t* cookie)
    {
        if (sink == nullptr || cookie == nullptr) return false;
        *cookie = nextCookie_++;
        sinks_.push_back({*cookie, ComPtr<Sink>(sink)});
        return true;
    }

    // False when no subscription has that cookie.
    bool Unadvise(std::uint32_t cookie)
    {
        for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
            if (it->cookie != cookie) continue;
            sinks_.erase(it);
            return true;
        }
        return false;
    }

    // Calls fire(sink) for every subscriber. Works on a copy, so a subscriber
    // may unsubscribe (or subscribe another) while it handles the event.
    template <class Fire>
    void FireAll(Fire fire) const
    {
        const std::vector<Subscription> current = sinks_;
        for (const Subscription& s : current) fire(s.sink.get());
    }

    std::size_t size() const { return sinks_.size(); }

private:
    struct Subscription {
        std::uint32_t cookie;
        ComPtr<Sink> sink;
    };
    std::vector<Subscription> sinks_;
    std::uint32_t nextCookie_ = 1;
};

}  // namespace lindor
