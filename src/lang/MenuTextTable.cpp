#include "lang/MenuTexts.h"

#include <iterator>

#include "lang/InterfaceTexts.h"

// The English menu texts, by index (language-file id 10000 + index), in the order and groups
// of the menu section of a language file. "&" marks the access key.
static constexpr TextRow kEnglishMenuTexts[] = {
    // !- Main menu
    {10, "&File"},
    {20, "&Conversion options"},
    {110, "&Settings"},
    {130, "&Language"},
    {150, "&View"},
    {160, "&Help"},
    {190, "&Updates"},
    // !- File Menu
    {11, "&Convert"},
    {12, "&Load policy file"},
    {13, "&Save policies to file"},
    {14, "E&xit"},
    // !- Conversion Menu
    {40, "&Analysis policies for input text file(s)"},
    {200, "Configuration &Files"},
    {50, "&Output policies for generated RTF file(s)"},
    {23, "&Load policy file..."},
    {24, "Reload &policies from file"},
    {25, "&Save policies to file..."},
    {26, "Re-anal&yse the file"},
    {27, "&Reset to defaults"},
    {75, "&Mail tidy options"},
    // !- Conversion->Analysis menu
    {41, "&What to look for"},
    {42, "&Bullets and lists"},
    {43, "&Contents lists"},
    {44, "&File structure"},
    {45, "&Headings"},
    {46, "&General layout"},
    {47, "&Pre-formatted text"},
    {48, "&Tables"},
    // !- Conversion->Output menu
    {52, "&Title, description etc"},
    {61, "T&ables"},
    {53, "Document &colours"},
    {62, "H&yperlinks"},
    {66, "F&onts"},
    {54, "Document &properties"},
    {56, "&RTF Settings"},
    {55, "&Formatting"},
    {57, "Make &Windows help file"},
    {58, "Contents &List"},
    {59, "Fra&mes"},
    {100, "&File generation"},
    {60, "&Headers, footers etc."},
    {63, "L&ink Dictionary"},
    {64, "P&re-processor"},
    {65, "Casca&ding style sheets (CSS)"},
    {67, "HTML &styling"},
    {68, "&Pembrelle policies"},
    // !- Conversion->Output->File generation menu
    {101, "&General"},
    {102, "&Directory Page"},
    {103, "&File naming"},
    {104, "&Splitting large files at section headings"},
    // !- Conversion->Config files menu
    {70, "&HTML Fragments File"},
    {71, "&Link Dictionary"},
    {72, "&Style Definition File"},
    {73, "&Table Definition File"},
    {201, "Text &Fragments file"},
    {74, "Text &Commands File"},
    // !- settings menu
    {111, "Do&cumentation..."},
    {112, "Dia&gnostics..."},
    {113, "&Drag and drop properties..."},
    {114, "&Viewers for results files..."},
    {115, "Use of &Policy files..."},
    {117, "Show &Tool Tips"},
    {118, "Show &Status Dialog"},
    {119, "&Automatically view results"},
    {120, "&Remember settings on exit"},
    {121, "&Tip of the Day"},
    // !- Language menu
    {142, "Dutch"},
    {131, "English"},
    {137, "French"},
    {134, "German"},
    {135, "Italian"},
    {132, "Spanish"},
    {136, "Swedish"},
    {138, "Russian"},
    {133, "Portuguese"},
    {139, "Other..."},
    {141, "Use language \"skin\"..."},
    // !- View menu
    {151, "&Messages from last conversion"},
    {152, "Results of last &Conversion"},
    // !- Help menu
    {161, "&Contents"},
    {170, "&HTML Documentation"},
    {180, "Other products"},
    {165, "&About"},
    // !- Help->HTML documentation menu
    {171, "&Local (on your hard disk)"},
    {172, "On the &web (online)"},
    // !- Help->Other Products menu
    {181, "The &Norvane Limited home page"},
    {182, "Doralith - text to HTML converter"},
    {183, "Tessaway - text to tables converter (free)"},
    {184, "Kelvane - text to RTF converter"},
    {185, "Strivelle - HTML to text converter and markup remover"},
    // !- Updates menu
    {191, "Check for &newer versions"},
};

// The groups of the menu section: each heading and how many rows of the table follow it.
static constexpr MenuTextGroup kMenuTextGroups[] = {
    {"!- Main menu", 7},
    {"!- File Menu", 4},
    {"!- Conversion Menu", 9},
    {"!- Conversion->Analysis menu", 8},
    {"!- Conversion->Output menu", 18},
    {"!- Conversion->Output->File generation menu", 4},
    {"!- Conversion->Config files menu", 6},
    {"!- settings menu", 10},
    {"!- Language menu", 11},
    {"!- View menu", 2},
    {"!- Help menu", 4},
    {"!- Help->HTML documentation menu", 2},
    {"!- Help->Other Products menu", 5},
    {"!- Updates menu", 1},
};

static constexpr int GroupRowTotal() {
  int total = 0;
  for (const MenuTextGroup& group : kMenuTextGroups)
    total += group.rowCount;
  return total;
}
static_assert(std::size(kEnglishMenuTexts) == 91, "one row per English menu text");
static_assert(GroupRowTotal() == std::size(kEnglishMenuTexts), "every row in one group");

std::span<const TextRow> EnglishMenuTexts() { return kEnglishMenuTexts; }
std::span<const MenuTextGroup> MenuTextGroups() { return kMenuTextGroups; }
