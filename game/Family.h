#pragma once

// The family of games that Kelvor belongs to. Its name is the section that
// the family's games share in the settings and scores files, text 1 of every
// skin library of the family, and the gold title of the program's picture.
namespace Family {

inline constexpr char Name[] = "Tolvane...";

} // namespace Family
