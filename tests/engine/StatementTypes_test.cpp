#include "text/StatementTypes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "convert/ListFile.h"

namespace {

// Every code the list-file legend explains, by its name here and the legend's own words.
struct LegendRow {
  int type;
  std::string_view text;
};
constexpr LegendRow kLegendRows[] = {
    {kTypeNull, "null"},
    {kTypeBlank, "blank"},
    {kTypeFormFeed, "FF"},
    {kTypeNewParagraph, "newpara"},
    {kTypeLine, "line"},
    {kTypeHeading1, "header level 1"},
    {kTypeHeading2, "header level 2"},
    {kTypeHeading3, "header level 3"},
    {kTypeHeading4, "header level 4"},
    {kTypeUnderlinedHeading1, "underlined header level 1"},
    {kTypeUnderlinedHeading2, "underlined header level 2"},
    {kTypeUnderlinedHeading3, "underlined header level 3"},
    {kTypeUnderlinedHeading4, "underlined header level 4"},
    {kTypeCapitalisedHeading, "capitalised header"},
    {kTypeEmbeddedHeading, "embedded header"},
    {kTypeKeyPhraseHeading1, "key phrase header level 1"},
    {kTypeKeyPhraseHeading2, "key phrase header level 2"},
    {kTypeKeyPhraseHeading3, "key phrase header level 3"},
    {kTypeKeyPhraseHeading4, "key phrase header level 4"},
    {kTypeContentsHeading1, "contents header level 1"},
    {kTypeContentsHeading2, "contents header level 2"},
    {kTypeContentsHeading3, "contents header level 3"},
    {kTypeContentsHeading4, "contents header level 4"},
    {kTypeHangingParagraph, "hanging paragraph"},
    {kTypeHangingContinuation, "hanging paragraph continuation line"},
    {kTypeNumberedParagraph, "numbered paragraph"},
    {kTypeUnderline1, "underline level 1"},
    {kTypeUnderline2, "underline level 2"},
    {kTypeUnderline3, "underline level 3"},
    {kTypeUnderline4, "underline level 4"},
    {kTypeBullet, "bullet character"},
    {kTypeNumberedBullet, "numbered bullet"},
    {kTypeLowerAlphaBullet, "lower case alphabetic bullet"},
    {kTypeLowerRomanBullet, "lower case roman numeral bullet"},
    {kTypeUpperAlphaBullet, "upper case alphabetic bullet"},
    {kTypeUpperRomanBullet, "uppercase roman numeral bullet"},
    {kTypeBulletContinuation, "bullet continuation line"},
    {kTypeBulletBlank, "bullet blank line"},
    {kTypeBulletBlankWithTags, "bullet blank line (with tags on it)"},
    {kTypeBulletBlankWithComment, "bullet blank line (with HTML comment on it)"},
    {kTypeSeparator, "separator"},
    {kTypeDefinition, "definition"},
    {kTypeDefinitionContinuation, "definition continuation line"},
    {kTypeQuoted, "quoted line"},
    {kTypeContentsList, "contents list"},
    {kTypeNavigationBar, "navigation bar"},
    {kTypeMailHeader, "Mail or USENET post header line"},
    {kTagLine, "line"},
    {kTagToc, "TOC entry"},
    {kTagPara, "paragraph"},
    {kTagBeginList, "start list"},
    {kTagEndList, "end list"},
    {kTagListItem, "list item"},
    {kTagChangeIndent, "change in indentation pattern"},
    {kTagChangePolicy, "change of output policy"},
    {kTagEndIgnore, "end of IGNORE section"},
    {kTagBeginTable, "begin table"},
    {kTagEndRegion, "end of pre-formatted region/table"},
    {kTagNewFile, "new file"},
    {kTagBeginContents, "start of contents list"},
    {kTagEndContents, "end of contents list"},
    {kTagBeginHtml, "start of HTML section"},
    {kTagEndHtml, "end of HTML section"},
    {kTagDefineBlock, "start of define block"},
    {kTagEndBlock, "end of define block"},
    // The legend's words for 1019 and 1020 are the reverse of the directives that give them
    // (EMBED_BLOCK 1019, INSERT_BLOCK 1020); the legend is kept as users know it.
    {kTagEmbedBlock, "insert block at this location"},
    {kTagInsertBlock, "embed block at this location"},
    {kTagResetBlock, "reset block definition"},
    {kTagSaveContext, "save document context variables"},
    {kTagRestoreContext, "restore document context variables"},
    {kTagDefineVariable, "define variable value"},
    {kTagDefineHtmlFragment, "start of HTML fragment definition"},
    {kTagDefineTextFragment, "start of TEXT fragment definition"},
    {kTagResetHtmlFragment, "RESET_HTML_FRAGMENT command"},
    {kTagResetTextFragment, "RESET_TEXT_FRAGMENT command"},
    {kTagLinkPoint, "LINKPOINT command"},
    {kTagAllow, "ALLOW command"},
    {kTagDisallow, "DISALLOW command"},
    {kTagNewPage, "new page command"},
    {kTagBeginUserTaggedTable, "begin user tagged table"},
    {kTagMetaTag, "tagged META tag"},
    {kTagAlarmDefinition, "tagged Alarm Definition"},
    {kTagFormatDefinition, "tagged Format Definition"},
    {kTagGraphDefinition, "tagged Graph Definition"},
};

// A legend row "NNNN = words" (the code right-aligned in four columns, words trimmed).
bool ParseLegendCode(std::string_view line, int& type, std::string& text) {
  if (line.size() < 8 || line.substr(4, 3) != " = ")
    return false;
  char* end = nullptr;
  const std::string number(line.substr(0, 4));
  type = static_cast<int>(std::strtol(number.c_str(), &end, 10));
  if (end == number.c_str())
    return false;
  text = std::string(line.substr(7));
  while (!text.empty() && text.back() == ' ')
    text.pop_back();
  return true;
}

TEST(StatementTypes, NamedCodesMatchTheListFileLegend) {
  std::set<int> named;
  for (const LegendRow& row : kLegendRows)
    EXPECT_TRUE(named.insert(row.type).second) << "listed twice: " << row.type;

  int legendCodes = 0;
  for (const std::string_view line : ListLegendLines()) {
    int type = 0;
    std::string text;
    if (!ParseLegendCode(line, type, text))
      continue;
    ++legendCodes;
    SCOPED_TRACE(std::string(line));
    bool found = false;
    for (const LegendRow& row : kLegendRows) {
      if (row.type != type)
        continue;
      found = true;
      EXPECT_EQ(text, row.text);
    }
    EXPECT_TRUE(found) << "no name for legend code " << type;
  }
  EXPECT_EQ(legendCodes, static_cast<int>(std::size(kLegendRows)));
}

TEST(StatementTypes, RangePredicatesAtTheirEdges) {
  struct Case {
    int type;
    bool level, underlined, keyPhrase, contents, heading, anyBullet, markedBullet, bulletText,
        bulletBlank, tagged;
  };
  constexpr Case kCases[] = {
      // type  lvl    undl   key    cont   head   bull   mark   btext  bblank tag
      {100, false, false, false, false, false, false, false, false, false, false},
      {101, true, false, false, false, true, false, false, false, false, false},
      {106, true, false, false, false, true, false, false, false, false, false},
      {107, false, false, false, false, false, false, false, false, false, false},
      {111, false, true, false, false, true, false, false, false, false, false},
      {116, false, true, false, false, true, false, false, false, false, false},
      {117, false, false, false, false, false, false, false, false, false, false},
      {120, false, false, false, false, true, false, false, false, false, false},
      {121, false, false, false, false, true, false, false, false, false, false},
      {122, false, false, false, false, false, false, false, false, false, false},
      {131, false, false, true, false, true, false, false, false, false, false},
      {136, false, false, true, false, true, false, false, false, false, false},
      {137, false, false, false, false, false, false, false, false, false, false},
      {150, false, false, false, false, false, false, false, false, false, false},
      {151, false, false, false, true, false, false, false, false, false, false},
      {156, false, false, false, true, false, false, false, false, false, false},
      {157, false, false, false, false, false, false, false, false, false, false},
      {209, false, false, false, false, false, false, false, false, false, false},
      {210, false, false, false, false, false, true, true, true, false, false},
      {215, false, false, false, false, false, true, true, true, false, false},
      {216, false, false, false, false, false, true, false, true, false, false},
      {217, false, false, false, false, false, true, false, false, true, false},
      {218, false, false, false, false, false, true, false, false, true, false},
      {219, false, false, false, false, false, true, false, true, false, false},
      {220, false, false, false, false, false, false, false, false, false, false},
      {250, false, false, false, false, false, false, false, false, false, false},
      {1000, false, false, false, false, false, false, false, false, false, false},
      {1001, false, false, false, false, false, false, false, false, false, true},
      {1045, false, false, false, false, false, false, false, false, false, true},
      {1046, false, false, false, false, false, false, false, false, false, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(IsLevelHeadingType(c.type), c.level);
    EXPECT_EQ(IsUnderlinedHeadingType(c.type), c.underlined);
    EXPECT_EQ(IsKeyPhraseHeadingType(c.type), c.keyPhrase);
    EXPECT_EQ(IsContentsHeadingType(c.type), c.contents);
    EXPECT_EQ(IsHeadingType(c.type), c.heading);
    EXPECT_EQ(IsAnyBulletType(c.type), c.anyBullet);
    EXPECT_EQ(IsMarkedBulletType(c.type), c.markedBullet);
    EXPECT_EQ(IsBulletTextType(c.type), c.bulletText);
    EXPECT_EQ(IsBulletBlankType(c.type), c.bulletBlank);
    EXPECT_EQ(IsDirectiveTagType(c.type), c.tagged);
  }
}

TEST(StatementTypes, FlagBitsAreDistinctAndTheDriverRangeIsApart) {
  constexpr unsigned kFlags[] = {
      kFlagPreformatted, kFlagRuleLine,    kFlagDefinitionCandidate, kFlagCentred,
      kFlagUnderlined,   kFlagRollOut,     kFlagMailHeader,          kFlagShortLine,
      kFlagUrl,          kFlagChangeBar,   kFlagPreserveStructure,   kFlagAmbiguous,
      kFlagUserRegion,   kFlagUserHtml,    kFlagIncluded,            kFlagUserIgnore,
      kFlagSampleCode,   kFlagContentsList, kFlagHeadingTag,
  };
  unsigned seen = 0;
  for (const unsigned flag : kFlags) {
    EXPECT_EQ(flag & (flag - 1), 0u) << "not one bit: " << flag;
    EXPECT_EQ(seen & flag, 0u) << "used twice: " << flag;
    seen |= flag;
  }
  EXPECT_EQ(seen, kLineFlagsMask);
  EXPECT_EQ(kFlagNoWrap & kLineFlagsMask, 0u);
  EXPECT_EQ(kDriverFlagsMask & kLineFlagsMask, 0u);
}

}  // namespace
