#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// An open-addressing hash index over the positions of elements kept elsewhere (in insertion
// order). It stores each position with its hash, so it grows without recomputing hashes and
// allocates nothing per element.
class FlatIndex {
  public:
    // The position of the first element with this hash for which matches(position) holds, or -1.
    template <typename Matches> ptrdiff_t find(size_t hash, Matches matches) const {
        if (slots_.empty()) return -1;
        const uint32_t tag = static_cast<uint32_t>(hash);
        for (size_t i = hash & mask(); slots_[i].position != 0; i = (i + 1) & mask())
            if (slots_[i].hash == tag && matches(slots_[i].position - 1)) return slots_[i].position - 1;
        return -1;
    }
    void insert(size_t hash, size_t position);
    void clear() { slots_.clear(), count_ = 0; }
    bool empty() const { return count_ == 0; }

  private:
    struct Slot {
        uint32_t position = 0; // element position + 1; 0 marks a free slot
        uint32_t hash = 0;
    };
    size_t mask() const { return slots_.size() - 1; }
    void place(Slot slot);
    void grow();

    std::vector<Slot> slots_;
    size_t count_ = 0;
};
