#include "controls/ScrollFrameBar.h"

#include "controls/ScrollFrame.h"

#include <algorithm>

TScrollFrameBar::TScrollFrameBar(TScrollFrame* frame, TScrollBarKind kind)
    : FFrame(frame), FKind(kind)
{
}

void TScrollFrameBar::SetIncrement(std::uint16_t value)
{
    FIncrement = value;
    if (FFrame != nullptr)
        FFrame->ApplyIncrement(*this);
}

void TScrollFrameBar::SetRange(std::int32_t value)
{
    FRange = value;
    Update();
}

void TScrollFrameBar::SetPageSize(std::int32_t value)
{
    FPageSize = value;
    Update();
}

void TScrollFrameBar::SetPosition(std::int32_t value)
{
    FPosition = value;
    Update();
}

void TScrollFrameBar::SetVisible(bool value)
{
    FVisible = value;
    Update();
}

void TScrollFrameBar::Update()
{
    FPageSize = std::max(FPageSize, 0);
    FRange = std::max(FRange, 0);
    // Range − PageSize cannot overflow: both are at least 0 here.
    FPosition = std::max(std::min(FPosition, FRange - FPageSize), 0);
    if (FFrame != nullptr)
        FFrame->ApplyBar(*this);
}
