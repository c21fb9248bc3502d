#include "policy/PolicyCalculation.h"

#include <algorithm>
#include <string_view>

#include "policy/PolicyContext.h"
#include "text/ProductIdentity.h"
#include "policy/FileControl.h"

// Which anonymous slot of the record holds which statistic: the six leading TextStats in the
// order line lengths, second lengths, indents, paragraph indents, bullet characters, hanging
// indents; the sixteen counters in the order of the statistics file's "General" block
// followed by hanging paragraphs and code lines; the six -1 ints are the level-0 sections;
// the byte-pair census as the reading counts it; the three ints change bars, DOS characters
// and one spare (MIME soft line breaks are counted by the census); the five ints the
// definition/text uses of '-' and ':'.
CalculationStatistics::CalculationStatistics(AnalysisStatistics& s)
    : lineLengths(s.stats[0]),
      secondLengths(s.stats[1]),
      indents(s.stats[2]),
      paraIndents(s.stats[3]),
      bulletChars(s.stats[4]),
      hangingIndents(s.stats[5]),
      preHeaderChars(s.moreStats[0]),
      postHeaderChars(s.moreStats[1]),
      numLines(s.counts[0]),
      numDoubleSpaceLines(s.counts[1]),
      numBlankLines(s.counts[2]),
      numberedHeadings(s.counts[3]),
      underlinedHeadings(s.counts[4]),
      capitalisedHeadings(s.counts[5]),
      embeddedHeadings(s.counts[6]),
      mailHeadings(s.counts[7]),
      alphaAfterHeadings(s.counts[8]),
      dashBullets(s.counts[9]),
      oBullets(s.counts[10]),
      numberBullets(s.counts[11]),
      alphaBullets(s.counts[12]),
      romanBullets(s.counts[13]),
      hangingParas(s.counts[14]),
      codeLines(s.counts[15]),
      levelZeroSections(s.levelMarks),
      headings(s.headings),
      contents(s.contents),
      // The census names its counters by what it matches; the guess by the encoding they
      // point to. The total is every pair of distinct non-blank bytes (the count the census
      // stops at); the high-character total is every non-blank byte.
      pairs{s.census.korean,          s.census.thai,
            s.census.koi8r,           s.windows1250Pairs,
            s.census.windows1251,     s.census.arabic,
            s.census.greek,           s.census.turkish,
            s.census.turkishLetters,  s.census.doubleByteUpper,
            s.census.singleByteSet2,  s.census.singleByteSet1,
            s.census.singleByteSet3,  s.census.doubleByteLower,
            s.census.utf8TwoByte,     s.census.utf8ThreeByte,
            s.census.doubleByteNonUtf8, s.census.hebrew,
            s.census.iso2022jp,       s.census.oemBoxDrawing,
            s.census.distinctPairs,   s.census.nonBlank,
            s.census.utf8Sequences,   s.census.utf8Forbidden},
      changeBarLines(s.countsC[0]),
      dosCharacters(s.countsC[1]),
      mimeCharacters(s.census.softLineBreaks),
      dashInDefinitions(s.countsD[0]),
      dashInText(s.countsD[1]),
      colonInDefinitions(s.countsD[2]),
      colonInText(s.countsD[3]) {}

// ---- Small helpers ----

// The most frequent value of stats, or -1 when it holds none.
static int TopValue(TextStats& stats) {
  const TextStatsEntry* entry = stats.GetByRank(1);
  return entry ? entry->value : -1;
}

static int TopFrequency(TextStats& stats) {
  const TextStatsEntry* entry = stats.GetByRank(1);
  return entry ? entry->frequency : 0;
}

static void SetBoolValue(FileControl& fc, PolicyId id, int on) { fc.Bool(id).value = on ? 1 : 0; }

static void SetBoolUnlessSet(FileControl& fc, PolicyId id, int on) {
  if (!fc.IsSet(id)) SetBoolValue(fc, id, on);
}

// Reports text + number (+ a blank) through the policy set when reporting.
static void ReportWithNumber(FileControl& fc, int report, const char* text, int number,
                             int trailingBlank, int level) {
  if (!report) return;
  TextString message(text);
  message.AppendNumber('1', number, trailingBlank);
  fc.ReportMessage(message.GetText(), level);
}

// Walks ranks 1.. of stats as the indent and hanging-position searches do: at least two
// and at most four ranks, the third and fourth only while the ranks so far cover fewer than
// 95% of the samples. accept is called with each existing entry.
template <typename Accept>
static void WalkTopRanks(TextStats& stats, Accept accept) {
  const int samples = stats.GetSamples();
  if (samples <= 0) return;
  double coverage = 0.0;
  for (int rank = 1; rank <= 4; ++rank) {
    if (rank > 2 && coverage >= 95.0) break;
    if (const TextStatsEntry* entry = stats.GetByRank(rank)) accept(*entry);
    coverage = 100.0 / samples * stats.TopFrequencySum(rank);
  }
}

// ---- CalculatePolicies ----

void FileControl::CalculatePolicies(int report) {
  if (context_ == nullptr) return;
  PolicyContext& ctx = *context_;
  CalculationStatistics st(ctx.Statistics);
  const int lines = st.lineLengths.GetSamples();  // L

  // Simple-file test: a short file with hardly any numbered headings or contents.
  if (ruleSet_ != 1 && ruleSet_ != 2) {
    const int n1 = st.headings[0].indents.GetSamples();
    const int n2 = st.headings[1].indents.GetSamples();
    const int n3 = st.headings[2].indents.GetSamples();
    const int n4 = st.headings[3].indents.GetSamples();
    const int c1 = st.contents[0].indents.GetSamples();
    const double score = (n1 == 0 && n2 + n3 + n4 > 0) ? 2.0 * (n3 + n4) + n2 + c1
                                                       : 2.0 * (n2 + n3 + n4) + n1 + c1;
    if (score < 4.9 && lines < 100 && !GetInt(PolicyId::KeepItSimple) &&
        !IsSet(PolicyId::KeepItSimple)) {
      SetBoolValue(*this, PolicyId::KeepItSimple, 1);
      if (report)
        ReportMessage("INFO: Policy: Treating as a \"simple\" file.  Ignoring any headings, etc.",
                      7);
    }
    // The command line's choice is the user's and wins.
    if (ctx.Commands.simpleFile) {
      Bool(PolicyId::KeepItSimple).value = 1;
      Bool(PolicyId::KeepItSimple).set = 1;
    }
  }

  // Page width from the 99th percentile of the line lengths.
  const int width = st.lineLengths.Percentile(99) + 1;
  Int(PolicyId::PageWidth).value = (width < 50 || width > 132) ? 80 : width;

  if (!IsSet(PolicyId::InputFileIsDoubleSpaced) && width < 120 &&
      st.numLines < 3 * st.numDoubleSpaceLines) {
    SetBoolValue(*this, PolicyId::InputFileIsDoubleSpaced, 1);
    if (report) ReportMessage("INFO: Treating file as double spaced", 9);
  }

  // Justified text shows as many lines of one common, long length.
  {
    const TextStatsEntry* common = st.lineLengths.GetByRank(1);
    const bool justified =
        width < 90 && common != nullptr && common->value > 40 && common->frequency > lines / 3;
    Align(PolicyId::TextJustification).value = justified ? 4 : kAlignLeft;
  }

  WalkTopRanks(st.indents, [&](const TextStatsEntry& entry) {
    AcceptIndentPosition(entry.value, indent_.count, indent_.positions);
  });
  indent_.present = indent_.count > 0 ? 1 : 0;

  if (!GetInt(PolicyId::KeepItSimple)) CalculateHeaderLevels(report);
  DetectCharacterSet(report);

  // Bullets: the frequent bullet characters, less those that mostly start other things.
  static constexpr std::string_view kNotBullets =
      "\"$():=O[]y{}\xC0\xC1\xC8\xC9\xCE\xE0\xE1\xE8\xE9\xEE";
  bulletChars_.count = 0;
  std::fill(std::begin(bulletChars_.chars), std::end(bulletChars_.chars),
            static_cast<unsigned char>(0xFF));
  Text(PolicyId::BulletPointCharacters).value.Assign("");
  SetBoolValue(*this, PolicyId::RecogniseDashAsABullet, 0);
  SetBoolValue(*this, PolicyId::RecogniseOAsABullet, 0);
  const int distinctBullets = std::min(6, st.bulletChars.GetCount());
  for (int rank = 1; rank <= distinctBullets; ++rank) {
    const TextStatsEntry* entry = st.bulletChars.GetByRank(rank);
    if (entry == nullptr || entry->frequency < 4 || bulletChars_.count >= kMaxPositions) continue;
    const char c = static_cast<char>(static_cast<unsigned char>(entry->value));
    if (kNotBullets.find(c) != std::string_view::npos) {
      if (report) {
        TextString message("INFO: Policy: Ignoring \"bullet\" : '");
        message.AppendChar(c);
        message.Append("'");
        ReportMessage(message.GetText(), 2);
      }
      continue;
    }
    bulletChars_.chars[bulletChars_.count++] = static_cast<unsigned char>(c);
  }
  SetBoolValue(*this, PolicyId::ExpectNumberedBullets, st.numberBullets >= 3);
  SetBoolValue(*this, PolicyId::ExpectAlphabeticBullets, st.alphaBullets >= 3);
  SetBoolValue(*this, PolicyId::ExpectRomanNumeralBullets, st.romanBullets >= 3);
  if (st.levelZeroSections[0] > 2 && st.levelZeroSections[1] > 2 && st.levelZeroSections[2] > 2)
    SetBoolValue(*this, PolicyId::ExpectNumberedBullets, 1);
  bulletsActive_ = 1;

  // Definition markers: a character mostly seen in definitions marks them.
  definitionChars_.dashAccepted = 0;
  definitionChars_.colonAccepted = 0;
  auto weighMarker = [](int inDefinitions, int inText, int& used, int& marker) {
    if (inText <= 0) return;
    const double ratio = static_cast<double>(inDefinitions) / inText;
    used = ratio > 0.33 ? 1 : 0;
    const bool strong = (inDefinitions > 100 && ratio > 0.8) ||
                        (inDefinitions > 10 && inDefinitions <= 100 && ratio > 0.85) ||
                        (inDefinitions > 4 && inDefinitions <= 10 && ratio > 0.9);
    if (strong) marker = 1;
  };
  weighMarker(st.dashInDefinitions, st.dashInText, definitionChars_.dashAccepted,
              definitionChars_.dashStrong);
  weighMarker(st.colonInDefinitions, st.colonInText, definitionChars_.colonAccepted,
              definitionChars_.colonStrong);

  if (30 * st.paraIndents.GetSamples() >= lines) {
    const TextStatsEntry* offset = st.paraIndents.GetByRank(1);
    if (offset != nullptr && offset->value >= 0)
      Int(PolicyId::NewParagraphOffset).value = offset->value;
  }

  if (20 * st.numBlankLines < lines) SetBoolValue(*this, PolicyId::ExpectBlankLinesBetweenParas, 0);

  if (st.hangingParas > 4 && st.hangingIndents.GetSamples() > 0) {
    WalkTopRanks(st.hangingIndents, [&](const TextStatsEntry& entry) {
      if (entry.frequency >= 4 && entry.value >= 6)
        AcceptIndentPosition(entry.value, hanging_.count, hanging_.positions);
    });
  } else {
    SetBoolValue(*this, PolicyId::LookForHangingParagraphs, 0);
  }

  if (lines < 30 * st.codeLines) {
    if (report) ReportMessage("INFO: Policy: Detected \"C\" code samples", 2);
    SetBoolValue(*this, PolicyId::ExpectCodeSamples, 1);
  }

  SetBoolValue(*this, PolicyId::AddNavigationBar,
               GetInt(PolicyId::SplitLevel) > 0 || GetInt(PolicyId::SplitAtPageMarkers));

  ApplyDerivedDefaults(0, 0);
  GenerateContents = 1;

  if (ctx.GetOutputType() == kOutputRtf && !IsSet(PolicyId::BaseFONTSizeInPts)) {
    Int(PolicyId::BaseFONTSizeInPts).value = 10;
    ctx.PendingFont.SetPointSize(10);
    ctx.CurrentFont.SetPointSize(10);
  }
}

// ---- AcceptIndentPosition ----

int FileControl::AcceptIndentPosition(int column, int& count, int (&positions)[kMaxPositions]) {
  if (ruleSet_ == 1 || ruleSet_ == 2) return 0;
  count = std::clamp(count, 0, kMaxPositions);
  for (int i = 0; i < count; ++i)
    if (positions[i] == column) return 1;
  if (count == kMaxPositions) return 0;
  if (count == 0 && column > 0) positions[count++] = 0;

  int at = 0;
  while (at < count && positions[at] < column) ++at;
  // Columns one apart are the same indent seen through a stray blank.
  if ((at > 0 && positions[at - 1] == column - 1) || (at < count && positions[at] == column + 1)) {
    ReportWithNumber(*this, 1, "Policy calculation: Rejecting indent of ", column, 1, 2);
    return 0;
  }
  if (at > 0 && positions[at - 1] <= column - kMaxIndentStep) {
    ReportWithNumber(*this, 1, "Policy calculation: Rejecting indent of ", column, 0, 2);
    return 0;
  }
  for (int i = count; i > at; --i) positions[i] = positions[i - 1];
  positions[at] = column;
  ++count;
  return 1;
}

// ---- CalculateHeaderLevels ----

void FileControl::CalculateHeaderLevels(int report) {
  if (context_ == nullptr) return;
  CalculationStatistics st(context_->Statistics);
  const std::array<int, 6>& sections = st.levelZeroSections;

  // Whether a contents list is to be expected.
  int headingTopSum = 0;   // Fh
  int contentsTopSum = 0;  // Fc
  int pairedContents = 0;  // S
  for (int i = 0; i < kHeadingLevels; ++i) {
    TextStats& h = st.headings[i].indents;
    TextStats& c = st.contents[i].indents;
    headingTopSum += TopFrequency(h);
    contentsTopSum += TopFrequency(c);
    if (TopValue(h) >= 0 && TopValue(c) >= 0) pairedContents += c.GetSamples();
  }
  const int n1 = st.headings[0].indents.GetSamples();
  int expectContents = 0;
  if (sections[2] >= 2 || pairedContents >= 10)
    expectContents = pairedContents >= 4;
  else
    expectContents = pairedContents > 4 && n1 > 2 && pairedContents > n1 - 2;
  if (context_->GetContentsLineCount() > 0) {
    expectContents = 1;
    ContentsListFound = 1;
  }
  SetBoolValue(*this, PolicyId::ExpectContentsList, expectContents);

  // Which kinds of heading the document uses.
  const int numbered = st.numberedHeadings;
  const int underlined = st.underlinedHeadings;
  const int capitalised = st.capitalisedHeadings;
  const int embedded = st.embeddedHeadings;
  const int mail = st.mailHeadings;
  const int ratio = (headingTopSum + contentsTopSum) / (sections[0] > 0 ? sections[0] : 1);
  int useNumbered = 0;
  int useUnderlined = 0;
  int useCapitalised = 0;
  int useEmbedded = 0;
  int useMail = 0;
  if ((underlined <= 5 && capitalised <= 5 && embedded <= 5) ||
      underlined + capitalised + embedded <= ratio) {
    useNumbered = numbered > 2 && !(mail > 2 && mail > numbered + 2);
  } else {
    useUnderlined = underlined > 4;
    if (underlined < 10) {
      useCapitalised = capitalised > 4;
      if (capitalised <= 4) useEmbedded = embedded > 6;
    }
    useNumbered = ratio >= 10 && numbered >= 2;
  }
  if (mail >= 2 && mail >= numbered + 3 && mail >= capitalised + 3 && mail >= embedded + 3 &&
      mail >= underlined + 3) {
    useMail = 1;
    useUnderlined = useCapitalised = useEmbedded = 0;
  }
  SetBoolUnlessSet(*this, PolicyId::ExpectNumberedHeadings, useNumbered);
  SetBoolUnlessSet(*this, PolicyId::ExpectUnderlinedHeadings, useUnderlined);
  SetBoolUnlessSet(*this, PolicyId::ExpectCapitalisedHeadings, useCapitalised);
  SetBoolUnlessSet(*this, PolicyId::ExpectEmbeddedHeadings, useEmbedded);
  SetBoolUnlessSet(*this, PolicyId::AddMailHeadersToContentsList, useMail);

  // Per-level columns of headings and contents entries.
  HeadDetails* heads = headings_.headings;
  HeadDetails* contents = headings_.contents;
  int highest = headings_.count;
  for (int i = 0; i < kHeadingLevels; ++i) {
    HeadingLevelStats& h = st.headings[i];
    HeadingLevelStats& c = st.contents[i];
    for (HeadDetails* record : {&heads[i], &contents[i]}) {
      record->furtherValue1 = h.lastNumber;
      record->furtherValue2 = h.previousNumber;
    }
    const int count = h.indents.GetSamples();
    const int weight = i == 0 ? count + c.indents.GetSamples() : 2 * count;
    const int headingColumn = TopValue(h.indents);
    if (weight >= 3 && headingColumn >= 0) {
      heads[i].indent = headingColumn;
      heads[i].defined = 1;
      highest = std::max(highest, i + 1);
    }
    const int contentsColumn = TopValue(c.indents);
    if (c.indents.GetSamples() >= 3 && contentsColumn >= 0) {
      if (expectContents)
        contents[i].indent = contentsColumn;
      else if (heads[i].indent < 0)
        heads[i].indent = contentsColumn;
      highest = std::max(highest, i + 1);
    }
  }

  // Deeper levels sit further right; a level that breaks the order is re-chosen or reported.
  for (int i = 0; i + 1 < highest && i + 1 < kHeadingLevels; ++i) {
    if (st.headings[i].secondWordCount >= 2) continue;
    const int here = heads[i].indent;
    const int next = heads[i + 1].indent;
    if (here < 0 || next < 0 || next >= here) continue;
    if (i == 0) {
      if (const TextStatsEntry* second = st.headings[0].indents.GetByRank(2)) {
        ReportWithNumber(*this, report, "Policy calculation: Rejecting header level [0] value = ",
                         here, 0, 10);
        heads[0].indent = second->value;
        continue;
      }
      const int contentsColumn = TopValue(st.contents[0].indents);
      if (!expectContents && contentsColumn >= 0) {
        heads[0].indent = contentsColumn;
        ReportWithNumber(*this, report, "Policy calculation: Rejecting header level [0] value = ",
                         contentsColumn, 0, 10);
        continue;
      }
    }
    ReportWithNumber(*this, report, "Policy Calculation: *** Ambiguity detected for header level ",
                     i + 1, 0, 10);
  }
  while (highest > 0 && heads[highest - 1].indent < 0 && contents[highest - 1].indent < 0)
    --highest;
  headings_.count = highest;

  // Second-word headings: a level whose headings mostly share a leading word.
  SetBoolValue(*this, PolicyId::ExpectSecondWordHeadings, 0);
  // The count starts at -1, so one chapter "2" after a blank line leaves it at 0: that weighs
  // like none seen rather than ruling second-word headings out.
  const int sectionFactor = sections[0] < 1 ? 1 : sections[0];
  auto weighSecondWords = [&](HeadDetails* records,
                              std::array<HeadingLevelStats, kStatisticsLevels>& levels) {
    for (int i = 0; i < kHeadingLevels; ++i) {
      HeadingLevelStats& level = levels[i];
      const int count = level.indents.GetSamples();
      if (records[i].prefixGiven || count <= 0) continue;
      const double share = 1.5 * sectionFactor * (static_cast<double>(level.secondWordCount) / count);
      const bool uses = count < 10 ? share >= 0.8 && level.secondWordCount > 3
                                   : share >= (i == 0 ? 0.8 : 0.98);
      if (!uses) continue;
      SetBoolValue(*this, PolicyId::ExpectSecondWordHeadings, 1);
      records[i].prefixGiven = 1;
      const TextStatsEntry* word = level.secondWords.GetByRank(1);
      records[i].prefixWords.Assign(word && word->label ? word->label.get() : "");
    }
  };
  weighSecondWords(heads, st.headings);
  weighSecondWords(contents, st.contents);

  // Numbered paragraphs below the first level.
  for (int i = 1; i < kHeadingLevels; ++i) {
    const HeadingLevelStats& h = st.headings[i];
    const int count = h.indents.GetSamples();
    const int contentsCount = st.contents[i].indents.GetSamples();
    if (count >= 11) {
      if (static_cast<double>(h.numberedParagraphCount) / count > 0.5) heads[i].numberedParagraph = 1;
    } else if (!expectContents && contentsCount >= 11) {
      if (static_cast<double>(h.numberedParagraphCount) / contentsCount > 0.5)
        heads[i].numberedParagraph = 1;
    }
  }

  // Characters that typically stand just before or after a heading number. A character is
  // weighed against every numbered heading, not only against the characters trimmed, so a
  // few bracketed numbers (a reference list's "[1]") do not make brackets the heading form.
  auto commonChars = [&st](TextStats& stats, TextString& out) {
    out.Assign("");
    const int total = std::max(stats.GetSamples(), st.numberedHeadings);
    for (int rank = 1; rank <= 2; ++rank) {
      const TextStatsEntry* entry = stats.GetByRank(rank);
      if (entry != nullptr && entry->frequency * 3 > total)
        out.AppendChar(static_cast<char>(static_cast<unsigned char>(entry->value)));
    }
  };
  TextString before;
  TextString after;
  commonChars(st.preHeaderChars, before);
  commonChars(st.postHeaderChars, after);
  const bool letterAfter = headingTopSum < 10 * st.alphaAfterHeadings;
  for (HeadDetails* records : {heads, contents}) {
    for (int i = 0; i < kHeadingLevels; ++i) {
      records[i].before.Assign(before);
      records[i].after.Assign(after);
      if (letterAfter) records[i].trailingX = 1;
    }
  }
}

// ---- DetectCharacterSet ----

namespace {

struct EncodingMessage {
  std::string_view name;
  const char* message;
};

// One message per encoding the guess can name.
constexpr EncodingMessage kEncodingMessages[] = {
    {"x-sjis", "INFO: Japanese (x-sjis) characters detected"},
    {"windows-1256", "INFO: Arabic (windows-1256) characters detected"},
    {"big5", "INFO: Chinese (big5) characters detected"},
    {"gb2312", "INFO: Chinese (gb2312) characters detected"},
    {"euc-kr", "INFO: Korean (euc-kr) characters detected"},
    {"iso-8859-7", "INFO: Greek (iso-8859-7) characters detected"},
    {"windows-1253", "INFO: Greek (windows-1253) characters detected"},
    {"koi8-r", "INFO: Cyrillic (koi8-r) characters detected"},
    {"UTF-8", "INFO: Unicode (UTF-8) characters detected"},
    {"windows-1250", "INFO: East Eurpean (windows-1250) characters detected"},
    {"windows-1251", "INFO: Cyrillic (windows-1251) characters detected"},
    {"windows-1254", "INFO: Turkish (windows-1254) characters detected"},
    {"iso-2022-kr", "INFO: Korean (iso-2022-kr) characters detected"},
    {"iso-2022-jp", "INFO: Japanese (iso-2022-jp) characters detected"},
    {"tis-620", "INFO: Thai (tis-620) characters detected"},
    {"iso-8859-8", "INFO: Hebrew (iso-8859-8) characters detected"},
};

// The best and second-best guesses so far.
struct EncodingRace {
  double best = 0.0;
  const char* bestName = nullptr;
  double second = 0.0;
  const char* secondName = nullptr;

  void Win(const char* name, double score) {
    second = best;
    secondName = bestName;
    best = score;
    bestName = name;
  }
};

}  // namespace

// share x 100 / whole, 0 when whole is not positive (an ASCII-only file has no high
// characters to divide by).
static double Percent(double share, int whole) { return whole > 0 ? share * 100.0 / whole : 0.0; }

void FileControl::DetectCharacterSet(int report) {
  if (context_ == nullptr || !GetInt(PolicyId::LookForCharacterEncodings)) return;
  CalculationStatistics st(context_->Statistics);
  const CharacterPairTotals& p = st.pairs;
  const int total = p.total;
  const int high = p.highChars;

  const double dos = Percent(p.dos, total);
  const double korean = Percent(p.korean, total);
  const double jis = Percent(p.iso2022jp, total);
  const double thai = Percent(p.thai, total);
  const double koi8r = Percent(p.koi8r, total);
  const double win1256 = Percent(p.win1256, total);
  const double win1253 = Percent(p.win1253, total);
  const double win1250 = Percent(p.win1250, total);
  const double win1251 = Percent(p.win1251, total);
  const double win1254 = Percent(p.win1254, total);
  const double hebrew = Percent(p.hebrew, total);
  const double chinese = total > 0 ? Percent(2.0 * p.chinese, high) : 0.0;
  const double japanese = total > 0 ? Percent(2.0 * p.japanese, high) : 0.0;
  const double utf8 =
      total > 0 ? Percent(2.0 * p.utf8Pairs + 3.0 * p.utf8Triplets, high) : 0.0;

  struct Candidate {
    const char* name;
    double score;
    bool enough;  // the evidence is more than a handful of pairs
  };
  const Candidate candidates[] = {
      {"koi8-r", koi8r, p.koi8r > 30},
      {"windows-1251", win1251, p.win1251 > 30},
      {"windows-1250", win1250, p.win1250 > 30},
      {"windows-1254", win1254, high < 50 * p.turkishChars},
      {"iso-2022-jp", jis, p.iso2022jp > 30},
      {"iso-2022-kr", korean, p.korean > 30},
      {"windows-1256", win1256, p.win1256 > 30},
      {"windows-1253", win1253, p.win1253 > 30},
      {"tis-620", thai, p.thai > 30},
      {"iso-8859-8", hebrew, p.hebrew > 30},
  };
  EncodingRace race;
  for (const Candidate& c : candidates)
    if (c.score > race.best && c.score > 2.0 && c.enough) race.Win(c.name, c.score);
  if (utf8 > race.best && utf8 > 2.0 && race.best < 3.0 &&
      (p.utf8Triplets == 0 || p.nonUtf8Pairs < p.utf8Triplets) &&
      p.utf8Pairs + p.utf8Triplets > 30)
    race.Win("UTF-8", utf8);

  if (race.best < 2.0) {
    bool chineseChosen = false;
    if (chinese > race.best && chinese > 20.0 && japanese < 2.0 && p.chinese > 30) {
      const char* name = "euc-kr";
      if (p.big5 > p.gb2312 && p.big5 > p.ks5601)
        name = "big5";
      else if (p.ks5601 < p.gb2312)
        name = "gb2312";
      race.Win(name, chinese);
      chineseChosen = true;
    }
    if (!chineseChosen && japanese > 20.0 && p.japanese > 30) race.Win("x-sjis", japanese);
  }

  // DOS box drawing and accents: converted to ANSI rather than named as an encoding.
  bool dosWins = false;
  if (!IsSet(PolicyId::InputFileContainsDOSCharacters) && dos > 0.1 && p.dos > 30) {
    if (dos >= 4.0 && dos >= race.best) {
      race.Win(nullptr, dos);
      dosWins = true;
    } else if (dos > race.second) {
      race.second = dos;
    }
  }
  const bool dosChosen = IsSet(PolicyId::InputFileContainsDOSCharacters) &&
                         GetInt(PolicyId::InputFileContainsDOSCharacters);
  // Text with a few characters beyond ASCII wins no share-based race, but when every such
  // byte sits in a well-formed UTF-8 sequence the text is UTF-8: a single-byte code page
  // rarely holds such a sequence without also holding a byte that UTF-8 forbids.
  if (!dosWins && !dosChosen && race.bestName == nullptr && p.utf8Sequences > 0 &&
      p.utf8Forbidden == 0)
    race.Win("UTF-8", utf8);
  if (dosWins || dosChosen) {
    if (report) ReportMessage("INFO: DOS characters detected.  Converting to ANSI", 10);
    SetBoolValue(*this, PolicyId::InputFileContainsDOSCharacters, 1);
  } else if (race.bestName != nullptr && !IsSet(PolicyId::CharacterEncoding)) {
    Text(PolicyId::CharacterEncoding).value.Assign(race.bestName);
    if (report) {
      for (const EncodingMessage& m : kEncodingMessages)
        if (m.name == race.bestName) ReportMessage(m.message, 10);
    }
    if (std::string_view(race.bestName) == "x-sjis")
      SetBoolUnlessSet(*this, PolicyId::InputFileContainsJapaneseCharacters, 1);
  }

  if (report && race.second > 2.0) {
    TextString message("WARNING: Character set calculation ambiguous - could be ");
    if (race.secondName != nullptr) message.Append(race.secondName);
    ReportMessage(message.GetText(), 10);
  }

  if (st.mimeCharacters > 30 && !IsSet(PolicyId::InputFileContainsMIMEEncoding)) {
    if (report) ReportMessage("INFO: Mime encoding detected.  Converting to ANSI", 10);
    SetBoolValue(*this, PolicyId::InputFileContainsMIMEEncoding, 1);
  }
}
