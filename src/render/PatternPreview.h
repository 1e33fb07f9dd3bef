#pragma once

class TMidiData;
class TMuprop;

/// The two-bar preview of one accompaniment slot of a property set (1 Acomp. 1, 2 Acomp. 2,
/// 3 Bass, 4 Drums): the set-up events, then bars 0 and 1 of the slot's pattern over chord I,
/// after the lead-in bar with includeReset. A slot whose name is in no library leaves only
/// the set-up events. A slot outside 1..4 raises std::out_of_range.
void RenderPatternPreview(TMuprop& property, int slot, TMidiData& midi, bool includeReset);
