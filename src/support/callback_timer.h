// Window-less timers keyed by their callback procedure: one timer per
// procedure. The timer service is a template parameter so the bookkeeping is
// tested without Windows; the program uses the SetTimer/KillTimer service.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace zorv {

// Service requirements:
//   std::uintptr_t Start(std::uint32_t intervalMs, Proc proc);  // new id, 0 on failure
//   void Stop(std::uintptr_t id);
template <class Proc, class Service>
class CallBackTimerT {
  public:
    explicit CallBackTimerT(Service service = Service{}) : service_(std::move(service)) {}
    CallBackTimerT(const CallBackTimerT&) = delete;
    CallBackTimerT& operator=(const CallBackTimerT&) = delete;

    // Every running timer is deleted, from the last entry to the first.
    ~CallBackTimerT() {
        for (auto i = entries_.size(); i-- > 0;) {
            if (entries_[i].id != 0) service_.Stop(entries_[i].id);
        }
        entries_.clear();
    }

    std::uintptr_t ChangeInterval(Proc proc, std::uint32_t intervalMs) {
        Entry* e = Find(proc);
        if (!e) return 0;
        e->interval = intervalMs;
        return Restart(*e);
    }

    // 0 when the procedure already has a timer (the first one keeps running).
    std::uintptr_t CreateTimer(std::uint32_t intervalMs, Proc proc) {
        if (Find(proc)) return 0;
        entries_.push_back(Entry{0, proc, intervalMs});
        return Restart(entries_.back());
    }

    void DeleteTimer(Proc proc) {
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->proc != proc) continue;
            if (it->id != 0) service_.Stop(it->id);
            entries_.erase(it);
            return;
        }
    }

    std::uintptr_t RestartTimer(Proc proc) { return EnableTimer(proc); }

    void DisableTimer(Proc proc) {
        if (Entry* e = Find(proc); e && e->id != 0) {
            service_.Stop(e->id);
            e->id = 0;
        }
    }

    std::uintptr_t EnableTimer(Proc proc) {
        Entry* e = Find(proc);
        return e ? Restart(*e) : 0;
    }

    std::size_t Count() const { return entries_.size(); }
    Service& GetService() { return service_; }

  private:
    struct Entry {
        std::uintptr_t id;
        Proc proc;
        std::uint32_t interval;
    };

    Entry* Find(Proc proc) {
        for (Entry& e : entries_) {
            if (e.proc == proc) return &e;
        }
        return nullptr;
    }

    std::uintptr_t Restart(Entry& e) {
        if (e.id != 0) service_.Stop(e.id);
        e.id = service_.Start(e.interval, e.proc);
        return e.id;
    }

    Service service_;
    std::vector<Entry> entries_;
};

}  // namespace zorv
