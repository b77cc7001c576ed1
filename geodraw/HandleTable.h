// Handles are ids into tables of the library's objects. An id is never
// given twice in a process (not even by another table that shares the
// counter), so a stale handle finds nothing instead of someone else's
// object; 0 is never an id.
#pragma once

#include <stdint.h>

#include <map>
#include <utility>

namespace geodraw {

// Issues ids 1, 2, 3, ... up to INT32_MAX (so that they fit the int
// callers may keep them in); after that, none (0). The count is kept in 64
// bits on both builds: on 32-bit Windows intptr_t ends at INT32_MAX itself,
// and counting past it there would run on into negative ids.
class HandleCounter {
public:
    explicit HandleCounter(intptr_t first = 1) : next_(first) {}
    intptr_t Next() { return next_ <= INT32_MAX ? static_cast<intptr_t>(next_++) : 0; }

private:
    int64_t next_;
};

template <class T>
class HandleTable {
public:
    explicit HandleTable(HandleCounter& counter) : counter_(counter) {}

    // The new object's id; 0 (and nothing stored) when ids ran out.
    intptr_t Insert(T value) {
        intptr_t id = counter_.Next();
        if (id) items_.emplace(id, std::move(value));
        return id;
    }
    // Null for 0, unknown and erased ids.
    T* Find(intptr_t id) {
        auto it = items_.find(id);
        return it == items_.end() ? nullptr : &it->second;
    }
    bool Erase(intptr_t id) { return items_.erase(id) > 0; }
    size_t Size() const { return items_.size(); }

    template <class F> void ForEach(F f) {
        for (auto& item : items_) f(item.first, item.second);
    }

private:
    HandleCounter& counter_;
    std::map<intptr_t, T> items_;
};

}  // namespace geodraw
