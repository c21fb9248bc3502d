// The definitions a pre-formatted region uses: the layout and column settings completed
// from their text policies, the column formats bound to their definitions, and the cell
// values offered to the table-data definitions and barcharts.

#include <algorithm>

#include "engine/Context.h"
#include "engine/DefineList.h"
#include "engine/DefinitionList.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "policy/BaseDefinition.h"
#include "tables/PreForm.h"
#include "policy/TableGenerationPolicies.h"
#include "policy/TableLayout.h"
#include "tables/TableTags.h"
#include "text/TextMeasure.h"

// A policy whose text is worth applying.
static bool HasText(const TextPolicy& policy) { return policy.set && !policy.value.IsEmpty(); }

// "TAG ERROR: Failed to locate <what> definition "name"".
static void ReportMissing(PreForm& region, const char* what, const TextString& name) {
  TextString message("TAG ERROR: Failed to locate ");
  message.Append(what);
  message.Append(" definition \"");
  message.Append(name);
  message.AppendChar('"');
  region.Report(message.GetText(), 10);
}

static void CopyBarchart(const GraphDefinition& bar, ColumnFormat& format) {
  format.hasBarchart = 1;
  format.barWidth = bar.barWidth;
  format.barMinimum = bar.minimum;
  format.barMaximum = bar.maximum;
  format.barOrigin = bar.origin;
  format.hasMinimum = bar.hasMinimum;
  format.hasMaximum = bar.hasMaximum;
  format.hasOrigin = bar.hasOrigin;
  format.valueLocation = bar.valueLocation;
  format.barColour = bar.colour;
  format.barBackgroundColour = bar.backgroundColour;
  format.nullValue = bar.nullValue;
  format.nullDisplay = bar.nullDisplay;
}

void PreForm::BindColumnFormat(ColumnFormat& format) {
  const BaseDefinition* found = ctx_->FormatDefinitions.Find(format.formatName);
  const auto* definition = dynamic_cast<const FormatDefinition*>(found);
  if (definition == nullptr) {
    ReportMissing(*this, "column format", format.formatName);
    return;
  }
  format.cssId = definition->cssId;
  if (!definition->barchartName.IsEmpty()) {
    const auto* bar =
        dynamic_cast<const GraphDefinition*>(ctx_->GraphDefinitions.Find(definition->barchartName));
    if (bar == nullptr)
      ReportMissing(*this, "barchart", definition->barchartName);
    else
      CopyBarchart(*bar, format);
  }
  int pos = 0;
  TextString name;
  while (definition->alarmNames.GetNextField(&pos, ',', name)) {
    name.Trim();
    if (name.IsEmpty())
      continue;
    const auto* alarm =
        dynamic_cast<const AlarmDefinition*>(ctx_->AlarmDefinitions.Find(name));
    if (alarm == nullptr)
      ReportMissing(*this, "alarm", name);
    else
      format.alarms.push_back(alarm);
  }
}

void PreForm::UseDefinitions() {
  if (definitionsUsed || fc_ == nullptr)
    return;
  definitionsUsed = 1;
  EnsureLayout();
  if (HasText(layout_->layout))
    ParseTableLayout(*fc_, *layout_, layout_->layout.value);
  if (layout_->headerRows.value > 0)
    fixedHeaderIndex = layout_->headerRows.value;
  if (generation_ == nullptr)
    return;
  TableGenerationPolicies& g = *generation_;
  if (const TextPolicy& show = g.Text(GenerationPolicyId::ShowColumns); HasText(show))
    ParseShowColumns(*fc_, *layout_, show.value);
  if (const TextPolicy& p = g.Text(GenerationPolicyId::ColumnAlignments); HasText(p))
    ParseColumnAlignments(*fc_, g, p.value);
  if (const TextPolicy& p = g.Text(GenerationPolicyId::ColumnNames); HasText(p))
    ParseColumnFormats(*fc_, g, p.value);
  if (const TextPolicy& p = g.Text(GenerationPolicyId::ColumnHeaders); HasText(p))
    ParseColumnHeaders(*fc_, g, p.value);
  if (const TextPolicy& p = g.Text(GenerationPolicyId::ColumnWidths); HasText(p))
    ParseColumnWidths(*fc_, g, p.value);
  if (ctx_ == nullptr)
    return;
  for (int k = 0; k < g.GetColumnCount(); ++k) {
    ColumnFormat& format = *g.GetColumn(k);
    if (!format.formatName.IsEmpty())
      BindColumnFormat(format);
  }
}

// The barchart label: the text without its line breaks.
static void LabelText(const TextString& text, TextString& label) {
  label.Assign(text);
  label.Trim();
  label.ReplaceAll("<BR>", "", 0, 1);
  label.Trim();
}

void PreForm::OfferCellValue(int lineIndex, int columnIndex, int inHeader,
                             const TextString& text) {
  if (fc_ == nullptr || ctx_ == nullptr)
    return;
  if (layout_ != nullptr) {
    for (int d = 0; d < layout_->GetDefinitionCount(); ++d) {
      TableDataDefinition& definition = *layout_->GetDefinition(d);
      if (definition.row != lineIndex || definition.column != columnIndex + 1)
        continue;
      definition.cellText = text;
      // The variable is registered as in the analysis pass, although regions are analysed
      // while the output pass writes them.
      const int location = ctx_->CodeLocation;
      ctx_->CodeLocation = kLocationAnalysis;
      (void)ctx_->Defines.Add(*fc_, kDefineVariable, definition.GetName(), TextPosition(), 0, 1,
                              &text, 1);
      ctx_->CodeLocation = location;
    }
  }
  if (inHeader || generation_ == nullptr)
    return;
  ColumnFormat* format = generation_->GetColumn(columnIndex);
  if (format == nullptr || !format->hasBarchart)
    return;
  TextString& label = work;
  LabelText(text, label);
  if (!format->nullValue.IsEmpty() && label.Compare(format->nullValue.GetText(), 1, 0))
    return;
  const int width = EstimateTextWidth(1, label, 12, 0) / 20 + 10;
  format->widestLabel = std::max(format->widestLabel, width);
  double value = 0.0;
  if (!label.ParseDouble(&value))
    return;
  if (!format->lowestSet || value < format->lowestValue)
    format->lowestValue = value;
  if (!format->highestSet || value > format->highestValue)
    format->highestValue = value;
  format->lowestSet = format->highestSet = 1;
}
