// The items of the list, in order; duplicates and empty strings are allowed.
//
// A list file can hold a million lines, so the items share one buffer instead of owning a heap
// block each: every item is followed by a NUL there, which lets Win32 take it as it stands.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace sevrane {

class ItemList {
public:
    ItemList() = default;
    ItemList(std::initializer_list<std::u16string_view> items);

    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    std::u16string_view operator[](std::size_t index) const;
    std::u16string_view front() const { return (*this)[0]; }
    std::u16string_view back() const { return (*this)[size() - 1]; }
    // The item followed by its NUL.
    const char16_t* c_str(std::size_t index) const { return text_.data() + starts_[index]; }

    void push_back(std::u16string_view item);
    void pop_back();
    void clear();

    // Building an item in place: append its text to the returned buffer, then close it (or
    // abandon it, which drops what was appended). Nothing else may touch the list meanwhile.
    std::u16string& OpenItem() { return text_; }
    void CloseItem();
    void AbandonItem();

    // Room for this many items holding this many code units in all, NULs included. Throws
    // std::bad_alloc or std::length_error, and then leaves the list as it was.
    void reserve(std::size_t items, std::size_t units);
    std::size_t capacity() const { return starts_.capacity(); }
    std::size_t max_size() const { return starts_.max_size(); }
    // Code units of all items, each one's NUL included.
    std::size_t Units() const { return text_.size(); }

    friend bool operator==(const ItemList& a, const ItemList& b) {
        return a.starts_ == b.starts_ && a.text_ == b.text_;
    }

private:
    std::u16string text_;             // every item followed by a NUL
    std::vector<std::size_t> starts_; // where each item begins in text_
    std::size_t ends_ = 0;            // where the next item begins: the end of the last one
};

} // namespace sevrane
