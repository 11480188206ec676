#include "vocabulary/item_list.h"

#include <algorithm>

namespace sevrane {

ItemList::ItemList(std::initializer_list<std::u16string_view> items) {
    std::size_t units = 0;
    for (const std::u16string_view item : items) {
        units += item.size() + 1;
    }
    reserve(items.size(), units);
    for (const std::u16string_view item : items) {
        push_back(item);
    }
}

std::u16string_view ItemList::operator[](std::size_t index) const {
    const std::size_t start = starts_[index];
    const std::size_t end = index + 1 < starts_.size() ? starts_[index + 1] : ends_;
    return std::u16string_view(text_.data() + start, end - start - 1);
}

void ItemList::push_back(std::u16string_view item) {
    OpenItem().append(item);
    CloseItem();
}

void ItemList::CloseItem() {
    starts_.push_back(ends_);
    text_.push_back(u'\0');
    ends_ = text_.size();
}

void ItemList::AbandonItem() { text_.resize(ends_); }

void ItemList::pop_back() {
    const std::size_t start = starts_.back();
    starts_.pop_back();
    text_.resize(start);
    ends_ = start;
}

void ItemList::clear() {
    text_.clear();
    starts_.clear();
    ends_ = 0;
}

void ItemList::reserve(std::size_t items, std::size_t units) {
    // All or nothing: when either block cannot be had, the list keeps its old buffers rather
    // than a huge one it may never fill.
    std::vector<std::size_t> starts;
    starts.reserve(std::max(items, starts_.size()));
    std::u16string text;
    text.reserve(std::max(units, text_.size()));
    starts.assign(starts_.begin(), starts_.end());
    text.assign(text_);
    starts_.swap(starts);
    text_.swap(text);
}

} // namespace sevrane
