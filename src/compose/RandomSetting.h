#pragma once

#include <array>
#include <string>
#include <vector>

class TMuprop;

/// Items of the four pattern lists in order (Acomp. 1, Acomp. 2, Bajo, Bateria): each is
/// "None" followed by the names of its library.
using TPatternChoices = std::array<std::vector<std::string>, 4>;

/// The four pattern lists built from the process-wide libraries.
TPatternChoices LibraryPatternChoices();

/// Draws instruments, volumes, pans, reverbs, choruses, patterns, options, scale, key and
/// tempo into the property set, in that fixed order of draws. Accompaniment volumes stay at
/// least 10 below the melody; the drum kit is never orchestra or effects; key -11..11,
/// tempo 80..179. An empty pattern list leaves its slot's name empty.
void RandomPropertySetting(TMuprop& property, const TPatternChoices& choices);
