#pragma once

// Line-type codes (StatementType) that the window and the list file act on, and the tagged
// types the preprocessor gives the definition directives. The list-file legend explains the
// full set.

// Line types outside the legend.
inline constexpr int kTypeIgnoredAtEnd = 0;  // blanked by "Lines to ignore at end of file"
inline constexpr int kTypeNull = -1;         // appended to the previous line
inline constexpr int kTypeHeaderNull = -2;   // null line treated as part of a header
inline constexpr int kTypeIgnored = -4;      // discarded from the input
inline constexpr int kTypeEndOfFile = -5;
inline constexpr int kTypeBlank = 1;

// Tagged types of the definition directives.
inline constexpr int kTagDefineBlock = 1017;
inline constexpr int kTagEndBlock = 1018;
inline constexpr int kTagResetBlock = 1021;
inline constexpr int kTagDefineVariable = 1024;
inline constexpr int kTagDefineHtmlFragment = 1025;
inline constexpr int kTagDefineTextFragment = 1026;
inline constexpr int kTagResetHtmlFragment = 1027;
inline constexpr int kTagResetTextFragment = 1028;
