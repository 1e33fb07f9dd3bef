#pragma once

/// Common base of the entries of a song (property sets and music units), so that one
/// owning list holds both.
class TSongItem
{
public:
    virtual ~TSongItem() = default;

protected:
    TSongItem() = default;
    TSongItem(const TSongItem&) = default;
    TSongItem& operator=(const TSongItem&) = default;
};
