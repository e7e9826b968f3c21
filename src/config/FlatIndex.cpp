#include "config/FlatIndex.h"

void FlatIndex::insert(size_t hash, size_t position) {
    if ((count_ + 1) * 2 > slots_.size()) grow();
    place(Slot{static_cast<uint32_t>(position + 1), static_cast<uint32_t>(hash)});
    ++count_;
}

void FlatIndex::place(Slot slot) {
    size_t i = slot.hash & mask();
    while (slots_[i].position != 0) i = (i + 1) & mask();
    slots_[i] = slot;
}

void FlatIndex::grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
    for (const Slot& slot : old)
        if (slot.position != 0) place(slot);
}
