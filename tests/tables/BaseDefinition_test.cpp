#include "policy/BaseDefinition.h"

#include <gtest/gtest.h>

#include <string>

#include "support/ContextFixture.h"

class DefinitionTest : public ContextFixture {
 protected:
  ErrorHandler& Handler() { return ctx.GetLogErrorHandler(); }
  // The single message reported, or "" when there was none.
  std::string OnlyMessage() const {
    EXPECT_LE(messages.size(), 1u);
    return messages.empty() ? std::string() : messages[0];
  }
  const TextPosition at{4, 0};
};

TEST_F(DefinitionTest, AlarmReadsEveryAttribute) {
  AlarmDefinition alarm(ctx, Handler(), at,
                        "name=low type=EQS column_value=3 value=\"n/a\" alarm_color=yellow "
                        "cellatts='bgcolor=red' CSS_ID=warn");
  EXPECT_EQ(OnlyMessage(), "");
  EXPECT_EQ(alarm.IsValid(), 1);
  EXPECT_STREQ(alarm.GetName().GetText(), "low");
  EXPECT_EQ(alarm.comparison, kAlarmEqualText);
  EXPECT_EQ(alarm.columnValue, 3);
  EXPECT_STREQ(alarm.valueText.GetText(), "n/a");
  EXPECT_STREQ(alarm.alarmColour.GetText(), "yellow");
  EXPECT_STREQ(alarm.cellAttributes.GetText(), "bgcolor=red");
  EXPECT_STREQ(alarm.cssId.GetText(), "warn");
  EXPECT_EQ(alarm.GetPosition().GetLine(), 4);

  AlarmDefinition numeric(ctx, Handler(), at, "name=high type=gt value=2.5");
  EXPECT_EQ(numeric.IsValid(), 1);
  EXPECT_DOUBLE_EQ(numeric.valueNumber, 2.5);
  EXPECT_TRUE(numeric.valueText.IsEmpty());
  EXPECT_STREQ(numeric.alarmColour.GetText(), "red");
}

TEST_F(DefinitionTest, AlarmWithoutTypeIsDroppedQuietly) {
  AlarmDefinition alarm(ctx, Handler(), at, "name=low value=3");
  EXPECT_EQ(OnlyMessage(), "");
  EXPECT_EQ(alarm.IsValid(), 0);
  EXPECT_TRUE(alarm.GetName().IsEmpty());
}

TEST_F(DefinitionTest, BadAttributesAreReportedAndInvalid) {
  struct Case {
    char kind;  // A alarm, F format, G barchart, T table data
    const char* attributes;
    const char* message;
  };
  const Case cases[] = {
      {'A', "name=x type=about", "TAG ERROR: Failed to parse \"TYPE\" value - \"about\""},
      {'A', "name=x type=lt column_value=two",
       "TAG ERROR: Invalid value for \"COLUMN_VALUE\" - two\""},
      {'A', "name=x type=lt colour=red", "TAG ERROR: unknown alarm attributes - colour=red"},
      {'F', "name=money CSS_ID=m width=3",
       "TAG ERROR: unknown column format attributes - width=3"},
      {'G', "name=bar min=5 max=5", "TAG ERROR: MIN is not less than MAX"},
      {'G', "name=bar min=low", "TAG ERROR: Failed to parse \"MIN\" value - \"low\""},
      {'G', "name=bar width=wide", "TAG ERROR: Failed to parse \"WIDTH\" value - \"wide\""},
      {'G', "name=bar value_location=top",
       "TAG ERROR: Failed to parse \"VALUE_LOCATION\" value - \"top\""},
      {'T', "row=1 col=2", "TAG ERROR: Definition has no NAME value - ignored"},
      {'T', "name=t row=one col=2", "TAG ERROR: invalid value for \"ROW\"one\""},
      {'T', "name=t row=1 col=2 sheet=3", "TAG ERROR: unknown table data attributes - sheet=3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    messages.clear();
    int valid = -1;
    switch (c.kind) {
      case 'A': valid = AlarmDefinition(ctx, Handler(), at, c.attributes).IsValid(); break;
      case 'F': valid = FormatDefinition(ctx, Handler(), at, c.attributes).IsValid(); break;
      case 'G': valid = GraphDefinition(ctx, Handler(), at, c.attributes).IsValid(); break;
      default: valid = TableDataDefinition(ctx, Handler(), at, c.attributes).IsValid(); break;
    }
    EXPECT_EQ(valid, 0);
    EXPECT_EQ(OnlyMessage(), c.message);
  }
}

TEST_F(DefinitionTest, BarchartReadsRangeColoursAndLocation) {
  GraphDefinition bar(ctx, Handler(), at,
                      "name=sales min=0 max=100 width=150 origin=10 bgcolor=white colour=green "
                      "value_location=C null_value=- null_display=none");
  EXPECT_EQ(OnlyMessage(), "");
  EXPECT_EQ(bar.IsValid(), 1);
  EXPECT_EQ(bar.hasMinimum + bar.hasMaximum + bar.hasOrigin, 3);
  EXPECT_DOUBLE_EQ(bar.maximum, 100.0);
  EXPECT_EQ(bar.barWidth, 150);
  EXPECT_STREQ(bar.backgroundColour.GetText(), "white");
  EXPECT_STREQ(bar.colour.GetText(), "green");
  EXPECT_EQ(bar.valueLocation, kBarValueMiddle);
  EXPECT_STREQ(bar.nullDisplay.GetText(), "none");

  GraphDefinition plain(ctx, Handler(), at, "name=p");
  EXPECT_EQ(plain.IsValid(), 1);
  EXPECT_EQ(plain.barWidth, 200);
  EXPECT_STREQ(plain.colour.GetText(), "blue");
  EXPECT_EQ(plain.hasMinimum, 0);
}

TEST_F(DefinitionTest, TableDataCloneCopiesEverything) {
  TableDataDefinition data(ctx, Handler(), at, "name=total row=3 col=2");
  ASSERT_EQ(data.IsValid(), 1);
  data.cellText = "42";
  const auto copy = data.Clone();
  EXPECT_STREQ(copy->GetName().GetText(), "total");
  EXPECT_EQ(copy->row, 3);
  EXPECT_EQ(copy->column, 2);
  EXPECT_STREQ(copy->cellText.GetText(), "42");
  EXPECT_EQ(copy->IsValid(), 1);
  EXPECT_EQ(copy->GetPosition().GetLine(), 4);
}
