// The fixed-size queue of events each backend keeps for what is posted to it
// (sound blocks done, wake-ups, signals, repaints) and for the messages one
// input event turns into. Not locked: a backend that takes posts from other
// threads holds its own lock around it.
#pragma once

#include "platform/os.h"

template <int Capacity>
class EventRing {
public:
    static_assert(Capacity > 0);

    int size() const { return count_; }
    bool empty() const { return count_ == 0; }
    bool full() const { return count_ == Capacity; }
    void clear() { head_ = count_ = 0; }

    // Adds at the end; false (and the event is dropped) when full.
    bool push_back(const OsEvent& ev) {
        if (full()) return false;
        events_[(head_ + count_) % Capacity] = ev;
        ++count_;
        return true;
    }

    // Adds before everything queued; false (and dropped) when full.
    bool push_front(const OsEvent& ev) {
        if (full()) return false;
        head_ = (head_ + Capacity - 1) % Capacity;
        events_[head_] = ev;
        ++count_;
        return true;
    }

    // Takes the first event; false when empty.
    bool pop(OsEvent& ev) {
        if (empty()) return false;
        ev = events_[head_];
        head_ = (head_ + 1) % Capacity;
        --count_;
        return true;
    }

    // Takes the first event that `wanted` accepts; the others keep their
    // order. False when none does.
    template <typename Pred>
    bool take_first_if(Pred wanted, OsEvent& ev) {
        for (int i = 0; i < count_; ++i) {
            if (!wanted(at(i))) continue;
            ev = at(i);
            for (int j = i; j + 1 < count_; ++j) at(j) = at(j + 1);
            --count_;
            return true;
        }
        return false;
    }

    // Drops every event that `unwanted` accepts; the others keep their order.
    template <typename Pred>
    void remove_if(Pred unwanted) {
        int kept = 0;
        for (int i = 0; i < count_; ++i)
            if (!unwanted(at(i))) at(kept++) = at(i);
        count_ = kept;
    }

private:
    OsEvent& at(int i) { return events_[(head_ + i) % Capacity]; }

    OsEvent events_[Capacity];
    int head_ = 0, count_ = 0;
};
