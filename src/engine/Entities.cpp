#include "engine/Entities.h"

#include <cstring>

#include "engine/Context.h"
#include "engine/EntityTable.h"
#include "policy/FileControl.h"
#include "text/ProductIdentity.h"

static void AssignView(TextString& out, std::string_view text) {
  out.AssignBytes(text.data(), static_cast<int>(text.size()));
}

static void AppendNumericEntity(TextString& out, int code) {
  out.Append("&#");
  out.AppendNumber('1', code, 0);
  out.AppendChar(';');
}

bool CodeToEntity(const EntityTable& table, int code, TextString& out) {
  if (const EntityEntry* entry = table.FindByCode(code); entry != nullptr) {
    out.Assign(entry->name);
    return true;
  }
  if (const std::string_view name = Latin1EntityName(code); !name.empty()) {
    AssignView(out, name);
    return true;
  }
  out.SetEmpty();
  AppendNumericEntity(out, code);
  return true;
}

// The markup characters, which old pages also write in capitals.
static int FixedMarkupEntityCode(std::string_view entity) {
  struct Name {
    std::string_view name;
    int code;
  };
  static constexpr Name kNames[] = {
      {"&amp;", 38}, {"&AMP;", 38}, {"&lt;", 60}, {"&LT;", 60}, {"&gt;", 62}, {"&GT;", 62},
  };
  for (const Name& n : kNames) {
    if (n.name == entity)
      return n.code;
  }
  return -1;
}

bool EntityToCode(const EntityTable& table, std::string_view entity, int& code) {
  if (entity.size() >= 2 && entity[0] == '&' && entity[1] == '#')
    return ParseNumericEntity(entity, code);
  if (const EntityEntry* entry = table.FindByName(entity); entry != nullptr) {
    code = entry->code;
    return true;
  }
  code = Latin1EntityCode(entity);
  if (code < 0)
    code = FixedMarkupEntityCode(entity);
  return code >= 0;
}

bool ParseNumericEntity(std::string_view entity, int& code) {
  code = -1;
  if (entity.size() < 2 || entity[0] != '&' || entity[1] != '#')
    return false;
  const bool hex = entity.size() > 2 && (entity[2] == 'x' || entity[2] == 'X');
  const std::size_t first = hex ? 3 : 2;
  // The closing character is dropped whatever it is.
  const std::size_t end = entity.size() - 1;
  if (end <= first)
    return false;
  TextString digits;
  digits.AssignBytes(entity.data() + first, static_cast<int>(end - first));
  int value = -1;
  if (hex) {
    digits.ToUpper();
    if (!digits.ParseNumber('X', &value))
      return false;
  } else if (!digits.ParseNumber('1', &value)) {
    return false;
  }
  // A negative number names no character.
  if (value < 0)
    return false;
  code = value;
  return true;
}

bool EntityForCode(const Context& ctx, int code, TextString& out) {
  return CodeToEntity(ctx.Entities, code, out);
}

static bool NeedsEscaping(const TextString& text, int no8Bit) {
  for (int i = 0; i < text.GetLength(); ++i) {
    const auto c = static_cast<unsigned char>(text.CharAt(i));
    if (c == '&' || c == '<' || c == '>')
      return true;
    if (c >= 128 && no8Bit == 0)
      return true;
  }
  return false;
}

namespace {

// Finds the in-line tags of a text from left to right.
struct TagScanner {
  const TextString& text;
  const TextString& start;
  const TextString& end;
  // Once no end delimiter follows, none follows a later start either: looking again for
  // every later start would make a text full of unclosed starts quadratic.
  bool noMoreEnds = false;

  // The end (one past the end delimiter) of a tag opening at pos; -1 when none opens there
  // or it is never closed.
  int TagEndAt(int pos) {
    if (noMoreEnds || start.IsEmpty() || end.IsEmpty())
      return -1;
    if (std::strncmp(text.GetText() + pos, start.GetText(),
                     static_cast<std::size_t>(start.GetLength())) != 0)
      return -1;
    int close = -1;
    if (!text.Find(pos + start.GetLength(), end.GetText(), &close, 1, 0) || close < 0) {
      noMoreEnds = true;
      return -1;
    }
    return close + end.GetLength();
  }
};

}  // namespace

static void AppendEightBit(const EntityTable& table, unsigned char c, TextString& out,
                           TextString& entity) {
  if (c <= 160) {
    AppendNumericEntity(out, c);
    return;
  }
  (void)CodeToEntity(table, c, entity);
  out.Append(entity);
}

void EscapeHtmlText(FileControl& fc, Context& ctx, TextString& text, int no8Bit) {
  if (ctx.GetOutputType() == kOutputPlainText)
    return;
  if (!NeedsEscaping(text, no8Bit))
    return;
  const TextString& start = fc.GetText(PolicyId::StartTagDelimiter);
  const TextString& end = fc.GetText(PolicyId::EndTagDelimiter);
  TextString escaped;
  escaped.Reserve(text.GetLength() + text.GetLength() / 4 + 16);
  TextString entity;
  TagScanner tags{text, start, end};
  int tagEnd = -1;  // inside an in-line tag until this position
  for (int i = 0; i < text.GetLength(); ++i) {
    if (i >= tagEnd)
      tagEnd = tags.TagEndAt(i);
    const bool inTag = i < tagEnd;
    const auto c = static_cast<unsigned char>(text.CharAt(i));
    if (c >= 128 && no8Bit == 0) {
      AppendEightBit(ctx.Entities, c, escaped, entity);
      continue;
    }
    if (inTag) {
      escaped.AppendChar(static_cast<char>(c));
      continue;
    }
    switch (c) {
      case '&':
        escaped.Append("&amp;");
        break;
      case '<':
        escaped.Append("&lt;");
        break;
      case '>':
        escaped.Append("&gt;");
        break;
      default:
        escaped.AppendChar(static_cast<char>(c));
    }
  }
  text = std::move(escaped);
}

void EncodeEntities(FileControl& fc, Context& ctx, TextString& text) {
  if (ctx.GetOutputType() == kOutputPlainText)
    return;
  if (fc.GetInt(PolicyId::InputFileContainsJapaneseCharacters) != 0 || fc.UsesEntities() == 0)
    return;
  EscapeHtmlText(fc, ctx, text, fc.IsNonLatin1Encoding());
}
