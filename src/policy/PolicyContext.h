#pragma once

#include "policy/AnalysisStatistics.h"
#include "policy/CommandSettings.h"
#include "policy/ErrorHandler.h"
#include "policy/StyleSheet.h"
#include "text/FontSpec.h"
#include "text/ProductIdentity.h"
#include "text/Statement.h"
#include "text/TextPosition.h"

class FileControl;
class TextString;

// The values of the Context's CodeLocation: which pass is at work. Callers that set it for a
// single call save and restore the previous value, so it stays a plain int.
inline constexpr int kLocationNone = 0;
inline constexpr int kLocationAnalysis = 1;
inline constexpr int kLocationContents = 2;
inline constexpr int kLocationOutput = 3;

// The part of a conversion run that the policy sets read and change: the command settings,
// the pass flags, the statistics they calculate from, the fonts and style sheet they set up,
// the message handler. The Context (engine/Context.h) derives from it and does, for the policy
// sets, the few things that need its registries and trackers (the virtual operations below).
// A policy set holds its run as a PolicyContext; above the policy layer the whole Context is
// at hand (FileControl::pGetContext).
class PolicyContext {
 public:
  PolicyContext(int productId, int outputType) : productId_(productId), outputType_(outputType) {}
  virtual ~PolicyContext();
  // A run is one object, referred to by its policy sets; never copied.
  PolicyContext(const PolicyContext&) = delete;
  PolicyContext& operator=(const PolicyContext&) = delete;

  int GetProductId() const { return productId_; }
  int GetOutputType() const { return outputType_; }
  LogErrorHandler& GetLogErrorHandler() { return LogHandler; }
  // The output pass flag or one of the two further stage flags is set.
  bool IsOutputStage() const { return OutputPass != 0 || StageFlag2 != 0 || StageFlag3 != 0; }

  // ---- Done by the Context ----
  // The position of the statement that the pass of location is handling (any location other
  // than the analysis and contents passes gives the output pass's).
  virtual TextPosition GetPassPosition(int location) = 0;
  // A message raised while the pass of location handles a line that has no position of its
  // own: the line notes it (true); false when no such line is being handled.
  virtual bool ReportOnPassLine(int location, const char* text, int level) = 0;
  // Builds the directive-name table; see DirectiveNameTable::Build.
  virtual void BuildTagNames(const FileControl* control, const char* prefix) = 0;
  // Frees every named table format, type and structure and resets the three defaults.
  virtual void ClearTableDefinitions() = 0;
  // Reads a table definitions file into the named table definitions; see
  // TableDefinitionRegistry::ReadDefinitionsFile.
  [[nodiscard]] virtual int ReadTableDefinitionsFile(FileControl& control,
                                                     const TextString& fileName,
                                                     int reportRepeats, TextString& result) = 0;
  // The number of contents-list lines the analysis pass found.
  virtual int GetContentsLineCount() const = 0;
  // Entity-encodes text for a markup output as the conversion encodes its text
  // (EncodeEntities); the link dictionary stores its texts so.
  virtual void EncodeForOutput(FileControl& control, TextString& text) = 0;
  // The RTF markup of a link of the link dictionary to an address on the web that shows text:
  // a help-file macro with helpLink, else a HYPERLINK field; the text alone when the address
  // is not a plausible host (BuildHelpLink and BuildHyperlinkField, link kind 2).
  virtual void BuildAddressLink(FileControl& control, bool helpLink, const TextString& address,
                                const TextString& text, TextString& out) = 0;

  // ---- Members ----
  // Command line.
  CommandSettings Commands;
  // Analysis state, per file.
  int AnalysisPass = 1;
  int ContentsPass = 0;
  int StageFlag2 = 0;  // further stage flags: only ever cleared by this program
  int StageFlag3 = 0;
  int OutputPass = 0;
  AnalysisStatistics Statistics;
  FontSpec PendingFont;
  FontSpec CurrentFont;
  // What the per-line input rules carry from line to line: the dropped-line flag, the page
  // lines still to drop and the byte-pair census of the analysis pass.
  InputRuleState InputState;
  StyleSheet Styles;
  int CodeLocation = kLocationNone;
  LogErrorHandler LogHandler;

 private:
  int productId_;
  int outputType_;
};
