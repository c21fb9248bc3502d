// The option pages as data: each page's template (one row per control, by resource id), and
// the page's code, tab text and values. The English texts are those of the templates; the
// dialog texts of the current language replace them when a page is shown.
#include <climits>
#include <iterator>

#include "pages/AnalysisPages.h"
#include "pages/HeadingPage.h"
#include "pages/PageDefinitions.h"
#include "pages/ConfigPages.h"
#include "pages/SettingsPages.h"
#include "platform/DialogTemplate.h"

using CK = ControlKind;
using VK = PageValueKind;

static constexpr unsigned kNum = kControlNumber;
static constexpr unsigned kHid = kControlHidden;

// ---- Analysis policies ----

static constexpr ControlTemplate kLookForControls[] = {
    {1426, CK::Label, 0, "Check those aspects of your source file(s) that you want the program to detect and", 0},
    {1385, CK::Label, 0, "automatically try to convert.  Use this to disable any features that are not working", 0},
    {1386, CK::Label, 0, "well for you, or try and fine tune the conversion using the more detailed dialogues.", 0},
    {1238, CK::CheckBox, 0, "Multiple levels of indentation", 0},
    {1239, CK::CheckBox, 0, "Paragraph boundaries", 0},
    {9118, CK::CheckBox, 0, "First line offsets for paragraphs", 0},
    {1240, CK::CheckBox, 0, "Short lines", 0},
    {1241, CK::CheckBox, 0, "Horizontal rules and lines", 0},
    {1243, CK::Label, 0, "Minimum ruler length", 0},
    {1242, CK::Edit, kNum, "", 0},
    {1244, CK::CheckBox, 0, "Bullet points and numbered lists", 0},
    {1245, CK::CheckBox, 0, "\"Definitions\" and notes", 0},
    {1258, CK::CheckBox, 0, "\"Quoted\" text (e.g. quotes from emails)", 0},
    {1259, CK::CheckBox, 0, "*bold* and _italics_ emphasis", 0},
    {1260, CK::CheckBox, 0, "Underlined text (other than headings)", 0},
    {1264, CK::CheckBox, 0, "Mail and USENET post headers", 0},
    {9010, CK::CheckBox, 0, "Auto-detect character encoding", 0},
    {1257, CK::CheckBox, 0, "Pre-formatted regions of text", 0},
    {1249, CK::CheckBox, 0, "Tables within these regions", 0},
    {1250, CK::CheckBox, 0, "Diagrams within these regions", 0},
    {1387, CK::Label, kControlDisabled, "Note:  In this early version of Pellumar not all features are implemented yet", 0},
};

static constexpr ControlTemplate kAnalysisControls[] = {
    {1403, CK::Group, 0, "Sizes", 0},
    {1363, CK::Label, 0, "Page width", 1403},
    {1039, CK::Edit, kNum, "", 1403},
    {1364, CK::Label, 0, "TAB size", 1403},
    {1199, CK::Edit, kNum, "", 1403},
    {1365, CK::Label, 0, "Short line length", 1403},
    {1040, CK::Edit, kNum, "", 1403},
    {1366, CK::Label, 0, "Minimum Chapter Size", 1403},
    {1045, CK::Edit, kNum, "", 1403},
    {1404, CK::Group, 0, "Paragraphs", 0},
    {1048, CK::CheckBox, 0, "Blank lines between paragraphs", 1404},
    {1367, CK::Label, 0, "New paragraph offset", 1404},
    {1049, CK::Edit, kNum, "", 1404},
    {1405, CK::Group, 0, "Definitions", 0},
    {1200, CK::CheckBox, 0, "Look for \"definitions\" in the source document", 1405},
    {1051, CK::CheckBox, 0, "Recognise hyphen (-) characters", 1405},
    {1053, CK::CheckBox, 0, "Always", 1405},
    {1052, CK::CheckBox, 0, "Recognise colon (:) characters", 1405},
    {1054, CK::CheckBox, 0, "Always", 1405},
    {1068, CK::Label, 0, "Other definition characters", 1405},
    {1055, CK::Edit, 0, "", 1405},
    {1201, CK::Label, 0, "Definition paragraph indent levels", 1405},
    {1024, CK::Edit, 0, "", 1405},
    {1406, CK::Group, 0, "Layout", 0},
    {1368, CK::Label, 0, "Indentation positions (in characters)", 1406},
    {2022, CK::Edit, 0, "", 1406},
};

static constexpr ControlTemplate kBulletsControls[] = {
    {1246, CK::CheckBox, 0, "Automatically detect bullets and numbered lists", 0},
    {1247, CK::Group, 0, "Expected bullet types", 0},
    {1019, CK::CheckBox, 0, "Numbered bullets - 1), 2)...", 1247},
    {1020, CK::CheckBox, 0, "Alphabetic bullets - a), b)...", 1247},
    {2021, CK::CheckBox, 0, "Roman numeral bullets - i). ii)...", 1247},
    {1248, CK::Group, 0, "Bullet characters", 0},
    {1022, CK::CheckBox, 0, "Use hyphen character \"-\" as a bullet", 1248},
    {1023, CK::CheckBox, 0, "Use \"o\" character as a bullet", 1248},
    {1069, CK::Label, 0, "Other bullet characters", 1248},
    {2024, CK::Edit, 0, "", 1248},
};

static constexpr ControlTemplate kHeadingControls[] = {
    {1409, CK::Group, 0, "Expected headings types", 0},
    {2015, CK::CheckBox, 0, "Numbered headings", 1409},
    {2016, CK::CheckBox, 0, "Underlined headings", 1409},
    {1017, CK::CheckBox, 0, "Capitalised headings", 1409},
    {1018, CK::CheckBox, 0, "Embedded headings", 1409},
    {1593, CK::Label, 0, "Phrases or words at the start of a line that indicate a heading (e.g. \"Chapter\")", 0},
    {1594, CK::Edit, 0, "", 0},
    {1732, CK::CheckBox, 0, "Use first line as heading", 0},
    {1765, CK::CheckBox, 0, "Center first heading in file", 0},
    {1512, CK::CheckBox, 0, "Check indentations of headings are consistent", 0},
    {1592, CK::Button, 0, "Advanced Options >>>", 0},
};

static constexpr ControlTemplate kContentsControls[] = {
    {1311, CK::Group, 0, "Diagnostics", 0},
    {1057, CK::CheckBox, 0, "File includes existing contents list", 1311},
    {1773, CK::CheckBox, 0, "Include mail headers in contents list", 1311},
    {1407, CK::Group, kHid, "Contents list generation", 0},
    {1058, CK::CheckBox, kHid, "Generate a contents list", 1407},
    {1250, CK::Label, kHid, "Number of levels to show in the contents list", 1407},
    {1251, CK::Edit, kHid | kNum, "", 1407},
    {1189, CK::Label, kHid, "Calculate contents list", 1407},
    {1187, CK::Radio, kHid, "from observed headings", 1407},
    {1188, CK::Radio, kHid, "from contents list in document", 1407},
    {1190, CK::CheckBox, kHid, "Put contents list in separate file", 1407},
    {1082, CK::Edit, kHid, "", 1407},
    {1223, CK::Label, kHid, "Place hyperlinks", 1407},
    {1119, CK::Radio, kHid, "On section numbers", 1407},
    {1120, CK::Radio, kHid, "On section titles", 1407},
};

static constexpr ControlTemplate kFileStructControls[] = {
    {1434, CK::Group, 0, "Expected file contents", 0},
    {1043, CK::CheckBox, 0, "Expect only a simple layout (no section headings)", 1434},
    {1044, CK::CheckBox, 0, "Expect \"C\"-like code samples", 1434},
    {9119, CK::CheckBox, 0, "Contains UNICODE characters", 1434},
    {1455, CK::CheckBox, 0, "Contains DOS characters", 1434},
    {1463, CK::CheckBox, 0, "Contains Mime-encoded quotable characters", 1434},
    {1524, CK::CheckBox, 0, "Contains PCL printer codes", 1434},
    {1456, CK::CheckBox, 0, "Contains Japanese characters", 1434},
    {1432, CK::Group, 0, "Text attributes", 0},
    {1457, CK::CheckBox, 0, "File has change bars", 1432},
    {1316, CK::CheckBox, 0, "File has page markers", 1432},
    {1317, CK::Label, 0, "Size (in lines)", 1432},
    {1318, CK::Edit, kNum, "", 1432},
    {1023, CK::Label, 0, "Text justification", 1432},
    {1042, CK::DropList, 0, "", 1432},
    {1273, CK::CheckBox, 0, "File is double spaced", 1432},
    {1728, CK::Group, 0, "Text to ignore", 0},
    {1725, CK::Label, 0, "Number of lines to ignore at start of document", 1728},
    {1724, CK::Edit, kNum, "", 1728},
    {1727, CK::Label, 0, "Number of lines to ignore at end of document", 1728},
    {1726, CK::Edit, kNum, "", 1728},
};

static constexpr ControlTemplate kPreFormatControls[] = {
    {1421, CK::Group, 0, "Detecting regions of pre-formatted text", 0},
    {1392, CK::Label, 0, "Minimum size of a pre-formatted region", 1421},
    {1097, CK::Edit, kNum, "", 1421},
    {2056, CK::CheckBox, kHid, "Allow definitions inside a user pre-formatted section", 1421},
};

static constexpr ControlTemplate kTabAnalControls[] = {
    {1487, CK::Group, 0, "Detection", 0},
    {1132, CK::CheckBox, 0, "Attempt TABLE recognition and generation", 1487},
    {1785, CK::Label, 0, "Maximum length of line to consider as a candidate table line", 1487},
    {1784, CK::Edit, kNum, "", 1487},
    {1488, CK::Group, 0, "Extend preformatted regions", 0},
    {1490, CK::Label, 0, "Low", 1488},
    {1489, CK::Slider, 0, "", 1488},
    {1491, CK::Label, 0, "High", 1488},
    {1754, CK::Group, 0, "Analysing rows", 0},
    {1755, CK::CheckBox, 0, "Could table have blank lines between rows", 1754},
    {1746, CK::Label, 0, "Table Layout (No. Columns,pos1, pos2..., e.g.: '3,  10,20,30')", 1754},
    {9107, CK::Edit, 0, "", 1754},
    {1205, CK::Group, 0, "Analysing columns", 0},
    {1782, CK::CheckBox, 0, "Column boundaries have zero width", 1205},
    {1204, CK::CheckBox, 0, "Is the table expected to have sparse columns", 1205},
    {1496, CK::CheckBox, 0, "Ignore table header when analysing column positions", 1205},
    {1783, CK::CheckBox, 0, "Expect cells that span multiple columns", 1205},
    {1206, CK::Label, 0, "Minimum number of spaces between columns", 1205},
    {9006, CK::Edit, kNum, "", 1205},
    {1492, CK::Group, 0, "Merge together \"poor\" columns", 0},
    {1493, CK::Label, 0, "Never", 1492},
    {1494, CK::Slider, 0, "", 1492},
    {1495, CK::Label, 0, "Always", 1492},
};

// ---- Output policies ----

static constexpr ControlTemplate kRTFDocumentControls[] = {
    {1443, CK::Group, 0, "Title", 0},
    {1185, CK::CheckBox, 0, "Use first heading", 1443},
    {1191, CK::CheckBox, 0, "Use first line", 1443},
    {1356, CK::Label, 0, "Alternatively, use this", 1443},
    {1301, CK::Edit, 0, "", 1443},
    {1297, CK::Label, 0, "Subject:", 0},
    {1302, CK::Edit, 0, "", 0},
    {1298, CK::Label, 0, "Author:", 0},
    {1303, CK::Edit, 0, "", 0},
    {1299, CK::Label, 0, "Manager:", 0},
    {1304, CK::Edit, 0, "", 0},
    {1300, CK::Label, 0, "Company:", 0},
    {1305, CK::Edit, 0, "", 0},
    {1306, CK::Label, 0, "Category:", 0},
    {1309, CK::Edit, 0, "", 0},
    {1307, CK::Label, 0, "Keywords:", 0},
    {1310, CK::Edit, 0, "", 0},
    {1308, CK::Label, 0, "Comments:", 0},
    // The comments get a taller field.
    {1311, CK::MultiLineEdit, kControlEditable, "", 0},
};

static constexpr ControlTemplate kFileGenRTFControls[] = {
    {1513, CK::Group, 0, "How to handle line structure", 0},
    {1509, CK::CheckBox, 0, "Preserve line structure", 1513},
    {1497, CK::CheckBox, 0, "Treat each line as a paragraph", 1513},
    {1510, CK::CheckBox, kHid, "Preserve file structure using <PRE> markup", 1513},
    {1408, CK::Group, 0, "Diagnostic files", 0},
    {1008, CK::CheckBox, 0, "Generate .lis log files", 1408},
    {2005, CK::CheckBox, 0, "Generate a sample policy file", 1408},
    {1107, CK::Label, 0, "Output Policy filename", 1408},
    {1108, CK::Edit, 0, "", 1408},
    {1109, CK::Button, 0, "...", 1408},
};

static constexpr ControlTemplate kFontControls[] = {
    {1377, CK::Label, 0, "Body text", 0},
    {1254, CK::Edit, 0, "", 0},
    {1263, CK::Button, 0, "...", 0},
    {1378, CK::Label, 0, "Headings", 0},
    {1255, CK::Edit, 0, "", 0},
    {1264, CK::Button, 0, "...", 0},
    {1379, CK::Label, 0, "Tables", 0},
    {1256, CK::Edit, 0, "", 0},
    {1265, CK::Button, 0, "...", 0},
    {1381, CK::Label, 0, "Table of contents", 0},
    {1258, CK::Edit, 0, "", 0},
    {1267, CK::Button, 0, "...", 0},
    {1380, CK::Label, 0, "Fixed pitch text", 0},
    {1257, CK::Edit, 0, "", 0},
    {1266, CK::Button, 0, "...", 0},
    {1756, CK::Label, 0, "Font stretch factor (in percent)", 0},
    {1757, CK::Edit, kNum, "", 0},
    // The hidden group "HTML font details".
    {1375, CK::Label, kHid, "BASEFONT (in pts)", 0},
    {1252, CK::ComboEdit, kHid | kControlEditable, "", 0},
    {1376, CK::Label, kHid, "Delta font size", 0},
    {1253, CK::Edit, kHid | kNum, "", 0},
    {1521, CK::Label, kHid, "Implementation", 0},
    {1522, CK::Radio, kHid, "Cascading Style sheets (CSS)", 0},
    {1523, CK::Radio, kHid, "<FONT> ... </FONT> tags", 0},
};

static constexpr ControlTemplate kRTFFormatControls[] = {
    {1752, CK::Group, 0, "Automatic Centring", 0},
    {2048, CK::CheckBox, 0, "Enable automatic centering", 1752},
    {1192, CK::Label, 0, "Tolerance", 1752},
    {1193, CK::Edit, kNum, "", 1752},
    {1194, CK::Label, 0, "characters", 1752},
    {1417, CK::Group, 0, "Paragraphs", 0},
    {1169, CK::CheckBox, 0, "Preserve any first line indentation", 1417},
    {1750, CK::Label, 0, "First line indent (in blocks)", 1417},
    {1751, CK::Edit, kNum, "", 1417},
    {1415, CK::Group, 0, "Headings", 0},
    {1445, CK::CheckBox, 0, "Preserve any underlining on headings", 1415},
    {1248, CK::Group, 0, "Bullet Characters", 0},
    {1758, CK::CheckBox, 0, "Use original document's bullet markers", 1248},
    {1759, CK::Label, 0, "...or use these", 1248},
    {1760, CK::Edit, 0, "", 1248},
    {1414, CK::Group, 0, "Miscellaneous", 0},
    {2049, CK::CheckBox, 0, "Ignore multiple blank lines", 1414},
    {1753, CK::Group, 0, "Tables", 0},
    {1273, CK::Label, 0, "Table alignment", 1753},
    {1274, CK::DropList, 0, "", 1753},
    {1272, CK::Label, 0, "Table cell alignment", 1753},
    {1270, CK::DropList, 0, "", 1753},
    {1136, CK::Label, 0, "Number of header rows", 1753},
    {1137, CK::Edit, kNum, "", 1753},
};

static constexpr ControlTemplate kHyperlinksControls[] = {
    {1412, CK::Group, 0, "Add hyperlinks", 0},
    {2030, CK::CheckBox, 0, "http://  and www references", 1412},
    {2029, CK::CheckBox, 0, "Email addresses", 1412},
    {1458, CK::CheckBox, 0, "Allow address that start with numbers", 1412},
    {1591, CK::CheckBox, 0, "Check domain name syntax", 1412},
    {1030, CK::CheckBox, 0, "USENET newsgroups", 1412},
    {1032, CK::CheckBox, 0, "Only link groups in the standard hierarchies (alt., comp., rec., sci., soc. etc)", 1412},
    {1059, CK::Label, 0, "Additional hierarchies to recognise", 1412},
    {1033, CK::Edit, 0, "", 1412},
    {1275, CK::CheckBox, 0, "gopher:// references", 1412},
    {9105, CK::CheckBox, 0, "ftp:// references", 1412},
    {1459, CK::CheckBox, 0, "Allow \"weak\" ftp links", 1412},
    {1276, CK::CheckBox, 0, "telnet:// references", 1412},
    {1210, CK::CheckBox, kHid, "Add <BR> markup to lines with URLs", 1412},
    {1792, CK::Label, 0, "Maximum output length of heading links and titles", 1412},
    {9122, CK::Edit, kNum, "", 1412},
    {1234, CK::Group, 0, "Section cross-references", 0},
    {1031, CK::CheckBox, 0, "Add hyperlinks to cross-references to numbered sections", 1234},
    {1060, CK::Label, 0, "At what level of cross-section to start adding links", 1234},
    {1034, CK::Edit, kNum, "", 1234},
    {1293, CK::Group, kHid, "Browser behaviour when hyperlink clicked", 0},
    {1265, CK::CheckBox, kHid, "Open a new browser window when an external hyperlink is clicked", 1293},
    {1312, CK::Label, kHid, "Name of other window", 1293},
    {1313, CK::Edit, kHid, "", 1293},
};

static constexpr ControlTemplate kMakeHelpControls[] = {
    {1596, CK::CheckBox, 0, "Make RTF for use as Windows Help file source", 0},
    {1708, CK::CheckBox, 0, "Generate a Help project file", 0},
    {1707, CK::Group, 0, "Help Project file", 0},
    {1709, CK::Label, 0, "Resource File name", 1707},
    {1710, CK::Edit, 0, "", 1707},
    {1711, CK::Label, 0, "Copyright notice", 1707},
    {1712, CK::Edit, 0, "", 1707},
    {1713, CK::Label, 0, "Citation", 1707},
    {1714, CK::Edit, 0, "", 1707},
    {1761, CK::Group, 0, "Coloring", 0},
    {1715, CK::Label, 0, "Title", 1761},
    {1716, CK::Edit, 0, "", 1761},
    {1717, CK::Edit, kControlDisabled, "Title", 1761},
    {1718, CK::Button, 0, "...", 1761},
    {1719, CK::Label, 0, "Body", 1761},
    {1720, CK::Edit, 0, "", 1761},
    {1721, CK::Edit, kControlDisabled, "Body text", 1761},
    {1722, CK::Button, 0, "...", 1761},
    {1598, CK::Button, kHid, "Run the Help compiler...", 0},
};

static constexpr ControlTemplate kPreProControls[] = {
    {2053, CK::CheckBox, 0, "Use Preprocessor", 0},
    {1061, CK::Label, 0, "Include sections", 0},
    {2055, CK::Edit, 0, "", 0},
};

static constexpr ControlTemplate kRTFSettingsControls[] = {
    {1466, CK::Label, 0, "Document language :", 0},
    {1465, CK::DropList, kControlSorted, "", 0},
    {1483, CK::Label, 0, "Paper Size :", 0},
    {1485, CK::DropList, 0, "", 0},
    {1470, CK::Group, 0, "Orientation", 0},
    {1468, CK::Radio, 0, "Portrait", 1470},
    {1469, CK::Radio, 0, "Landscape", 1470},
    {1471, CK::Group, 0, "Margins (in cm)", 0},
    {1479, CK::Label, 0, "Top", 1471},
    {1475, CK::Edit, 0, "", 1471},
    {1480, CK::Label, 0, "Bottom", 1471},
    {1476, CK::Edit, 0, "", 1471},
    {1481, CK::Label, 0, "Left", 1471},
    {1477, CK::Edit, 0, "", 1471},
    {1482, CK::Label, 0, "Right", 1471},
    {1478, CK::Edit, 0, "", 1471},
    {1562, CK::CheckBox, 0, "Mirror Margins", 0},
    {1599, CK::Group, 0, "Character encoding", 0},
    {1601, CK::Label, 0, "Charset", 1599},
    {1600, CK::ComboEdit, kControlEditable | kControlSorted, "", 1599},
};

// ---- Configuration files ----

static constexpr ControlTemplate kLinkDictControls[] = {
    {1151, CK::Group, 0, "Link dictionary file", 0},
    {1098, CK::ComboEdit, kControlEditable, "", 1151},
    {1099, CK::Button, 0, "Browse...", 1151},
    {1762, CK::Button, 0, "Edit...", 1151},
    {1793, CK::Button, 0, "Create New...", 1151},
};

static constexpr ControlTemplate kSDFControls[] = {
    {1734, CK::Group, 0, "SDF file", 0},
    {1736, CK::ComboEdit, kControlEditable, "", 1734},
    {1737, CK::Button, 0, "Browse...", 1734},
    {1744, CK::Label, 0, "Scope for the Font (FO) tags", 0},
    {1745, CK::Radio, 0, "To the end of the file", 0},
    {1746, CK::Radio, 0, "Until next heading/paragraph/table etc", 0},
    {1747, CK::Radio, 0, "To the end of the current input line", 0},
};

static constexpr ControlTemplate kTDFControls[] = {
    {1738, CK::Group, 0, "TDF file", 0},
    {1739, CK::ComboEdit, kControlEditable, "", 1738},
    {1740, CK::Button, 0, "Browse...", 1738},
};

static constexpr ControlTemplate kTextSubsControls[] = {
    {1741, CK::Group, 0, "Text Commands File", 0},
    {1742, CK::ComboEdit, kControlEditable, "", 1741},
    {1743, CK::Button, 0, "Browse...", 1741},
};

// ---- Program settings ----

static constexpr ControlTemplate kSettingsDragControls[] = {
    {1442, CK::Group, 0, "Drag and drop properties", 0},
    {1130, CK::CheckBox, 0, "Show the status screen during the conversion(s)", 1442},
    {1129, CK::CheckBox, 0, "View results in browser once conversion is complete", 1442},
    {1237, CK::CheckBox, 0, "Start program after conversion complete", 1442},
};

static constexpr ControlTemplate kSettingsDocoControls[] = {
    {1429, CK::Group, 0, "Location of HTML documentation on this machine", 0},
    {1128, CK::Edit, 0, "", 1429},
    {1076, CK::Button, 0, "Browse...", 1429},
};

static constexpr ControlTemplate kSettingsViewerControls[] = {
    {1288, CK::CheckBox, 0, "Automatically view results after each conversion", 0},
    {1235, CK::Group, 0, "Command used to view .HTML results", 0},
    {1127, CK::Edit, 0, "", 1235},
    {1075, CK::Button, 0, "Browse...", 1235},
    {1283, CK::CheckBox, 0, "Use DDE to view results", 1235},
    {1287, CK::Label, 0, "DDE service name", 1235},
    {1286, CK::DropList, 0, "", 1235},
    {1289, CK::Edit, 0, "", 1235},
    {1452, CK::CheckBox, 0, "Add \"file://localhost/\" prefix to URLs", 1235},
    {1236, CK::Group, 0, "Command used to view .RTF results", 0},
    {1131, CK::Edit, 0, "", 1236},
    {2077, CK::Button, 0, "Browse...", 1236},
};

static constexpr ControlTemplate kSettingsMessagesControls[] = {
    {1430, CK::Group, 0, "Error reporting level", 0},
    {1394, CK::Label, 0, "Low", 1430},
    {1217, CK::Slider, 0, "", 1430},
    {1395, CK::Label, 0, "High", 1430},
    {1431, CK::Group, 0, "Message filtering", 0},
    {1276, CK::CheckBox, 0, "Show INFO messages", 1431},
    {1278, CK::CheckBox, 0, "Show WARNING messages", 1431},
    {1279, CK::CheckBox, 0, "Show TAG ERROR messages", 1431},
    {1277, CK::CheckBox, 0, "Show PROGRAM ERROR messages", 1431},
    {1280, CK::CheckBox, 0, "Show URL messages", 1431},
};

static constexpr ControlTemplate kSettingsPolicyControls[] = {
    {1428, CK::Group, 0, "Default policy file", 0},
    {1124, CK::CheckBox, 0, "Use a default policy file", 1428},
    {1125, CK::Edit, 0, "", 1428},
    {1126, CK::Button, 0, "Browse...", 1428},
    {1310, CK::CheckBox, 0, "Always reload policy file during conversion (slower, but picks up any changes)", 1428},
};

// ---- Values ----

// Saved in this order, as the page saves them (a page class inserts its records).
static constexpr unsigned kUpd = kValueUpdatesControls;
static constexpr unsigned kLeave = kValueMarksOnLeave;
static constexpr unsigned kTab = kValueTablePolicy;

static constexpr PageValue kAnalysisValues[] = {
    {1048, "Expect blank lines between paras", VK::Check, 0, 0, 0},
    {1049, "New Paragraph Offset", VK::NumberUnset, 0, 0, 0},
    {1040, "Short line length", VK::NumberUnset, 0, 0, 0},
    {1039, "Page Width", VK::NumberUnset, 40, 256, kValueRanged},
    {1199, "TAB size", VK::NumberUnset, 2, 80, kValueRanged},
    {1045, "Min chapter size", VK::NumberUnset, 0, 0, 0},
    {1200, "Search for definitions", VK::Check, 0, 0, kUpd},
    // The "Definition Char" record: hyphen, hyphen strong, colon, colon strong.
    {1051, "", VK::Check, 0, 0, kUpd},
    {1053, "", VK::Check, 0, 0, 0},
    {1052, "", VK::Check, 0, 0, kUpd},
    {1054, "", VK::Check, 0, 0, 0},
    // Kept in the page only.
    {1055, "", VK::Text, 0, 0, 0},
    {1024, "", VK::Text, 0, 0, 0},
    // The "Indent position(s)" record.
    {2022, "", VK::Text, 0, 0, 0},
};

static constexpr PageValue kBulletsValues[] = {
    {1246, "Look for bullets", VK::Check, 0, 0, kUpd},
    {1019, "Expect Numbered bullets", VK::Check, 0, 0, 0},
    {1020, "Expect alphabetic bullets", VK::Check, 0, 0, 0},
    {2021, "Expect Roman Numeral bullets", VK::Check, 0, 0, 0},
    // The "bullet char" record.
    {2024, "", VK::Text, 0, 0, kLeave},
    {1022, "Recognise '-' as a bullet", VK::Check, 0, 0, 0},
    {1023, "Recognise 'o' as a bullet", VK::Check, 0, 0, 0},
};

// The output pages: a row with an empty key is a value the page loads and saves itself.
static constexpr PageValue kRTFDocumentValues[] = {
    {1185, "Use first heading as Title", VK::Check, 0, 0, 0},
    {1191, "Use first line as Title", VK::Check, 0, 0, 0},
    {1301, "Document Title", VK::Text, 0, 0, 0},
    {1302, "Document Subject", VK::Text, 0, 0, 0},
    {1303, "Document Author", VK::Text, 0, 0, 0},
    {1304, "Document Manager", VK::Text, 0, 0, 0},
    {1305, "Document Company name", VK::Text, 0, 0, 0},
    {1309, "Document Category", VK::Text, 0, 0, 0},
    {1310, "Document Keywords", VK::Text, 0, 0, 0},
    {1311, "Document Comments", VK::Text, 0, 0, 0},
};

static constexpr PageValue kRTFFormatValues[] = {
    {2048, "Allow automatic centring", VK::Check, 0, 0, kValueUpdatesControls},
    {1193, "Automatic centring tolerance", VK::Number, 0, INT_MAX, kValueRanged},
    {1169, "Preserve new paragraph offset", VK::Check, 0, 0, 0},
    {1751, "First line indentation (in blocks)", VK::Number, 0, 0, 0},
    {1445, "Preserve underlining of headings", VK::Check, 0, 0, 0},
    {1758, "", VK::Check, 0, 0, kValueUpdatesControls},
    {1760, "", VK::Text, 0, 0, 0},
    {2049, "Ignore multiple blank lines", VK::Check, 0, 0, 0},
    {1137, "", VK::Number, 0, INT_MAX, kValueRanged},
};

static constexpr PageValue kFontValues[] = {
    {1757, "Font stretch factor (in percent)", VK::Number, 0, 0, 0},
    {1253, "Delta FONT size in pts", VK::Number, -3, 3, kValueRanged},
};

static constexpr PageValue kHyperlinksValues[] = {
    {2030, "Create hyperlinks", VK::Check, 0, 0, kValueUpdatesControls},
    {2029, "Create mailto links", VK::Check, 0, 0, kValueUpdatesControls},
    {1458, "Allow email beginning with numbers", VK::Check, 0, 0, kValueUpdatesControls},
    {1591, "Check domain name syntax", VK::Check, 0, 0, kValueUpdatesControls},
    {1030, "Create NEWS links", VK::Check, 0, 0, kValueUpdatesControls},
    {1032, "Only use known groups", VK::Check, 0, 0, kValueUpdatesControls},
    {1033, "", VK::Text, 0, 0, kValueMarksOnLeave},
    {1275, "Create Gopher links", VK::Check, 0, 0, kValueUpdatesControls},
    {9105, "Create FTP links", VK::Check, 0, 0, kValueUpdatesControls},
    {1459, "Only allow explicit FTP links", VK::InvertedCheck, 0, 0, kValueUpdatesControls},
    {1276, "Create Telnet links", VK::Check, 0, 0, kValueUpdatesControls},
    {1210, "Add <BR> to lines with URLs", VK::Check, 0, 0, kValueUpdatesControls},
    {9122, "Max length of heading links", VK::Number, 0, 0, 0},
    {1031, "", VK::Check, 0, 0, kValueUpdatesControls},
    {1034, "", VK::Number, 0, 3, kValueRanged},
    {1265, "Open links in new browser window", VK::Check, 0, 0, kValueUpdatesControls},
    {1313, "New browser window name", VK::Text, 0, 0, 0},
};

static constexpr PageValue kFileGenRTFValues[] = {
    {1509, "Preserve line structure", VK::Check, 0, 0, kValueUpdatesControls},
    {1497, "Treat each line as a paragraph", VK::Check, 0, 0, 0},
    {1510, "Preserve file structure using <PRE>", VK::Check, 0, 0, kValueUpdatesControls},
    {1008, "Generate diagnostics files", VK::Check, 0, 0, kValueUpdatesControls},
    {2005, "Output policy file", VK::Check, 0, 0, kValueUpdatesControls},
    {1108, "Output policy filename", VK::Text, 0, 0, kValueMarksOnLeave},
};

static constexpr PageValue kPreProValues[] = {
    {2053, "Use Preprocessor", VK::Check, 0, 0, kValueUpdatesControls},
    {2055, "", VK::Text, 0, 0, kValueMarksOnLeave},
};

static constexpr PageValue kMakeHelpValues[] = {
    {1596, "Make Windows Help source file", VK::Check, 0, 0, kValueUpdatesControls},
    {1708, "", VK::Check, 0, 0, kValueUpdatesControls},
    {1710, "", VK::Text, 0, 0, 0},
    {1712, "", VK::Text, 0, 0, 0},
    {1714, "", VK::Text, 0, 0, 0},
    {1716, "", VK::Text, 0, 0, 0},
    {1720, "", VK::Text, 0, 0, 0},
};

// The "Show" boxes of the messages page: each ticked when its "Suppress" policy is off.
static constexpr PageValue kSettingsMessagesValues[] = {
    {1276, "Suppress INFO messages", VK::InvertedCheck, 0, 0, 0},
    {1278, "Suppress WARNING messages", VK::InvertedCheck, 0, 0, 0},
    {1277, "Suppress program ERROR messages", VK::InvertedCheck, 0, 0, 0},
    {1279, "Suppress TAG ERROR messages", VK::InvertedCheck, 0, 0, 0},
    {1280, "Suppress URL messages", VK::InvertedCheck, 0, 0, 0},
};

static constexpr PageValue kContentsValues[] = {
    {1057, "Expect Contents List", VK::Check, 0, 0, kUpd},
    {1058, "Add contents list", VK::Check, 0, 0, kUpd},
    {1190, "Generate external contents file", VK::Check, 0, 0, kUpd},
    {1082, "External contents list filename", VK::Text, 0, 0, kLeave},
    {1119, "Hyperlinks on numbers", VK::RadioFirstYes, 0, 2, kUpd},
    {1187, "Use any existing contents list", VK::Radio, 0, 2, kUpd},
    {1251, "Maximum level to show in contents", VK::Number, 0, 0, 0},
    {1773, "Add mail headers to contents list", VK::Check, 0, 0, kUpd},
};

static constexpr PageValue kFileStructValues[] = {
    {1044, "Expect code samples", VK::Check, 0, 0, 0},
    {1043, "Keep it simple", VK::Check, 0, 0, 0},
    {1455, "Input file contains DOS characters", VK::Check, 0, 0, 0},
    {9119, "Input file contains UNICODE characters", VK::Check, 0, 0, 0},
    {1524, "Input file contains PCL codes", VK::Check, 0, 0, 0},
    {1456, "Input file contains Japanese characters", VK::Check, 0, 0, 0},
    {1463, "Input file contains MIME encoding", VK::Check, 0, 0, 0},
    {1457, "Input file has change bars", VK::Check, 0, 0, 0},
    {1724, "Lines to ignore at start of file", VK::Number, 0, 0, 0},
    {1726, "Lines to ignore at end of file", VK::Number, 0, 0, 0},
    {1273, "Input file is double spaced", VK::Check, 0, 0, 0},
    {1042, "Text justification", VK::DropList, 0, 0, 0},
    {1316, "Input file has page markers", VK::Check, 0, 0, kUpd},
    {1318, "Page marker size (in lines)", VK::Number, 0, 0, 0},
};

static constexpr PageValue kLookForValues[] = {
    {1238, "Look for indentation", VK::Check, 0, 0, 0},
    {1239, "Look for white space", VK::Check, 0, 0, 0},
    {9118, "Look for hanging paragraphs", VK::Check, 0, 0, 0},
    {1241, "Look for horizontal rulers", VK::Check, 0, 0, kUpd},
    {1240, "Look for short lines", VK::Check, 0, 0, 0},
    {1245, "Search for definitions", VK::Check, 0, 0, 0},
    {1244, "Look for bullets", VK::Check, 0, 0, 0},
    {1249, "Attempt TABLE generation", VK::Check, 0, 0, 0},
    {1250, "Look for diagrams", VK::Check, 0, 0, 0},
    {9010, "Look for character encodings", VK::Check, 0, 0, 0},
    {1264, "Look for MAIL and USENET headers", VK::Check, 0, 0, 0},
    {1257, "Look for preformatted text", VK::Check, 0, 0, kUpd},
    {1258, "Look for quoted text", VK::Check, 0, 0, 0},
    {1259, "Look for *this* and _that_ emphasis", VK::Check, 0, 0, 0},
    {1260, "Look for underlined text", VK::Check, 0, 0, 0},
    {1242, "Minimum ruler length", VK::Number, 0, 0, 0},
};

static constexpr PageValue kPreFormatValues[] = {
    {1097, "Minimum automatic <PRE> size", VK::NumberFloored, 0, 0, 0},
    {2056, "Allow definitions inside PRE", VK::Check, 0, 0, 0},
};

static constexpr PageValue kHeadingValues[] = {
    {2015, "Expect Numbered Headings", VK::Check, 0, 0, 0},
    {2016, "Expect Underlined Headings", VK::Check, 0, 0, 0},
    {1017, "Expect Capitalised Headings", VK::Check, 0, 0, 0},
    {1018, "Expect Embedded Headings", VK::Check, 0, 0, 0},
    {1512, "Check indentation for consistency", VK::Check, 0, 0, 0},
    {1594, "Heading key phrases", VK::Text, 0, 0, 0},
    {1732, "Use first line as Heading", VK::Check, 0, 0, 0},
    {1765, "Center first heading", VK::Check, 0, 0, 0},
};

static constexpr PageValue kTabAnalValues[] = {
    {1132, "Attempt TABLE generation", VK::Check, 0, 0, kUpd},
    {1204, "Expect sparse tables", VK::Check, 0, 0, kTab | kUpd},
    {9006, "Minimum TABLE column separation", VK::NumberFloored, 1, 0, kTab},
    {9107, "Default table layout", VK::Text, 0, 0, kTab},
    {1496, "Ignore table header during analysis", VK::Check, 0, 0, kTab | kUpd},
    {1755, "Could be blank line separated", VK::Check, 0, 0, kTab | kUpd},
    {1783, "Expect multiple COLSPAN values", VK::Check, 0, 0, kTab},
    {1782, "Column boundaries have zero width", VK::Check, 0, 0, kTab},
    {1784, "Max length of candidate table lines", VK::Number, 0, 0, 0},
    {1489, "Table extending factor", VK::Slider, 0, 10, kTab},
    {1494, "Column merging factor", VK::Slider, 0, 10, kTab},
};

// ---- Pages ----

static constexpr DialogTemplate kLookForTemplate = {
    kPageLookFor, "What to look for", kLookForControls};
static constexpr DialogTemplate kAnalysisTemplate = {kPageAnalysis, "Analysis", kAnalysisControls};
static constexpr DialogTemplate kBulletsTemplate = {kPageBullets, "Bullets", kBulletsControls};
static constexpr DialogTemplate kHeadingTemplate = {kPageHeading, "Headings", kHeadingControls};
static constexpr DialogTemplate kContentsTemplate = {
    kPageContents, "Contents List", kContentsControls};
static constexpr DialogTemplate kFileStructTemplate = {
    kPageFileStruct, "File structure", kFileStructControls};
static constexpr DialogTemplate kPreFormatTemplate = {
    kPagePreFormat, "Pre-formatted text", kPreFormatControls};
static constexpr DialogTemplate kTabAnalTemplate = {
    kPageTabAnal, "Table analysis", kTabAnalControls};
static constexpr DialogTemplate kHyperlinksTemplate = {
    kPageHyperlinks, "Hyperlinks", kHyperlinksControls};
static constexpr DialogTemplate kFileGenRTFTemplate = {
    kPageFileGenRTF, "File Generation", kFileGenRTFControls};
static constexpr DialogTemplate kFontTemplate = {kPageFont, "Fonts", kFontControls};
static constexpr DialogTemplate kMakeHelpTemplate = {
    kPageMakeHelp, "Make Help File", kMakeHelpControls};
static constexpr DialogTemplate kPreProTemplate = {kPagePrePro, "Preprocessor", kPreProControls};
static constexpr DialogTemplate kRTFDocumentTemplate = {
    kPageRTFDocument, "Document details", kRTFDocumentControls};
static constexpr DialogTemplate kRTFFormatTemplate = {
    kPageRTFFormat, "Formatting", kRTFFormatControls};
static constexpr DialogTemplate kRTFSettingsTemplate = {
    kPageRTFSettings, "RTF configuration", kRTFSettingsControls};
static constexpr DialogTemplate kLinkDictTemplate = {
    kPageLinkDict, "Link Dictionary", kLinkDictControls};
static constexpr DialogTemplate kSDFTemplate = {kPageSDF, "Dialog", kSDFControls};
static constexpr DialogTemplate kTDFTemplate = {kPageTDF, "Dialog", kTDFControls};
static constexpr DialogTemplate kTextSubsTemplate = {
    kPageTextSubs, "Text Substitution", kTextSubsControls};
static constexpr DialogTemplate kSettingsDragTemplate = {
    kPageSettingsDrag, "Drag'n'Drop", kSettingsDragControls};
static constexpr DialogTemplate kSettingsDocoTemplate = {
    kPageSettingsDoco, "Documentation", kSettingsDocoControls};
static constexpr DialogTemplate kSettingsViewerTemplate = {
    kPageSettingsViewer, "Viewers", kSettingsViewerControls};
static constexpr DialogTemplate kSettingsMessagesTemplate = {
    kPageSettingsMessages, "Messages", kSettingsMessagesControls};
static constexpr DialogTemplate kSettingsPolicyTemplate = {
    kPageSettingsPolicy, "Policy files", kSettingsPolicyControls};

// {class, code recorded when active, tab text, texts of dialog, template, values}
constexpr PageDefinition kLookForPage = {
    "LookForPage", 20, 470, kPageLookFor, &kLookForTemplate, kLookForValues,
    &MakePage<LookForPage>};
constexpr PageDefinition kAnalysisPage = {
    "AnalysisPage", 2, 105, kPageAnalysis, &kAnalysisTemplate, kAnalysisValues,
    &MakePage<AnalysisPage>};
constexpr PageDefinition kBulletsPage = {
    "BulletsPage", 3, 60, kPageBullets, &kBulletsTemplate, kBulletsValues,
    &MakePage<BulletsPage>};
constexpr PageDefinition kHeadingPage = {
    "HeadingPage", 17, 180, kPageHeading, &kHeadingTemplate, kHeadingValues,
    &MakePage<HeadingPage>};
constexpr PageDefinition kContentsPage = {
    "ContentsPage", 5, 130, kPageContents, &kContentsTemplate, kContentsValues,
    &MakePage<ContentsPage>};
constexpr PageDefinition kFileStructPage = {
    "FileStructPage", 14, 605, kPageFileStruct, &kFileStructTemplate, kFileStructValues,
    &MakePage<FileStructPage>};
constexpr PageDefinition kPreFormatPage = {
    "PreFormatPage", 27, 320, kPagePreFormat, &kPreFormatTemplate, kPreFormatValues,
    &MakePage<PreFormatPage>};
constexpr PageDefinition kTabAnalPage = {
    "TabAnalPage", 39, 455, kPageTabAnal, &kTabAnalTemplate, kTabAnalValues,
    &MakePage<TabAnalPage>};
constexpr PageDefinition kHyperlinksPage = {
    "HyperlinksPage", 19, 225, kPageHyperlinks, &kHyperlinksTemplate, kHyperlinksValues};
constexpr PageDefinition kFileGenRTFPage = {
    "FileGenRTFPage", 11, 144, kTextsFileGenRTF, &kFileGenRTFTemplate, kFileGenRTFValues};
constexpr PageDefinition kFontPage = {"FontPage", 15, 505, kPageFont, &kFontTemplate, kFontValues};
constexpr PageDefinition kMakeHelpPage = {
    "MakeHelpPage", 23, 935, kPageMakeHelp, &kMakeHelpTemplate, kMakeHelpValues};
constexpr PageDefinition kPreProPage = {
    "PreProPage", 28, 250, kPagePrePro, &kPreProTemplate, kPreProValues};
constexpr PageDefinition kRTFDocumentPage = {
    "RTFDocumentPage", 9, 575, kPageRTFDocument, &kRTFDocumentTemplate, kRTFDocumentValues};
constexpr PageDefinition kRTFFormatPage = {
    "RTFFormatPage", 38, 290, kPageRTFFormat, &kRTFFormatTemplate, kRTFFormatValues};
constexpr PageDefinition kRTFSettingsPage = {
    "RTFSettingsPage", 9, 590, kPageRTFSettings, &kRTFSettingsTemplate, {}};
constexpr PageDefinition kLinkDictPage = {
    "LinkDictPage", 21, 325, kPageLinkDict, &kLinkDictTemplate, {}, CreateLinkDictPage};
constexpr PageDefinition kSDFPage = {"SDFPage", 31, 925, kPageSDF, &kSDFTemplate, {}, CreateSDFPage};
constexpr PageDefinition kTDFPage = {"TDFPage", 42, 337, kPageTDF, &kTDFTemplate, {}, CreateTDFPage};
constexpr PageDefinition kTextSubsPage = {
    "TextSubsPage", 51, 352, kPageTextSubs, &kTextSubsTemplate, {}, CreateTextSubsPage};
constexpr PageDefinition kSettingsDragPage = {
    "SettingsDragPage", 32, 520, kPageSettingsDrag, &kSettingsDragTemplate, {},
    CreateSettingsDragPage};
constexpr PageDefinition kSettingsDocoPage = {
    "SettingsDocoPage", 33, 555, kPageSettingsDoco, &kSettingsDocoTemplate, {},
    CreateSettingsDocoPage};
constexpr PageDefinition kSettingsViewerPage = {
    "SettingsViewerPage", 35, 530, kPageSettingsViewer, &kSettingsViewerTemplate, {},
    CreateSettingsViewerPage};
constexpr PageDefinition kSettingsMessagesPage = {
    "SettingsMessagesPage", 36, 560, kPageSettingsMessages, &kSettingsMessagesTemplate,
    kSettingsMessagesValues, CreateSettingsMessagesPage};
constexpr PageDefinition kSettingsPolicyPage = {
    "SettingsPolicyPage", 37, 545, kPageSettingsPolicy, &kSettingsPolicyTemplate, {},
    CreateSettingsPolicyPage};
