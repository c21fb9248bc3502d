#pragma once

#include <string>

#include "pages/BaseSheet.h"

// The four option sheets. Each sheet's template id is the dialog text id of its caption.
enum SheetId : int {
  kSheetAnalysisId = 685,
  kSheetOutputId = 686,
  kSheetConfigId = 687,
  kSheetSettingsId = 688,
};

// The output policies for the generated RTF.
class Sheet : public BaseSheet {
 public:
  Sheet(SheetHost& host, std::string caption);
};

// The analysis policies for the input text.
class SheetAnalysis : public BaseSheet {
 public:
  SheetAnalysis(SheetHost& host, std::string caption);
};

// The configuration files.
class SheetConfig : public BaseSheet {
 public:
  SheetConfig(SheetHost& host, std::string caption);
};

// The program settings: its pages edit the main dialog's settings.
class SheetSettings : public BaseSheet {
 public:
  SheetSettings(SheetHost& host, std::string caption);
};

const SheetDefinition& OutputSheetDefinition();
const SheetDefinition& AnalysisSheetDefinition();
const SheetDefinition& ConfigSheetDefinition();
const SheetDefinition& SettingsSheetDefinition();
