#include "policy/PolicyFileWriter.h"

#include <string_view>

#include "policy/LinkDictionary.h"
#include "policy/FileControl.h"
#include "policy/PolicySection.h"
#include "policy/PolicyTable.h"
#include "policy/TableAnalysisPolicies.h"
#include "text/TextFile.h"

void FormatSpecialLine(const char* key, const char* value, TextString& out) {
  out.Assign(key);
  if (out.GetLength() >= kSpecialKeyWidth) out.AppendChar(' ');
  while (out.GetLength() < kSpecialKeyWidth) out.AppendChar(' ');
  out.Append(": ");
  out.Append(value);
}

// The id-based sections in the order of writing; only "[RTF Help files]" follows the all
// flag, the others write only what is set. "[Control]" and "[PDF headers and footers]" are
// not written.
struct SectionWrite {
  PolicySectionId id;
  bool followsAll;
};
static constexpr SectionWrite kSectionWrites[] = {
    {kDetagSection, false},          {kDetagTablesSection, false},
    {kTagManipulationSection, false}, {kTextFormattingSection, false},
    {kTextHeadersFootersSection, false}, {kTextHyperlinksSection, false},
    {kTextTablesSection, false},     {kDataExtractionSection, false},
    {kMailTidySection, false},       {kRtfHelpFilesSection, true},
    {kPdfTypesettingSection, false}, {kTextConversionSection, false},
    {kConversionCharacteristicsSection, false},
};

// A run of consecutive registered policies (in registration order), first to last.
struct PolicyRange {
  PolicyId first;
  PolicyId last;
};

static bool InRange(PolicyId id, PolicyRange range) {
  return id >= range.first && id <= range.last;
}

namespace {

// Writes the lines of one policy file and remembers whether the last line was blank, so
// that a group's leading blank line never doubles the blank line below a section header.
class PolicyFileWriter {
 public:
  PolicyFileWriter(FileControl& fc, TextFile& out, int all) : fc_(fc), out_(out), all_(all) {}

  void Line(const char* text) {
    WriteLine(&out_, text);
    lastBlank_ = text[0] == '\0';
  }
  void Blank() {
    if (!lastBlank_) Line("");
  }
  void Header(const char* name, int blanksBefore) {
    for (int i = 0; i < blanksBefore; ++i) Line("");
    Line(name);
    Line("");
  }
  void Special(const char* key, const char* value) {
    FormatSpecialLine(key, value, text_);
    Line(text_.GetText());
  }

  // Whether a policy's line is written in the given mode (all or only set).
  bool WillWrite(const PolicyRow& row, int all) const {
    if (!fc_.IsRegistered(row.id)) return false;
    switch (row.writeRule) {
      case PolicyWriteRule::Never:
        return false;
      case PolicyWriteRule::OnlyWhenSet:
        return fc_.IsSet(row.id) != 0;
      case PolicyWriteRule::OnlyWithPageMarkers:
        if (!fc_.GetInt(PolicyId::InputFileHasPageMarkers)) return false;
        break;
      case PolicyWriteRule::Plain:
      case PolicyWriteRule::NoneAtOrBelowZero:
        break;
    }
    return all != 0 || fc_.IsSet(row.id) != 0;
  }

  void Policy(PolicyId id) { Policy(GetPolicyRow(id), all_); }
  void Policy(const PolicyRow& row, int all) {
    if (!WillWrite(row, all)) return;
    // Written lines are forced: WillWrite has already applied the mode.
    if (row.writeRule == PolicyWriteRule::NoneAtOrBelowZero) {
      WriteOptionalIntPolicyLine(out_, 1, fc_.Int(row.id));
    } else {
      fc_.Policy(row.id).WritePolicyLine(out_, 1);
    }
    lastBlank_ = false;
  }

  bool AnySet(PolicyFileSection section) const {
    for (const PolicyRow& row : PolicyRows())
      if (row.section == section && fc_.IsRegistered(row.id) && fc_.IsSet(row.id)) return true;
    return false;
  }
  bool AnySet(PolicyRange range) const {
    for (const PolicyRow& row : PolicyRows())
      if (InRange(row.id, range) && fc_.IsRegistered(row.id) && fc_.IsSet(row.id)) return true;
    return false;
  }
  void Section(PolicyFileSection section, int all) {
    for (const PolicyRow& row : PolicyRows())
      if (row.section == section) Policy(row, all);
  }
  void Range(PolicyRange range) {
    for (const PolicyRow& row : PolicyRows())
      if (InRange(row.id, range)) Policy(row, all_);
  }
  // A group of policies preceded by a blank line; in only-set mode both appear only when one
  // of them is set.
  void Group(PolicyRange range, bool blankBefore) {
    if (!all_ && !AnySet(range)) return;
    if (blankBefore) Blank();
    Range(range);
  }

  void WriteAll();

 private:
  void WriteRuleSet();
  void WriteGeneralAnalysis();
  void WriteDefinitionChars();
  void WriteHeadings();
  void WriteFileGeneration();
  void WriteLinkDictionary();
  // A section written by the plain rule: header when all or any policy is set.
  void PlainSection(PolicyFileSection section, int blanksBefore);
  // A section whose header appears only when something is set, even with all, and whose
  // lines are written only when set.
  void OnlySetSection(PolicyFileSection section);
  static const char* Name(PolicyFileSection section) {
    return PolicyFileSectionName(section).data();
  }

  FileControl& fc_;
  TextFile& out_;
  const int all_;
  bool lastBlank_ = false;
  TextString text_;
};

}  // namespace

void PolicyFileWriter::PlainSection(PolicyFileSection section, int blanksBefore) {
  if (!all_ && !AnySet(section)) return;
  Header(Name(section), blanksBefore);
  Section(section, all_);
}

void PolicyFileWriter::OnlySetSection(PolicyFileSection section) {
  if (!AnySet(section)) return;
  Header(Name(section), 2);
  Section(section, 0);
}

void PolicyFileWriter::WriteRuleSet() {
  if (!all_ && !fc_.IsRuleSetSet()) return;
  Header("[Rule Set]", 1);
  static constexpr const char* kRuleSetNames[] = {"(none)", "Pembrelle", "ZUR"};
  const int code = fc_.GetRuleSet();
  if (code < 0 || code > 2) {
    fc_.ReportMessage("UNSUPPORTED CASE: Unexpected Rule Set", 10);
    return;
  }
  Special("Rule set to be used", kRuleSetNames[code]);
}

// Writes the definition characters. A set that accepts only one of the two characters is
// written as "(none)" first, so that reading the file back does not leave the other one at
// its default and accepted.
void PolicyFileWriter::WriteDefinitionChars() {
  const FileControl::DefinitionChars& chars = fc_.GetDefinitionChars();
  if (!all_ && !chars.setExplicitly) return;
  constexpr const char* kKey = "Definition Char";
  if (!chars.dashAccepted && !chars.colonAccepted) {
    Special(kKey, "(none)");
    return;
  }
  if (chars.dashAccepted != chars.colonAccepted) Special(kKey, "(none)");
  if (chars.dashAccepted) Special(kKey, chars.dashStrong ? "'-' (strong) " : "'-' (weak)");
  if (chars.colonAccepted) Special(kKey, chars.colonStrong ? "':' (strong) " : "':' (weak) ");
}

static void AppendPositions(const int* positions, int count, TextString& out) {
  out.SetEmpty();
  for (int i = 0; i < count && i < FileControl::kMaxPositions; ++i) {
    out.AppendNumber('1', positions[i], 0);
    out.AppendChar(' ');
  }
}

void PolicyFileWriter::WriteGeneralAnalysis() {
  const FileControl::IndentPositions& indent = fc_.GetIndentPositions();
  const FileControl::HangingPositions& hanging = fc_.GetHangingPositions();
  const FileControl::DefinitionChars& chars = fc_.GetDefinitionChars();
  const bool specialSet = indent.setExplicitly || hanging.setExplicitly || chars.setExplicitly;
  if (!all_ && !specialSet && !AnySet(PolicyFileSection::GeneralAnalysis)) return;
  Header(Name(PolicyFileSection::GeneralAnalysis), 1);

  TextString positions;
  if (all_ || indent.setExplicitly) {
    if (indent.present) {
      AppendPositions(indent.positions, indent.count, positions);
      Special("Indent position(s)", positions.GetText());
    } else {
      Special("Indent position(s)", "(none)");
    }
  }
  if (all_ || hanging.setExplicitly) {
    if (fc_.GetInt(PolicyId::LookForHangingParagraphs) && hanging.count > 0) {
      AppendPositions(hanging.positions, hanging.count, positions);
      Special("Hanging paragraph position(s)", positions.GetText());
    } else {
      Special("Hanging paragraph position(s)", "(none)");
    }
  }
  if (all_ || chars.setExplicitly || fc_.IsSet(PolicyId::SearchForDefinitions)) {
    Blank();
    Policy(PolicyId::SearchForDefinitions);
    WriteDefinitionChars();
  }
  Group({PolicyId::PageWidth, PolicyId::TextJustification}, true);
  Group({PolicyId::ExpectBlankLinesBetweenParas, PolicyId::PreserveNewParagraphOffset}, true);
  Group({PolicyId::InputFileContainsJapaneseCharacters, PolicyId::PageMarkerSizeInLines}, false);
  Group({PolicyId::KeepItSimple, PolicyId::MinimumRulerLength}, true);
}

void PolicyFileWriter::WriteHeadings() {
  const FileControl::RecognisedHeadings& headings = fc_.GetRecognisedHeadings();
  const bool secondWordSet = fc_.IsSet(PolicyId::ExpectSecondWordHeadings) != 0;
  if (!all_ && !headings.setExplicitly && !AnySet(PolicyFileSection::Headings)) return;
  Header(Name(PolicyFileSection::Headings), 2);
  for (const PolicyRow& row : PolicyRows())
    if (row.section == PolicyFileSection::Headings && row.id != PolicyId::ExpectSecondWordHeadings)
      Policy(row, all_);

  if (!all_ && !headings.setExplicitly && !secondWordSet) return;
  Policy(GetPolicyRow(PolicyId::ExpectSecondWordHeadings), 1);
  if (!all_ && !headings.setExplicitly) return;
  Blank();
  const int count = headings.count < 0 ? 0
                    : headings.count > FileControl::kHeadingLevels ? FileControl::kHeadingLevels
                                                                   : headings.count;
  TextString line("We have ");
  line.AppendNumber('1', count, 0);
  line.Append("  recognised headings");
  Line(line.GetText());
  TextString form;
  for (const bool contents : {false, true}) {
    for (int i = 0; i < count; ++i) {
      line.Assign(contents ? "    Contents level " : "    Heading level ");
      line.AppendNumber('1', i, 0);
      line.Append(" = ");
      (void)(contents ? headings.contents : headings.headings)[i].Format(i, form);
      line.Append(form);
      Line(line.GetText());
    }
  }
}

void PolicyFileWriter::WriteFileGeneration() {
  const bool directoriesSet =
      fc_.IsSet(PolicyId::InputDirectory) || fc_.IsSet(PolicyId::OutputDirectory);
  if (!all_ && !directoriesSet && !AnySet(PolicyFileSection::FileGeneration)) return;
  Header(Name(PolicyFileSection::FileGeneration), 2);
  Group({PolicyId::HTMLVersionToBeTargeted, PolicyId::HTMLVersionToBeTargeted}, true);
  Range({PolicyId::InputFileType, PolicyId::OutputFileExtension});
  Group({PolicyId::UseDOSFilenames, PolicyId::DOSFilenameRoot}, true);
  Group({PolicyId::SplitLevel, PolicyId::AddNavigationBar}, true);
  Range({PolicyId::TreatEachLineAsAParagraph, PolicyId::PreserveFileStructureUsingPRE});
  Range({PolicyId::MinimiseHTMLFileSize, PolicyId::OmitHEADAndBODYFromOutput});
}

void PolicyFileWriter::WriteLinkDictionary() {
  const LinkDictionary* dictionary = fc_.pGetLinkDictionary();
  if (all_ || fc_.IsSet(PolicyId::LinkDictionaryFile))
    Header(Name(PolicyFileSection::LinkDictionary), 2);
  if (fc_.GetText(PolicyId::LinkDictionaryFile).IsEmpty() && dictionary != nullptr) {
    if (dictionary->GetCount() > 0) {
      (void)dictionary->Write(TextString(), out_);
      lastBlank_ = false;
    }
    return;
  }
  Policy(PolicyId::LinkDictionaryFile);
}

void PolicyFileWriter::WriteAll() {
  for (const SectionWrite& section : kSectionWrites)
    (void)fc_.GetPolicyList().GetSection(section.id).Write(out_, section.followsAll ? all_ : 0);
  lastBlank_ = false;

  WriteRuleSet();

  PlainSection(PolicyFileSection::Messages, 1);
  const bool ruleSetInForce = fc_.GetRuleSet() == 1 || fc_.GetRuleSet() == 2;
  if (ruleSetInForce) PlainSection(PolicyFileSection::Pembrelle, 1);

  if (all_ || AnySet(PolicyFileSection::Tagging) || fc_.IsSet(PolicyId::ScopeCOLOURTagsGlobally)) {
    Header(Name(PolicyFileSection::Tagging), 1);
    Section(PolicyFileSection::Tagging, all_);
  }
  WriteGeneralAnalysis();

  const FileControl::BulletChars& bullets = fc_.GetBulletChars();
  if (all_ || bullets.setExplicitly ||
      AnySet({PolicyId::ExpectNumberedBullets, PolicyId::ExpectRomanNumeralBullets}))
    Header(Name(PolicyFileSection::Bullets), 2);
  Section(PolicyFileSection::Bullets, all_);

  WriteHeadings();
  PlainSection(PolicyFileSection::PreformattedText, 2);
  PlainSection(PolicyFileSection::ConfigFiles, 2);
  OnlySetSection(PolicyFileSection::AddedHtml);
  PlainSection(PolicyFileSection::AddedRtf, 2);
  PlainSection(PolicyFileSection::CompositionUnits, 2);
  OnlySetSection(PolicyFileSection::Frames);

  const bool usenetSet = fc_.UsenetGroupsSet() != 0;
  if (all_ || usenetSet || AnySet(PolicyFileSection::Hyperlinks)) {
    Header(Name(PolicyFileSection::Hyperlinks), 2);
    Section(PolicyFileSection::Hyperlinks, all_);
    if (all_ || usenetSet) {
      TextString groups;
      const StringList& list = fc_.GetUsenetGroups();
      for (int i = 0; i < list.GetCount(); ++i) {
        if (i > 0) groups.AppendChar(' ');
        groups.Append(list.GetItem(i)->text);
      }
      Special("Recognised USENET groups", groups.IsEmpty() ? "(none)" : groups.GetText());
    }
  }

  WriteFileGeneration();
  PlainSection(PolicyFileSection::Contents, 2);
  OnlySetSection(PolicyFileSection::DirectoryPage);

  const bool sectionsSet = fc_.DocumentSectionsSet() != 0;
  if (all_ || sectionsSet || fc_.IsSet(PolicyId::UsePreprocessor)) {
    Header(Name(PolicyFileSection::Preprocessor), 2);
    Policy(PolicyId::UsePreprocessor);
    if (all_ || sectionsSet) {
      TextString names;
      const StringList& list = fc_.GetDocumentSections();
      for (int i = 0; i < list.GetCount(); ++i) {
        if (i > 0) names.AppendChar(' ');
        names.Append(list.GetItem(i)->text);
      }
      Special("Include document section(s)", names.IsEmpty() ? "(none)" : names.GetText());
    }
  }

  PlainSection(PolicyFileSection::Style, 2);

  if (all_ || fc_.IsSet(PolicyId::CENTERWholeDocument) || fc_.IsSet(PolicyId::IndentWholeDocument))
    Header(Name(PolicyFileSection::PageFormatting), 2);
  Range({PolicyId::CENTERWholeDocument, PolicyId::IndentWholeDocument});
  const TableAnalysisPolicies* tables = fc_.pGetDefaultTablePolicies();
  if (tables != nullptr) {
    (void)tables->WritePolicies(out_, all_, fc_.Bool(PolicyId::AttemptTABLEGeneration));
    lastBlank_ = false;
  }
  Policy(PolicyId::MaxLengthOfCandidateTableLines);

  WriteLinkDictionary();
}

void FileControl::WritePolicyFile(TextFile& out, int all) {
  PolicyFileWriter writer(*this, out, all);
  writer.WriteAll();
}
