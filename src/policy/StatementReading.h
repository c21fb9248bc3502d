#pragma once

#include "text/Statement.h"
#include "text/StatementFile.h"

class PolicyContext;
class FileControl;
class TextCommandHost;

// The statement reader of the text layer with the settings of a policy set: the policies are
// read here, the text layer takes them as plain values.

// The input rules of the policy set fc (the pass from its Context, when it has one).
InputRules InputRulesOf(FileControl& fc);

// The read settings of the policy set fc.
StatementReadRules ReadRulesOf(FileControl& fc);

// The next statement of file appended to out, read with the rules of fc and the input-rule
// state of ctx: the statement prepares itself (StripTrailingCR), with textCommands (not null)
// the text commands of fc rewrite it through that host (the LF-separated fields after the
// first become the next statements), and its AfterRead comes last. What the reader met (a line cut at the longest
// statement, a stray UTF-16 byte) is reported through fc. False at the end of the input.
[[nodiscard]] bool ReadStatement(StatementFile& file, Statement& out, FileControl& fc,
                                 PolicyContext& ctx, TextCommandHost* textCommands);

// ReadStatement without the reports: what the reader met stays in file (TakeNotices) for a
// caller that can tie it to the statement read, such as the passes, whose messages name the
// line they are about.
[[nodiscard]] bool ReadStatementKeepingNotices(StatementFile& file, Statement& out,
                                               FileControl& fc, PolicyContext& ctx,
                                               TextCommandHost* textCommands);

// The warning for the read notice notice (kNoticeLineCut or kNoticeStrayByte) of the file
// named name (null for none) into message; returns the level to report it at.
int ReadNoticeMessage(unsigned notice, const char* name, TextString& message);
