#include "engine/StatisticsReport.h"

#include <iterator>
#include <string_view>

#include "policy/PolicyCalculation.h"
#include "text/TextFile.h"
#include "text/TextStats.h"
#include "text/TextString.h"

// Composes one report line at a time; every number is decimal, with or without one trailing
// blank as the line's layout asks.
namespace {
class ReportWriter {
 public:
  explicit ReportWriter(TextFile& sink) : sink_(sink) {}

  ReportWriter& Text(const char* text) {
    line_.Append(text);
    return *this;
  }
  // The number followed by one blank.
  ReportWriter& Number(int n) {
    line_.AppendNumber('1', n, 1);
    return *this;
  }
  // The number alone.
  ReportWriter& Bare(int n) {
    line_.AppendNumber('1', n, 0);
    return *this;
  }
  ReportWriter& Char(char c) {
    line_.AppendChar(c);
    return *this;
  }
  // Writes the composed line and starts the next.
  void End() {
    sink_.WriteText(line_.GetText());
    line_.SetEmpty();
  }
  void Line(const char* text) { Text(text).End(); }
  // An empty line, a title and its underline.
  void Section(const char* title, const char* underline) {
    Line("");
    Line(title);
    Line(underline);
  }

 private:
  TextFile& sink_;
  TextString line_;
};
}  // namespace

void WriteHeadingStatistics(const AnalysisStatistics& statistics,
                            const std::array<HeadingLevelStats, kStatisticsLevels>& levels,
                            TextFile& sink) {
  ReportWriter out(sink);
  for (int n = 1; n <= kStatisticsLevels; ++n) {
    const HeadingLevelStats& given = levels[n - 1];
    const HeadingLevelStats& underlined = statistics.underlinedHeadings[n - 1];
    const HeadingLevelStats& third = statistics.contents[n - 1];

    out.Line("");
    if (given.indents.GetSamples() == 0) {
      out.Text("No headers found at level ").Number(n).End();
      continue;
    }

    out.Text("Header Indents ").Number(n).End();
    out.Line("----------------");
    given.indents.Report(sink);

    out.Line("");
    out.Line("Underlined heads");
    underlined.indents.Report(sink);

    out.Line("");
    out.Line("Hanging heads");
    third.indents.Report(sink);

    out.Line("");
    out.Text("Num Second Word at level ").Number(n);
    if (given.secondWordCount < 1) {
      out.Text(" = 0").End();
    } else {
      out.Text(" = ").Number(given.secondWordCount).End();
      given.secondWords.ReportLabelled(sink);
    }

    out.Line("");
    if (given.numberedParagraphCount > 0)
      out.Text("Num Numbered Paras at level ").Number(n).Text(" = ")
          .Number(given.numberedParagraphCount).End();
    if (third.secondWordCount > 0) {
      out.Text("Num Hang Second Word at level ").Number(n).Text(" = ")
          .Number(third.secondWordCount).End();
      third.secondWords.ReportLabelled(sink);
    }

    out.Line("");
    out.Text("Header Types ").Number(n).End();
    third.kinds.Report(sink);
  }
}

// The labels of the character-pair block, in the order of CharacterPairTotals.
static constexpr std::string_view kPairLabels[] = {
    "Korean  : ",
    "Thai               : ",
    "Koi8-r  (cyrillic) : ",
    "win1250 (East Eur.) : ",
    "win1251 (cyrillic) : ",
    "Win1256 (Arabic)   : ",
    "Win1253 (Greek)    : ",
    "Win1254 (Turkish)  : ",
    "   (chars)\t        : ",
    "Chinese            : ",
    "  (big5 chars)     : ",
    "  (gb2312 chars)   : ",
    "  (ks5601 chars)   : ",
    "Japanese (x-sjis)  : ",
    "UTF-8 (pairs)      : ",
    "UTF-8 (triplets)   : ",
    "(non) UTF-8 pairs  : ",
    "Hebrew             : ",
    "ISO-2022-JP        : ",
    "DOS                : ",
    "Total              : ",
};

static void WritePairCounts(const CharacterPairTotals& p, ReportWriter& out) {
  const int counts[] = {p.korean,   p.thai,      p.koi8r,        p.win1250,      p.win1251,
                        p.win1256,  p.win1253,   p.win1254,      p.turkishChars, p.chinese,
                        p.big5,     p.gb2312,    p.ks5601,       p.japanese,     p.utf8Pairs,
                        p.utf8Triplets, p.nonUtf8Pairs, p.hebrew, p.iso2022jp,   p.dos,
                        p.total};
  static_assert(std::size(counts) == std::size(kPairLabels), "Keep in sync with the labels");
  for (std::size_t i = 0; i < std::size(counts); ++i)
    out.Text(kPairLabels[i].data()).Bare(counts[i]).End();
}

// A section that holds one labelled count.
static void WriteCountSection(ReportWriter& out, const char* title, const char* underline,
                              const char* label, int count) {
  out.Section(title, underline);
  out.Text(label).Bare(count).End();
}

static void WriteBulletChars(TextStats& bullets, ReportWriter& out) {
  bullets.SortByFrequency();
  out.Number(bullets.GetCount()).Text(" values in range ").Number(bullets.GetMin())
      .Text(" to ").Number(bullets.GetMax()).End();
  for (int rank = 1; rank <= bullets.GetCount(); ++rank) {
    const TextStatsEntry* entry = bullets.GetByRank(rank);
    if (entry == nullptr) break;
    out.Text("Rank ").Number(rank).Text(" Value = ").Char(static_cast<char>(entry->value))
        .Text(" Frequency = ").Number(entry->frequency).End();
  }
}

void WriteStatistics(AnalysisStatistics& statistics, TextFile& sink) {
  CalculationStatistics s(statistics);
  ReportWriter out(sink);

  out.Section("Indents", "-------");
  s.indents.Report(sink);

  out.Section("Headers", "=======");
  WriteHeadingStatistics(statistics, statistics.headings, sink);
  out.Section("Underlined Headers", "==================");
  WriteHeadingStatistics(statistics, statistics.underlinedHeadings, sink);
  out.Section("Contents", "========");
  WriteHeadingStatistics(statistics, statistics.contents, sink);

  out.Section("Pre Header character", "--------------------");
  s.preHeaderChars.ReportLabelled(sink);
  out.Section("Post Header character", "---------------------");
  s.postHeaderChars.ReportLabelled(sink);

  out.Section("Num Sections", "------------");
  out.Text("Num level 0 sections : ");
  for (const int count : s.levelZeroSections) out.Number(count);
  out.End();

  out.Section("Para Indent", "-----------");
  s.paraIndents.Report(sink);

  WriteCountSection(out, "Hanging Para", "------------", "Hanging Para : ", s.hangingParas);

  out.Section("Hanging para indents", "--------------------");
  s.hangingIndents.Report(sink);

  WriteCountSection(out, "Code lines", "----------", "\"C\" Code lines : ", s.codeLines);

  WriteCountSection(out, "Change bars", "-----------", "Change bar lines : ", s.changeBarLines);

  out.Section("Character pairs", "---------------");
  WritePairCounts(s.pairs, out);

  WriteCountSection(out, "DOS characters", "--------------", "DOS characters : ",
                    s.dosCharacters);

  WriteCountSection(out, "Mime Encoding", "--------------", "Mime encoded characters : ",
                    s.mimeCharacters);

  out.Section("Bullet Chars", "------------");
  WriteBulletChars(s.bulletChars, out);

  out.Section("General", "-------");
  out.Text("Num lines               : ").Bare(s.numLines).End();
  out.Text("Num double space lines  : ").Bare(s.numDoubleSpaceLines).End();
  out.Text("Num blank lines         : ").Number(s.numBlankLines).End();
  out.Line("");
  out.Text("Num numbered Headings   : ").Number(s.numberedHeadings).End();
  out.Text("Num underlined Headings : ").Number(s.underlinedHeadings).End();
  out.Text("Num capitalised Headings : ").Number(s.capitalisedHeadings).End();
  out.Text("Num embedded Headings : ").Number(s.embeddedHeadings).End();
  out.Text("Num mail and USENET Headings : ").Number(s.mailHeadings).End();
  out.Text("Num alphabetics chars after Headings : ").Number(s.alphaAfterHeadings).End();
  out.Line("");
  out.Text("Bullets of type \"-\"     : ").Number(s.dashBullets).End();
  out.Text("Bullets of type \"o\"     : ").Number(s.oBullets).End();
  out.Text("Bullets of type (n)     : ").Number(s.numberBullets).End();
  out.Text("Bullets of type (a)     : ").Number(s.alphaBullets).End();
  out.Text("Bullets of type (i)     : ").Number(s.romanBullets).End();
  out.Text("Use of \"-\" in defn/text : ").Number(s.dashInDefinitions).Text("/")
      .Number(s.dashInText).End();
  out.Text("Use of \":\" in defn/text : ").Number(s.colonInDefinitions).Text("/")
      .Number(s.colonInText).End();
}
