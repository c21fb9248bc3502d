#include "engine/HostNameCheck.h"

#include <cstdint>
#include <iterator>

#include "engine/Context.h"

// Lower case; the sets they fill ignore case.
static constexpr std::string_view kGenericDomains[] = {
    "aero", "arpa", "arts", "asia", "biz", "cat", "com", "coop", "edu", "firm", "geo", "gov",
    "info", "int", "jobs", "mil", "mobi", "museum", "name", "net", "nom", "org", "post", "pro",
    "rec", "shop", "tel", "travel", "web",
};
static_assert(std::size(kGenericDomains) == 29, "29 generic top-level domains");

static constexpr std::string_view kCountryDomains[] = {
    "ac", "ad", "ae", "af", "ag", "ai", "al", "am", "an", "ao", "aq", "ar", "as", "at", "au",
    "aw", "ax", "az", "ba", "bb", "bd", "be", "bf", "bg", "bh", "bi", "bj", "bm", "bn", "bo",
    "br", "bs", "bt", "bv", "bw", "by", "bz", "ca", "cc", "cd", "cf", "cg", "ch", "ci", "ck",
    "cl", "cm", "cn", "co", "cr", "cu", "cv", "cx", "cy", "cz", "de", "dj", "dk", "dm", "do",
    "dz", "ec", "ee", "eg", "eh", "er", "es", "et", "eu", "fi", "fj", "fk", "fm", "fo", "fr",
    "ga", "gb", "gd", "ge", "gf", "gg", "gh", "gi", "gl", "gm", "gn", "gp", "gq", "gr", "gs",
    "gt", "gu", "gw", "gy", "hk", "hm", "hn", "hr", "ht", "hu", "id", "ie", "il", "im", "in",
    "io", "iq", "ir", "is", "it", "je", "jm", "jo", "jp", "ke", "kg", "kh", "ki", "km", "kn",
    "kp", "kr", "kw", "ky", "kz", "la", "lb", "lc", "li", "lk", "lr", "ls", "lt", "lu", "lv",
    "ly", "ma", "mc", "md", "mg", "mh", "mk", "ml", "mm", "mn", "mo", "mp", "mq", "mr", "ms",
    "mt", "mu", "mv", "mw", "mx", "my", "mz", "na", "nc", "ne", "nf", "ng", "ni", "nl", "no",
    "np", "nr", "nu", "nz", "om", "pa", "pe", "pf", "pg", "ph", "pk", "pl", "pm", "pn", "pr",
    "ps", "pt", "pw", "py", "qa", "re", "ro", "ru", "rw", "sa", "sb", "sc", "sd", "se", "sg",
    "sh", "si", "sj", "sk", "sl", "sm", "sn", "so", "sr", "st", "su", "sv", "sy", "sz", "tc",
    "td", "tf", "tg", "th", "tj", "tk", "tm", "tn", "to", "tp", "tr", "tt", "tv", "tw", "tz",
    "ua", "ug", "uk", "um", "us", "uy", "uz", "va", "vc", "ve", "vg", "vi", "vn", "vu", "wf",
    "ws", "ye", "yt", "yu", "za", "zm", "zr", "zw",
};
static_assert(std::size(kCountryDomains) == 248, "248 country top-level domains");

std::span<const std::string_view> GenericTopLevelDomains() { return kGenericDomains; }
std::span<const std::string_view> CountryTopLevelDomains() { return kCountryDomains; }

// The top part of a single-number host (n / 2^24) must lie in 1 .. 511.
static constexpr std::uint64_t kNumericHostMin = std::uint64_t{1} << 24;
static constexpr std::uint64_t kNumericHostMax = (std::uint64_t{512} << 24) - 1;
static constexpr int kMinCandidateLength = 5;
static constexpr int kMaxDottedHostLength = 19;

static void FillDomains(NameIndex& index, std::span<const std::string_view> names) {
  if (index.GetCount() != 0) return;
  // Table entries are string literals, so their data() is NUL-terminated.
  for (const std::string_view name : names) index.Insert(name.data());
}

// Field n (1-based) of text split at every separator; empty when there is none.
static std::string_view FieldOf(std::string_view text, int n, char separator) {
  std::size_t start = 0;
  for (int field = 1; field < n; ++field) {
    const std::size_t next = text.find(separator, start);
    if (next == std::string_view::npos) return {};
    start = next + 1;
  }
  const std::size_t end = text.find(separator, start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

static bool IsHostChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsDigit(c) || c == '.' ||
         c == '-' || c == '_' || c == ':' || c == '/';
}

static TextString TextOf(std::string_view text) {
  TextString out;
  out.AssignBytes(text.data(), static_cast<int>(text.size()));
  return out;
}

static bool ContainsNoCase(std::string_view text, const char* part) {
  return TextOf(text).ContainsNoCase(part);
}

// Puts replacement in place of the first occurrence of host in corrected.
static void ReplaceHost(TextString& corrected, const TextString& host, const TextString& replacement,
                        int& changed) {
  int pos = -1;
  if (host.IsEmpty() || !corrected.Find(0, host.GetText(), &pos, 1, 0)) return;
  corrected.ReplaceSpan(pos, host.GetLength(), replacement.GetText());
  changed = 1;
}

// All digits, read as a number of at most kNumericHostMax (larger values are refused
// without overflowing).
static bool ReadHostNumber(std::string_view text, std::uint64_t& n) {
  if (text.empty()) return false;
  n = 0;
  for (const char c : text) {
    if (!IsDigit(c)) return false;
    n = n * 10 + static_cast<std::uint64_t>(c - '0');
    if (n > kNumericHostMax) return false;
  }
  return true;
}

// One field of a dotted address: 0 .. 255, octal when it begins with "0".
static bool ReadAddressField(std::string_view field, int& value) {
  if (field.empty()) return false;
  const int base = field[0] == '0' ? 8 : 10;
  value = 0;
  for (const char c : field) {
    if (!IsDigit(c) || c - '0' >= base) return false;
    value = value * base + (c - '0');
    if (value > 255) return false;
  }
  return true;
}

// A single number n becomes t.b2.b1.b0 with t = n / 2^24 (less 256 above 255).
static bool CheckNumericHost(const TextString& host, TextString& corrected, int& changed) {
  std::uint64_t n = 0;
  if (!ReadHostNumber(host.GetText(), n) || n < kNumericHostMin) return false;
  std::uint64_t top = n >> 24;
  if (top > 255) top -= 256;
  TextString dotted(static_cast<int>(top));
  for (const int shift : {16, 8, 0}) {
    dotted.AppendChar('.');
    dotted.AppendNumber('1', static_cast<int>((n >> shift) & 0xFF), 0);
  }
  ReplaceHost(corrected, host, dotted, changed);
  return true;
}

static bool CheckDottedAddress(const TextString& host, TextString& corrected, int& changed) {
  if (host.GetLength() > kMaxDottedHostLength || host.CountChar('.') != 3) return false;
  const std::string_view text(host.GetText(), static_cast<std::size_t>(host.GetLength()));
  TextString decimal;
  bool octal = false;
  for (int i = 1; i <= 4; ++i) {
    const std::string_view field = FieldOf(text, i, '.');
    int value = 0;
    if (!ReadAddressField(field, value)) return false;
    octal = octal || field[0] == '0';
    if (i > 1) decimal.AppendChar('.');
    decimal.AppendNumber('1', value, 0);
  }
  if (octal) ReplaceHost(corrected, host, decimal, changed);
  return true;
}

// The host part of a candidate: after a user "@", the authority of an address with a scheme,
// before a query, after a "mailto:"-like label, inside quotes.
static void ExtractHost(const TextString& candidate, int kind, TextString& host) {
  std::string_view text(candidate.GetText(), static_cast<std::size_t>(candidate.GetLength()));
  if (kind >= 0 && kind <= 2 && candidate.CountChar('@') == 1) text = text.substr(text.find('@') + 1);
  if (text.find('/') != std::string_view::npos)
    text = FieldOf(text, text.find("://") != std::string_view::npos ? 3 : 1, '/');
  if (const std::size_t query = text.find('?'); query != std::string_view::npos)
    text = text.substr(0, query);
  if (text.find(':') != std::string_view::npos) {
    const bool labelled = ContainsNoCase(text, "mailto:") || ContainsNoCase(text, "URL:") ||
                          ContainsNoCase(text, "Email:");
    text = FieldOf(text, labelled ? 2 : 1, ':');
  }
  if (text.find('"') != std::string_view::npos) text = FieldOf(text, 2, '"');
  host = TextOf(text);
}

int Context::IsValidDomain(const TextString& candidate, int kind, TextString& corrected,
                           int& changed) {
  corrected.Assign(candidate);
  changed = 0;
  if (candidate.GetLength() < kMinCandidateLength) return 0;
  FillDomains(GenericDomains, kGenericDomains);
  FillDomains(CountryDomains, kCountryDomains);

  TextString host;
  ExtractHost(candidate, kind, host);
  if (host.IsEmpty()) return 0;
  if (host.ContainsChar('%')) {
    TextString decoded(host);
    decoded.DecodePercentEscapes();
    ReplaceHost(corrected, host, decoded, changed);
    host.Assign(decoded);
  }
  int length = host.GetLength();
  while (length > 0 && static_cast<unsigned char>(host.CharAt(length - 1)) >= 0x80) --length;
  host.Truncate(length);
  for (int i = 0; i < host.GetLength(); ++i)
    if (!IsHostChar(host.CharAt(i))) return 0;

  if (!host.ContainsChar('.')) return CheckNumericHost(host, corrected, changed) ? 1 : 0;

  const std::string_view text(host.GetText(), static_cast<std::size_t>(host.GetLength()));
  const std::size_t lastDot = text.rfind('.');
  const std::string_view topLevel = text.substr(lastDot + 1);
  const std::size_t previousDot = lastDot == 0 ? std::string_view::npos : text.rfind('.', lastDot - 1);
  const std::size_t previousStart = previousDot == std::string_view::npos ? 0 : previousDot + 1;
  if (previousStart == lastDot) return 0;  // the label before the top-level one is empty

  const TextString label = TextOf(topLevel);
  if (GenericDomains.Find(label.GetText()) >= 0) return 1;
  if (label.GetLength() == 2 && CountryDomains.Find(label.GetText()) >= 0) return 1;
  return CheckDottedAddress(host, corrected, changed) ? 1 : 0;
}
