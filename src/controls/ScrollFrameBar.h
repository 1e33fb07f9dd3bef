#pragma once

#include <cstdint>

class TScrollFrame;

enum class TScrollBarKind : std::uint8_t
{
    Horizontal = 0,
    Vertical = 1
};

/// One scroll bar of a TScrollFrame. It only keeps and reports a position; what a position
/// means is up to the frame's owner.
class TScrollFrameBar
{
public:
    TScrollFrameBar(TScrollFrame* frame, TScrollBarKind kind);

    TScrollBarKind Kind() const { return FKind; }

    std::uint16_t Increment() const { return FIncrement; }
    void SetIncrement(std::uint16_t value);
    std::int32_t Range() const { return FRange; }
    void SetRange(std::int32_t value);
    std::int32_t PageSize() const { return FPageSize; }
    void SetPageSize(std::int32_t value);
    /// First visible unit, 0 to Range − PageSize.
    std::int32_t Position() const { return FPosition; }
    void SetPosition(std::int32_t value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    /// Clamps the fields and brings the frame's scroll bar in line with them.
    void Update();

private:
    TScrollFrame* FFrame; // not owned: the frame owns this bar
    TScrollBarKind FKind;
    std::uint16_t FIncrement = 8;
    std::int32_t FRange = 0;
    std::int32_t FPageSize = 0;
    std::int32_t FPosition = 0;
    bool FVisible = true;
};
