#include "engine/HostNameCheck.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/Context.h"

namespace {

struct DomainCase {
  const char* candidate;
  int kind;
  int valid;
  const char* corrected;  // null: the candidate unchanged and changed 0
};

constexpr DomainCase kDomainCases[] = {
    // Addresses with a scheme: the host is the third "/"-field.
    {"http://www.example.com/docs/index.html", 0, 1, nullptr},
    {"http://www.example.xyz/docs/index.html", 0, 0, nullptr},
    {"https://Example.ORG", 0, 1, nullptr},
    {"http://www.example.com:8080/x", 0, 1, nullptr},
    {"http://www.example.com/find?q=a.b", 0, 1, nullptr},
    // A user part counts only for kinds 0 to 2.
    {"someone@mail.example.co.uk", 0, 1, nullptr},
    {"someone@EXAMPLE.NET", 2, 1, nullptr},
    {"mailto:someone@example.com", 0, 1, nullptr},
    {"mailto:someone@example.com", 3, 0, nullptr},
    {"a@b@example.com", 0, 0, nullptr},
    {"URL:www.example.info", 4, 1, nullptr},
    {"\"www.example.edu\"", 5, 1, nullptr},
    // Length: four characters or fewer never pass.
    {"a.uk", 0, 0, nullptr},
    {"ab.uk", 0, 1, nullptr},
    // Labels and characters.
    {"www..com", 0, 0, nullptr},
    {".com.", 0, 0, nullptr},
    {"www.exa!mple.com", 0, 0, nullptr},
    {"www.example.com\x93\xA0", 0, 1, nullptr},
    {"www.example.c", 0, 0, nullptr},
    {"nodots", 0, 0, nullptr},
    // Escapes are decoded into the corrected text.
    {"www.ex%61mple.com", 0, 1, "www.example.com"},
    // A single number: the top part (n / 2^24) must be 1 to 511.
    {"http://16777216/", 0, 1, "http://1.0.0.0/"},
    {"http://16777215/", 0, 0, nullptr},
    {"http://3232235777/a", 0, 1, "http://192.168.1.1/a"},
    {"http://8589934591/", 0, 1, "http://255.255.255.255/"},
    {"http://8589934592/", 0, 0, nullptr},
    {"http://99999999999999999999999/", 0, 0, nullptr},
    // Dotted addresses: fields 0 to 255, octal after a leading 0.
    {"http://192.168.1.20/", 0, 1, nullptr},
    {"http://010.0.0.1/x", 0, 1, "http://8.0.0.1/x"},
    {"http://10.0.256.1/", 0, 0, nullptr},
    {"http://10.08.0.1/", 0, 0, nullptr},
    {"http://1.2.3.4.5/", 0, 0, nullptr},
    {"http://1.2.3/", 0, 0, nullptr},
    {"http://1111.2222.3333.44444/", 0, 0, nullptr},
};

}  // namespace

TEST(HostNameCheck, JudgesHostsAndRewritesNumericForms) {
  Context ctx(2, kOutputRtf);
  for (const DomainCase& c : kDomainCases) {
    SCOPED_TRACE(c.candidate);
    TextString corrected("stale");
    int changed = -1;
    EXPECT_EQ(ctx.IsValidDomain(TextString(c.candidate), c.kind, corrected, changed), c.valid);
    EXPECT_STREQ(corrected.GetText(), c.corrected ? c.corrected : c.candidate);
    EXPECT_EQ(changed, c.corrected ? 1 : 0);
  }
}

TEST(HostNameCheck, AcceptsEveryListedTopLevelDomain) {
  Context ctx(2, kOutputRtf);
  TextString corrected;
  int changed = 0;
  for (const auto& table : {GenericTopLevelDomains(), CountryTopLevelDomains()}) {
    std::set<std::string_view> seen;
    for (const std::string_view domain : table) {
      SCOPED_TRACE(std::string(domain));
      EXPECT_TRUE(seen.insert(domain).second) << "duplicate";
      const std::string host = "www.example." + std::string(domain);
      EXPECT_EQ(ctx.IsValidDomain(TextString(host.c_str()), 0, corrected, changed), 1);
    }
  }
  EXPECT_EQ(ctx.GenericDomains.GetCount(), 29);
  EXPECT_EQ(ctx.CountryDomains.GetCount(), 248);
  // An unlisted two-letter label is refused.
  EXPECT_EQ(ctx.IsValidDomain(TextString("www.example.xx"), 0, corrected, changed), 0);
}
