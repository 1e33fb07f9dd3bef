#pragma once

#include "base/Exceptions.h"

#include <algorithm>
#include <memory>
#include <vector>

/// An owning, ordered list of objects; an index outside 0..Count-1 raises EListError.
template <typename T> class TObjectList
{
public:
    TObjectList() = default;
    TObjectList(const TObjectList&) = delete;
    TObjectList& operator=(const TObjectList&) = delete;
    TObjectList(TObjectList&&) noexcept = default;
    TObjectList& operator=(TObjectList&&) noexcept = default;

    int Count() const { return static_cast<int>(FItems.size()); }

    T* Get(int index) const
    {
        Check(index);
        return FItems[static_cast<size_t>(index)].get();
    }
    T* operator[](int index) const { return Get(index); }

    /// Appends the object and returns its index.
    int Add(std::unique_ptr<T> item)
    {
        FItems.push_back(std::move(item));
        return Count() - 1;
    }

    /// Inserts before index; index Count appends.
    void Insert(int index, std::unique_ptr<T> item)
    {
        if (index != Count())
            Check(index);
        FItems.insert(FItems.begin() + index, std::move(item));
    }

    /// Frees the object, then removes its slot.
    void Delete(int index)
    {
        Check(index);
        FItems[static_cast<size_t>(index)].reset();
        FItems.erase(FItems.begin() + index);
    }

    /// Takes the object out of the list without freeing it.
    std::unique_ptr<T> Extract(int index)
    {
        Check(index);
        std::unique_ptr<T> item = std::move(FItems[static_cast<size_t>(index)]);
        FItems.erase(FItems.begin() + index);
        return item;
    }

    void Clear() { FItems.clear(); }

    /// Stable sort with a "less than" compare on the objects.
    template <typename Less> void Sort(Less less)
    {
        std::stable_sort(FItems.begin(), FItems.end(),
                         [&](const std::unique_ptr<T>& a, const std::unique_ptr<T>& b)
                         { return less(*a, *b); });
    }

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

    /// Direct access to the owning vector, for code that builds large lists quickly.
    std::vector<std::unique_ptr<T>>& Items() { return FItems; }
    const std::vector<std::unique_ptr<T>>& Items() const { return FItems; }

private:
    void Check(int index) const
    {
        if (index < 0 || index >= Count())
            throw EListError(index);
    }

    std::vector<std::unique_ptr<T>> FItems;
};
