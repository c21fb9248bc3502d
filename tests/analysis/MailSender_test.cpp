#include "analysis/MailSender.h"

#include <gtest/gtest.h>

#include "support/ContextFixture.h"
#include "text/TextString.h"

namespace {

struct SenderCase {
  const char* value;
  const char* name;
  const char* address;
  const char* dateTime;
};

constexpr SenderCase kSenderCases[] = {
    // A quoted name before an address in angle brackets; "Surname, First" turned round.
    {"\"Bloggs, Joe\" <joe@example.com>", "Joe Bloggs", "joe@example.com", ""},
    {"Joe Bloggs <joe@example.com>", "Joe Bloggs", "joe@example.com", ""},
    {"Joe Bloggs&lt;joe@example.com&gt;", "Joe Bloggs", "joe@example.com", ""},
    // A name in brackets after the address.
    {"jane@example.com (Jane Doe)", "Jane Doe", "jane@example.com", ""},
    // Only an address: two names joined by one "." or "_", else the address itself.
    {"joe.bloggs@example.com", "joe bloggs", "joe.bloggs@example.com", ""},
    {"jane_doe@example.com", "jane doe", "jane_doe@example.com", ""},
    {"a.b.c@example.com", "a.b.c@example.com", "a.b.c@example.com", ""},
    // Date and time come out as time then date, and are no part of the name.
    {"John Smith <js@example.com> 10/12/2026 12:30:00", "John Smith", "js@example.com",
     "12:30:00 10/12/2026"},
    {"12:30 John Smith", "John Smith", "", "12:30"},
    // Nothing that is an address.
    {"nobody at all", "nobody at all", "", ""},
    {"", "", "", ""},
};

class MailSenderTest : public ContextFixture {};

TEST_F(MailSenderTest, SplitsNameAddressAndDate) {
  for (const SenderCase& c : kSenderCases) {
    SCOPED_TRACE(c.value);
    TextString name("old");
    TextString address("old");
    TextString dateTime("old");
    SplitMailSender(fc, c.value, name, address, dateTime);
    EXPECT_STREQ(name.GetText(), c.name);
    EXPECT_STREQ(address.GetText(), c.address);
    EXPECT_STREQ(dateTime.GetText(), c.dateTime);
  }
}

}  // namespace
