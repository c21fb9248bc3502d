#include "pages/OptionSheets.h"

#include "pages/OutputPages.h"
#include "pages/PageDefinitions.h"
#include "platform/DialogTemplate.h"

using CK = ControlKind;

// The closing row every sheet shares.
static constexpr ControlTemplate kSheetButtons[] = {
    {kSheetOk, CK::Button, kControlButtonRow | kControlDefault, "OK", 0},
    {kSheetCancel, CK::Button, kControlButtonRow, "Cancel", 0},
    {kSheetApply, CK::Button, kControlButtonRow, "Apply", 0},
};

// ---- Sheet ----

static constexpr DialogTemplate kOutputDialog = {
    kSheetOutputId, "Output policies for generated RTF file(s)", kSheetButtons};
static constexpr const PageDefinition* kOutputMembers[] = {
    &kHyperlinksPage, &kFileGenRTFPage, &kFontPage, &kMakeHelpPage,
    &kPreProPage, &kRTFDocumentPage, &kRTFFormatPage, &kRTFSettingsPage};
static constexpr const PageDefinition* kOutputTabs[] = {
    &kRTFDocumentPage, &kFileGenRTFPage, &kFontPage, &kRTFFormatPage,
    &kHyperlinksPage, &kPreProPage, &kRTFSettingsPage};
static constexpr PageCodeTarget kOutputCodes[] = {
    {12, &kFileGenRTFPage}, {15, &kFontPage},     {19, &kHyperlinksPage},
    {28, &kPreProPage},     {29, &kRTFFormatPage}, {30, &kRTFSettingsPage},
};
static constexpr SheetDefinition kOutputSheet = {
    &kOutputDialog, 686, kOutputMembers, kOutputTabs, kOutputMembers, kOutputMembers,
    kOutputCodes, &kRTFDocumentPage, SheetPlacement::BottomRight, false};

// ---- SheetAnalysis ----

static constexpr DialogTemplate kAnalysisDialog = {
    kSheetAnalysisId, "Analysis policies for input text file(s)", kSheetButtons};
static constexpr const PageDefinition* kAnalysisMembers[] = {
    &kLookForPage, &kAnalysisPage, &kBulletsPage, &kHeadingPage,
    &kContentsPage, &kFileStructPage, &kPreFormatPage, &kTabAnalPage};
static constexpr const PageDefinition* kAnalysisTabs[] = {
    &kLookForPage, &kAnalysisPage, &kBulletsPage, &kContentsPage,
    &kFileStructPage, &kHeadingPage, &kPreFormatPage, &kTabAnalPage};
static constexpr const PageDefinition* kAnalysisSaveOrder[] = {
    &kAnalysisPage, &kLookForPage, &kBulletsPage, &kHeadingPage,
    &kContentsPage, &kFileStructPage, &kPreFormatPage, &kTabAnalPage};
static constexpr PageCodeTarget kAnalysisCodes[] = {
    {2, &kAnalysisPage},    {3, &kBulletsPage},   {5, &kContentsPage},
    {14, &kFileStructPage}, {17, &kHeadingPage},  {20, &kLookForPage},
    {27, &kPreFormatPage},  {39, &kTabAnalPage},
};
static constexpr SheetDefinition kAnalysisSheet = {
    &kAnalysisDialog, 685, kAnalysisMembers, kAnalysisTabs, kAnalysisMembers,
    kAnalysisSaveOrder, kAnalysisCodes, nullptr, SheetPlacement::BottomLeft, false};

// ---- SheetConfig ----

static constexpr DialogTemplate kConfigDialog = {kSheetConfigId, "Configuration Files",
                                                 kSheetButtons};
static constexpr const PageDefinition* kConfigMembers[] = {&kLinkDictPage, &kSDFPage, &kTDFPage,
                                                     &kTextSubsPage};
static constexpr PageCodeTarget kConfigCodes[] = {
    {31, &kSDFPage}, {42, &kTDFPage}, {51, &kTextSubsPage}};
static constexpr SheetDefinition kConfigSheet = {
    &kConfigDialog, 687, kConfigMembers, kConfigMembers, kConfigMembers, kConfigMembers,
    kConfigCodes, &kLinkDictPage, SheetPlacement::BottomLeft, false};

// ---- SheetSettings ----

static constexpr DialogTemplate kSettingsDialog = {kSheetSettingsId, "Program Settings",
                                                   kSheetButtons};
static constexpr const PageDefinition* kSettingsMembers[] = {
    &kSettingsDragPage, &kSettingsDocoPage, &kSettingsViewerPage, &kSettingsPolicyPage,
    &kSettingsMessagesPage};
static constexpr const PageDefinition* kSettingsTabs[] = {
    &kSettingsDocoPage, &kSettingsDragPage, &kSettingsMessagesPage, &kSettingsPolicyPage,
    &kSettingsViewerPage};
// Loaded and saved in this order.
static constexpr const PageDefinition* kSettingsFanOut[] = {
    &kSettingsPolicyPage, &kSettingsViewerPage, &kSettingsDragPage, &kSettingsDocoPage,
    &kSettingsMessagesPage};
static constexpr PageCodeTarget kSettingsCodes[] = {
    {32, &kSettingsDragPage}, {33, &kSettingsDocoPage}, {36, &kSettingsMessagesPage},
    {37, &kSettingsPolicyPage}};
static constexpr SheetDefinition kSettingsSheet = {
    &kSettingsDialog, 688, kSettingsMembers, kSettingsTabs, kSettingsFanOut, kSettingsFanOut,
    kSettingsCodes, &kSettingsViewerPage, SheetPlacement::NearCentre, true};

const SheetDefinition& OutputSheetDefinition() { return kOutputSheet; }
const SheetDefinition& AnalysisSheetDefinition() { return kAnalysisSheet; }
const SheetDefinition& ConfigSheetDefinition() { return kConfigSheet; }
const SheetDefinition& SettingsSheetDefinition() { return kSettingsSheet; }

Sheet::Sheet(SheetHost& host, std::string caption)
    : BaseSheet(host, kOutputSheet, std::move(caption), &MakeOutputPage) {}
SheetAnalysis::SheetAnalysis(SheetHost& host, std::string caption)
    : BaseSheet(host, kAnalysisSheet, std::move(caption)) {}
SheetConfig::SheetConfig(SheetHost& host, std::string caption)
    : BaseSheet(host, kConfigSheet, std::move(caption)) {}
SheetSettings::SheetSettings(SheetHost& host, std::string caption)
    : BaseSheet(host, kSettingsSheet, std::move(caption)) {}
