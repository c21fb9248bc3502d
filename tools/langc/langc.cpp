// langc: compiles the interface language files of the source tree into the language fillers.
//
//   langc <output.cpp> [<language>=<file.lng>]...
//
// Each file is UTF-8 text in the language-file format: "<id> : <text>" lines, "!" starting a
// comment. Ids 1-999 are dialog texts, 5000-5549 tooltip texts (5000 + index), 10000-10209
// menu texts (10000 + index) and 15000-15119 message texts (15000 + index), in which the two
// characters "\n" and "\r" stand for a line feed and a carriage return. In every text "\""
// stands for a double quote, as the interface texts are quoted elsewhere.
//
// The output defines HasBuiltInTranslation and TranslatedTextRows (lang/InterfaceTexts.h): per
// language and table the rows as single-byte strings, in code page 1251 for Russian and 1252
// for the others. A language given no file is untranslated. A line that does not parse, an id
// outside the tables, an id given twice or a text that the code page cannot hold stops the
// build with a message naming the file and the line; nothing is written then.
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Language {
  std::string_view name;  // the file's name in data/lang, without ".lng"
  int id;                 // the interface language id
  std::string_view codePage;
  std::string_view symbol;  // names the generated arrays
};

constexpr Language kLanguages[] = {
    {"german", 2, "WINDOWS-1252", "German"},
    {"spanish", 3, "WINDOWS-1252", "Spanish"},
    {"french", 4, "WINDOWS-1252", "French"},
    {"portuguese", 5, "WINDOWS-1252", "Portuguese"},
    {"italian", 6, "WINDOWS-1252", "Italian"},
    {"swedish", 7, "WINDOWS-1252", "Swedish"},
    {"russian", 8, "WINDOWS-1251", "Russian"},
    {"dutch", 9, "WINDOWS-1252", "Dutch"},
};

// The tables in the order of TextTableKind, with the language-file ids each takes.
struct Table {
  std::string_view kind;  // the TextTableKind enumerator
  int firstId;
  int lastId;
  int firstIndexId;  // id of index 0
  bool lineBreakEscapes;
};

constexpr std::array<Table, 4> kTables = {{
    {"Messages", 15000, 15119, 15000, true},
    {"Dialog", 1, 999, 0, false},
    {"ToolTips", 5000, 5549, 5000, false},
    {"Menus", 10000, 10209, 10000, false},
}};

const Table* TableOfId(long id) {
  for (const Table& table : kTables) {
    if (id >= table.firstId && id <= table.lastId)
      return &table;
  }
  return nullptr;
}

// One language's rows: per table, index -> single-byte text.
struct LanguageTexts {
  const Language* language = nullptr;
  std::array<std::map<int, std::string>, kTables.size()> rows;
};

struct Failure {
  std::string message;
};

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && blank(text.back()))
    text.remove_suffix(1);
  return text;
}

bool IsDecimal(std::string_view text) {
  return !text.empty() && text.size() <= 9 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Decodes the escapes of the files: \" always, \n and \r in message texts.
std::string Unescape(std::string_view text, bool lineBreaks) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '\\' && next == '"') {
      out.push_back('"');
      ++i;
      continue;
    }
    if (text[i] == '\\' && lineBreaks && (next == 'n' || next == 'r')) {
      out.push_back(next == 'n' ? '\n' : '\r');
      ++i;
      continue;
    }
    out.push_back(text[i]);
  }
  return out;
}

// UTF-8 to the single-byte code page; false when a character is not UTF-8 or has no byte in
// the code page.
class Encoder {
 public:
  explicit Encoder(std::string_view codePage)
      : cd_(iconv_open(std::string(codePage).c_str(), "UTF-8")) {}
  ~Encoder() {
    if (Ok())
      iconv_close(cd_);
  }
  Encoder(const Encoder&) = delete;  // owns the conversion descriptor
  Encoder& operator=(const Encoder&) = delete;

  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  bool Encode(const std::string& utf8, std::string& out) {
    out.assign(utf8.size(), '\0');  // a single-byte text is never longer than its UTF-8
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* to = out.data();
    std::size_t toLeft = out.size();
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd_, &in, &inLeft, &to, &toLeft) == static_cast<std::size_t>(-1))
      return false;
    out.resize(out.size() - toLeft);
    return true;
  }

 private:
  iconv_t cd_;
};

std::string Where(const std::string& path, int line) {
  return path + ":" + std::to_string(line) + ": ";
}

bool ReadLanguageFile(const std::string& path, LanguageTexts& texts, Failure& failure) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    failure.message = path + ": cannot be read";
    return false;
  }
  Encoder encoder(texts.language->codePage);
  if (!encoder.Ok()) {
    failure.message = "iconv has no conversion from UTF-8 to " +
                      std::string(texts.language->codePage);
    return false;
  }
  std::map<long, int> lineOfId;
  std::string raw;
  std::string encoded;
  for (int lineNumber = 1; std::getline(in, raw); ++lineNumber) {
    std::string_view line = raw;
    if (lineNumber == 1 && line.substr(0, 3) == "\xEF\xBB\xBF")
      line.remove_prefix(3);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    line = Trim(line.substr(0, line.find('!')));
    if (line.empty())
      continue;
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
      failure.message = Where(path, lineNumber) + "no \":\" after the id";
      return false;
    }
    const std::string_view idText = Trim(line.substr(0, colon));
    if (!IsDecimal(idText)) {
      failure.message = Where(path, lineNumber) + "\"" + std::string(idText) +
                        "\" is not a decimal id";
      return false;
    }
    const long id = std::stol(std::string(idText));
    const Table* table = TableOfId(id);
    if (table == nullptr) {
      failure.message = Where(path, lineNumber) + "id " + std::string(idText) +
                        " belongs to no text table";
      return false;
    }
    const auto [seen, isNew] = lineOfId.emplace(id, lineNumber);
    if (!isNew) {
      failure.message = Where(path, lineNumber) + "id " + std::string(idText) +
                        " was given on line " + std::to_string(seen->second) + " already";
      return false;
    }
    const std::string text = Unescape(Trim(line.substr(colon + 1)), table->lineBreakEscapes);
    if (!encoder.Encode(text, encoded)) {
      failure.message = Where(path, lineNumber) + "the text of id " + std::string(idText) +
                        " is not UTF-8 or cannot be written in code page " +
                        std::string(texts.language->codePage);
      return false;
    }
    const std::size_t tableIndex = static_cast<std::size_t>(table - kTables.data());
    texts.rows[tableIndex].emplace(static_cast<int>(id - table->firstIndexId), encoded);
  }
  return true;
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A C++ string literal of the bytes; bytes outside printable ASCII as hex escapes.
std::string Literal(const std::string& bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  bool afterHex = false;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (afterHex && IsHexDigit(c))
      out += "\" \"";  // a hex escape would swallow the digit
    afterHex = false;
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (byte < 0x20 || byte >= 0x7F) {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
      afterHex = true;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string ArrayName(const LanguageTexts& texts, const Table& table) {
  return "k" + std::string(texts.language->symbol) + std::string(table.kind);
}

std::string Generate(const std::vector<LanguageTexts>& languages) {
  std::ostringstream out;
  out << "// Generated by langc from the language files of data/lang. Do not edit.\n"
         "#include \"lang/InterfaceTexts.h\"\n\n"
         "#include <array>\n\n";
  for (const LanguageTexts& texts : languages) {
    for (std::size_t t = 0; t < kTables.size(); ++t) {
      if (texts.rows[t].empty())
        continue;
      out << "static constexpr TextRow " << ArrayName(texts, kTables[t]) << "[] = {\n";
      for (const auto& [index, text] : texts.rows[t])
        out << "    {" << index << ", " << Literal(text) << "},\n";
      out << "};\n";
    }
    out << "\n";
  }
  out << "namespace {\n\n"
         "struct BuiltInLanguage {\n"
         "  int language;\n"
         "  std::array<std::span<const TextRow>, 4> tables;  // by TextTableKind\n"
         "};\n\n"
         "}  // namespace\n\n"
         "// The languages whose file the source tree held.\n"
         "static constexpr BuiltInLanguage kBuiltInLanguages[] = {\n";
  int count = 0;
  for (const LanguageTexts& texts : languages) {
    out << "    {" << texts.language->id << ", {";
    for (std::size_t t = 0; t < kTables.size(); ++t) {
      out << (t == 0 ? "" : ", ");
      if (texts.rows[t].empty())
        out << "std::span<const TextRow>()";
      else
        out << "std::span<const TextRow>(" << ArrayName(texts, kTables[t]) << ")";
    }
    out << "}},\n";
    ++count;
  }
  if (count == 0)
    out << "    {0, {}},  // none: a placeholder, as an array cannot be empty\n";
  out << "};\n\n"
         "static const BuiltInLanguage* FindBuiltIn(int language) {\n"
         "  for (const BuiltInLanguage& builtIn : kBuiltInLanguages) {\n"
         "    if (builtIn.language == language && language != 0)\n"
         "      return &builtIn;\n"
         "  }\n"
         "  return nullptr;\n"
         "}\n\n"
         "bool HasBuiltInTranslation(int language) { return FindBuiltIn(language) != nullptr; }\n\n"
         "std::span<const TextRow> TranslatedTextRows(int language, TextTableKind table) {\n"
         "  const BuiltInLanguage* builtIn = FindBuiltIn(language);\n"
         "  if (builtIn == nullptr)\n"
         "    return {};\n"
         "  return builtIn->tables[static_cast<std::size_t>(table)];\n"
         "}\n";
  return out.str();
}

const Language* FindLanguage(std::string_view name) {
  for (const Language& language : kLanguages) {
    if (language.name == name)
      return &language;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: langc <output.cpp> [<language>=<file.lng>]...\n");
    return 2;
  }
  std::vector<LanguageTexts> languages;
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const std::size_t equals = arg.find('=');
    const Language* language =
        equals == std::string_view::npos ? nullptr : FindLanguage(arg.substr(0, equals));
    if (language == nullptr) {
      std::fprintf(stderr, "langc: \"%s\" names no language\n", argv[i]);
      return 2;
    }
    LanguageTexts texts;
    texts.language = language;
    Failure failure;
    if (!ReadLanguageFile(std::string(arg.substr(equals + 1)), texts, failure)) {
      std::fprintf(stderr, "%s\n", failure.message.c_str());
      return 1;
    }
    languages.push_back(std::move(texts));
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << Generate(languages);
  out.close();
  if (!out) {
    std::fprintf(stderr, "langc: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
