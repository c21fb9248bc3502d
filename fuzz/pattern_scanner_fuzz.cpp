// The wildcard pattern scanner and the replacing scanner, with patterns, handler behaviour,
// scan options and text all taken from the input.
//
// Input: one option byte, then pattern lines up to the first NUL byte, then the text.
//   option bit 0-4: the five scan options (one match per position, reset after a
//                   replacement, restart after a replacement, stop after the first match,
//                   start at the first wildcard); bit 5: the replacing scanner; bit 6:
//                   patterns are case-sensitive; bit 7: scan a second time with the same
//                   parser.
//   pattern line: a control byte, the pattern, optionally a tab and the handler's text. The
//                 control byte chooses the pattern type (1 + byte % 6) and, for callbacks,
//                 what the callback does ((byte / 6) % 5): rewrite the span to the text,
//                 nothing, stop, reject, extend.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "text/JParser.h"
#include "text/JReplaceParser.h"

namespace {

enum CallbackAction : int { kRewrite, kNothing, kStop, kReject, kExtend };

struct CallbackData {
  int action = kNothing;
  std::string text;
};

int Callback(JParser& parser, JPattern&, JMatchState& state, ParseBuffer& text, int& position,
             void* userData) {
  const auto& data = *static_cast<const CallbackData*>(userData);
  switch (data.action) {
    case kRewrite: {
      if (state.start < 0 || state.end < state.start || state.end >= text.GetLength())
        return kJNothingDone;
      const int count = state.end - state.start + 1;
      if (parser.GetKind() != 1) {
        auto& replacer = static_cast<JReplaceParser&>(parser);
        const int after = replacer.ReplaceInPlace(state.start, count, data.text.c_str());
        if (after < 0)
          return kJNothingDone;
        position = after - 1;
        return kJTextChanged;
      }
      if (parser.ReplaceAt(state.start, count, data.text.c_str()) == 0)
        return kJNothingDone;
      position = state.start + static_cast<int>(data.text.size()) - 1;
      return kJTextChanged;
    }
    case kNothing: return kJNothingDone;
    case kStop: return kJStopScan;
    case kReject: return kJRejectMatch;
    case kExtend: return kJExtendMatch;
  }
  return kJNothingDone;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputBytes input(data, size);
  const std::uint8_t option = input.Take();
  const std::string_view rest = input.RestText();
  const std::size_t nul = rest.find('\0');
  if (nul == std::string_view::npos)
    return 0;
  const std::string text(rest.substr(nul + 1));

  JScanOptions options;
  options.oneMatchPerPosition = option & 1;
  options.resetAfterReplacement = (option >> 1) & 1;
  options.restartAfterReplacement = (option >> 2) & 1;
  options.stopAfterFirst = (option >> 3) & 1;
  options.startAtFirstWildcard = (option >> 4) & 1;
  const bool replacing = (option >> 5) & 1;
  const int caseSensitive = (option >> 6) & 1;
  const bool twice = (option >> 7) & 1;

  JParser plain;
  JReplaceParser replacer;
  JParser& parser = replacing ? static_cast<JParser&>(replacer) : plain;
  // Callback data lives as long as the parser that points at it.
  std::vector<std::unique_ptr<CallbackData>> callbacks;
  std::string_view patterns = rest.substr(0, nul);
  while (!patterns.empty()) {
    const std::size_t end = patterns.find('\n');
    std::string_view line = patterns.substr(0, end);
    patterns = end == std::string_view::npos ? std::string_view() : patterns.substr(end + 1);
    if (line.empty())
      continue;
    const auto control = static_cast<std::uint8_t>(line[0]);
    line.remove_prefix(1);
    const std::size_t tab = line.find('\t');
    const std::string pattern(line.substr(0, tab));
    const std::string handlerText(tab == std::string_view::npos ? "" : line.substr(tab + 1));
    const int type = 1 + control % 6;
    if (type < kJCallback) {
      (void)parser.AddPatternShort(type, pattern.c_str(), handlerText.c_str(), caseSensitive);
      continue;
    }
    auto callback = std::make_unique<CallbackData>();
    callback->action = (control / 6) % 5;
    callback->text = handlerText;
    (void)parser.AddPattern(replacing ? kJCallbackLong : type, pattern.c_str(),
                            handlerText.c_str(), caseSensitive, Callback, callback.get());
    callbacks.push_back(std::move(callback));
  }

  for (int scan = 0; scan < (twice ? 2 : 1); ++scan) {
    const int length = static_cast<int>(text.size());
    const int handled = replacing ? replacer.Scan(text.c_str(), &options, length)
                                  : plain.Scan(text.c_str(), &options, length);
    if (handled < 0)
      FuzzFailure("pattern_scanner", "a scan returned a negative count");
  }
  return 0;
}
